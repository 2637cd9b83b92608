// The wall blaster's cycle, its distance freeze and its wreck; the wall blast's flight, smoke
// trail, wavering and removal; the smoke puff.
#include <cmath>

#include "CreatureFixture.h"
#include "game/enemies/WallBlast.h"
#include "game/enemies/WallBlastSmoke.h"
#include "game/enemies/WallBlaster.h"

namespace {

class WallBlasterTest : public CreatureTest {
protected:
    // A blast that left the blaster's muzzle during the last frame (it moves 2 pixels a frame).
    static WallBlast* FreshBlast(WallBlaster* w) {
        for (WallBlast* b : All<WallBlast>()) {
            float dx = b->x - (w->x + 24), dy = b->y - (w->y + 33);
            if (std::sqrt(dx * dx + dy * dy) <= 2.01f) return b;
        }
        return nullptr;
    }
    // Runs frames until the blaster has popped out and can be shot (or gives up).
    int UntilOut(WallBlaster* w, int limit = 400) {
        for (int f = 0; f < limit; ++f) {
            Frame();
            if (w->awakeTimer >= 0 && w->canHit) return f;
        }
        return -1;
    }
};

TEST_F(WallBlasterTest, HidesPopsOutFiresThreeAimedShotsAndHidesAgain) {
    WallBlaster* w = Add(new WallBlaster(1, 128, -256));
    p->invinceTimer = 1000000;  // the shots fly through the player
    std::vector<int> shots;
    std::vector<bool> hittable;
    for (int f = 0; f < 900; ++f) {
        Frame();
        hittable.push_back(w->canHit != 0);
        if (WallBlast* b = FreshBlast(w)) {
            shots.push_back(f);
            EXPECT_TRUE(w->canHit) << "fires only while out, frame " << f;
            // Two pixels a frame, straight at the player's centre.
            EXPECT_NEAR(std::hypot(b->velX, b->velY), 2.0f, 1e-4);
            float tx = p->GetCenterX() - b->GetCenterX(), ty = p->GetCenterY() - b->GetCenterY();
            float len = std::hypot(tx, ty);
            EXPECT_NEAR(b->velX / 2.0f, tx / len, 0.05f);
            EXPECT_NEAR(b->velY / 2.0f, ty / len, 0.05f);
            if (AudioOpen()) {
                EXPECT_GE(Playing(Entity::wavFireShot), 1);
            }
        }
    }
    ASSERT_GE(shots.size(), 4u) << "a second appearance should have started";
    // Hidden and out of reach for the first hundred frames.
    for (int f = 0; f < 100; ++f) EXPECT_FALSE(hittable[f]) << f;
    EXPECT_GT(shots[0], 100);
    // Three shots per appearance, evenly spaced, at least fifty frames apart.
    int gap = shots[1] - shots[0];
    EXPECT_GT(gap, 50);
    EXPECT_EQ(shots[2] - shots[1], gap);
    // Then it hides for at least its hundred frames before the next appearance fires.
    EXPECT_GT(shots[3] - shots[2], 100 + gap);
    bool hidBetween = false;
    for (int f = shots[2] + 1; f < shots[3]; ++f) hidBetween = hidBetween || !hittable[f];
    EXPECT_TRUE(hidBetween);
}

TEST_F(WallBlasterTest, FreezesBeyond576PixelsFromALivingPlayer) {
    PlacePlayer(8, -2);
    p->invinceTimer = 1000000;
    WallBlaster* w = Add(new WallBlaster(1, 64, 256));
    // Near enough vertically for the entity AI to run, too far for the blaster.
    ASSERT_LT(std::fabs(w->GetCenterY() - p->GetCenterY()), w->AIdist);
    ASSERT_GT(w->distToEntity(p), 576.0f);
    Frames(300);
    EXPECT_EQ(w->hideTimer, 0);
    EXPECT_EQ(w->awakeTimer, -1);
    EXPECT_TRUE(All<WallBlast>().empty());

    // Out, then the player walks away: it stays in whatever state it was.
    PlacePlayer(4, 1);
    ASSERT_LT(w->distToEntity(p), 576.0f);
    ASSERT_GE(UntilOut(w), 0);
    Frames(10);
    int awake = w->awakeTimer, shots = w->shotCount;
    PlacePlayer(8, -2);
    Frames(200);
    EXPECT_EQ(w->awakeTimer, awake);
    EXPECT_EQ(w->shotCount, shots);

    // A dead player no longer holds it back, at any distance.
    p->dead = 1;
    p->applyGravity = 0;
    Frames(200);
    EXPECT_NE(w->awakeTimer, awake);
}

TEST_F(WallBlasterTest, WreckStaysInTheWallWithOneDeathSoundUntilScrolledOff) {
    p->invinceTimer = 1000000;
    WallBlaster* w = Add(new WallBlaster(1, 128, -256));
    // Hidden, the gun cannot touch it.
    Frame();
    w->Hit(0, 0);
    EXPECT_EQ(w->HP, 15);
    ASSERT_GE(UntilOut(w), 0);
    for (int i = 0; i < 15; ++i) w->Hit(0, 0);
    Halt();
    Frame();
    ASSERT_TRUE(w->dead);
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavDie3), 1);
    }
    Halt();
    float y0 = w->y;
    for (int f = 0; f < 120; ++f) {
        Frame();
        if (AudioOpen()) {
            ASSERT_EQ(Playing(Entity::wavDie3), 0) << "the death sound plays once, frame " << f;
        }
    }
    ASSERT_TRUE(InList(w));
    EXPECT_EQ(w->y, y0);
    EXPECT_EQ(w->sprite->CurFrame, 13);
    EXPECT_EQ(w->sprite->CurLayer, 6);
    EXPECT_FALSE(w->canHit);
    EXPECT_TRUE(All<WallBlast>().empty()) << "a wreck never fires";

    Building::scrollY = w->y - 600;
    Frame();
    EXPECT_FALSE(InList(w));
}

