// The generated fonts as the game reads them, and the font compiler's handling of bad sources.
#include "fontsource.h"
#include "image.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using fontcompile::FontError;
using fontcompile::ParseFontText;
using toolcommon::Image;

namespace {

// A ".cff" read the way the game reads it: whitespace-separated tokens with formatted
// extraction from a binary stream, the picture named relative to the table's folder.
struct Cff {
    std::string picture;
    int tileCountX = 0, tileCountY = 0, leading = 0, mainH = 0;
    std::vector<std::pair<int, int>> letters;  // w, h per cell, row by row
    bool trailing = false;                     // anything after the last pair
};

Cff ReadCff(const std::string& path) {
    Cff c;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    in >> c.picture >> c.tileCountX >> c.tileCountY >> c.leading >> c.mainH;
    EXPECT_FALSE(in.fail()) << path << ": header";
    for (int row = 0; row < c.tileCountY; ++row)
        for (int col = 0; col < c.tileCountX; ++col) {
            int w = -1, h = -1;
            in >> w >> h;
            EXPECT_FALSE(in.fail()) << path << ": cell " << row * c.tileCountX + col;
            c.letters.push_back({w, h});
        }
    std::string extra;
    c.trailing = bool(in >> extra);
    return c;
}

std::string DirOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct LoadedFont {
    Cff cff;
    Image picture;
    int tileW = 0, tileH = 0;

    // The cell rectangle the game cuts for character c.
    int CellX(char c) const { return ((c - 32) % cff.tileCountX) * tileW; }
    int CellY(char c) const { return ((c - 32) / cff.tileCountX) * tileH; }
    int Width(char c) const { return cff.letters[size_t(c - 32)].first; }
    // How far the pen moves for c, in picture pixels (a space uses a quarter cell).
    int Advance(char c) const { return (c == ' ' ? tileW / 4 : Width(c)) + 1; }
    bool Ink(char c, int x, int y) const { return toolcommon::IsVisible(picture.at(CellX(c) + x, CellY(c) + y)); }
};

LoadedFont Load(const std::string& name) {
    LoadedFont f;
    const std::string cffPath = std::string(BRACKMOOR_DATA_DIR) + "/font/" + name;
    f.cff = ReadCff(cffPath);
    f.picture = toolcommon::ReadPng(DirOf(cffPath) + f.cff.picture);
    f.tileW = f.picture.width / f.cff.tileCountX;
    f.tileH = f.picture.height / f.cff.tileCountY;
    return f;
}

fontcompile::FontSource Source(const std::string& name) {
    return fontcompile::ReadFont(std::string(BRACKMOOR_SOURCE_DIR) + "/assets/fonts/" + name);
}

class GeneratedFont : public ::testing::TestWithParam<const char*> {};

TEST_P(GeneratedFont, TableParsesAndMatchesItsPicture) {
    const std::string name = GetParam();
    const LoadedFont f = Load(name + ".cff");
    EXPECT_FALSE(f.cff.trailing) << "tokens after the last width/height pair";
    EXPECT_EQ(f.cff.picture.find('/'), std::string::npos);
    ASSERT_GT(f.cff.tileCountX, 0);
    ASSERT_GT(f.cff.tileCountY, 0);
    ASSERT_GE(f.cff.tileCountX * f.cff.tileCountY, 95) << "every character from ' ' to '~' needs a cell";
    EXPECT_EQ(f.cff.letters.size(), size_t(f.cff.tileCountX * f.cff.tileCountY));

    // The picture is exactly the grid of cells the source describes.
    const auto src = Source(name + ".font");
    EXPECT_EQ(f.tileW, src.cellW);
    EXPECT_EQ(f.tileH, src.cellH);
    EXPECT_EQ(f.picture.width, f.tileW * f.cff.tileCountX);
    EXPECT_EQ(f.picture.height, f.tileH * f.cff.tileCountY);
    EXPECT_EQ(f.cff.picture, src.picture);
}

TEST_P(GeneratedFont, EveryPrintableGlyphIsDrawnWithinItsAdvance) {
    const LoadedFont f = Load(std::string(GetParam()) + ".cff");
    for (char c = '!'; c <= '~'; ++c) {
        const int w = f.Width(c);
        EXPECT_GT(w, 0) << "'" << c << "'";
        EXPECT_LE(w, f.tileW) << "'" << c << "'";
        int ink = 0, inkRight = -1;
        for (int y = 0; y < f.tileH; ++y)
            for (int x = 0; x < f.tileW; ++x)
                if (f.Ink(c, x, y)) {
                    ++ink;
                    inkRight = std::max(inkRight, x);
                }
        EXPECT_GT(ink, 0) << "'" << c << "' has an empty cell";
        EXPECT_LT(inkRight, w) << "'" << c << "' draws into the next glyph";
    }
    // The space is blank; the game spaces it by a quarter cell whatever its entry says.
    for (int y = 0; y < f.tileH; ++y)
        for (int x = 0; x < f.tileW; ++x) EXPECT_FALSE(f.Ink(' ', x, y));
    EXPECT_GT(f.tileW / 4, 0) << "a space would not move the pen apart from the gap";
}

TEST_P(GeneratedFont, PicturePixelsAreTheSourceGlyphs) {
    const std::string name = GetParam();
    const LoadedFont f = Load(name + ".cff");
    const auto src = Source(name + ".font");
    for (char c = ' '; c <= '~'; ++c) {
        const auto& g = src.For(c);
        EXPECT_EQ(f.Width(c), g.width) << "'" << c << "'";
        EXPECT_EQ(f.cff.letters[size_t(c - 32)].second, f.tileH) << "'" << c << "'";
        int differing = 0;
        for (int y = 0; y < f.tileH; ++y)
            for (int x = 0; x < f.tileW; ++x) {
                const auto& want = g.pixels[size_t(y * src.cellW + x)];
                const auto& got = f.picture.at(f.CellX(c) + x, f.CellY(c) + y);
                if (want.a == 0 ? got.a != 0 : got != want) ++differing;
            }
        EXPECT_EQ(differing, 0) << "'" << c << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, GeneratedFont, ::testing::Values("font", "bkmfont"),
                         [](const ::testing::TestParamInfo<const char*>& i) { return std::string(i.param); });

// Text glyphs are white or nearly so (the game tints text by the current colour), but the
// HUD font's 'a' to 'd' are coloured icons that must differ from each other and from letters.
TEST(HudFont, TextIsLightAndIconsAreDistinct) {
    const LoadedFont f = Load("bkmfont.cff");
    for (char c = '!'; c <= '~'; ++c) {
        if (c >= 'a' && c <= 'd') continue;
        for (int y = 0; y < f.tileH; ++y)
            for (int x = 0; x < f.tileW; ++x) {
                const auto& p = f.picture.at(f.CellX(c) + x, f.CellY(c) + y);
                if (p.a == 0) continue;
                EXPECT_GE(std::min({p.r, p.g, p.b}), 200) << "'" << c << "' at " << x << "," << y;
            }
    }
    auto cellOf = [&](char c) {
        std::vector<toolcommon::Rgba> px;
        for (int y = 0; y < f.tileH; ++y)
            for (int x = 0; x < f.tileW; ++x) px.push_back(f.picture.at(f.CellX(c) + x, f.CellY(c) + y));
        return px;
    };
    for (char a = 'a'; a <= 'd'; ++a) {
        bool dark = false;
        for (const auto& p : cellOf(a)) dark |= p.a != 0 && p.r < 100;
        EXPECT_TRUE(dark) << "icon '" << a << "' needs a dark outline to read over the play field";
        for (char b = char(a + 1); b <= 'd'; ++b) EXPECT_NE(cellOf(a), cellOf(b)) << a << " vs " << b;
    }
}

// The HUD prints four lines from y = 380, each two cell heights (one screen cell) apart;
// the last must end on the 480-pixel screen. The credits put lines 20 screen pixels apart,
// so letters and digits (descenders included) must stay within 10 picture rows.
TEST(HudFont, LinesFitTheScreenLayout) {
    const LoadedFont f = Load("bkmfont.cff");
    EXPECT_LE(380 + 6 * f.tileH + 2 * f.tileH, 480);
    for (char c = '!'; c <= '~'; ++c) {
        if (c >= 'a' && c <= 'd') continue;
        int top = f.tileH, bottom = -1;
        for (int y = 0; y < f.tileH; ++y)
            for (int x = 0; x < f.tileW; ++x)
                if (f.Ink(c, x, y)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        EXPECT_LE(bottom, 9) << "'" << c << "'";
        EXPECT_GE(top, 0);
    }
    // The widest credit line starts at x = 256 and must end on screen.
    int pen = 0;
    for (char c : std::string("CREATED BY TALLOWMERE")) pen += f.Advance(c);
    EXPECT_LE(256 + 2 * pen, 640);
}

// ---- the compiler on bad sources ----

// A small valid source: 3 x 2 cells, each glyph a block as wide as its advance width.
std::string ValidSource(char skip = 0, int width = 2) {
    std::ostringstream s;
    s << "# test font\npicture t.png\ncell 3 2\ncolumns 8\nleading 1\nmainh 2\nlegend\n  . transparent\n"
         "  X 255 255 255\nend\n";
    for (int c = 32; c <= 126; ++c) {
        if (c == skip) continue;
        s << "glyph '" << char(c) << "' " << width << "\n";
        const std::string row =
            c == ' ' ? "..."
                     : std::string(size_t(std::min(width, 3)), 'X') + std::string(size_t(3 - std::min(width, 3)), '.');
        s << row << "\n" << row << "\n";
    }
    return s.str();
}

// Line of the header of glyph c in ValidSource (10 header lines, 3 lines per glyph).
int GlyphLine(char c) { return 11 + 3 * (c - 32); }

std::string ErrorOf(const std::string& text) {
    try {
        ParseFontText(text, "bad.font");
    } catch (const FontError& e) {
        return e.what();
    }
    return "(accepted)";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t p = text.find(from);
    EXPECT_NE(p, std::string::npos) << from;
    if (p != std::string::npos) text.replace(p, from.size(), to);
    return text;
}

TEST(FontCompiler, ValidSourceCompilesToTheExpectedGrid) {
    const auto font = ParseFontText(ValidSource(), "ok.font");
    EXPECT_EQ(font.Rows(), 12);  // 95 glyphs in rows of 8
    const std::string cff = fontcompile::RenderCff(font);
    std::istringstream in(cff);
    std::string pic;
    int tx, ty, leading, mainh;
    in >> pic >> tx >> ty >> leading >> mainh;
    EXPECT_EQ(pic, "t.png");
    EXPECT_EQ(tx, 8);
    EXPECT_EQ(ty, 12);
    EXPECT_EQ(leading, 1);
    EXPECT_EQ(mainh, 2);
    int pairs = 0, w, h;
    while (in >> w >> h) ++pairs;
    EXPECT_EQ(pairs, 96);
    const Image img = fontcompile::RenderGlyphPicture(font);
    EXPECT_EQ(img.width, 24);
    EXPECT_EQ(img.height, 24);
    // 'A' is cell 33: column 1, row 4; its two left columns are inked, the third is not.
    EXPECT_NE(img.at(3, 8).a, 0);
    EXPECT_NE(img.at(4, 9).a, 0);
    EXPECT_EQ(img.at(5, 8).a, 0);
}

TEST(FontCompiler, RejectsMalformedSourcesWithFileAndLine) {
    // A missing glyph is reported at the end of the file.
    const std::string noTilde = ValidSource('~');
    const int lastLine = int(std::count(noTilde.begin(), noTilde.end(), '\n'));
    EXPECT_EQ(ErrorOf(noTilde).rfind("bad.font:" + std::to_string(lastLine) + ": glyph '~' (126) is missing", 0), 0u)
        << ErrorOf(noTilde);

    const std::string ok = ValidSource();
    // A short row, a long row: the line of the row.
    EXPECT_EQ(ErrorOf(Replace(ok, "glyph 'B' 2\nXX.\n", "glyph 'B' 2\nXX\n"))
                  .rfind("bad.font:" + std::to_string(GlyphLine('B') + 1) + ":", 0),
              0u);
    EXPECT_EQ(ErrorOf(Replace(ok, "glyph 'B' 2\nXX.\nXX.", "glyph 'B' 2\nXX.\nXX.."))
                  .rfind("bad.font:" + std::to_string(GlyphLine('B') + 2) + ":", 0),
              0u);
    // Widths: zero, wider than the cell, not a number, narrower than the drawing.
    for (const char* bad : {"0", "4", "two", "-1", "1"}) {
        const std::string e = ErrorOf(Replace(ok, "glyph 'C' 2\n", std::string("glyph 'C' ") + bad + "\n"));
        EXPECT_EQ(e.rfind("bad.font:" + std::to_string(GlyphLine('C')) + ":", 0), 0u) << bad << ": " << e;
    }
    // A character that is not in the legend, with its column.
    const std::string unknown = ErrorOf(Replace(ok, "glyph 'D' 2\nXX.\n", "glyph 'D' 2\nXq.\n"));
    EXPECT_EQ(unknown.rfind("bad.font:" + std::to_string(GlyphLine('D') + 1) + ":", 0), 0u) << unknown;
    EXPECT_NE(unknown.find("column 2"), std::string::npos) << unknown;
    // A glyph defined twice names both lines.
    const std::string twice = ErrorOf(Replace(ok, "glyph 'F' 2\n", "glyph 'E' 2\n"));
    EXPECT_EQ(twice.rfind("bad.font:" + std::to_string(GlyphLine('F')) + ":", 0), 0u) << twice;
    EXPECT_NE(twice.find("line " + std::to_string(GlyphLine('E'))), std::string::npos) << twice;
    // A glyph with nothing drawn, a map cut short by the end of the file.
    EXPECT_EQ(ErrorOf(Replace(ok, "glyph 'G' 2\nXX.\nXX.", "glyph 'G' 2\n...\n..."))
                  .rfind("bad.font:" + std::to_string(GlyphLine('G')) + ":", 0),
              0u);
    const std::string cut = ok.substr(0, ok.size() - 4);  // drops the last row of '~'
    const int cutLines = int(std::count(cut.begin(), cut.end(), '\n'));
    EXPECT_EQ(ErrorOf(cut).rfind("bad.font:" + std::to_string(cutLines) + ":", 0), 0u) << ErrorOf(cut);
    // Header mistakes.
    EXPECT_EQ(ErrorOf(Replace(ok, "cell 3 2", "cell 3")).rfind("bad.font:3:", 0), 0u);
    EXPECT_EQ(ErrorOf(Replace(ok, "cell 3 2", "cell 0 2")).rfind("bad.font:3:", 0), 0u);
    EXPECT_EQ(ErrorOf(Replace(ok, "  X 255 255 255", "  X 255 256 255")).rfind("bad.font:9:", 0), 0u);
    EXPECT_EQ(ErrorOf(Replace(ok, "  X 255 255 255", "  X 255 0 255")).rfind("bad.font:9:", 0), 0u);
    EXPECT_EQ(ErrorOf(Replace(ok, "\nend\n", "\n")).rfind("bad.font:10: a legend key must be one character", 0), 0u)
        << ErrorOf(Replace(ok, "\nend\n", "\n"));
    EXPECT_EQ(ErrorOf(Replace(ok, "mainh 2", "mainheight 2")).rfind("bad.font:6: unknown directive", 0), 0u);
    EXPECT_EQ(
        ErrorOf(Replace(ok, "glyph 'H' 2", "glyph H 2")).rfind("bad.font:" + std::to_string(GlyphLine('H')) + ":", 0),
        0u);
}

// ---- the compiler as the build runs it ----

class CompilerRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("fonts_test_" + std::to_string(getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "out");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the compiler on 'text'; returns its exit status and fills 'err' with its stderr.
    int Run(const std::string& text, std::string& err) {
        std::ofstream(dir / "src.font") << text;
        const std::string cmd = std::string("\"") + BRACKMOOR_BINARY_DIR + "/fontcompile\" \"" +
                                (dir / "src.font").string() + "\" \"" + (dir / "out" / "t.cff").string() + "\" 2> \"" +
                                (dir / "err.txt").string() + "\"";
        const int status = std::system(cmd.c_str());
        std::ifstream in(dir / "err.txt");
        std::stringstream ss;
        ss << in.rdbuf();
        err = ss.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir / "out")) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

TEST_F(CompilerRun, WritesTheTableAndPictureTogether) {
    std::string err;
    ASSERT_EQ(Run(ValidSource(), err), 0) << err;
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"t.cff", "t.png"}));
    const Image img = toolcommon::ReadPng((dir / "out" / "t.png").string());
    EXPECT_EQ(img.width, 24);
    EXPECT_EQ(img.height, 24);
}

