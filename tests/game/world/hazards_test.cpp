// Level hazards: explosions (damaging and harmless, bosses one time in three, never the player),
// generators and their groups, the barriers they power, falling blocks.
#include <cmath>
#include <cstdlib>

#include "../enemies/CreatureFixture.h"
#include "game/enemies/WallBlastSmoke.h"
#include "game/world/Electricity.h"
#include "game/world/Explosion.h"
#include "game/world/FallingBlock.h"
#include "game/world/Generator.h"

namespace {

// A creature that counts the hits it takes.
class Target : public Entity {
public:
    int hits = 0;
    Target(float tx, float ty, int tside = 1) {
        x = tx;
        y = ty;
        side = tside;
        cw = ch = 32;
        bloodRate = 0;
    }
    void Hit(int locX, int locY) override {
        ++hits;
        Entity::Hit(locX, locY);
    }
    const char* ClassName() const override { return "Target"; }
};

using ExplosionTest = CreatureTest;

TEST_F(ExplosionTest, DamagingBlastHitsWhatItTouchesEveryFrameButNeverThePlayerOrItself) {
    const float ex = p->x, ey = p->y;
    Explosion* boom = Add(new Explosion(1, static_cast<int>(ex), static_cast<int>(ey), TRUE));
    Target* inside = Add(new Target(ex + 40, ey + 40));
    Target* edge = Add(new Target(ex - 16 - 32 - 1, ey));  // one pixel short of the box
    Target* otherSide = Add(new Target(ex + 40, ey + 40, 2));
    Target* unhittable = Add(new Target(ex + 40, ey + 40));
    unhittable->canHit = 0;
    const int playerHP = p->HP;
    for (int f = 0; f < 5; ++f) boom->Update();
    EXPECT_EQ(inside->hits, 5);
    EXPECT_EQ(edge->hits, 0);
    EXPECT_EQ(otherSide->hits, 0);
    EXPECT_EQ(unhittable->hits, 0);
    EXPECT_EQ(p->HP, playerHP);
    EXPECT_FALSE(p->dead);
    EXPECT_EQ(boom->HP, 30);
}

TEST_F(ExplosionTest, HarmlessBlastHitsNothing) {
    Explosion* boom = Add(new Explosion(1, 300, -300, FALSE));
    Target* inside = Add(new Target(310, -290));
    for (int f = 0; f < 5; ++f) boom->Update();
    EXPECT_EQ(inside->hits, 0);
}

TEST_F(ExplosionTest, BossesAreHitOnlyWhenTheDiceShowZeroOfThree) {
    Explosion* boom = Add(new Explosion(1, 300, -300, TRUE));
    Target* boss = Add(new Target(310, -290));
    boss->isBoss = 1;
    boss->HP = boss->MaxHP = 10000;
    const int frames = 90;
    std::srand(1234);
    int expected = 0;
    for (int f = 0; f < frames; ++f)
        if (std::rand() % 3 == 0) ++expected;
    std::srand(1234);
    for (int f = 0; f < frames; ++f) boom->Update();
    EXPECT_EQ(boss->hits, expected);
    EXPECT_GT(boss->hits, frames / 6);
    EXPECT_LT(boss->hits, frames / 2);
}

TEST_F(ExplosionTest, LastsOneRunOfItsAnimationWithItsSound) {
    Halt();
    Explosion* boom = Add(new Explosion(1, 300, static_cast<int>(Building::scrollY) + 100, FALSE));
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavExplosion), 1);
    }
    int f = 0;
    for (; f < 200 && InList(boom); ++f) Frame();
    // Eight pictures of six frames each.
    EXPECT_GE(f, 7 * 6);
    EXPECT_LE(f, 8 * 6 + 1);
}

class GeneratorTest : public CreatureTest {
protected:
    // Thirty hits, then the frame in which it dies.
    void Destroy(Generator* g) {
        for (int i = 0; i < 30; ++i) g->Hit(0, 0);
        Halt();
        Frame();
    }
};

TEST_F(GeneratorTest, TakesThirtyBulletsAndNoFlame) {
    Generator* g = Add(new Generator(1, 384, -640));
    EXPECT_FALSE(g->canFlameHit);
    for (int i = 0; i < 29; ++i) g->Hit(0, 0);
    Frame();
    EXPECT_TRUE(InList(g));
    g->Hit(0, 0);
    Frame();
    EXPECT_FALSE(InList(g));
    // It leaves a harmless blast centred on it.
    std::vector<Explosion*> blasts = All<Explosion>();
    ASSERT_EQ(blasts.size(), 1u);
    EXPECT_FALSE(blasts[0]->damaging);
    EXPECT_FLOAT_EQ(blasts[0]->x, 384 - 32);
    EXPECT_FLOAT_EQ(blasts[0]->y, -640);
}

