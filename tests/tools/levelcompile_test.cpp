// The level compiler: readable sources to level files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "levelsource.h"
#include "picsource.h"

namespace {

std::string Rows(int n, const std::string& row) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "  " + row + "\n";
    return s;
}

const char* kLegend =
    "legend\n"
    "  L open 0 2 set 5 ; edge\n"
    "  . open 0 0\n"
    "  # solid 0 1 set 3\n"
    "  B breakable 0 0\n"
    "  7 7 3 4\n"
    "end\n";

std::string Source(const std::string& extra = "") {
    return "; a small test side\npictures wall1.png solid1.png\n" + std::string(kLegend) + "layer 1\n" +
           Rows(10, "L......L") + "  L.#B7..L\n" + Rows(39, "L......L") + extra;
}

levelsrc::SourceName Name(int seg = 2, int side = 3) {
    levelsrc::SourceName n;
    n.segment = seg;
    n.side = side;
    return n;
}

TEST(LevelCompileTest, LegendLayersAndPlacementsBecomeTheFileSections) {
    std::string extra =
        "layer 3\n" + Rows(10, "--------") + "  --.-----\n" + Rows(39, "--------") +
        "place SPIDER tile 3 20\nplace BATBUG pixel 130 -7\nplace SPIDER tile 8 49\ntype TESTING MARKER\n";
    level::SideFile f = levelsrc::Compile(Source(extra), "t.level", Name());
    EXPECT_EQ(f.w, 8);
    EXPECT_EQ(f.h, 50);
    EXPECT_EQ(f.header.back(), "#");
    EXPECT_EQ(f.neighbours[0], "Level1_Side3");
    EXPECT_EQ(f.neighbours[1], "Level3_Side3");
    EXPECT_EQ(f.neighbours[2], "Level2_Side4");  // walking off the left edge
    EXPECT_EQ(f.neighbours[3], "Level2_Side2");
    ASSERT_EQ(f.tilePictures.size(), 2u);
    const level::TileToken& edge = f.At(0, 0, 0);
    EXPECT_FALSE(edge.keep);
    EXPECT_EQ(edge.set, 5);
    EXPECT_EQ(edge.Frame(), 0);
    EXPECT_EQ(edge.Layer(), 2);
    EXPECT_EQ(f.At(0, 1, 0).set, 1);  // the default set
    EXPECT_EQ(f.At(0, 2, 10).type, 1);
    EXPECT_EQ(f.At(0, 3, 10).type, 2);
    EXPECT_EQ(f.At(0, 4, 10).type, 7);
    EXPECT_EQ(f.At(0, 4, 10).Frame(), 3);
    EXPECT_EQ(f.At(0, 4, 10).Layer(), 4);
    // '-' keeps the earlier layer; layers not given are all "x".
    EXPECT_TRUE(f.At(2, 0, 0).keep);
    EXPECT_FALSE(f.At(2, 2, 10).keep);
    EXPECT_EQ(f.At(2, 2, 10).type, 0);
    EXPECT_TRUE(f.At(1, 2, 10).keep);
    EXPECT_TRUE(f.At(3, 5, 5).keep);
    // One table entry per keyword, in order of first use, and extra entries after.
    ASSERT_EQ(f.types.size(), 3u);
    EXPECT_EQ(f.types[0].name, "SPIDER");
    EXPECT_EQ(f.types[0].category, "ENTITY");
    EXPECT_EQ(f.types[1].name, "BATBUG");
    EXPECT_EQ(f.types[2].category, "TESTING");
    ASSERT_EQ(f.placements.size(), 3u);
    // Tile placements go to the centre of the tile.
    EXPECT_EQ(f.placements[0].type, 0);
    EXPECT_EQ(f.placements[0].px, 2 * 64 + 32);
    EXPECT_EQ(f.placements[0].py, 20 * 64 + 32);
    EXPECT_EQ(f.placements[1].type, 1);
    EXPECT_EQ(f.placements[1].px, 130);
    EXPECT_EQ(f.placements[1].py, -7);
    EXPECT_EQ(f.placements[2].px, 7 * 64 + 32);
    EXPECT_EQ(f.placements[2].py, 49 * 64 + 32);
}

TEST(LevelCompileTest, WhatIsWrittenReadsBackAsCompiled) {
    level::SideFile f = levelsrc::Compile(Source("place SLUG tile 1 0\n"), "t.level", Name());
    level::SideFile back;
    level::ParseError err;
    ASSERT_TRUE(level::Parse(level::Write(f), 8, 50, &back, &err)) << err.reason;
    EXPECT_TRUE(back == f);
}

struct BadSource {
    const char* what;
    std::string text;
    int line;
    const char* reason;
};

