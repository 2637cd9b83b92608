// The tile grid of a segment: row mapping, out-of-grid blocks, open spots, handing entities over.
#include "WorldFixture.h"

int WorldProbe::liveCount = 0;
std::vector<FactoryCall> WorldTest::calls;

namespace {

class GridTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        WriteAllSides("Level1", EmptySide());
        WriteAllSides("Level2", EmptySide());
        seg0 = new Building("Level1", 8, 50, 0);
        seg1 = new Building("Level2", 8, 50, 50);
        Building::b[0] = seg0;
        Building::b[1] = seg1;
    }
    Building* seg0 = nullptr;
    Building* seg1 = nullptr;
};

TEST_F(GridTest, RowsMapIntoTheGridWithTruncatingRemainder) {
    // Rows 7 and 6 are the two bottom rows of the lowest segment.
    EXPECT_EQ(seg0->GetActualTileY(7), 49);
    EXPECT_EQ(seg0->GetActualTileY(6), 48);
    // The top row of a segment's range falls just outside the grid.
    EXPECT_EQ(seg0->GetActualTileY(-43), -1);
    // One row higher belongs to the next segment, whose grid starts again at its bottom.
    EXPECT_EQ(seg0->GetActualTileY(-44), 48);
    EXPECT_EQ(seg1->GetActualTileY(-44), 48);
    EXPECT_EQ(seg1->GetActualTileY(-93), -1);
    EXPECT_EQ(seg0->GetActualTileX(1), 0);
    EXPECT_EQ(seg0->GetActualTileX(8), 7);
    // Below the ground the remainder turns negative: row 8 maps to 50, outside the grid.
    EXPECT_EQ(seg0->GetActualTileY(8), 50);
}

TEST_F(GridTest, BlocksInsideTheGridAreTheSegmentsOwn) {
    EXPECT_EQ(seg0->GetBlock(1, 1, 6), seg0->block[0][0][48]);
    EXPECT_EQ(seg0->GetBlock(4, 8, 7), seg0->block[3][7][49]);
    EXPECT_EQ(seg1->GetBlock(2, 3, -44), seg1->block[1][2][48]);
    // The constructor paints the edge columns with the corner pictures but leaves them open.
    EXPECT_EQ(seg0->block[2][0][10]->frame, 0);
    EXPECT_EQ(seg0->block[2][0][10]->layer, 2);
    EXPECT_EQ(seg0->block[2][7][10]->frame, 1);
    EXPECT_EQ(seg0->block[2][7][10]->layer, 2);
    EXPECT_EQ(seg0->block[2][7][10]->type, 0);
    EXPECT_EQ(seg0->block[2][3][10]->layer, 0);
}

TEST_F(GridTest, OffGridColumnsAreOpenAndEdgeColumnsOffGridRowsAreSolid) {
    for (int tx : {0, 9, -5, 20}) {
        Building::blankDummy->type = 7;
        Building::blankDummy->blocked = 1;
        BuildingBlock* b = seg0->GetBlock(1, tx, 0);
        EXPECT_EQ(b, Building::blankDummy) << tx;
        EXPECT_EQ(b->type, 0) << tx;
        EXPECT_EQ(b->blocked, 0) << tx;
    }
    // Columns 1 and 8 outside the grid's rows (the top row of the range, or below the ground).
    for (int tx : {1, 8}) {
        BuildingBlock* b = seg0->GetBlock(1, tx, -43);
        EXPECT_EQ(b, Building::blankDummy);
        EXPECT_EQ(b->type, 1) << tx;
        EXPECT_EQ(seg0->GetBlock(1, tx, 8)->type, 1) << tx;
    }
    EXPECT_EQ(seg0->GetBlock(1, 4, -43)->type, 0);
    // A side outside 1..4 never indexes the grid.
    EXPECT_EQ(seg0->GetBlock(0, 4, 0), Building::blankDummy);
    EXPECT_EQ(seg0->GetBlock(5, 4, 0), Building::blankDummy);
}

TEST_F(GridTest, OpenSpotTestsTheTileAndTheOccupantAbove) {
    // Solid tile at row 3: never open.
    seg0->GetBlock(1, 4, 3)->type = 1;
    EXPECT_FALSE(seg0->openSpot(1, 4, 3, FALSE));
    EXPECT_FALSE(seg0->openSpot(1, 4, 3, TRUE));
    // Open tile at row 5 with the row above occupied: closed unless the occupant is ignored.
    seg0->GetBlock(1, 4, 4)->blocked = 1;
    EXPECT_FALSE(seg0->openSpot(1, 4, 5, FALSE));
    EXPECT_TRUE(seg0->openSpot(1, 4, 5, TRUE));
    // An occupant on the tested row itself does not matter, nor does a solid tile above it.
    EXPECT_TRUE(seg0->openSpot(1, 4, 4, FALSE));
    // Other sides are separate walls.
    EXPECT_TRUE(seg0->openSpot(2, 4, 5, FALSE));
    // Beyond the side's edge the way round the corner is open.
    EXPECT_TRUE(seg0->openSpot(1, 0, 5, FALSE));
    EXPECT_TRUE(seg0->openSpot(1, 9, 5, FALSE));
}

TEST_F(GridTest, AddAllEntitiesHandsOverOnceInFileOrder) {
    WorldProbe* a = new WorldProbe;
    WorldProbe* b = new WorldProbe;
    seg1->addList = {a, b};
    seg1->AddAllEntities();
    seg1->AddAllEntities();
    ASSERT_EQ(Entity::entList.size(), 2u);
    EXPECT_EQ(Entity::entList[0], a);
    EXPECT_EQ(Entity::entList[1], b);
    EXPECT_EQ(seg1->addedEntList, 1);
    // Once handed over the list owns them: destroying the segment leaves them alive.
    int before = WorldProbe::liveCount;
    Building::DestroyAll();
    seg0 = seg1 = nullptr;
    EXPECT_EQ(WorldProbe::liveCount, before);
}

TEST_F(GridTest, ASegmentFreesTheEntitiesItNeverHandedOver) {
    int before = WorldProbe::liveCount;
    seg0->addList.push_back(new WorldProbe);
    seg0->addList.push_back(new WorldProbe);
    EXPECT_EQ(WorldProbe::liveCount, before + 2);
    Building::DestroyAll();
    seg0 = seg1 = nullptr;
    EXPECT_EQ(WorldProbe::liveCount, before);
}

TEST(CharToIntTest, DigitsAndAnythingElse) {
    EXPECT_EQ(CharToInt('0'), 0);
    EXPECT_EQ(CharToInt('7'), 7);
    EXPECT_EQ(CharToInt('9'), 9);
    EXPECT_EQ(CharToInt('a'), 'a' - 48);
}

}  // namespace