TEST_F(WallBlasterTest, BlastVanishesOffScreenOrOffThePlayersSide) {
    p->invinceTimer = 1000000;
    const float top = Building::scrollY;
    WallBlast* other = Add(new WallBlast(2, 300, top + 200));
    WallBlast* right = Add(new WallBlast(1, 641, top + 200));
    WallBlast* left = Add(new WallBlast(1, -101, top + 200));
    WallBlast* below = Add(new WallBlast(1, 300, top + 481));
    WallBlast* above = Add(new WallBlast(1, 300, top - 101));
    WallBlast* edgeR = Add(new WallBlast(1, 639, top + 200));
    WallBlast* edgeL = Add(new WallBlast(1, -99, top + 200));
    WallBlast* inside = Add(new WallBlast(1, 300, top + 479));
    Frame();
    for (WallBlast* b : {other, right, left, below, above}) EXPECT_FALSE(InList(b));
    for (WallBlast* b : {edgeR, edgeL, inside}) EXPECT_TRUE(InList(b));
}

TEST_F(WallBlasterTest, BlastTrailsShrinkingPuffsBackwardsEverySixthFrame) {
    p->invinceTimer = 1000000;
    WallBlast* b = Add(new WallBlast(1, 100, Building::scrollY + 40));
    b->velX = 1.0f;
    b->velY = 0.5f;
    std::vector<int> puffFrames;
    int last = b->smokeLife;
    for (int f = 0; f < 60; ++f) {
        Frame();
        if (b->smokeLife != last) {
            puffFrames.push_back(f);
            last = b->smokeLife;
        }
    }
    ASSERT_EQ(puffFrames.size(), 10u);
    for (size_t i = 1; i < puffFrames.size(); ++i) EXPECT_EQ(puffFrames[i] - puffFrames[i - 1], 6);
    EXPECT_EQ(b->smokeLife, 20);
    std::vector<WallBlastSmoke*> puffs = All<WallBlastSmoke>();
    ASSERT_FALSE(puffs.empty());
    for (WallBlastSmoke* s : puffs) {
        EXPECT_FLOAT_EQ(s->velX, -0.5f);
        EXPECT_FLOAT_EQ(s->velY, -0.25f);
        EXPECT_LE(s->life, 30);
        EXPECT_FALSE(s->applyGravity);
    }
    // The lives of later puffs run down by one each, never below ten.
    b->velX = b->velY = 0;
    Frames(200);
    EXPECT_EQ(b->smokeLife, 10);
    for (WallBlastSmoke* s : All<WallBlastSmoke>()) EXPECT_LE(s->life, 10);
}

