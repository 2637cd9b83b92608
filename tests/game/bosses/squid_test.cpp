// The squid: its fight cycle in order, the volley's timing and aim, where the marker may land, the
// marker's flight, and the death sequence that withers the tentacles and unlocks the screen.
#include <cmath>
#include <cstdlib>

#include "SquidFixture.h"
#include "engine/GMusic.h"
#include "game/enemies/WallBlast.h"
#include "game/entities/EntityLink.h"
#include "game/world/Explosion.h"

namespace {

// The body's area as a tile corner may lie in it: from the body's corner to the box's right edge
// across, from the box's top to its bottom down, every bound included.
bool CornerInsideBody(const BossSquid* s, int px, int py) {
    return px >= s->x && px <= s->x + s->cx + s->cw && py >= s->y + s->cy && py <= s->y + s->cy + s->ch;
}

}  // namespace

TEST_F(SquidTest, ComesOutOfTheWallThenLoopsThroughItsPhasesInOrder) {
    BossSquid* s = Spawn();
    EXPECT_EQ(s->HP, 120);
    EXPECT_TRUE(s->isBoss);
    EXPECT_TRUE(s->wallDraw);
    EXPECT_FALSE(s->hurtPlayer);
    EXPECT_TRUE(s->canHit) << "hittable while it emerges";
    EXPECT_TRUE(s->sprite->isCurrentAnimation(&s->aComeOut));

    std::vector<int> phases{s->aiPhase};
    std::vector<int> hittable{s->canHit};
    for (int f = 0; f < 5000 && phases.size() < 10; ++f) {
        Tick();
        if (s->aiPhase != phases.back()) {
            phases.push_back(s->aiPhase);
            hittable.push_back(s->canHit);
        }
    }
    using S = BossSquid;
    EXPECT_EQ(phases, (std::vector<int>{S::kPhaseEmerge, S::kPhaseVolley, S::kPhaseWithdraw, S::kPhaseSpitMarker,
                                        S::kPhaseMarkerFlight, S::kPhaseArmWait, S::kPhaseArms, S::kPhaseArmsOut,
                                        S::kPhaseEmerge, S::kPhaseVolley}));
    // Out in the open from the end of the come-out animation until it has withdrawn.
    EXPECT_EQ(hittable, (std::vector<int>{1, 1, 1, 1, 0, 0, 0, 0, 0, 1}));
}

TEST_F(SquidTest, AVolleyIsSixShotsSixtyOneFramesApartAimedAtThePlayer) {
    BossSquid* s = Spawn();
    RunToPhase(s, BossSquid::kPhaseVolley);
    CountNew<WallBlast>();
    std::vector<int> shotFrames;
    int f = 0;
    while (s->aiPhase == BossSquid::kPhaseVolley && f < 1000) {
        Tick();
        ++f;
        for (WallBlast* b : AllOf<WallBlast>()) {
            if (b->color != 0) continue;
            b->color = 77;
            shotFrames.push_back(f);
            // Leaves the mouth and flies at 2 pixels a frame towards the player's centre.
            float bx = b->x - b->velX, by = b->y - b->velY;  // before its first move
            EXPECT_FLOAT_EQ(bx, s->x + 94);
            EXPECT_FLOAT_EQ(by, s->y + 108);
            EXPECT_NEAR(std::hypot(b->velX, b->velY), 2.0f, 1e-4);
            float toX = p->GetCenterX() - b->GetCenterX(), toY = p->GetCenterY() - b->GetCenterY();
            EXPECT_NEAR(b->velX * toY - b->velY * toX, 0.0f, 1e-2) << "heads at the player";
            EXPECT_GT(b->velX * toX + b->velY * toY, 0.0f);
        }
    }
    ASSERT_EQ(shotFrames.size(), 6u);
    EXPECT_EQ(shotFrames[0], 61);
    for (size_t i = 1; i < shotFrames.size(); ++i) EXPECT_EQ(shotFrames[i] - shotFrames[i - 1], 61);
    EXPECT_EQ(f, shotFrames.back()) << "the sixth shot's frame starts the withdrawal";
    EXPECT_EQ(s->aiPhase, BossSquid::kPhaseWithdraw);
    EXPECT_EQ(s->shotsTaken, 0);
}

TEST_F(SquidTest, FacesThePlayer) {
    BossSquid* s = Spawn();
    RunToPhase(s, BossSquid::kPhaseVolley);
    p->SetPosition(7, kTopRow + 5);
    Tick();
    EXPECT_TRUE(s->sprite->isCurrentAnimation(&s->aIdleRight));
    p->SetPosition(1, kTopRow + 5);
    Tick();
    EXPECT_TRUE(s->sprite->isCurrentAnimation(&s->aIdleLeft));
}

