// Loading a segment's four sides from level files.
#include "WorldFixture.h"

#include <algorithm>

#include "platform/Log.h"

namespace {

class LoaderTest : public WorldTest {};

TEST_F(LoaderTest, LaterLayersOverrideEarlierOnesExceptWhereTheyHoldX) {
    level::SideFile f = EmptySide();
    f.At(0, 3, 10) = level::TileToken::Make(1, 1, 4, 1);  // layer 1: solid stone
    f.At(1, 3, 10) = level::TileToken::Keep();            // layer 2: keeps it
    f.At(0, 4, 10) = level::TileToken::Make(1, 1, 4, 1);
    f.At(3, 4, 10) = level::TileToken::Make(1, 0, 6, 2);  // layer 4 wins
    f.At(1, 5, 10) = level::TileToken::Make(1, 3, 2, 3);  // only layer 2 sets it
    WriteAllSides("Level1", f);
    Building seg("Level1", 8, 50, 0);
    EXPECT_EQ(NewMessages(), 0) << platform::LastMessage();
    for (int s = 0; s < 4; ++s) {
        BuildingBlock* a = seg.block[s][3][10];
        EXPECT_EQ(a->type, 1);
        EXPECT_EQ(a->frame, 4);
        EXPECT_EQ(a->layer, 1);
        BuildingBlock* b = seg.block[s][4][10];
        EXPECT_EQ(b->type, 0);
        EXPECT_EQ(b->frame, 6);
        EXPECT_EQ(b->layer, 2);
        EXPECT_EQ(seg.block[s][5][10]->type, 3);
        // Untouched tiles keep what the constructor made, edge pictures included.
        EXPECT_EQ(seg.block[s][6][10]->type, 0);
        EXPECT_EQ(seg.block[s][0][10]->layer, 2);
        EXPECT_EQ(seg.block[s][7][11]->frame, 1);
    }
}

TEST_F(LoaderTest, ABreakableTileBecomesOpenWithABlockEntity) {
    level::SideFile f = EmptySide();
    f.At(0, 2, 30) = level::TileToken::Make(1, 2, 2, 3);  // the token 01020304 (frame 2, layer 3)
    WriteAllSides("Level1", f);
    WriteAllSides("Level2", f);
    Building seg0("Level1", 8, 50, 0);
    Building seg1("Level2", 8, 50, 50);
    BuildingBlock* b = seg0.block[0][2][30];
    EXPECT_EQ(b->type, 0);
    EXPECT_EQ(b->frame, 2);
    EXPECT_EQ(b->layer, 3);
    ASSERT_EQ(calls.size(), 8u);  // one per side of each segment
    EXPECT_EQ(calls[0].name, "BREAKABLEBLOCK");
    EXPECT_EQ(calls[0].side, 1);
    EXPECT_EQ(calls[3].side, 4);
    EXPECT_EQ(calls[0].w, 8);
    EXPECT_EQ(calls[0].h, 50);
    EXPECT_EQ(calls[0].cX, 2 * 64);
    // The row is made relative to the segment: row 30 of segment 1 is 30 - 50.
    EXPECT_EQ(calls[0].cY, 30 * 64);
    EXPECT_EQ(calls[4].cY, (30 - 50) * 64);
    EXPECT_EQ(seg0.addList.size(), 4u);
    EXPECT_EQ(seg0.addList[0]->side, 1);
}

TEST_F(LoaderTest, PlacementsAreMadeInTheSegmentsFrame) {
    level::SideFile f = EmptySide();
    f.types = {{0, "TESTING", "MARKER"}, {1, "ENTITY", "SPIDER"}, {2, "ENTITY", "NOSUCHTHING"}, {3, "OTHER", "BATBUG"}};
    f.placements = {{1, 100, 640}, {0, 5, 5}, {3, 10, 10}, {2, 64, 64}, {1, 0, 3136}};
    f.At(0, 1, 1) = level::TileToken::Make(0, 2, 1, 1);  // a breakable block comes before placements
    WriteSide("Level1", 1, level::Write(f));
    WriteSide("Level2", 1, level::Write(f));
    for (int s = 2; s <= 4; ++s) {
        WriteSide("Level1", s, level::Write(EmptySide()));
        WriteSide("Level2", s, level::Write(EmptySide()));
    }
    Building seg0("Level1", 8, 50, 0);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "BREAKABLEBLOCK");
    EXPECT_EQ(calls[1].name, "SPIDER");
    EXPECT_EQ(calls[1].cX, 100);
    EXPECT_EQ(calls[1].cY, 640);
    // Unknown names reach the factory (which refuses them); TESTING and other categories do not.
    EXPECT_EQ(calls[2].name, "NOSUCHTHING");
    EXPECT_EQ(calls[3].cY, 3136);
    calls.clear();
    Building seg1("Level2", 8, 50, 50);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1].cY, 640 - 3200 - 64);
    EXPECT_EQ(calls[3].cY, 3136 - 3200 - 64);
    // What the factory returned is kept in file order: the block, then the placements.
    ASSERT_EQ(seg1.addList.size(), 4u);
    EXPECT_STREQ(seg1.addList[0]->ClassName(), "BREAKABLEBLOCK");
    EXPECT_STREQ(seg1.addList[1]->ClassName(), "SPIDER");
}

