// Spiders: the wait before hunting, the rook's-path hunt and its switching, death in place,
// vanishing at the corner columns; nests: counting only near the player, hatching, release.
#include <cmath>
#include <cstdlib>

#include "CreatureFixture.h"
#include "game/enemies/BreakableBlock.h"
#include "game/enemies/Spider.h"
#include "game/enemies/SpiderSpawn.h"

namespace {

using SpiderTest = CreatureTest;

TEST_F(SpiderTest, StandsOnItsTileAndWaitsBeforeHunting) {
    PlacePlayer(6, -2);
    Spider* s = Add(new Spider(1, 2.0f, -2.0f));
    EXPECT_EQ(s->tX, 2);
    EXPECT_EQ(s->tY, -2);
    EXPECT_FLOAT_EQ(s->x + s->cx, 128.0f);
    EXPECT_FLOAT_EQ(s->y + s->cy, -128.0f);
    std::srand(3);
    Frames(50);
    EXPECT_EQ(s->tX, 2);
    EXPECT_EQ(s->chaseState, 0);
    Frames(300);
    EXPECT_GT(s->tX, 2);
}

TEST_F(SpiderTest, StaysStillWhileThePlayerIsImmune) {
    PlacePlayer(6, -2);
    p->invinceTimer = 600;
    Spider* s = Add(new Spider(1, 2.0f, -2.0f));
    std::srand(3);
    Frames(400);
    EXPECT_EQ(s->tX, 2);
    EXPECT_EQ(s->tY, -2);
    EXPECT_EQ(s->chaseState, 0);
}

TEST_F(SpiderTest, OnThePlayersRowItClosesTheColumnGapWithoutLeavingTheRow) {
    PlacePlayer(7, -2);
    Spider* s = Add(new Spider(1, 1.0f, -2.0f));
    std::srand(5);
    int f = 0;
    for (; f < 2000 && s->tX < 6; ++f) {
        Frame();
        ASSERT_EQ(s->tY, -2) << "frame " << f;
        ASSERT_FALSE(p->dead);
    }
    EXPECT_EQ(s->tX, 6);
}

TEST_F(SpiderTest, ABlockedStepSwitchesToTheColumn) {
    PlacePlayer(6, -5);
    Spider* s = Add(new Spider(1, 2.0f, -2.0f));
    // A block right of the spider: the row is shut, so it climbs first.
    Add(new BreakableBlock(1, 3.0f, -2.0f));
    std::srand(9);
    int f = 0;
    for (; f < 1000 && s->tX == 2 && s->tY == -2; ++f) Frame();
    EXPECT_EQ(s->tX, 2) << "the first step is vertical";
    EXPECT_EQ(s->tY, -3);
}

TEST_F(SpiderTest, OnThePlayersRowABlockedStepFlipsTheHuntUntilTheWayOpens) {
    PlacePlayer(6, -2);
    Spider* s = Add(new Spider(1, 2.0f, -2.0f));
    BreakableBlock* block = Add(new BreakableBlock(1, 3.0f, -2.0f));
    std::srand(9);
    Frames(60);
    // Blocked sideways and already on the player's row: it switches every frame and stays put.
    int flips = 0, last = s->chaseState;
    for (int f = 0; f < 200; ++f) {
        Frame();
        if (s->chaseState != last) ++flips;
        last = s->chaseState;
        ASSERT_EQ(s->tX, 2);
        ASSERT_EQ(s->tY, -2);
    }
    EXPECT_GE(flips, 150);
    // Shot away, the block no longer holds it.
    for (int i = 0; i < 8; ++i) block->Hit(1, 0);
    int f = 0;
    for (; f < 300 && s->tX == 2; ++f) Frame();
    EXPECT_EQ(s->tX, 3);
    EXPECT_EQ(s->tY, -2);
}

TEST_F(SpiderTest, OnThePlayersColumnItClimbsStraightTowardsThePlayer) {
    PlacePlayer(2, -7);
    Spider* s = Add(new Spider(1, 2.0f, -2.0f));
    std::srand(11);
    for (int f = 0; f < 2000 && s->tY > -6; ++f) {
        Frame();
        ASSERT_EQ(s->tX, 2) << "frame " << f;
    }
    EXPECT_EQ(s->tY, -6);
}

TEST_F(SpiderTest, RefusesToStepWhileAwayFromItsTile) {
    Spider* s = Add(new Spider(1, 3.0f, -4.0f));
    s->x += 5;
    s->y += 5;
    EXPECT_FALSE(s->Climb(1, 0));
    EXPECT_EQ(s->tX, 3);
    s->y -= 5;  // off on one axis only still lets it try
    EXPECT_TRUE(s->Climb(0, 1));
    EXPECT_EQ(s->tY, -3);
}

TEST_F(SpiderTest, DiesInPlaceWithItsSoundAndIsGoneAfterTheAnimation) {
    PlacePlayer(7, -2);
    p->invinceTimer = 100000;
    Spider* s = Add(new Spider(1, 2.0f, -4.0f));
    Frame();
    for (int i = 0; i < 3; ++i) s->Hit(0, 0);
    Halt();
    const float x0 = s->x, y0 = s->y;
    Frame();
    ASSERT_TRUE(s->dead);
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavDie0), 1);
    }
    int f = 0;
    for (; f < 100 && InList(s); ++f) {
        EXPECT_EQ(s->x, x0);
        EXPECT_EQ(s->y, y0);
        Frame();
    }
    EXPECT_FALSE(InList(s));
    // Three frames of the death picture, not an instant removal.
    EXPECT_GT(f, 10);
}