TEST_F(SquidTest, AboveHalfStrengthTheMarkerAvoidsTheBodyAndStaysOnScreen) {
    int inAreaCorners = 0;
    int redrawn = 0;
    BossSquid* s = Spawn();
    s->HP = 61;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        // The first draw this seed gives, as the squid makes it.
        srand(seed);
        int firstX = std::rand() % 8 + 1;
        int firstY = static_cast<int>(Building::scrollY / 64 + std::rand() % 7);
        if (CornerInsideBody(s, 64 * firstX, 64 * firstY)) ++redrawn;
        srand(seed);
        s->ChooseArmTarget();
        EXPECT_FALSE(CornerInsideBody(s, 64 * s->armTargetX, 64 * s->armTargetY))
            << "seed " << seed << " tile " << s->armTargetX << "," << s->armTargetY;
        EXPECT_GE(s->armTargetX, 1);
        EXPECT_LE(s->armTargetX, 8);
        EXPECT_GE(s->armTargetY, kTopRow);
        EXPECT_LE(s->armTargetY, kTopRow + 6);
    }
    // The body's area does hold tile corners the draws could hit (columns 4 and 5, three rows).
    for (int tx = 1; tx <= 8; ++tx)
        for (int ty = kTopRow; ty <= kTopRow + 6; ++ty) inAreaCorners += CornerInsideBody(s, 64 * tx, 64 * ty);
    EXPECT_EQ(inAreaCorners, 6);
    EXPECT_GT(redrawn, 0) << "some seeds' first draws fell on the body and were drawn again";
}

TEST_F(SquidTest, AtHalfStrengthTheMarkerFallsOnThePlayerEvenInsideTheBody) {
    BossSquid* s = Spawn();
    s->HP = 60;
    p->SetPosition(4, -461);  // tile corner (256, -29504) lies in the body's area
    ASSERT_TRUE(CornerInsideBody(s, 256, -29504));
    RunToPhase(s, BossSquid::kPhaseMarkerFlight);
    EXPECT_EQ(s->armTargetX, 4);
    EXPECT_EQ(s->armTargetY, -461);
    auto markers = AllOf<SquidTarget>();
    ASSERT_EQ(markers.size(), 1u);
    EXPECT_EQ(markers[0]->targetX, 256);
    EXPECT_EQ(markers[0]->targetY, -29504);
}

TEST_F(SquidTest, TheMarkerFliesFromTheMouthLandsExactlyAndLiesThereAHundredFrames) {
    BossSquid* s = Spawn();
    RunToPhase(s, BossSquid::kPhaseMarkerFlight);
    auto markers = AllOf<SquidTarget>();
    ASSERT_EQ(markers.size(), 1u);
    SquidTarget* m = markers[0];
    EXPECT_EQ(s->targetShot.get(), m);
    EXPECT_FALSE(m->canHit);
    EXPECT_FALSE(m->hurtPlayer);
    EXPECT_FALSE(m->wallDraw) << "drawn over the player while in flight";
    EXPECT_FLOAT_EQ(m->targetX, 64.0f * s->armTargetX);
    EXPECT_FLOAT_EQ(m->targetY, 64.0f * s->armTargetY);

    int flight = 0;
    float lastDist = 1e9f;
    while (s->aiPhase == BossSquid::kPhaseMarkerFlight) {
        float d = std::hypot(m->x - m->targetX, m->y - m->targetY);
        EXPECT_LE(d, lastDist + 0.11f) << "never flies off";
        lastDist = d;
        Tick();
        ASSERT_LT(++flight, 1000);
    }
    EXPECT_EQ(s->aiPhase, BossSquid::kPhaseArmWait);
    EXPECT_TRUE(m->atTarget());
    EXPECT_EQ(m->x, m->targetX);
    EXPECT_EQ(m->y, m->targetY);
    EXPECT_TRUE(m->soundPlayed);
    EXPECT_TRUE(m->wallDraw);
    EXPECT_TRUE(m->sprite->isCurrentAnimation(&m->aDead));
    EXPECT_EQ(s->targetShot.get(), nullptr) << "the squid lets go of the landed marker";

    // It landed during the frame before the squid saw it; it stays 100 frames from landing.
    int stay = 2;  // the landing frame and the one in which the squid saw it
    while (InList(m)) {
        Tick();
        ASSERT_LT(++stay, 500);
    }
    EXPECT_EQ(stay, 100);
}

TEST_F(SquidTest, AMarkerFreedInFlightLetsTheSquidGoOn) {
    BossSquid* s = Spawn();
    RunToPhase(s, BossSquid::kPhaseMarkerFlight);
    SquidTarget* m = AllOf<SquidTarget>().at(0);
    m->alive = false;
    Tick();
    Tick();
    EXPECT_EQ(s->targetShot.get(), nullptr);
    EXPECT_EQ(s->aiPhase, BossSquid::kPhaseArmWait);
    RunToPhase(s, BossSquid::kPhaseArmsOut);
}

