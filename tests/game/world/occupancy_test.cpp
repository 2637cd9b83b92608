// Marking the tiles wall creatures occupy.
#include "WorldFixture.h"

#include "game/world/Generator.h"

namespace {

class OccupancyTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        WriteAllSides("Level1", EmptySide());
        WriteAllSides("Level2", EmptySide());
        seg0 = Building::b[0] = new Building("Level1", 8, 50, 0);
        seg1 = Building::b[1] = new Building("Level2", 8, 50, 50);
        player = AddPlayer(4, -2);
    }
    int CountBlocked(Building* s) {
        int n = 0;
        for (int side = 0; side < 4; ++side)
            for (int k = 0; k < 8; ++k)
                for (int r = 0; r < 50; ++r) n += s->block[side][k][r]->blocked;
        return n;
    }
    Building* seg0 = nullptr;
    Building* seg1 = nullptr;
    WorldProbe* player = nullptr;
};

TEST_F(OccupancyTest, AWallCreatureMarksTheTilesOfItsBox) {
    AddWallCreature(3, -5);
    WorldProbe* wide = AddWallCreature(5, 0, 2);
    wide->cw = 128;  // two tiles wide
    wide->ch = 65;   // and a pixel into the row below
    seg0->FindBlockedLocations();
    EXPECT_EQ(seg0->GetBlock(1, 3, -5)->blocked, 1);
    EXPECT_EQ(seg0->GetBlock(2, 5, 0)->blocked, 1);
    EXPECT_EQ(seg0->GetBlock(2, 6, 0)->blocked, 1);
    EXPECT_EQ(seg0->GetBlock(2, 5, 1)->blocked, 1);
    EXPECT_EQ(seg0->GetBlock(2, 6, 1)->blocked, 1);
    EXPECT_EQ(CountBlocked(seg0), 5);
    // The marks steer climbers: the tile below an occupant is no longer open.
    EXPECT_FALSE(seg0->openSpot(1, 3, -4, FALSE));
}

TEST_F(OccupancyTest, MarksAreRecomputedEachCall) {
    WorldProbe* e = AddWallCreature(3, -5);
    seg0->FindBlockedLocations();
    e->x = 64.0f * 6;
    seg0->FindBlockedLocations();
    EXPECT_EQ(seg0->GetBlock(1, 3, -5)->blocked, 0);
    EXPECT_EQ(seg0->GetBlock(1, 6, -5)->blocked, 1);
    EXPECT_EQ(CountBlocked(seg0), 1);
}

TEST_F(OccupancyTest, ThePlayerTheDeadFloatersAndTheFarAwayMarkNothing) {
    WorldProbe* dead = AddWallCreature(2, -3);
    dead->dead = 1;
    WorldProbe* floater = AddWallCreature(3, -3);
    floater->wallDraw = 0;
    // 1600 world pixels is the reach: 25 rows above the player's box corner is exactly that far.
    AddWallCreature(4, -2 - 25);
    WorldProbe* near = AddWallCreature(4, -2 - 24);
    seg0->FindBlockedLocations();
    EXPECT_EQ(seg0->GetBlock(1, 4, -2)->blocked, 0);  // the player's own tile
    EXPECT_EQ(seg0->GetBlock(1, 2, -3)->blocked, 0);
    EXPECT_EQ(seg0->GetBlock(1, 3, -3)->blocked, 0);
    EXPECT_EQ(seg0->GetBlock(1, 4, -27)->blocked, 0);
    EXPECT_EQ(seg0->GetBlock(1, 4, -26)->blocked, 1);
    EXPECT_EQ(CountBlocked(seg0), 1);
    (void)near;
}

TEST_F(OccupancyTest, OnlyARealGeneratorMarksTheRowAboveItsBaseNotOneNamedSo) {
    // The row shift belongs to the generator's type; another creature calling itself by that name
    // marks its own row.
    WorldProbe* gen = AddWallCreature(5, -6);
    gen->name = "Generator";
    seg0->FindBlockedLocations();
    EXPECT_EQ(seg0->GetBlock(1, 5, -7)->blocked, 0);
    EXPECT_EQ(seg0->GetBlock(1, 5, -6)->blocked, 1);
    EXPECT_EQ(CountBlocked(seg0), 1);
}

TEST_F(OccupancyTest, TheRealGeneratorMarksAboveItsBoxWithTruncatingDivision) {
    // Its box spans world y -366 .. -284 at x 324 .. 380: the steps start at -366 and -302, which
    // divide toward zero to rows -5 and -4, and the generator shifts both up one row.
    Generator* g = new Generator(1, 64 * 5, 64 * -6);
    Entity::entList.push_back(g);
    seg0->FindBlockedLocations();
    EXPECT_EQ(seg0->GetBlock(1, 5, -6)->blocked, 1);
    EXPECT_EQ(seg0->GetBlock(1, 5, -5)->blocked, 1);
    EXPECT_EQ(seg0->GetBlock(1, 5, -4)->blocked, 0);
    EXPECT_EQ(CountBlocked(seg0), 2);
}

TEST_F(OccupancyTest, CreaturesOfTheNeighbouringSegmentMarkFiftyRowsAway) {
    player->y = 64.0f * -40;
    AddWallCreature(4, -30);  // in segment 0
    AddWallCreature(6, -46);  // in segment 1
    seg1->FindBlockedLocations();
    EXPECT_EQ(seg1->GetBlock(1, 6, -46)->blocked, 1);
    // The pass does not ask which segment a creature is in: row -30 lands on the grid row that
    // belongs to row -80 in segment 1.
    EXPECT_EQ(seg1->GetActualTileY(-30), seg1->GetActualTileY(-80));
    EXPECT_EQ(seg1->GetBlock(1, 4, -80)->blocked, 1);
    EXPECT_EQ(CountBlocked(seg1), 2);
}

TEST_F(OccupancyTest, MarksOffTheGridLandOnTheSharedBlankBlockAndDoNotStick) {
    WorldProbe* e = AddWallCreature(9, -3);  // past the right edge, turning a corner
    (void)e;
    seg0->FindBlockedLocations();
    EXPECT_EQ(CountBlocked(seg0), 0);
    EXPECT_EQ(seg0->GetBlock(1, 9, -3)->blocked, 0);
}

}  // namespace
