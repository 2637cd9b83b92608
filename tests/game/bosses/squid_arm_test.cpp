// The squid's tentacles: how they grow from the screen's edges and where they stop, the pictures of
// their segments, two tentacles crossing at the marked tile, cutting and shooting them, and the
// rule that only the tip hurts.
#include <cmath>
#include <memory>

#include "SquidFixture.h"

namespace {

std::vector<SquidArm*> LiveAt(float x, float y) {
    std::vector<SquidArm*> out;
    for (SquidArm* a : AllOf<SquidArm>())
        if (!a->dead && a->x == x && a->y == y) out.push_back(a);
    return out;
}

SquidArm* TipOf(SquidArm* a) {
    while (a->nextArm) a = a->nextArm;
    return a;
}

}  // namespace

class SquidArmTest : public SquidTest {
protected:
    void SetUp() override {
        SquidTest::SetUp();
        // Near the top of the screen, so that every segment of a tentacle from below stays within
        // reach of the player's neighbourhood and keeps growing.
        p->SetPosition(6, kTopRow + 2);
        // A squid that is not in the list, only to drive tentacles in.
        squid.reset(new BossSquid(3, 224, -29632));
    }
    void TearDown() override {
        squid.reset();
        SquidTest::TearDown();
    }
    std::unique_ptr<BossSquid> squid;
};

TEST_F(SquidArmTest, ATentacleFromTheRightGrowsLeftOneSegmentEverySixFramesAndStopsOffScreen) {
    const int row = kTopRow + 3;
    squid->CreateArm(10, row, 2);
    auto start = AllOf<SquidArm>();
    ASSERT_EQ(start.size(), 2u);
    SquidArm* root = start[0];
    SquidArm* tip = start[1];
    EXPECT_EQ(root->nextArm.get(), tip);
    EXPECT_EQ(tip->lastArm.get(), root);
    EXPECT_EQ(root->spawnTimer, -1);
    EXPECT_FLOAT_EQ(root->x, 640);
    EXPECT_FLOAT_EQ(tip->y, 64.0f * row);

    std::vector<size_t> counts{0};
    for (int f = 1; f <= 24; ++f) {
        Tick();
        counts.push_back(AllOf<SquidArm>().size());
        for (SquidArm* a : AllOf<SquidArm>()) {
            // Each slides 12 pixels a frame onto its tile, landing exactly.
            float d = std::fabs(a->targetX - a->x);
            EXPECT_TRUE(d == 0 || (d <= 52 && static_cast<int>(d) % 12 == 4)) << d;
            EXPECT_EQ(a->y, a->targetY);
        }
    }
    // A tip pays out the next segment on its sixth frame, counting the frame it appears in (a new
    // segment's first frame is the frame its parent makes it).
    EXPECT_EQ(counts[5], 2u);
    EXPECT_EQ(counts[6], 3u);
    EXPECT_EQ(counts[10], 3u);
    EXPECT_EQ(counts[11], 4u);
    EXPECT_EQ(counts[16], 5u);
    for (int f = 0; f < 400; ++f) Tick();

    // 640 twice (root and first tip), then every tile from 576 to -192: the segment at -192 lies
    // beyond the left bound and never grows.
    auto arms = AllOf<SquidArm>();
    ASSERT_EQ(arms.size(), 15u);
    for (int i = 2; i < 15; ++i) {
        EXPECT_FLOAT_EQ(arms[i]->x, 576 - 64 * (i - 2));
        EXPECT_FLOAT_EQ(arms[i]->y, 64.0f * row);
        EXPECT_EQ(arms[i]->lastArm.get(), arms[i - 1]);
    }
    SquidArm* end = TipOf(root);
    EXPECT_EQ(end, arms.back());
    EXPECT_EQ(end->spawnTimer, 0) << "waits beyond the bound";
    // Pictures and harm along the chain, mirrored for a tentacle growing left.
    EXPECT_EQ(root->sprite->CurFrame, 9);
    EXPECT_EQ(arms[7]->sprite->CurFrame, 1);
    EXPECT_EQ(end->sprite->CurFrame, 5);
    for (SquidArm* a : arms) {
        EXPECT_EQ(a->sprite->CurLayer, 0);
        EXPECT_EQ(a->sprite->pos, -1);
        EXPECT_EQ(a->hurtPlayer, a == end);
        EXPECT_EQ(a->head, a == end);
        EXPECT_EQ(a->cw, a == end ? 44 : 62);
    }
}