TEST_F(GeneratorTest, BarriersStayOnWhileAGeneratorOfTheGroupStands) {
    Generator* a = Add(new Generator(1, 128, -640));
    Generator* b = Add(new Generator(1, 448, -640 - 200));
    Electricity* near = Add(new Electricity(1, 256, -640 - 100));
    Electricity* far = Add(new Electricity(1, 256, -640 - 200 - 300));
    ASSERT_GE(std::fabs(far->GetCenterY() - b->GetCenterY()), 240.0f);

    Destroy(a);
    EXPECT_FALSE(InList(a));
    EXPECT_TRUE(InList(near));
    EXPECT_TRUE(InList(far));
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavGenDie), 1);
        EXPECT_EQ(Playing(Entity::wavAllGenDie), 0);
    }

    Destroy(b);
    EXPECT_FALSE(InList(b));
    EXPECT_FALSE(InList(near)) << "the last generator of the group switches its barriers off";
    EXPECT_TRUE(InList(far)) << "a barrier 300 pixels away belongs to another group";
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavGenDie), 0);
        EXPECT_EQ(Playing(Entity::wavAllGenDie), 1);
    }
}

TEST_F(GeneratorTest, ASecondDeathChangesNothing) {
    Generator* g = Add(new Generator(1, 128, -640));
    g->Die();
    g->Die();
    EXPECT_EQ(All<Explosion>().size(), 1u);
}

TEST_F(GeneratorTest, AGeneratorFarAwayIsNotOfTheGroup) {
    Generator* a = Add(new Generator(1, 128, -640));
    Generator* away = Add(new Generator(1, 128, -640 - 240));
    Electricity* near = Add(new Electricity(1, 256, -640));
    Destroy(a);
    EXPECT_TRUE(InList(away));
    EXPECT_FALSE(InList(near));
}

TEST_F(GeneratorTest, ABarrierShutsItsTilesToClimbersUntilSwitchedOff) {
    PlacePlayer(4, -2);
    // A barrier over columns 3..5 of the row above the player, its generator further along.
    Add(new Electricity(1, 192, -192));
    Generator* g = Add(new Generator(1, 448, -256));
    Frame();
    EXPECT_FALSE(p->Climb(0, -1));
    EXPECT_FALSE(p->Climb(1, -1));
    Destroy(g);
    // The barrier goes in its own next update; the frame after that its tiles are free.
    Frames(2);
    EXPECT_TRUE(p->Climb(0, -1));
    EXPECT_EQ(p->tY, -3);
}

using FallingBlockTest = CreatureTest;

TEST_F(FallingBlockTest, WarnsWithFivePuffsThenDrops) {
    p->invinceTimer = 1000000;
    FallingBlock* b = Add(new FallingBlock(1, 320, static_cast<int>(Building::scrollY) - 64));
    const float y0 = b->y;
    std::vector<int> puffFrames;
    for (int f = 1; f <= 50; ++f) {
        Frame();
        EXPECT_EQ(b->y, y0) << "hangs during the warning, update " << f;
        // A puff leaves from the block's lower edge and sinks 8 pixels a frame, so one made
        // this frame is still within a frame's travel of that edge.
        int fresh = 0;
        for (WallBlastSmoke* s : All<WallBlastSmoke>()) {
            EXPECT_GE(s->velX, -1.0f);
            EXPECT_LE(s->velX, 1.0f);
            EXPECT_FLOAT_EQ(s->velY, 8.0f);
            if (s->y - (y0 + 64) <= 8.0f) ++fresh;
        }
        if (fresh) puffFrames.push_back(f);
    }
    EXPECT_EQ(puffFrames, (std::vector<int>{1, 11, 21, 31, 41}));
    Frame();
    EXPECT_FLOAT_EQ(b->y, y0 + 5);
    Frame();
    EXPECT_FLOAT_EQ(b->y, y0 + 10);
    EXPECT_FALSE(b->canHit);
    EXPECT_FALSE(b->canFlameHit);
}

TEST_F(FallingBlockTest, HurtsThePlayerUnlessImmune) {
    FallingBlock* b = Add(new FallingBlock(1, static_cast<int>(p->x + p->cx), static_cast<int>(p->y + p->cy) - 100));
    p->invinceTimer = 5000;
    for (int f = 0; f < 100; ++f) Frame();
    ASSERT_GT(b->y, p->y);
    EXPECT_FALSE(p->dead);

    p->invinceTimer = 0;
    Add(new FallingBlock(1, static_cast<int>(p->x + p->cx), static_cast<int>(p->y + p->cy) - 100));
    for (int f = 0; f < 100 && !p->dead; ++f) Frame();
    EXPECT_TRUE(p->dead);
}

TEST_F(FallingBlockTest, IsRemovedOnlyOnceFarBelowTheView) {
    p->invinceTimer = 1000000;
    FallingBlock* b = Add(new FallingBlock(1, 64, static_cast<int>(Building::scrollY) + 100));
    int f = 0;
    while (InList(b) && b->y - Building::scrollY < 520 && f < 1000) {
        Frame();
        ++f;
    }
    ASSERT_TRUE(InList(b)) << "kept just below the view";
    for (f = 0; f < 1000 && InList(b); ++f) Frame();
    EXPECT_FALSE(InList(b));
}

}  // namespace