TEST_F(SpiderTest, SpidersInTheCornerColumnsVanishWhenThePlayerTurnsAway) {
    PlacePlayer(4, -2);
    p->invinceTimer = 100000;
    Spider* left = Add(new Spider(1, 1.0f, -6.0f));
    Spider* right = Add(new Spider(1, 8.0f, -6.0f));
    Spider* middle = Add(new Spider(1, 7.0f, -6.0f));
    Frame();
    EXPECT_TRUE(InList(left));
    EXPECT_TRUE(InList(right));
    p->side = 2;
    Frame();
    EXPECT_FALSE(InList(left));
    EXPECT_FALSE(InList(right));
    EXPECT_TRUE(InList(middle));
}

class NestTest : public CreatureTest {};

TEST_F(NestTest, CountsOnlyNearThePlayerOnItsSideAndCannotBeHurt) {
    SpiderSpawn* far = Add(new SpiderSpawn(1, 192, p->y - 600));
    SpiderSpawn* other = Add(new SpiderSpawn(2, 192, p->y - 128));
    SpiderSpawn* near = Add(new SpiderSpawn(1, 192, p->y - 128));
    Frames(40);
    EXPECT_EQ(far->spawnTimer, 0);
    EXPECT_EQ(other->spawnTimer, 0);
    EXPECT_EQ(near->spawnTimer, 40);
    near->Hit(0, 0);
    EXPECT_EQ(near->HP, 50);
    EXPECT_FALSE(near->canHit);
    EXPECT_FALSE(near->canFlameHit);
}

TEST_F(NestTest, ShowsItselfHalfwayHatchesAndReleasesASpiderBelow) {
    p->invinceTimer = 100000;
    SpiderSpawn* n = Add(new SpiderSpawn(1, 192, p->y - 320 + 2));
    n->y = std::floor(n->y / 64) * 64;  // on the grid, as the factory places nests
    Frames(74);
    EXPECT_TRUE(n->sprite->hidden);
    Frame();
    EXPECT_FALSE(n->sprite->hidden);
    Frames(75);
    EXPECT_EQ(n->spawnTimer, 150);
    EXPECT_TRUE(All<Spider>().empty());
    int f = 0;
    for (; f < 100 && All<Spider>().empty(); ++f) Frame();
    ASSERT_EQ(All<Spider>().size(), 1u);
    // The hatching takes its three pictures first.
    EXPECT_GT(f, 30);
    Spider* s = All<Spider>()[0];
    EXPECT_EQ(s->tX, 3);
    EXPECT_EQ(s->tY, static_cast<int>(n->y / 64) + 1);
    EXPECT_EQ(n->spawnTimer, 0);
    EXPECT_TRUE(n->sprite->hidden);
    // It drops into its tile at its climbing speed.
    EXPECT_LT(s->y, s->TargetY());
    Frames(40);
    EXPECT_FLOAT_EQ(s->y, s->TargetY());
    EXPECT_EQ(s->tX, 3) << "still waiting before it hunts";
    // And the nest starts over.
    Frames(200);
    EXPECT_EQ(All<Spider>().size(), 2u);
}

}  // namespace
