// The picture source reader, the PNG writer and the piccompile tool.
#include "image.h"
#include "manifest.h"
#include "pathutil.h"
#include "picsource.h"
#include "pictures_testutil.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace toolcommon;

namespace {

const Rgba kClear{0, 0, 0, 0};
const Rgba kDark{12, 31, 12, 255};
const Rgba kMid{116, 140, 37, 255};
const Rgba kLight{143, 187, 33, 255};

const char* kLegend =
    "# test legend\n"
    "legend\n"
    "  .  transparent   # see-through\n"
    "  k  12 31 12\n"
    "  g  116 140 37\n"
    "  l  143 187 33\n"
    "end\n";

// Expects 'fn' to throw a SourceError at file:line whose reason contains 'words'.
template <typename Fn>
void ExpectSourceError(Fn fn, const std::string& file, int line, const std::string& words) {
    try {
        fn();
        ADD_FAILURE() << "no error for " << file << ":" << line << " (" << words << ")";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.file, file);
        EXPECT_EQ(e.line, line) << e.what();
        EXPECT_NE(e.reason.find(words), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind(file + ":" + std::to_string(line) + ": ", 0), 0u) << e.what();
    }
}

std::string Piccompile() { return std::string(BRACKMOOR_BINARY_DIR) + "/piccompile"; }

}  // namespace

TEST(PicReader, ReadsLegendColoursAndMaps) {
    PicFile pic = ParsePicText(std::string(kLegend) +
                                   "map one 3 2\n"
                                   ".kg\n"
                                   "lk.\n"
                                   "\n"
                                   "# between maps\n"
                                   "map two 1 1\n"
                                   "g\n",
                               "a.pic");
    ASSERT_EQ(pic.maps.size(), 2u);
    const PicMap* one = pic.Find("one");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->width, 3);
    EXPECT_EQ(one->height, 2);
    EXPECT_EQ(one->rows[1], "lk.");
    EXPECT_EQ(one->line, 8);
    EXPECT_EQ(pic.legend.at('.'), kClear);
    EXPECT_EQ(pic.legend.at('k'), kDark);
    EXPECT_EQ(pic.legend.at('l'), kLight);
    EXPECT_EQ(pic.Find("three"), nullptr);
}

TEST(PicReader, AcceptsAlphaAndQuotedSpaceKey) {
    PicFile pic = ParsePicText(
        "legend\n"
        "  ' ' transparent\n"
        "  h  207 229 120 128\n"
        "  z  1 2 3 0\n"
        "end\n"
        "map m 3 1\n"
        " hz\n",
        "b.pic");
    EXPECT_EQ(pic.legend.at(' '), kClear);
    EXPECT_EQ(pic.legend.at('h'), (Rgba{207, 229, 120, 128}));
    EXPECT_EQ(pic.legend.at('z'), kClear) << "alpha 0 is plain transparency";
    EXPECT_EQ(pic.maps[0].rows[0], " hz");
}

TEST(PicReader, RejectsMalformedSourcesWithFileAndLine) {
    std::string L = kLegend;  // 7 lines
    ExpectSourceError([&] { ParsePicText(L + "map m 2 2\nkk\nkx\n", "p.pic"); }, "p.pic", 10, "unknown character 'x'");
    ExpectSourceError([&] { ParsePicText(L + "map m 3 2\nkkk\nkk\n", "p.pic"); }, "p.pic", 10, "2 characters wide");
    ExpectSourceError([&] { ParsePicText(L + "map m 2 2\nkk\nkkk\n", "p.pic"); }, "p.pic", 10, "3 characters wide");
    ExpectSourceError([&] { ParsePicText(L + "map m 2 3\nkk\nkk\n", "p.pic"); }, "p.pic", 10, "has 2 rows");
    ExpectSourceError([&] { ParsePicText(L + "map m 1 1\nk\nmap m 1 1\ng\n", "p.pic"); }, "p.pic", 10, "defined twice");
    ExpectSourceError([&] { ParsePicText(L + "map m 2x 1\nkk\n", "p.pic"); }, "p.pic", 8, "bad number '2x'");
    ExpectSourceError([&] { ParsePicText(L + "map m 0 1\n", "p.pic"); }, "p.pic", 8, "size");
    ExpectSourceError([&] { ParsePicText(L + "sprite m 1 1\n", "p.pic"); }, "p.pic", 8, "expected 'legend' or 'map'");
    ExpectSourceError([&] { ParsePicText("map m 1 1\nk\n", "p.pic"); }, "p.pic", 1, "before the legend");
    ExpectSourceError([&] { ParsePicText(L + "legend\nend\n", "p.pic"); }, "p.pic", 8, "second legend");
    ExpectSourceError([&] { ParsePicText("legend\n k 1 2 300\nend\n", "p.pic"); }, "p.pic", 2, "outside 0..255");
    ExpectSourceError([&] { ParsePicText("legend\n k 1 2\nend\n", "p.pic"); }, "p.pic", 2, "R G B");
    ExpectSourceError([&] { ParsePicText("legend\n k 1 2 3\n k 4 5 6\nend\n", "p.pic"); }, "p.pic", 3, "defined twice");
    ExpectSourceError([&] { ParsePicText("legend\n m 255 0 255\nend\n", "p.pic"); }, "p.pic", 2, "magenta");
    ExpectSourceError([&] { ParsePicText("legend\n k 1 2 3\n", "p.pic"); }, "p.pic", 2, "without 'end'");
    ExpectSourceError([&] { ParsePicText("legend\n kk 1 2 3\nend\n", "p.pic"); }, "p.pic", 2, "single character");
}

class SheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = pictest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        pictest::WriteFile(dir + "/art.pic", std::string(kLegend) +
                                                 "map arrow 3 2\n"
                                                 "kg.\n"
                                                 "l..\n"
                                                 "map dot 1 1\n"
                                                 "k\n");
    }
    CompiledSheet Compile(const std::string& body) {
        std::string path = dir + "/test.sheet";
        pictest::WriteFile(path, body);
        return CompileSheet(path);
    }
    std::string dir;
};

TEST_F(SheetTest, PlacesFlipsAndRecoloursMaps) {
    CompiledSheet s = Compile(
        "output sub/out.png   # where it goes\n"
        "size 8 4\n"
        "fill transparent\n"
        "key alpha\n"
        "use art.pic\n"
        "put arrow 0 0\n"
        "put arrow 4 0 flipx\n"
        "put arrow 0 2 flipy recolor k=l,g=k\n");
    EXPECT_EQ(s.output, "sub/out.png");
    ASSERT_EQ(s.image.width, 8);
    ASSERT_EQ(s.image.height, 4);
    const Image& im = s.image;
    // plain
    EXPECT_EQ(im.at(0, 0), kDark);
    EXPECT_EQ(im.at(1, 0), kMid);
    EXPECT_EQ(im.at(2, 0), kClear);
    EXPECT_EQ(im.at(0, 1), kLight);
    // mirrored left-right at x 4
    EXPECT_EQ(im.at(4, 0), kClear);
    EXPECT_EQ(im.at(5, 0), kMid);
    EXPECT_EQ(im.at(6, 0), kDark);
    EXPECT_EQ(im.at(6, 1), kLight);
    EXPECT_EQ(im.at(4, 1), kClear);
    // upside down at y 2, k drawn as l and g as k
    EXPECT_EQ(im.at(0, 2), kLight);
    EXPECT_EQ(im.at(0, 3), kLight);
    EXPECT_EQ(im.at(1, 3), kDark);
    EXPECT_EQ(im.at(1, 2), kClear);
    EXPECT_EQ(im.at(7, 3), kClear);
}

TEST_F(SheetTest, TransparentPixelsKeepWhatIsBelowAndKeyModeDecidesTheirColour) {
    CompiledSheet a = Compile(
        "output o.png\nsize 3 2\nfill 143 187 33\nkey magenta\nuse art.pic\n"
        "put arrow 0 0\n"
        "put dot 2 1\n");
    EXPECT_EQ(a.image.at(2, 0), kLight) << "a transparent map pixel must not overwrite the fill";
    EXPECT_EQ(a.image.at(2, 1), kDark) << "a later put draws over an earlier one";

    CompiledSheet m = Compile("output o.png\nsize 4 2\nkey magenta\nuse art.pic\nput arrow 0 0\n");
    EXPECT_EQ(m.image.at(2, 0), kMagenta);
    EXPECT_EQ(m.image.at(3, 1), kMagenta);
    EXPECT_EQ(m.image.at(0, 0), kDark);

    CompiledSheet t = Compile("output o.png\nsize 4 2\nkey alpha\nuse art.pic\nput arrow 0 0\n");
    EXPECT_EQ(t.image.at(2, 0), kClear);
    EXPECT_EQ(t.image.at(3, 1), kClear);
}