TEST_F(CompilerRun, BadSourceFailsWithoutLeavingOutput) {
    std::string err;
    EXPECT_EQ(Run(ValidSource('A'), err), 1);
    EXPECT_NE(err.find((dir / "src.font").string() + ":"), std::string::npos) << err;
    EXPECT_NE(err.find("glyph 'A' (65) is missing"), std::string::npos) << err;
    EXPECT_TRUE(OutFiles().empty());
}

TEST_F(CompilerRun, BadSourceKeepsThePreviousOutput) {
    std::string err;
    ASSERT_EQ(Run(ValidSource(), err), 0) << err;
    const auto before = fs::file_size(dir / "out" / "t.cff");
    EXPECT_EQ(Run(Replace(ValidSource(), "glyph 'Z' 2\nXX.\n", "glyph 'Z' 2\nX\n"), err), 1);
    EXPECT_NE(err.find(":" + std::to_string(GlyphLine('Z') + 1) + ": row has 1 characters, expected 3"),
              std::string::npos)
        << err;
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"t.cff", "t.png"}));  // no temporaries either
    EXPECT_EQ(fs::file_size(dir / "out" / "t.cff"), before);
}

TEST_F(CompilerRun, MissingSourceIsNamed) {
    std::string err;
    const std::string cmd = std::string("\"") + BRACKMOOR_BINARY_DIR + "/fontcompile\" \"" +
                            (dir / "nothere.font").string() + "\" \"" + (dir / "out" / "t.cff").string() + "\" 2> \"" +
                            (dir / "err.txt").string() + "\"";
    const int status = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    std::ifstream in(dir / "err.txt");
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_NE(ss.str().find("nothere.font"), std::string::npos) << ss.str();
    EXPECT_TRUE(OutFiles().empty());
}

}  // namespace