TEST_F(SquidArmTest, ATentacleFromBelowGrowsUpAndStopsAboveTheScreen) {
    squid->CreateArm(3, kTopRow + 8, 1);
    for (int f = 0; f < 400; ++f) Tick();
    auto arms = AllOf<SquidArm>();
    // From 512 below the top of the screen up to 256 above it: 13 tiles, the first one twice.
    ASSERT_EQ(arms.size(), 14u);
    SquidArm* end = TipOf(arms[0]);
    EXPECT_FLOAT_EQ(end->y, kArena - 256);
    EXPECT_FLOAT_EQ(end->x, 192);
    EXPECT_EQ(end->spawnTimer, -1) << "tried once, too far off, and gave up";
    EXPECT_EQ(end->sprite->CurFrame, 6);
    EXPECT_EQ(arms[0]->sprite->CurFrame, 4);
    EXPECT_EQ(arms[5]->sprite->CurFrame, 2);
    EXPECT_EQ(arms[5]->sprite->posY, -1);
    EXPECT_EQ(arms[5]->sprite->pos, 1);
}

TEST_F(SquidArmTest, TentaclesFromTheLeftAndFromAboveStayWithinTheirBounds) {
    squid->CreateArm(-2, kTopRow + 4, 0);
    squid->CreateArm(7, kTopRow - 1, 3);
    for (int f = 0; f < 400; ++f) Tick();
    size_t n = AllOf<SquidArm>().size();
    for (int f = 0; f < 100; ++f) Tick();
    EXPECT_EQ(AllOf<SquidArm>().size(), n) << "growth has stopped";
    for (SquidArm* a : AllOf<SquidArm>()) {
        EXPECT_LE(a->x, 832);
        EXPECT_LE(a->y, kArena + 704);
        EXPECT_EQ(a->sprite->pos, 1);
        EXPECT_EQ(a->sprite->posY, 1);
    }
    EXPECT_EQ(LiveAt(832, 64.0f * (kTopRow + 4)).size(), 1u) << "the left tentacle reaches past the right edge";
}

TEST_F(SquidArmTest, TheLaterTentacleCutsTheOneLyingOnTheMarkedTile) {
    // Sideways from the right edge two tiles to column 8, up from below the screen six tiles to
    // the same row: the sideways one is there first and is cut.
    const int col = 8, row = kTopRow + 2;
    squid->CreateArm(10, row, 2);
    squid->CreateArm(col, kTopRow + 8, 1);
    SquidArm* hRoot = AllOf<SquidArm>()[0];
    SquidArm* vRoot = AllOf<SquidArm>()[2];
    // The first arrival's direction is noted at once: that segment is cut and freed later.
    int firstThereDir = -1;
    for (int f = 0; f < 120; ++f) {
        Tick();
        auto there = LiveAt(64.0f * col, 64.0f * row);
        if (firstThereDir < 0 && !there.empty()) firstThereDir = there[0]->oDir;
    }
    ASSERT_NE(firstThereDir, -1) << "nothing reached the marked tile";
    EXPECT_EQ(firstThereDir, 2) << "the sideways tentacle arrives first";
    auto there = LiveAt(64.0f * col, 64.0f * row);
    ASSERT_EQ(there.size(), 1u);
    EXPECT_EQ(there[0]->oDir, 1) << "the upward tentacle holds the crossing";

    // The sideways tentacle is in two halves: an inner one ending in a cut end at column 9, and an
    // outer one that starts with a root frame at column 7 and keeps growing.
    SquidArm* innerEnd = TipOf(hRoot);
    EXPECT_FLOAT_EQ(innerEnd->x, 576);
    EXPECT_FALSE(innerEnd->head);
    EXPECT_EQ(innerEnd->sprite->CurFrame, 8);
    auto outer = LiveAt(448, 64.0f * row);
    ASSERT_EQ(outer.size(), 1u);
    EXPECT_EQ(outer[0]->lastArm.get(), nullptr);
    EXPECT_EQ(outer[0]->sprite->CurFrame, 9);
    EXPECT_FLOAT_EQ(TipOf(outer[0])->x, -192);
    // The upward one is whole.
    EXPECT_FLOAT_EQ(TipOf(vRoot)->y, kArena - 256);
}