TEST_F(SheetTest, GridPlacesRowsAndSkipsDashes) {
    CompiledSheet s = Compile(
        "output o.png\nsize 6 3\nuse art.pic\n"
        "grid dot - dot / dot dot at 0 1 step 2 1\n");
    const Image& im = s.image;
    EXPECT_EQ(im.at(0, 1), kDark);
    EXPECT_EQ(im.at(2, 1), kClear) << "'-' leaves its cell empty";
    EXPECT_EQ(im.at(4, 1), kDark);
    EXPECT_EQ(im.at(0, 2), kDark);
    EXPECT_EQ(im.at(2, 2), kDark);
    EXPECT_EQ(im.at(0, 0), kClear);
    int visible = 0;
    for (const Rgba& p : im.pixels) visible += IsVisible(p);
    EXPECT_EQ(visible, 4);
}

TEST_F(SheetTest, RejectsBadSheetsWithLineNumbers) {
    std::string f = dir + "/test.sheet";
    auto bad = [&](const std::string& body, int line, const std::string& words) {
        ExpectSourceError([&] { Compile(body); }, f, line, words);
    };
    bad("output o.png\nsize 4 4\nuse art.pic\nput arrow 2 0\n", 4, "crosses the sheet edge");
    bad("output o.png\nsize 4 4\nuse art.pic\nput arrow 0 3\n", 4, "crosses the sheet edge");
    bad("output o.png\nsize 4 4\nuse art.pic\nput arrow -1 0\n", 4, "crosses the sheet edge");
    bad("output o.png\nsize 4 4\nuse art.pic\n\nput nothing 0 0\n", 5, "unknown map 'nothing'");
    bad("output o.png\nsize 4 4\nuse art.pic\ngrid dot nothing at 0 0 step 1 1\n", 4, "unknown map 'nothing'");
    bad("output o.png\nsize 8 8\nuse art.pic\ngrid dot dot dot at 0 0 step 4 0\n", 4, "crosses");
    bad("output o.png\nsize 4 4\nuse missing.pic\n", 3, "cannot open");
    bad("output o.png\nsize 4 4\nuse art.pic\nuse art.pic\n", 4, "also defined");
    bad("output o.png\nsize 4 4\nuse art.pic\nput dot 0 0 spin\n", 4, "unknown option 'spin'");
    bad("output o.png\nsize 4 4\nuse art.pic\nput dot 0 0 recolor k=q\n", 4, "not in the legend");
    bad("output o.png\nsize 4 4\nuse art.pic\nput dot 0 0 recolor kq\n", 4, "bad recolor");
    bad("output o.png\nuse art.pic\nput dot 0 0\n", 3, "'size' must come before");
    bad("size 4 4\n", 1, "no 'output'");
    bad("output o.png\n", 1, "no 'size'");
    bad("output ../o.png\nsize 1 1\n", 1, "inside data/");
    bad("output /tmp/o.png\nsize 1 1\n", 1, "relative");
    bad("output o.bmp\nsize 1 1\n", 1, ".png");
    bad("output o.png\nsize 4 4\nkey purple\n", 3, "key magenta | key alpha");
    bad("output o.png\nsize 4 4\nfill 1 2\n", 3, "R G B");
    bad("output o.png\nsize 4 4\nscale 2\n", 3, "unknown command 'scale'");
    bad("output o.png\nsize 4 4\nuse art.pic\nput dot 0 0\nfill transparent\n", 5, "before placing");
    // An error inside a used .pic is reported at the .pic's own line.
    pictest::WriteFile(dir + "/broken.pic", std::string(kLegend) + "map b 2 1\nk?\n");
    ExpectSourceError([&] { Compile("output o.png\nsize 4 4\nuse broken.pic\n"); }, dir + "/broken.pic", 9,
                      "unknown character '?'");
}

TEST(PictureSources, EveryShippedSourceFileReads) {
    // Catches a broken .pic that no sheet uses yet, and names the file and line of any error.
    int pics = 0, sheets = 0;
    for (const auto& e : fs::recursive_directory_iterator(std::string(BRACKMOOR_SOURCE_DIR) + "/assets/pictures")) {
        std::string path = e.path().string();
        try {
            if (e.path().extension() == ".pic") {
                ReadPic(path);
                ++pics;
            } else if (e.path().extension() == ".sheet") {
                CompileSheet(path);
                ++sheets;
            }
        } catch (const std::exception& ex) {
            ADD_FAILURE() << ex.what();
        }
    }
    EXPECT_GT(pics, 0);
    EXPECT_GT(sheets, 0);
}

