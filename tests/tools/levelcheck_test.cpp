// The level checker: the climbing rules on a tower model, and the tool's verdicts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "game/world/LevelFormat.h"
#include "tower.h"

namespace {

using levelcheck::Position;
using levelcheck::Tower;

Position P(int side, int tx, int ty) {
    Position p;
    p.side = side;
    p.tx = tx;
    p.ty = ty;
    return p;
}

// The array row of tile row ty in segment 0 (the row the climbing test reads for a climber
// stepping onto row ty is the one below it in the grid).
int Row0(int ty) { return 48 - (6 - (ty + 1)); }

TEST(TowerModelTest, StepsFollowTheClimbingRules) {
    Tower t(2);
    Position out;
    // Straight up on open wall.
    ASSERT_TRUE(t.Step(P(1, 4, -2), 0, -1, false, &out));
    EXPECT_EQ(out, P(1, 4, -3));
    // A solid tile is refused.
    t.SetType(0, 1, 3, Row0(-3), 1);  // column 4, row -3
    EXPECT_FALSE(t.Step(P(1, 4, -2), 0, -1, false, &out));
    // A diagonal cannot cut the corner of that solid tile.
    EXPECT_FALSE(t.Step(P(1, 3, -2), 1, -1, false, &out));  // the way up from column 3 is fine...
    EXPECT_TRUE(t.Step(P(1, 3, -2), 0, -1, false, &out));   // ...but (4, -3) is solid
    t.SetType(0, 1, 3, Row0(-3), 0);
    t.SetType(0, 1, 4, Row0(-2), 1);  // column 5, row -2: beside the climber
    EXPECT_FALSE(t.Step(P(1, 4, -2), 1, -1, false, &out));
    EXPECT_TRUE(t.Step(P(1, 4, -2), -1, -1, false, &out));
    EXPECT_EQ(out, P(1, 3, -3));
    // Breakable blocks pass only when they count as open.
    t.SetType(0, 1, 3, Row0(-3), 2);
    EXPECT_FALSE(t.Step(P(1, 4, -2), 0, -1, false, &out));
    EXPECT_TRUE(t.Step(P(1, 4, -2), 0, -1, true, &out));
    EXPECT_TRUE(t.OnBreakable(out));
}

TEST(TowerModelTest, LeavingASideTurnsTheCornerAndDropsTheVerticalPart) {
    Tower t(1);
    Position out;
    ASSERT_TRUE(t.Step(P(1, 1, -5), -1, -1, false, &out));
    EXPECT_EQ(out, P(2, 8, -5));  // left off side 1 onto column 8 of side 2, same row
    ASSERT_TRUE(t.Step(P(4, 1, -5), -1, 0, false, &out));
    EXPECT_EQ(out, P(1, 8, -5));
    ASSERT_TRUE(t.Step(P(1, 8, -5), 1, 1, false, &out));
    EXPECT_EQ(out, P(4, 1, -5));  // right off side 1 onto column 1 of side 4
    ASSERT_TRUE(t.Step(P(3, 8, -5), 1, 0, false, &out));
    EXPECT_EQ(out, P(2, 1, -5));
}

TEST(TowerModelTest, SegmentSeamsAreOpenInsideAndSolidAtTheEdges) {
    Tower t(2);
    Position out;
    // From the top row of segment 0 the next row up is tested on the blank block.
    EXPECT_TRUE(t.Step(P(1, 4, -43), 0, -1, false, &out));
    EXPECT_FALSE(t.Step(P(1, 1, -43), 0, -1, false, &out));
    EXPECT_FALSE(t.Step(P(1, 8, -43), 0, -1, false, &out));
    // Above the tower nothing holds.
    EXPECT_EQ(t.SegmentOf(-94), -1);
    EXPECT_FALSE(t.Step(P(1, 4, -94), 0, -1, false, &out));
}

TEST(TowerModelTest, ClimbToFindsTheShortestRouteIncludingRoundCorners) {
    Tower t(1);
    // Seal side 1 across row -20 (every column, edges included).
    for (int c = 0; c < 8; ++c) t.SetType(0, 1, c, Row0(-20), 1);
    levelcheck::Route r = levelcheck::ClimbTo(t, P(1, 4, -2), -30, false);
    ASSERT_TRUE(r.reached);
    // Round the corner onto side 2 and up: more steps than rows.
    EXPECT_GT(r.steps, 28);
    // Seal every side: nothing gets past.
    for (int s = 2; s <= 4; ++s)
        for (int c = 0; c < 8; ++c) t.SetType(0, s, c, Row0(-20), 1);
    EXPECT_FALSE(levelcheck::ClimbTo(t, P(1, 4, -2), -30, false).reached);
    // A breakable block in the seal is the intended way through.
    t.SetType(0, 3, 4, Row0(-20), 2);
    EXPECT_FALSE(levelcheck::ClimbTo(t, P(1, 4, -2), -30, false).reached);
    r = levelcheck::ClimbTo(t, P(1, 4, -2), -30, true);
    ASSERT_TRUE(r.reached);
    EXPECT_EQ(r.breakables, 1);
    // Unsealed, the straight climb takes one step a row.
    Tower open(1);
    r = levelcheck::ClimbTo(open, P(1, 4, -2), -30, false);
    ASSERT_TRUE(r.reached);
    EXPECT_EQ(r.steps, 28);
}

TEST(TowerModelTest, AGoalOnOneSideIsReachedThereOnlyOrTheOtherSideIsNamed) {
    // Sides 1 to 3 sealed across row -20, and side 4 walled in at its edges from that row up (a
    // corner is turned from an edge column whatever the next side holds): the way up is side 4's,
    // and the climber cannot turn back onto another side higher up.
    Tower t(1);
    for (int s = 1; s <= 3; ++s)
        for (int c = 0; c < 8; ++c) t.SetType(0, s, c, Row0(-20), 1);
    for (int ty = -20; ty >= -31; --ty) {
        t.SetType(0, 4, 0, Row0(ty), 1);
        t.SetType(0, 4, 7, Row0(ty), 1);
    }
    levelcheck::Route r = levelcheck::ClimbTo(t, P(1, 4, -2), -30, false, 4);
    ASSERT_TRUE(r.reached);
    EXPECT_EQ(r.side, 4);
    EXPECT_EQ(r.otherSide, 0);
    // Asked on side 1, the row is not reached there, and side 4 is named.
    r = levelcheck::ClimbTo(t, P(1, 4, -2), -30, false, 1);
    EXPECT_FALSE(r.reached);
    EXPECT_EQ(r.otherSide, 4);
    // Open everywhere: reached on the asked side, and the nearer other sides still show although
    // the asked side's arrival comes first.
    Tower open(1);
    r = levelcheck::ClimbTo(open, P(1, 4, -2), -30, false, 1);
    ASSERT_TRUE(r.reached);
    EXPECT_EQ(r.steps, 28);
    EXPECT_NE(r.otherSide, 0);
}

std::string RunCheck(const std::string& args, int* rc) {
    // One output file per test: CTest runs the tests of this file side by side.
    const std::string out = std::string(BRACKMOOR_BINARY_DIR) + "/tests/levelcheck_out_" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    *rc = std::system((std::string(BRACKMOOR_BINARY_DIR) + "/levelcheck " + args + " > " + out + " 2>&1").c_str());
    std::ifstream in(out);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(LevelCheckCliTest, TheShippedTowerCanBeClimbed) {
    int rc = 0;
    std::string out = RunCheck(std::string(BRACKMOOR_DATA_DIR) + "/ZLevel", &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_NE(out.find("Level14: climbable to row -673"), std::string::npos) << out;
    EXPECT_NE(out.find("level 3 start: climbable"), std::string::npos) << out;
    EXPECT_NE(out.find("squid from the level 2 start: row -461 reached on side 3 only"), std::string::npos) << out;
    EXPECT_NE(out.find("final boss from the level 3 start: row -673 reached on side 3 only"), std::string::npos) << out;
}

TEST(LevelCheckCliTest, ASealedLevelAndAMissingFileAreReported) {
    const std::string dir = std::string(BRACKMOOR_BINARY_DIR) + "/tests/levelcheck_cli";
    EXPECT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    level::SideFile f;
    f.header = {"#"};
    f.w = 8;
    f.h = 50;
    for (auto& n : f.neighbours) n = "none";
    f.ResetLayers();
    level::SideFile sealed = f;
    for (int c = 0; c < 8; ++c) sealed.At(0, c, 10) = level::TileToken::Make(1, 1, 0, 1);
    for (int seg = 1; seg <= 2; ++seg)
        for (int s = 1; s <= 4; ++s)
            std::ofstream(dir + "/Level" + std::to_string(seg) + "_Side" + std::to_string(s) + ".zlv")
                << level::Write(seg == 2 ? sealed : f);
    int rc = 0;
    std::string out = RunCheck("--segments 2 " + dir, &rc);
    EXPECT_NE(rc, 0);
    EXPECT_NE(out.find("Level1: climbable"), std::string::npos) << out;
    EXPECT_NE(out.find("Level2: NOT climbable"), std::string::npos) << out;
    // The sealing row is the only solid filler: 8 tiles on each of 4 sides of 2 x 4 x 400. The open
    // rows above it on every side are out of reach, so they are sealed as well.
    EXPECT_NE(out.find("level 1: solid filler 1.0% of 3200 wall tiles"), std::string::npos) << out;
    const size_t at = out.find("; sealed ");
    ASSERT_NE(at, std::string::npos) << out;
    EXPECT_GT(std::atof(out.c_str() + at + 9), 10.0) << out;
    std::remove((dir + "/Level2_Side3.zlv").c_str());
    out = RunCheck("--segments 2 " + dir, &rc);
    EXPECT_NE(rc, 0);
    EXPECT_NE(out.find("Level2_Side3.zlv: cannot open"), std::string::npos) << out;
}

}  // namespace
