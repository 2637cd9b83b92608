// The world's share of the frame, and the real tower built from the shipped level files.
#include "WorldFixture.h"

#include <fstream>
#include <sstream>

#include "engine/GameEngine.h"
#include "game/entities/Climber.h"
#include "game/world/Tower.h"
#include "game/world/World.h"
#include "tower.h"

namespace {

class TowerStepTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        for (int i = 1; i <= levelCount; ++i) {
            level::SideFile f = EmptySide();
            // Each segment places one creature on side 2 so its hand-over can be seen.
            f.types = {{0, "ENTITY", "SLUG"}};
            f.placements = {{0, 64, 64 * i}};
            WriteSide("Level" + std::to_string(i), 1, level::Write(EmptySide()));
            WriteSide("Level" + std::to_string(i), 2, level::Write(f));
            WriteSide("Level" + std::to_string(i), 3, level::Write(EmptySide()));
            WriteSide("Level" + std::to_string(i), 4, level::Write(EmptySide()));
        }
        AddPlayer(4, -2);
        BuildTower();
    }
};

TEST_F(TowerStepTest, BuildingTheTowerMakesFourteenSegmentsAndHandsOverTheLowest) {
    for (int i = 0; i < levelCount; ++i) {
        ASSERT_NE(Building::b[i], nullptr) << i;
        EXPECT_EQ(Building::b[i]->y, 50 * i);
        EXPECT_EQ(Building::b[i]->addedEntList, i == 0 ? 1 : 0);
    }
    EXPECT_EQ(Building::b[levelCount], nullptr);
    EXPECT_EQ(Building::cur, Building::b[0]);
    ASSERT_EQ(Entity::entList.size(), 2u);  // the player and segment 0's creature
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(TowerStepTest, SegmentChoiceFollowsThePlayersRow) {
    EXPECT_EQ(SegmentIndexForPlayerRow(6), 0);
    EXPECT_EQ(SegmentIndexForPlayerRow(-43), 0);
    EXPECT_EQ(SegmentIndexForPlayerRow(-44), 1);
    EXPECT_EQ(SegmentIndexForPlayerRow(-93), 1);
    EXPECT_EQ(SegmentIndexForPlayerRow(-94), 2);
    EXPECT_EQ(SegmentIndexForPlayerRow(7), 0);

    EXPECT_EQ(ChooseSegment(-43), 0);
    EXPECT_EQ(Building::cur, Building::b[0]);
    EXPECT_EQ(Building::b[1]->addedEntList, 1);  // the segment above is populated ahead
    EXPECT_EQ(Building::b[2]->addedEntList, 0);
    EXPECT_EQ(ChooseSegment(-44), 1);
    EXPECT_EQ(Building::cur, Building::b[1]);
    EXPECT_EQ(Building::b[2]->addedEntList, 1);
    size_t n = Entity::entList.size();
    EXPECT_EQ(n, 4u);
    ChooseSegment(-44);  // nothing twice
    EXPECT_EQ(Entity::entList.size(), n);
}

TEST_F(TowerStepTest, TheTopSegmentHasNothingAbove) {
    const int top = levelCount - 1;
    const int row = 6 - 50 * top;
    EXPECT_EQ(ChooseSegment(row), top);
    EXPECT_EQ(Building::cur, Building::b[top]);
    MarkOccupied(top);  // must not touch anything past the table
    // Above the tower and below the ground nothing is chosen and the current segment stays.
    EXPECT_EQ(ChooseSegment(6 - 50 * levelCount), -1);
    EXPECT_EQ(ChooseSegment(60), -1);
    EXPECT_EQ(Building::cur, Building::b[top]);
}

TEST_F(TowerStepTest, MarkingCoversTheCurrentSegmentAndTheOneAbove) {
    Entity::entList[0]->y = 64.0f * -40;
    AddWallCreature(3, -38);  // segment 0
    AddWallCreature(5, -46);  // segment 1
    MarkOccupied(0);
    EXPECT_EQ(Building::b[0]->GetBlock(1, 3, -38)->blocked, 1);
    EXPECT_EQ(Building::b[1]->GetBlock(1, 5, -46)->blocked, 1);
}

TEST_F(TowerStepTest, TheTowerTurnsThreeDegreesAFrameUntilASideFacesTheViewer) {
    GameEngine e;
    e.rotx = 360;
    e.rotxdir = -1;
    EXPECT_FALSE(TurnTower(&e));  // at rest
    e.rotx = 357;
    int frames = 0;
    while (TurnTower(&e)) ++frames;
    EXPECT_EQ(frames, 29);  // with the first step taken by the turn itself: 30 frames a quarter
    EXPECT_FLOAT_EQ(e.rotx, 270);
}

// The shipped tower: all 56 files load without a message, and the start tile is open.
TEST(ShippedTowerTest, EveryLevelFileLoadsCleanly) {
    testsupport::EnsureGL();
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    Entity::DeleteAll();
    Building::Init();
    Entity* (*old)(const char*, int, int, int, int, int) = Building::factory;
    int before = platform::MessageCount();
    Building::BuildAll();
    EXPECT_EQ(platform::MessageCount() - before, 0) << platform::LastMessage();
    Building* s0 = Building::b[0];
    ASSERT_NE(s0, nullptr);
    EXPECT_TRUE(s0->openSpot(1, 4, -2 + 1, FALSE));
    // Every side carries tiles from its file: some solid somewhere above the start.
    int solid = 0;
    for (int i = 0; i < levelCount; ++i)
        for (int s = 0; s < 4; ++s)
            for (int k = 0; k < 8; ++k)
                for (int r = 0; r < 50; ++r) solid += Building::b[i]->block[s][k][r]->type != 0;
    EXPECT_GT(solid, 500);

    // The level checker reads the same files into its own model; both must agree on every tile
    // a climber can ask about, off-grid columns and segment seams included.
    levelcheck::Tower model(levelCount);
    std::vector<std::string> errors;
    ASSERT_TRUE(model.Load(std::string(BRACKMOOR_DATA_DIR) + "/ZLevel", &errors));
    int compared = 0, mismatches = 0;
    for (int i = 0; i < levelCount; ++i)
        for (int side = 1; side <= 4; ++side)
            for (int tx = 0; tx <= 9; ++tx)
                for (int ty = 8 - 50 * i; ty >= -45 - 50 * i; --ty) {
                    bool game = Building::b[i]->openSpot(side, tx, ty, TRUE) != 0;
                    bool check = model.Open(i, side, tx, ty, true);
                    ++compared;
                    if (game != check && ++mismatches < 5)
                        ADD_FAILURE() << "segment " << i << " side " << side << " (" << tx << ", " << ty << ")";
                }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(compared, 14 * 4 * 10 * 50);

    // And on every step a climber can ask for: the game's Climber accepts exactly the steps the
    // checker's model does, landing on the same tile (before any corner turn).
    Climber c;
    int steps = 0, stepMismatches = 0;
    for (int i = 0; i < levelCount; ++i)
        for (int side = 1; side <= 4; ++side)
            for (int tx = 1; tx <= 8; ++tx)
                for (int ty = tower::RowAtHeight(50 * i + 1); ty >= tower::TopRowOfSegment(i); --ty)
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            if (dx == 0 && dy == 0) continue;
                            c.side = side;
                            c.SetPosition(tx, ty);
                            c.idleing = 1;
                            bool game = c.Climb(dx, dy) != 0;
                            levelcheck::Position from, to;
                            from.side = side;
                            from.tx = tx;
                            from.ty = ty;
                            bool check = model.Step(from, dx, dy, true, &to);
                            ++steps;
                            bool same = game == check;
                            if (same && game) {
                                // The model turns the corner at once; the game does it on the
                                // player's next update.
                                int gx = c.tX, gside = side;
                                tower::TurnCorner(&gside, &gx);
                                same = gx == to.tx && c.tY == to.ty && gside == to.side;
                            }
                            if (!same && ++stepMismatches < 5)
                                ADD_FAILURE() << "step (" << dx << ", " << dy << ") from side " << side << " (" << tx
                                              << ", " << ty << ")";
                        }
    EXPECT_EQ(stepMismatches, 0);
    EXPECT_GT(steps, 100000);
    Building::DestroyAll();
    Building::factory = old;
}

}  // namespace