TEST(PngFiles, RoundTripKeepsEveryChannel) {
    std::string dir = pictest::ScratchDir("PngRoundTrip");
    Image img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.at(x, y) = Rgba{uint8_t(x * 50), uint8_t(y * 100), uint8_t(x + y), uint8_t(x == 2 ? 0 : 255 - x)};
    WritePngAtomic(dir + "/deep/er/t.png", img);
    Image back = ReadPng(dir + "/deep/er/t.png");
    ASSERT_EQ(back.width, 5);
    ASSERT_EQ(back.height, 3);
    EXPECT_EQ(back.pixels, img.pixels);
    EXPECT_EQ(pictest::ListTree(dir), "deep/er/t.png\n") << "no temporary files left behind";
}

TEST(PngFiles, ReadingGarbageNamesTheFile) {
    std::string dir = pictest::ScratchDir("PngGarbage");
    pictest::WriteFile(dir + "/bad.png", "definitely not a png");
    try {
        ReadPng(dir + "/bad.png");
        FAIL() << "garbage accepted";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("bad.png"), std::string::npos);
    }
    EXPECT_THROW(ReadPng(dir + "/absent.png"), FileError);
}

TEST(PiccompileTool, WritesTheSheetOutputUnderTheDataFolder) {
    std::string dir = pictest::ScratchDir("ToolWrites");
    pictest::WriteFile(dir + "/src/a.pic", std::string(kLegend) + "map m 2 1\nk.\n");
    pictest::WriteFile(dir + "/src/a.sheet", "output Menu/thing.png\nsize 2 1\nkey magenta\nuse a.pic\nput m 0 0\n");
    auto r = pictest::Run(Piccompile() + " " + dir + "/src/a.sheet " + dir + "/data");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(pictest::ListTree(dir + "/data"), "Menu/thing.png\n");
    Image im = ReadPng(dir + "/data/Menu/thing.png");
    EXPECT_EQ(im.at(0, 0), kDark);
    EXPECT_EQ(im.at(1, 0), kMagenta);

    auto check = pictest::Run(Piccompile() + " --check " + dir + "/src/a.sheet " + dir + "/src/a.pic");
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

TEST(PiccompileTool, MalformedSourceStopsWithFileLineAndLeavesNothingBehind) {
    std::string dir = pictest::ScratchDir("ToolFails");
    pictest::WriteFile(dir + "/src/a.pic", std::string(kLegend) + "map m 2 1\nk.\n");
    struct Case {
        std::string sheet;
        std::string expect;
    } cases[] = {
        {"output x.png\nsize 2 1\nuse a.pic\nput m 1 0\n", "a.sheet:4: "},
        {"output x.png\nsize 2 1\nuse a.pic\nput q 0 0\n", "a.sheet:4: unknown map 'q'"},
        {"output x.png\nsize 2 1\nuse b.pic\n", "b.pic:10: row is 1 characters wide"},
    };
    pictest::WriteFile(dir + "/src/b.pic", std::string(kLegend) + "map m 2 2\nkk\nk\n");
    for (const Case& c : cases) {
        pictest::WriteFile(dir + "/src/a.sheet", c.sheet);
        auto r = pictest::Run(Piccompile() + " " + dir + "/src/a.sheet " + dir + "/data");
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.output.find(c.expect), std::string::npos) << r.output;
        EXPECT_EQ(pictest::ListTree(dir + "/data"), "") << "output written despite: " << r.output;
    }
    // The ragged row of b.pic is reported at its own line.
    auto r = pictest::Run(Piccompile() + " --check " + dir + "/src/b.pic");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.output.find("b.pic:10: "), std::string::npos) << r.output;

    // A failing rebuild keeps the previous good picture untouched.
    pictest::WriteFile(dir + "/src/a.sheet", "output x.png\nsize 2 1\nuse a.pic\nput m 0 0\n");
    ASSERT_EQ(pictest::Run(Piccompile() + " " + dir + "/src/a.sheet " + dir + "/data").exitCode, 0);
    Image before = ReadPng(dir + "/data/x.png");
    pictest::WriteFile(dir + "/src/a.sheet", "output x.png\nsize 2 1\nuse a.pic\nput m 0 0\nput m 5 5\n");
    EXPECT_NE(pictest::Run(Piccompile() + " " + dir + "/src/a.sheet " + dir + "/data").exitCode, 0);
    EXPECT_EQ(ReadPng(dir + "/data/x.png").pixels, before.pixels);
    EXPECT_EQ(pictest::ListTree(dir + "/data"), "x.png\n");
}