TEST_F(WallBlasterTest, WaveringBlastSwingsDownFirstAndComesBackAfterAFullTurn) {
    p->invinceTimer = 1000000;
    WallBlast* still = Add(new WallBlast(1, 100, Building::scrollY + 200));
    WallBlast* wave = Add(new WallBlast(1, 400, Building::scrollY + 200));
    wave->waverY = 1;
    const float y0 = wave->y;
    Frames(2);
    EXPECT_GT(wave->y, y0);
    float lo = wave->y, hi = wave->y;
    for (int f = 2; f < 63; ++f) {
        Frame();
        lo = std::min(lo, wave->y);
        hi = std::max(hi, wave->y);
    }
    EXPECT_GT(hi - y0, 20.0f);
    EXPECT_LT(hi - y0, 45.0f);
    EXPECT_GT(lo, y0 - 3.0f);
    EXPECT_NEAR(wave->y, y0, 3.0f);
    EXPECT_EQ(still->y, Building::scrollY + 200);
}

TEST_F(WallBlasterTest, BlastKillsOnTouchUnlessThePlayerIsImmune) {
    WallBlast* b = Add(new WallBlast(1, p->x + p->cx + 10, p->y + p->cy + 10));
    p->invinceTimer = 50;
    Frame();
    EXPECT_FALSE(p->dead);
    ASSERT_TRUE(InList(b));
    p->invinceTimer = 0;
    Frame();
    EXPECT_TRUE(p->dead);
}

TEST_F(WallBlasterTest, ABurntBlastDiesHarmlesslyAndFalls) {
    // The flame takes hit points directly; bullets cannot touch a blast.
    WallBlast* b = Add(new WallBlast(1, p->x + p->cx + 10, p->y + p->cy + 10));
    b->Hit(0, 0);
    EXPECT_EQ(b->HP, 1);
    b->HP -= 1;
    Frame();
    EXPECT_TRUE(b->dead);
    EXPECT_FALSE(p->dead) << "a dying blast no longer hurts";
    const float y0 = b->y;
    Frames(10);
    EXPECT_GT(b->y, y0 + 5);
}

TEST_F(WallBlasterTest, PuffDriftsShrinksAndEndsWithItsLife) {
    WallBlastSmoke* s = Add(new WallBlastSmoke(1, 200, static_cast<int>(Building::scrollY) + 100, 0.5f, -1.0f));
    EXPECT_FLOAT_EQ(s->x, 204.0f);
    EXPECT_FLOAT_EQ(s->y, Building::scrollY + 92.0f);
    s->life = 30;
    Frame();
    EXPECT_FLOAT_EQ(s->sprite->scale, 29.0f / 20.0f);
    EXPECT_FLOAT_EQ(s->velY, -1.0f) << "no gravity";
    Frames(20);
    EXPECT_FLOAT_EQ(s->sprite->scale, 0.65f) << "never smaller than 0.65";
    Frames(8);
    ASSERT_TRUE(InList(s));
    Frame();
    EXPECT_FALSE(InList(s));
}

}  // namespace
