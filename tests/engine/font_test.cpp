#include <gtest/gtest.h>

#include "engine/GFont.h"
#include "engine/GImage.h"
#include "engine/GameEngine.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

using testsupport::WriteText;

namespace {
std::string Reason(const std::string& text) {
    GFont::Parsed p;
    std::string why;
    EXPECT_FALSE(GFont::ParseCff(text, &p, &why)) << text;
    return why;
}

std::string Table(int cells, int w = 3) {
    std::string s;
    for (int i = 0; i < cells; ++i) s += std::to_string(w) + " 4\n";
    return s;
}
}  // namespace

TEST(FontFile, ParsesTokensInOrderWithAnyWhitespace) {
    GFont::Parsed p;
    std::string why;
    ASSERT_TRUE(GFont::ParseCff("glyphs.png\r\n2 1\t7 9\n5 6 3 4", &p, &why)) << why;
    EXPECT_EQ(p.pictureName, "glyphs.png");
    EXPECT_EQ(p.tileCountX, 2);
    EXPECT_EQ(p.tileCountY, 1);
    EXPECT_EQ(p.leading, 7);
    EXPECT_EQ(p.mainH, 9);
    ASSERT_EQ(p.letters.size(), 2u);
    EXPECT_EQ(p.letters[1].w, 3);
    EXPECT_EQ(p.letters[1].h, 4);
}

TEST(FontFile, BrokenFilesAreRefusedWithAReason) {
    EXPECT_EQ(Reason(""), "no picture name");
    EXPECT_EQ(Reason("a.png 16"), "missing or bad grid size");
    EXPECT_EQ(Reason("a.png x 6 0 0"), "missing or bad grid size");
    EXPECT_EQ(Reason("a.png 0 6 0 0"), "grid size 0 x 6 is out of range");
    EXPECT_EQ(Reason("a.png 100000 100000 0 0"), "grid size 100000 x 100000 is out of range");
    EXPECT_EQ(Reason("a.png 2 2 0"), "missing leading or height");
    EXPECT_EQ(Reason("a.png 2 2 0 0 " + Table(3)), "glyph table ends after 3 of 4 cells");
    EXPECT_EQ(Reason("a.png 1 1 0 0 -4 2"), "glyph 0 has a negative width");
    EXPECT_EQ(Reason("a.png 1 1 0 0 99999999999 2"), "glyph table ends after 0 of 1 cells");
    // The line where reading stopped: the bad word's, or the last line when the table is cut.
    GFont::Parsed p;
    std::string why;
    EXPECT_FALSE(GFont::ParseCff("a.png\n2 1\n0 0\n3 4\n-1 4\n", &p, &why));
    EXPECT_EQ(p.line, 5);
    EXPECT_FALSE(GFont::ParseCff("a.png\n2 1\r\n0 0\r\n3 4\r\n\r\n", &p, &why));
    EXPECT_EQ(p.line, 6);
}

class FontDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::EnsureGL();
        dir = testsupport::MakeTempDir("font");
        platform::SetDataDir(dir);
        platform::MakeFolders(dir + "/font");
        // 16 x 6 cells of 4 x 4 pixels; each cell one colour that encodes its index.
        const int cw = 4, ch = 4, cols = 16, rows = 6;
        std::vector<unsigned char> px(cols * cw * rows * ch * 4);
        for (int y = 0; y < rows * ch; ++y)
            for (int x = 0; x < cols * cw; ++x) {
                int idx = (y / ch) * cols + x / cw;
                unsigned char* p = &px[(static_cast<size_t>(y) * cols * cw + x) * 4];
                p[0] = static_cast<unsigned char>(idx * 2);
                p[1] = static_cast<unsigned char>(255 - idx);
                p[2] = 7;
                p[3] = 255;
            }
        ASSERT_TRUE(testsupport::WritePng(dir + "/font/cells.png", cols * cw, rows * ch, px));
        ASSERT_TRUE(WriteText(dir + "/font/cells.cff", "cells.png 16 6 0 0 " + Table(96)));
    }
    static std::string dir;
};
std::string FontDrawing::dir;

TEST_F(FontDrawing, GlyphCellFollowsAsciiFromSpace) {
    GFont f("data/font/cells.cff", 1.0f);
    ASSERT_TRUE(f.Usable());
    EXPECT_EQ(f.tileW, 4);
    EXPECT_EQ(f.tileH, 4);
    // A space advances by a quarter cell whatever its table says.
    EXPECT_EQ(f.GetWSpace(' '), 1);
    EXPECT_EQ(f.GetWSpace('A'), 3);
    gEngine.SelectFont(&f);
    gEngine.FlushQuads();  // what was drawn before goes before the clear
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gEngine.ResetColor();
    gEngine.DrawTextA(100, 100, "A");
    auto frame = testsupport::ReadFrame();
    // 'A' is cell 33: column 1, row 2 of the grid.
    EXPECT_EQ(testsupport::PixelAt(frame, 103, 103), (66u << 16) | (222u << 8) | 7u);
    gEngine.SelectFont(nullptr);
}

TEST_F(FontDrawing, CaretEscapesChangeTheColourAndATrailingCaretIsDrawn) {
    GFont f("data/font/cells.cff", 1.0f);
    gEngine.SelectFont(&f);
    gEngine.FlushQuads();  // what was drawn before goes before the clear
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gEngine.ResetColor();
    gEngine.DrawTextA(0, 0, "^RAB^WC^");
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_EQ(c[0], 1);
    EXPECT_EQ(c[1], 1);
    auto frame = testsupport::ReadFrame();
    // A is drawn red-tinted: green channel gone.
    unsigned a = testsupport::PixelAt(frame, 2, 2);
    EXPECT_EQ((a >> 8) & 0xFF, 0u);
    EXPECT_EQ(a >> 16, 66u);
    // Pen: A advances 2 * (3 + 1) = 8 pixels, B 8 more, then C in white at x 16.
    unsigned cpx = testsupport::PixelAt(frame, 17, 2);
    EXPECT_EQ(cpx, (70u << 16) | (220u << 8) | 7u);
    // The trailing caret is a glyph ('^' is cell 62) at x 24.
    unsigned caret = testsupport::PixelAt(frame, 25, 2);
    EXPECT_EQ(caret, (124u << 16) | (193u << 8) | 7u);
    gEngine.ResetColor();
    gEngine.SelectFont(nullptr);
}

TEST_F(FontDrawing, MissingOrBrokenFontsAreReportedAndDrawNothing) {
    int before = platform::MessageCount();
    GFont missing("data/font/none.cff", 1.0f);
    EXPECT_FALSE(missing.Usable());
    EXPECT_EQ(platform::LastMessage(), "Could not open font \"data/font/none.cff\"");
    ASSERT_TRUE(WriteText(dir + "/font/short.cff", "cells.png 16 6\n0 0\n3 4\n3 x\n"));
    GFont broken("data/font/short.cff", 1.0f);
    EXPECT_FALSE(broken.Usable());
    EXPECT_EQ(platform::LastMessage(),
              "data/font/short.cff:4: glyph table ends after 1 of 96 cells; the font is not used");
    EXPECT_EQ(platform::MessageCount(), before + 2);
    gEngine.SelectFont(&broken);
    gEngine.DrawTextA(0, 0, "hello");  // nothing to draw, nothing read
    // A text far beyond the 256-byte buffer is cut, never overflowed.
    GFont f("data/font/cells.cff", 1.0f);
    gEngine.SelectFont(&f);
    std::string longText(1000, 'x');
    gEngine.DrawTextA(0, 0, "%s", longText.c_str());
    gEngine.SelectFont(nullptr);
}