TEST(PiccompileTool, BadArgumentsPrintUsage) {
    auto r = pictest::Run(Piccompile());
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.output.find("usage"), std::string::npos);
    auto missing = pictest::Run(Piccompile() + " /nonexistent/x.sheet /tmp");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.output.find("/nonexistent/x.sheet"), std::string::npos) << missing.output;
}

TEST(CaseInsensitivePaths, FindsFilesWhateverTheLetterCase) {
    std::string dir = pictest::ScratchDir("NoCase");
    pictest::WriteFile(dir + "/data/menu/Sky1.png", "x");
    pictest::WriteFile(dir + "/data/enemy/boss1.png", "x");
    auto a = ResolveNoCase(dir, "data/Menu/sky1.png");
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(*a, dir + "/data/menu/Sky1.png");
    auto b = ResolveNoCase(dir, "Data/enemy/boss1.png");
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(*b, dir + "/data/enemy/boss1.png");
    EXPECT_FALSE(ResolveNoCase(dir, "data/menu/sky2.png").has_value());
    EXPECT_FALSE(ResolveNoCase(dir, "data/menu/sky1.png/more").has_value());
    EXPECT_FALSE(ResolveNoCase(dir, "data/../data/menu/sky1.png").has_value());
    EXPECT_FALSE(ResolveNoCase(dir + "/absent", "data").has_value());
}

TEST(ManifestReader, ReadsPicturesUsesAndCells) {
    Manifest m = ParseManifestText(
        "# header\n"
        "picture data/a.png 64 32\n"
        "  use Thing 16 8 drawn group=g\n"
        "    anim aIdle 1 3 2\n"
        "    anim aDead 0 0 0 unused\n"
        "    rect part 4 5 6 7\n"
        "  whole Background reserved\n",
        "m.txt");
    ASSERT_EQ(m.pictures.size(), 1u);
    const ManifestPicture* p = m.Find("DATA/A.png");
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->uses.size(), 2u);
    const ManifestUse& u = p->uses[0];
    EXPECT_EQ(u.group, "g");
    ASSERT_EQ(u.anims.size(), 3u);
    auto cells = AnimCells(*p, u, u.anims[0]);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].x, 16);
    EXPECT_EQ(cells[0].y, 16);
    EXPECT_EQ(cells[2].x, 48);
    EXPECT_EQ(cells[2].w, 16);
    EXPECT_EQ(cells[2].h, 8);
    EXPECT_EQ(u.anims[1].status, UseStatus::Unused);
    EXPECT_EQ(u.anims[0].status, UseStatus::Drawn);
    auto r = AnimCells(*p, u, u.anims[2]);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].x, 4);
    EXPECT_EQ(r[0].h, 7);
    const ManifestUse& w = p->uses[1];
    EXPECT_EQ(w.status, UseStatus::Reserved);
    auto whole = AnimCells(*p, w, w.anims[0]);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].w, 64);
    EXPECT_EQ(whole[0].h, 32);
}

TEST(ManifestReader, RejectsMalformedLinesWithFileAndLine) {
    auto bad = [](const std::string& text, int line, const std::string& words) {
        ExpectSourceError([&] { ParseManifestText(text, "m.txt"); }, "m.txt", line, words);
    };
    bad("use A 1 1 drawn\n", 1, "before any 'picture'");
    bad("picture p.png 4 4\n  anim a 0 0 0\n", 2, "outside a 'use'");
    bad("picture p.png 4 4\n  use A 1 1 drawn\n    anim a 3 1 0\n", 3, "end frame before start");
    bad("picture p.png 4 4\n  use A 1 1 finished\n    anim a 0 0 0\n", 2, "drawn, reserved, unused, blank or borrowed");
    bad("picture p.png 4 4\n  use A 1 1 drawn\n", 2, "no anim");
    bad("picture p.png 4 4\npicture P.PNG 4 4\n", 2, "listed twice");
    bad("picture p.png 4 four\n", 1, "bad number");
    bad("picture p.png 4 4\n  use A 0 1 drawn\n", 2, "frame size");
    bad("picture p.png 4 4\n  whole A drawn\n  whole A drawn\n", 3, "listed twice");
    bad("picture p.png 4 4\n  sprite A\n", 2, "unknown keyword");
    bad("picture p.png 4 4\n  use A 1 1 drawn extra\n", 2, "unexpected 'extra'");
}
