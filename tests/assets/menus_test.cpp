// The title, pause, announcement and ending pictures against the places the game draws them.
// Every picture pixel covers 2 x 2 screen pixels; the screen is 640 x 480.
#include "image.h"

#include <gtest/gtest.h>

#include <string>

using toolcommon::Image;
using toolcommon::IsVisible;

namespace {

Image Pic(const std::string& rel) { return toolcommon::ReadPng(std::string(BRACKMOOR_DATA_DIR) + "/" + rel); }

// Bounds of the visible pixels inside a rectangle of the picture; empty when nothing shows.
struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};
Ink InkIn(const Image& img, int x0, int y0, int x1, int y1) {
    Ink k;
    for (int y = std::max(0, y0); y < std::min(img.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width, x1); ++x)
            if (IsVisible(img.at(x, y))) {
                k.left = std::min(k.left, x);
                k.right = std::max(k.right, x);
                k.top = std::min(k.top, y);
                k.bottom = std::max(k.bottom, y);
            }
    return k;
}
bool Opaque(const Image& img) {
    for (const auto& p : img.pixels)
        if (p.a != 255 || !IsVisible(p)) return false;
    return true;
}

TEST(MenuPictures, FullScreenPicturesCoverTheScreen) {
    for (const char* rel : {"Menu/sky1.png", "Menu/building1.png", "Menu/tallow.png", "Menu/tovr.png", "bugtorcher.png",
                            "bugzooka.png"}) {
        const Image img = Pic(rel);
        EXPECT_EQ(img.width * 2, 640) << rel;
        EXPECT_EQ(img.height * 2, 480) << rel;
    }
    // The sky is the back of the title scene; the two logos hide what is behind them
    // until they slide away.
    EXPECT_TRUE(Opaque(Pic("Menu/sky1.png")));
    EXPECT_TRUE(Opaque(Pic("Menu/tallow.png")));
    EXPECT_TRUE(Opaque(Pic("Menu/tovr.png")));
    // The scene in front of the sky must let it show through.
    const Image building = Pic("Menu/building1.png");
    EXPECT_FALSE(Opaque(building));
    EXPECT_FALSE(InkIn(building, 0, 0, building.width, building.height).Empty());
}

TEST(MenuPictures, TitleAndCharacterFitTheirGlides) {
    // The logo starts at y = -150 and lands at (10, 0): hidden at first, on screen at the end.
    const Image logo = Pic("Menu/bkmLogo1.png");
    EXPECT_LE(-150 + 2 * logo.height, 0);
    EXPECT_LE(10 + 2 * logo.width, 640);
    EXPECT_GE(2 * logo.height, 100) << "the title logo should be big";

    // The climber starts at x = 640 (hidden) and stops at (-75, 138), partly off the left edge:
    // the part left of the edge must not be all there is to see.
    const Image ch = Pic("Menu/character_1.png");
    EXPECT_GE(138 + 2 * ch.height, 480) << "the climber should reach the bottom of the screen";
    EXPECT_LE(138 + 2 * ch.height, 480 + 8);
    const int firstOnScreen = (75 + 1) / 2;
    const Ink seen = InkIn(ch, firstOnScreen, 0, ch.width, ch.height);
    ASSERT_FALSE(seen.Empty());
    // ...and most of the figure is on screen, not cut away by the edge.
    int on = 0, off = 0;
    for (int y = 0; y < ch.height; ++y)
        for (int x = 0; x < ch.width; ++x)
            if (IsVisible(ch.at(x, y))) (x < firstOnScreen ? off : on)++;
    EXPECT_GT(on, 10 * off);
}