TEST_F(SquidArmTest, ANewSegmentCutsOnlyWhatLiesOnItsTarget) {
    const float y = 64.0f * (kTopRow + 3);
    auto* here = new SquidArm(3, 320, y, 320, y, 0);
    auto* ahead = new SquidArm(3, 384, y, 384, y, 0);
    Entity::entList.push_back(here);
    Entity::entList.push_back(ahead);
    auto* fresh = new SquidArm(3, 320, y, 384, y, 0);
    Entity::entList.push_back(fresh);
    EXPECT_FALSE(here->dead) << "starting on a segment does not cut it";
    EXPECT_TRUE(ahead->dead);
    EXPECT_FALSE(fresh->dead);
}

TEST_F(SquidArmTest, ShootingAMiddleSegmentSplitsTheTentacle) {
    squid->CreateArm(3, kTopRow + 8, 1);
    for (int f = 0; f < 40; ++f) Tick();
    SquidArm* root = AllOf<SquidArm>()[0];
    SquidArm* mid = root->nextArm->nextArm->nextArm;
    ASSERT_NE(mid, nullptr);
    SquidArm* inner = mid->lastArm;
    SquidArm* outer = mid->nextArm;
    ASSERT_TRUE(inner && outer);
    for (int i = 0; i < 3; ++i) mid->Hit(0, -1);
    Tick();
    EXPECT_FALSE(mid->dead) << "four hits to a segment";
    mid->Hit(0, -1);
    Tick();  // it dies in its own update, after its inner neighbour's
    EXPECT_TRUE(mid->dead);
    Tick();
    EXPECT_EQ(inner->nextArm.get(), nullptr);
    EXPECT_EQ(outer->lastArm.get(), nullptr);
    EXPECT_EQ(inner->sprite->CurFrame, 3) << "cut end";
    EXPECT_EQ(outer->sprite->CurFrame, 4) << "root of the outer half";
    float outerTipBefore = TipOf(outer)->y;
    for (int f = 0; f < 40; ++f) Tick();
    EXPECT_LT(TipOf(outer)->y, outerTipBefore) << "the outer half keeps growing";
    for (SquidArm* a : AllOf<SquidArm>())
        EXPECT_FALSE(a->dead) << "the cut segment vanishes once its death animation ends";
    // A segment left with neither neighbour shows the lone picture.
    SquidArm* lone = inner;
    while (lone->lastArm) lone = lone->lastArm;
    lone->nextArm->Die();
    Tick();
    EXPECT_EQ(lone->sprite->CurFrame, 7);
}

TEST_F(SquidArmTest, OnlyTheTipHurtsThePlayer) {
    // A tentacle along the player's row, from the left, grows past the untouchable player.
    squid->CreateArm(-2, p->tY, 0);
    for (int f = 0; f < 200; ++f) Tick();
    bool touching = false;
    for (SquidArm* a : AllOf<SquidArm>()) {
        EXPECT_FALSE(a->head && a->hitEntity(p));
        touching = touching || a->hitEntity(p);
    }
    ASSERT_TRUE(touching);
    // Mortal again, the player lies under the body of the tentacle and is not hurt.
    p->invinceTimer = 0;
    for (int f = 0; f < 10; ++f) Building::UpdateEntities();
    EXPECT_FALSE(p->dead);
    // A tip on the player's tile is deadly.
    auto* tip = new SquidArm(3, 64.0f * p->tX, 64.0f * p->tY + 300, 64.0f * p->tX, 64.0f * p->tY, 1);
    Entity::entList.push_back(tip);
    for (int f = 0; f < 30 && !p->dead; ++f) Building::UpdateEntities();
    EXPECT_TRUE(p->dead);
}
