// The level map pictures: what a wall looks like in them, and the tool's verdict on bad files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "image.h"
#include "levelmap.h"

using toolcommon::Image;
using toolcommon::Rgba;

namespace {

level::SideFile OpenWall() {
    level::SideFile f;
    f.header = {"#"};
    f.w = 8;
    f.h = 50;
    for (auto& n : f.neighbours) n = "none";
    f.ResetLayers();
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 8; ++c) f.At(0, c, r) = level::TileToken::Make(1, 0, 0, 0);
    return f;
}

// A tile sheet whose every cell is one flat colour: cell (frame, layer) = (40 frame, 40 layer, 200).
Image FlatSheet() {
    Image img(256, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) img.at(x, y) = Rgba{uint8_t(40 * (x / 32)), uint8_t(40 * (y / 32)), 200, 255};
    return img;
}

Rgba TileCentre(const Image& img, int side, int col, int row) {
    const int left = (side - 1) * (8 * levelmap::kCell + levelmap::kGap);
    return img.at(left + col * levelmap::kCell + 3, row * levelmap::kCell + 3);
}

}  // namespace

TEST(LevelMap, TilesSolidsBreakablesAndPlacementsLandWhereTheGameHasThem) {
    level::SideFile sides[4] = {OpenWall(), OpenWall(), OpenWall(), OpenWall()};
    // Side 2, column 3, row 10: a later layer paints frame 2, layer 1 over the first.
    sides[1].At(2, 2, 10) = level::TileToken::Make(1, 0, 2, 1);
    // Side 3: a solid tile and a breakable one.
    sides[2].At(0, 4, 20) = level::TileToken::Make(1, 1, 0, 0);
    sides[2].At(0, 5, 20) = level::TileToken::Make(1, 2, 0, 0);
    // Side 4: a spider on column 6, row 30 (a tile-snapped position), and an unknown keyword.
    sides[3].types = {{0, "enemy", "SPIDER"}, {1, "enemy", "SOMETHINGNEW"}};
    sides[3].placements = {{0, 5 * 64 + 10, 30 * 64 + 10}, {1, 64, 64 * 40 + 5}, {0, -64, 100}, {7, 0, 0}};
    Image img = levelmap::DrawSegment(sides, FlatSheet(), 0);
    EXPECT_EQ(img.width, 4 * 8 * levelmap::kCell + 3 * levelmap::kGap);
    EXPECT_EQ(img.height, 50 * levelmap::kCell);

    EXPECT_EQ(TileCentre(img, 1, 0, 0), (Rgba{0, 0, 200, 255}));
    EXPECT_EQ(TileCentre(img, 2, 2, 10), (Rgba{80, 40, 200, 255})) << "the last layer that sets a tile wins";
    Rgba solid = TileCentre(img, 3, 4, 20);
    EXPECT_LT(solid.b, 200) << "solid tiles are darkened";
    Rgba open = TileCentre(img, 3, 3, 20);
    EXPECT_EQ(open.b, 200);
    // The breakable tile is crossed from corner to corner.
    const int left3 = 2 * (8 * levelmap::kCell + levelmap::kGap);
    EXPECT_NE(img.at(left3 + 5 * levelmap::kCell + 7, 20 * levelmap::kCell + 7), (Rgba{0, 0, 200, 255}));
    // The spider's marker outlines its tile in the spider's colour; the unknown one is grey.
    const int left4 = 3 * (8 * levelmap::kCell + levelmap::kGap);
    EXPECT_EQ(img.at(left4 + 5 * levelmap::kCell, 30 * levelmap::kCell), levelmap::KeywordColour("SPIDER"));
    EXPECT_EQ(img.at(left4 + 1 * levelmap::kCell, 40 * levelmap::kCell), (Rgba{128, 128, 128, 255}));
}

TEST(LevelMap, PlacementsOnTheSeamMoveUpOneRowAboveTheFirstSegment) {
    int col, row;
    level::Placement p{0, 3 * 64, 12 * 64};
    ASSERT_TRUE(levelmap::PlacementTile(p, 0, 8, 50, &col, &row));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 12);
    ASSERT_TRUE(levelmap::PlacementTile(p, 4, 8, 50, &col, &row));
    EXPECT_EQ(row, 11);
    p.py = 12 * 64 + 1;
    ASSERT_TRUE(levelmap::PlacementTile(p, 4, 8, 50, &col, &row));
    EXPECT_EQ(row, 12);
    EXPECT_FALSE(levelmap::PlacementTile(level::Placement{0, 8 * 64, 0}, 0, 8, 50, &col, &row));
    EXPECT_FALSE(levelmap::PlacementTile(level::Placement{0, 0, 50 * 64}, 0, 8, 50, &col, &row));
    EXPECT_FALSE(levelmap::PlacementTile(level::Placement{0, -1, 0}, 0, 8, 50, &col, &row));
}

TEST(LevelMap, TheToolDrawsTheShippedTowerAndNamesABrokenFile) {
    const std::string bin = std::string(BRACKMOOR_BINARY_DIR) + "/levelmap";
    const std::string out = std::string(BRACKMOOR_BINARY_DIR) + "/tests/levelmap_out";
    EXPECT_EQ(std::system(("rm -rf '" + out + "'").c_str()), 0);
    ASSERT_EQ(std::system((bin + " " + BRACKMOOR_DATA_DIR + " " + out).c_str()), 0);
    Image first = toolcommon::ReadPng(out + "/Level1.png");
    EXPECT_EQ(first.height, 50 * levelmap::kCell);
    Image last = toolcommon::ReadPng(out + "/Level14.png");
    EXPECT_EQ(last.width, first.width);

    // A copy of the data with one level file cut short.
    const std::string bad = std::string(BRACKMOOR_BINARY_DIR) + "/tests/levelmap_bad";
    EXPECT_EQ(std::system(("rm -rf '" + bad + "' && mkdir -p '" + bad + "' && cp -r '" + BRACKMOOR_DATA_DIR +
                           "/ZLevel' '" + BRACKMOOR_DATA_DIR + "/building' '" + bad + "/'")
                              .c_str()),
              0);
    std::ofstream(bad + "/ZLevel/Level7_Side2.zlv", std::ios::trunc) << "# 8 50";
    const std::string log = out + "/bad.txt";
    int rc = std::system((bin + " " + bad + " " + out + "/again > " + log + " 2>&1").c_str());
    EXPECT_NE(rc, 0);
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Level7_Side2.zlv:"), std::string::npos) << text;
}