TEST(MenuPictures, TitleLabelsSitBetweenTheCursors) {
    const Image box = Pic("Menu/guiBox.png");
    const Image text = Pic("Menu/guiText.png");
    const Image cursor = Pic("Menu/cursor.png");
    // The labels are drawn at the box's own position.
    EXPECT_EQ(text.width, box.width);
    EXPECT_EQ(text.height, box.height);
    // Cursors at 25 screen pixels in from the box's left and 300 further right, items
    // 20 + 50 * i screen pixels below its top, for items 0..2.
    const int leftCursorEnd = 25 + 2 * cursor.width, rightCursor = 325;
    EXPECT_LE(rightCursor + 2 * cursor.width, 2 * box.width) << "the right cursor leaves the box";
    EXPECT_LE(20 + 50 * 2 + 2 * cursor.height, 2 * box.height) << "the last item leaves the box";
    for (int i = 0; i < 3; ++i) {
        const int top = (20 + 50 * i) / 2, bottom = top + cursor.height;
        const Ink k = InkIn(text, 0, top - 2, text.width, bottom + 2);
        ASSERT_FALSE(k.Empty()) << "item " << i << " has no label";
        EXPECT_GE(k.top, top - 1) << "item " << i;
        EXPECT_LE(k.bottom, bottom) << "item " << i;
        EXPECT_GT(2 * k.left, leftCursorEnd) << "item " << i << " runs under the left cursor";
        EXPECT_LT(2 * (k.right + 1), rightCursor) << "item " << i << " runs under the right cursor";
        // Roughly centred between the cursors.
        const int mid = k.left + k.right + 1;  // twice the centre, i.e. in screen pixels
        EXPECT_NEAR(mid, (leftCursorEnd + rightCursor) / 2, 12) << "item " << i;
    }
    // Nothing else is written on the label picture.
    int stray = 0;
    for (int y = 0; y < text.height; ++y) {
        bool inItem = false;
        for (int i = 0; i < 3; ++i) inItem |= y >= (20 + 50 * i) / 2 - 2 && y < (20 + 50 * i) / 2 + cursor.height + 2;
        if (inItem) continue;
        for (int x = 0; x < text.width; ++x) stray += IsVisible(text.at(x, y));
    }
    EXPECT_EQ(stray, 0);
}

TEST(MenuPictures, PauseLabelsLineUpWithTheCursor) {
    const Image box = Pic("Menu/guiBox.png");
    const Image pause = Pic("Menu/pause.png");
    const Image cursor = Pic("Menu/cursor.png");
    // The labels are drawn 10 screen pixels below the box and must stay on it.
    EXPECT_EQ(pause.width, box.width);
    EXPECT_LE(10 + 2 * pause.height, 2 * box.height);
    // The cursor sits 76 + 50 * i screen pixels below the box, i.e. 66 + 50 * i below the labels.
    for (int i = 0; i < 2; ++i) {
        const int top = (66 + 50 * i) / 2, bottom = top + cursor.height;
        const Ink k = InkIn(pause, (25 + 2 * cursor.width) / 2, top - 1, pause.width, bottom + 1);
        ASSERT_FALSE(k.Empty()) << "pause item " << i;
        EXPECT_GE(k.top, top - 1);
        EXPECT_LE(k.bottom, bottom);
    }
}

TEST(MenuPictures, LevelLabelsFitTheRightEdge) {
    const Image cursor = Pic("Menu/cursor.png");
    for (int n = 1; n <= 3; ++n) {
        const Image lvl = Pic("Menu/lvl" + std::to_string(n) + ".png");
        // Drawn at x = 570, 50 screen pixels apart, beside a cursor at x = 542.
        EXPECT_LE(570 + 2 * lvl.width, 640) << n;
        EXPECT_LE(2 * lvl.height, 50) << n;
        EXPECT_GE(570, 542 + 2 * cursor.width) << "the label runs under the cursor";
        EXPECT_FALSE(InkIn(lvl, 0, 0, lvl.width, lvl.height).Empty()) << n;
    }
    // Three different labels.
    EXPECT_NE(Pic("Menu/lvl1.png").pixels, Pic("Menu/lvl2.png").pixels);
    EXPECT_NE(Pic("Menu/lvl2.png").pixels, Pic("Menu/lvl3.png").pixels);
}

TEST(EndingPictures, CloudsAndCityCoverTheScreenForTheWholeEnding) {
    // Each cloud layer is drawn twice, one frame height apart (doubled on screen), and wraps
    // once it is more than that far above the top: two copies must always fill 480 rows.
    for (const char* rel : {"building/credit_clouds1.png", "building/credit_clouds2.png"}) {
        const Image c = Pic(rel);
        EXPECT_GE(2 * c.width, 640) << rel;
        EXPECT_GE(2 * c.height, 480) << rel;
        EXPECT_FALSE(Opaque(c)) << rel << " would hide everything behind it";
        // The layer repeats vertically: a cloud cut by the bottom edge continues at the top.
        int bottomInk = 0, matched = 0;
        for (int x = 0; x < c.width; ++x)
            if (IsVisible(c.at(x, c.height - 1))) {
                ++bottomInk;
                matched += IsVisible(c.at(x, 0));
            }
        EXPECT_GE(matched * 10, bottomInk * 8) << rel << " shows a seam where it wraps";
    }
    // The city starts at y = 240 and rises 0.1 pixel per frame: by the time the screen has
    // faded to black (about 4716 frames in) its top is some 470 pixels higher, and it must
    // still reach the bottom of the screen.
    const Image city = Pic("building/credit_city.png");
    EXPECT_GE(2 * city.width, 640);
    EXPECT_GE(240 - 4716 / 10 + 2 * city.height, 480);
}

}  // namespace