TEST_F(SquidTest, DeathBurstsSeventeenTimesWithersTheTentaclesAndUnlocksOnce) {
    BossSquid* s = Spawn();
    RunToPhase(s, BossSquid::kPhaseArmsOut);
    ASSERT_EQ(AllOf<SquidArm>().size(), 4u);
    e->music = Building::bossMus;
    CountNew<Explosion>();

    s->HP = 0;
    Tick();  // the base update calls Die
    EXPECT_EQ(s->aiPhase, BossSquid::kPhaseDying);
    EXPECT_FALSE(s->dead);
    EXPECT_GT(e->ShakeTimer, 0);
    EXPECT_EQ(s->aiTimer, 0);

    std::vector<int> blastFrames;
    int unlockedAt = -1;
    for (int f = 1; f <= 200; ++f) {
        if (f == 50) {
            s->Die();  // again: changes nothing
            EXPECT_EQ(s->aiTimer, 49);
        }
        Tick();
        if (CountNew<Explosion>() > 0) blastFrames.push_back(f);
        if (unlockedAt < 0 && !Building::lockScreen) {
            unlockedAt = f;
            EXPECT_TRUE(s->dead);
            for (SquidArm* a : AllOf<SquidArm>()) EXPECT_TRUE(a->dead);
        }
        ASSERT_TRUE(unlockedAt < 0 || Building::lockScreen == 0) << "locked again";
    }
    ASSERT_EQ(blastFrames.size(), 17u);
    EXPECT_EQ(blastFrames.front(), 10);
    EXPECT_EQ(blastFrames.back(), 170);
    EXPECT_EQ(unlockedAt, 171);
    for (Explosion* x : AllOf<Explosion>()) EXPECT_FALSE(x->damaging);
    EXPECT_TRUE(AllOf<SquidArm>().empty()) << "withered segments vanish once their animation ends";

    // The body stays where it died while on screen, and leaves once scrolled below it.
    EXPECT_TRUE(InList(s));
    EXPECT_FLOAT_EQ(s->y, -29632);
    s->y = Building::scrollY + 2000;
    Tick();
    EXPECT_FALSE(InList(s));
}

TEST_F(SquidTest, TheEmergingBodyClearsTentaclesOverItButNotBesideIt) {
    BossSquid* s = Spawn();
    // A lone segment is a tip, whose centre is its corner + 32. Just inside the left and top
    // bounds, on the right and bottom ones, and on the excluded left and top edges.
    auto at = [](float cxp, float cyp) { return new SquidArm(3, cxp - 32, cyp - 32, cxp - 32, cyp - 32, 0); };
    const float left = s->x, right = s->x + s->cx + s->cw, top = s->y + s->cy, bottom = top + s->ch;
    auto* inside = at(left + 1, top + 1);
    auto* onRight = at(right, bottom);
    auto* onLeft = at(left, top + 50);
    auto* onTop = at(left + 50, top);
    for (SquidArm* a : {inside, onRight, onLeft, onTop}) {
        a->spawnTimer = -1;
        Entity::entList.push_back(a);
    }
    // Links, not plain pointers: a cleared segment may wither and be freed before the check.
    EntityLink<SquidArm> links[4] = {inside, onRight, onLeft, onTop};
    RunToPhase(s, BossSquid::kPhaseVolley);
    auto cleared = [](const EntityLink<SquidArm>& a) { return !a || a->dead; };
    EXPECT_TRUE(cleared(links[0]));
    EXPECT_TRUE(cleared(links[1])) << "the right and bottom bounds belong to the body";
    ASSERT_TRUE(links[2] && links[3]) << "segments beside the body stay";
    EXPECT_FALSE(links[2]->dead);
    EXPECT_FALSE(links[3]->dead);
}

TEST_F(SquidTest, NoLinkDanglesWhenTheListFreesTheSquidItsMarkerOrSegments) {
    BossSquid* s = Spawn();
    RunToPhase(s, BossSquid::kPhaseMarkerFlight);
    SquidTarget* m = AllOf<SquidTarget>().at(0);
    EXPECT_EQ(EntityLinkBase::CountLinksTo(m), 1);
    RunToPhase(s, BossSquid::kPhaseArmsOut);
    for (int i = 0; i < 40; ++i) Tick();
    auto arms = AllOf<SquidArm>();
    ASSERT_GT(arms.size(), 6u);
    // Free a middle segment outright, as a restart would: its neighbours forget it.
    SquidArm* mid = nullptr;
    for (SquidArm* a : arms)
        if (a->nextArm && a->lastArm) mid = a;
    ASSERT_NE(mid, nullptr);
    SquidArm* before = mid->lastArm;
    SquidArm* after = mid->nextArm;
    for (size_t i = 0; i < Entity::entList.size(); ++i)
        if (Entity::entList[i] == mid) Entity::entList.erase(Entity::entList.begin() + static_cast<long>(i));
    delete mid;
    EXPECT_EQ(before->nextArm.get(), nullptr);
    EXPECT_EQ(after->lastArm.get(), nullptr);
    for (int i = 0; i < 200; ++i) Tick();

    // A restart frees everything mid-fight; nothing is left pointing at the freed entities.
    Entity::ClearListAfterPlayer();
    Entity::entList.push_back(p);
    EXPECT_EQ(EntityLinkBase::CountLinksTo(s), 0);
    for (int i = 0; i < 10; ++i) Tick();
}