TEST(LevelCompileTest, MalformedSourcesStopWithFileLineAndReason) {
    const std::string rows50 = Rows(50, "L......L");
    const std::string head = "pictures wall1.png\n" + std::string(kLegend);  // legend ends on line 8
    std::vector<BadSource> cases = {
        {"unknown map character", head + "layer 1\n" + Rows(3, "L......L") + "  L..?...L\n" + Rows(46, "L......L"), 13,
         "'?' is not in the legend"},
        {"short row", head + "layer 1\n" + "  L....L\n" + Rows(49, "L......L"), 10, "8 characters"},
        {"too few rows", head + "layer 1\n" + Rows(49, "L......L"), 9, "49 rows"},
        {"no layer 1", head + "layer 2\n" + rows50, 59, "no 'layer 1'"},
        {"layer twice", head + "layer 1\n" + rows50 + "layer 1\n" + rows50, 60, "given twice"},
        {"layer 5", head + "layer 5\n", 9, "1..4"},
        {"unknown creature", head + "layer 1\n" + rows50 + "place DRAGON tile 1 1\n", 60, "DRAGON"},
        {"lower-case creature", head + "layer 1\n" + rows50 + "place spider tile 1 1\n", 60, "spider"},
        {"tile off the side", head + "layer 1\n" + rows50 + "place SPIDER tile 9 1\n", 60, "outside"},
        {"tile below the grid", head + "layer 1\n" + rows50 + "place SPIDER tile 1 50\n", 60, "outside"},
        {"bad place form", head + "layer 1\n" + rows50 + "place SPIDER at 1 1\n", 60, "place KEYWORD"},
        {"statement", "wibble\n", 1, "unknown statement"},
        {"legend without end", "legend\n . open 0 0\n", 1, "no 'end'"},
        {"legend twice", "legend\n . open 0 0\n . open 1 0\nend\n", 3, "twice"},
        {"legend number", "legend\n . open zero 0\nend\n", 2, "not a number"},
        {"legend range", "legend\n . open 120 0\nend\n", 2, "two-digit"},
        {"legend dash", "legend\n - open 0 0\nend\n", 2, "keeps"},
        {"picture path", "pictures ../x.png\n", 1, "plain file name"},
    };
    for (const BadSource& c : cases) {
        try {
            levelsrc::Compile(c.text, "bad.level", Name());
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const toolcommon::SourceError& e) {
            EXPECT_EQ(e.file, "bad.level") << c.what;
            EXPECT_EQ(e.line, c.line) << c.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

TEST(LevelCompileTest, PicturesTheGameDoesNotHaveAreRefused) {
    auto have = [](const std::string& n) { return n == "wall1.png"; };
    EXPECT_NO_THROW(
        levelsrc::Compile("pictures wall1.png\n" + Source().substr(Source().find("legend")), "a.level", Name(), have));
    try {
        levelsrc::Compile(Source(), "a.level", Name(), have);
        ADD_FAILURE() << "solid1.png accepted";
    } catch (const toolcommon::SourceError& e) {
        EXPECT_EQ(e.line, 2);
        EXPECT_NE(std::string(e.what()).find("data/tiles/solid1.png"), std::string::npos);
    }
}

TEST(LevelCompileTest, SegmentAndSideComeFromTheFileName) {
    levelsrc::SourceName n = levelsrc::ParseSourceName("/x/y/Level14_Side4.level");
    EXPECT_EQ(n.segment, 14);
    EXPECT_EQ(n.side, 4);
    for (const char* bad : {"Level1_Side5.level", "Level0_Side1.level", "Level1_Side1.lvl", "level1_side1.level",
                            "Level1_Side1.level.bak", "Level_Side1.level"}) {
        EXPECT_THROW(levelsrc::ParseSourceName(bad), toolcommon::SourceError) << bad;
    }
}

// The tool itself: output only for a good source, never a half-written file.
TEST(LevelCompileCliTest, WritesTheFileOnlyWhenTheSourceIsGood) {
    const std::string dir = std::string(BRACKMOOR_BINARY_DIR) + "/tests/levelcompile_cli";
    EXPECT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    const std::string good = dir + "/Level2_Side3.level", bad = dir + "/Level2_Side4.level";
    std::ofstream(good) << Source("place SLUG tile 2 2\n");
    std::ofstream(bad) << Source("place SLUG tile 2 99\n");
    const std::string tool = std::string(BRACKMOOR_BINARY_DIR) + "/levelcompile";
    const std::string manifest = std::string(BRACKMOOR_SOURCE_DIR) + "/assets/manifest.txt";
    EXPECT_EQ(std::system((tool + " --manifest " + manifest + " " + good + " " + dir + "/out/a.zlv").c_str()), 0);
    std::ifstream a(dir + "/out/a.zlv");
    std::stringstream ss;
    ss << a.rdbuf();
    level::SideFile f;
    EXPECT_TRUE(level::Parse(ss.str(), 8, 50, &f, nullptr));
    EXPECT_EQ(f.placements.size(), 1u);
    int rc = std::system((tool + " " + bad + " " + dir + "/out/b.zlv 2> " + dir + "/err.txt").c_str());
    EXPECT_NE(rc, 0);
    EXPECT_FALSE(std::ifstream(dir + "/out/b.zlv").good());
    std::ifstream err(dir + "/err.txt");
    std::string msg((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    EXPECT_NE(msg.find(bad + ":61:"), std::string::npos) << msg;
}

// The shipped sources compile to exactly the files in the data folder.
TEST(LevelCompileDataTest, TheShippedLevelsAreUpToDate) {
    int n = 0;
    for (int seg = 1; seg <= 14; ++seg)
        for (int side = 1; side <= 4; ++side) {
            std::string name = "Level" + std::to_string(seg) + "_Side" + std::to_string(side);
            std::ifstream src(std::string(BRACKMOOR_SOURCE_DIR) + "/assets/levels/" + name + ".level");
            std::ifstream zlv(std::string(BRACKMOOR_DATA_DIR) + "/ZLevel/" + name + ".zlv");
            ASSERT_TRUE(src.good()) << name;
            ASSERT_TRUE(zlv.good()) << name;
            std::stringstream a, b;
            a << src.rdbuf();
            b << zlv.rdbuf();
            level::SideFile f = levelsrc::Compile(a.str(), name + ".level", levelsrc::ParseSourceName(name + ".level"));
            EXPECT_EQ(level::Write(f), b.str()) << name;
            ++n;
        }
    EXPECT_EQ(n, 56);
}

}  // namespace