TEST_F(LoaderTest, AMissingFileIsReportedAndLeavesTheSideAsBuilt) {
    level::SideFile f = EmptySide();
    f.At(0, 3, 3) = level::TileToken::Make(1, 1, 1, 1);
    WriteSide("Level1", 1, level::Write(f));
    WriteSide("Level1", 2, level::Write(f));
    WriteSide("Level1", 4, level::Write(f));
    Building seg("Level1", 8, 50, 0);
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_EQ(platform::LastMessage(), "Could not open level \"data/ZLevel/Level1_Side3.zlv\"");
    EXPECT_EQ(seg.block[2][3][3]->type, 0);
    EXPECT_EQ(seg.block[3][3][3]->type, 1);
}

TEST_F(LoaderTest, AMalformedFileIsReportedWithItsLineAndNothingOfItIsApplied) {
    level::SideFile f = EmptySide();
    f.At(0, 3, 3) = level::TileToken::Make(1, 2, 1, 1);  // a breakable block...
    f.types = {{0, "ENTITY", "SPIDER"}};
    f.placements = {{0, 64, 64}, {5, 64, 64}};  // ...and a placement past the table
    std::string text = level::Write(f);
    WriteSide("Level1", 1, text);
    for (int s = 2; s <= 4; ++s) WriteSide("Level1", s, level::Write(EmptySide()));
    Building seg("Level1", 8, 50, 0);
    EXPECT_EQ(NewMessages(), 1);
    const std::string& m = platform::LastMessage();
    EXPECT_NE(m.find("data/ZLevel/Level1_Side1.zlv"), std::string::npos) << m;
    const std::string at = text.substr(0, text.find("5 64 64"));
    const std::string line = "line " + std::to_string(1 + std::count(at.begin(), at.end(), '\n'));
    EXPECT_NE(m.find(line), std::string::npos) << m << " / " << line;
    EXPECT_NE(m.find("outside the table"), std::string::npos) << m;
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(seg.addList.empty());
    EXPECT_EQ(seg.block[0][3][3]->type, 0);
    EXPECT_EQ(seg.block[0][3][3]->frame, 0);
}

TEST_F(LoaderTest, APlacementCountBeyondThePlacementsHeldIsReported) {
    level::SideFile f = EmptySide();
    f.types = {{0, "ENTITY", "SPIDER"}};
    f.placements = {{0, 64, 64}, {0, 128, 128}};
    std::string text = level::Write(f);
    const size_t count = text.rfind("\n2\n0 64 64");
    ASSERT_NE(count, std::string::npos);
    text.replace(count + 1, 1, "5");  // five promised, two held
    WriteSide("Level1", 1, text);
    for (int s = 2; s <= 4; ++s) WriteSide("Level1", s, level::Write(EmptySide()));
    Building seg("Level1", 8, 50, 0);
    ASSERT_EQ(NewMessages(), 1);
    const std::string& m = platform::LastMessage();
    EXPECT_NE(m.find("Bad level \"data/ZLevel/Level1_Side1.zlv\""), std::string::npos) << m;
    EXPECT_NE(m.find("placement"), std::string::npos) << m;
    EXPECT_TRUE(calls.empty()) << "nothing of it is placed";
    EXPECT_TRUE(seg.addList.empty());
}

}  // namespace
