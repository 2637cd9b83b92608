// Contact sheet pages: grouping, labels and the cells they show.
#include "contact.h"
#include "font5x7.h"
#include "image.h"
#include "manifest.h"
#include "pictures_testutil.h"

#include <gtest/gtest.h>

using namespace toolcommon;

namespace {

const Rgba kRed{200, 10, 10, 255};
const Rgba kBlue{10, 10, 200, 255};

int Count(const Image& img, Rgba c) {
    int n = 0;
    for (const Rgba& p : img.pixels) n += p == c;
    return n;
}

}  // namespace

TEST(ContactSheet, CutPicturesGetAPageEachAndWholePicturesShareTheirFolder) {
    Manifest m = ParseManifestText(
        "picture data/enemy/Sheet.png 8 8\n  use A 4 4 drawn\n    anim a 0 1 0\n"
        "picture data/Menu/sky.png 4 4\n  whole Sky drawn\n"
        "picture data/Menu/box.png 4 4\n  whole Box drawn\n"
        "picture data/hud.png 4 4\n  whole Hud drawn\n",
        "m.txt");
    EXPECT_EQ(contact::PageName(m.pictures[0]), "enemy_sheet.png");
    EXPECT_EQ(contact::PageName(m.pictures[1]), "menu_pictures.png");
    EXPECT_EQ(contact::PageName(m.pictures[2]), "menu_pictures.png");
    EXPECT_EQ(contact::PageName(m.pictures[3]), "data_pictures.png");
}

TEST(ContactSheet, ShowsEveryFrameAtDoubleSizeAndReportsMissingPictures) {
    std::string dir = pictest::ScratchDir("ContactPages");
    // An 8x4 sheet: a red 4x4 frame 0 and a blue 4x4 frame 1.
    Image sheet(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) sheet.at(x, y) = x < 4 ? kRed : kBlue;
    WritePngAtomic(dir + "/data/enemy/sheet.png", sheet);
    Manifest m = ParseManifestText(
        "picture data/enemy/Sheet.png 8 4\n  use A 4 4 drawn\n    anim a 0 1 0\n    anim b 1 1 0\n"
        "picture data/gone.png 4 4\n  whole Gone drawn\n",
        "m.txt");
    std::vector<std::string> problems;
    std::vector<contact::Page> pages = contact::BuildPages(m, dir, problems);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("data/gone.png"), std::string::npos);
    const Image& page = pages[0].image;
    // The whole sheet once at 1x (16 red pixels), then frame 0 at 2x (64 red pixels).
    EXPECT_EQ(Count(page, kRed), 16 + 64);
    // Blue: 16 in the overview, 64 for frame 1 of 'a' and 64 more for 'b'.
    EXPECT_EQ(Count(page, kBlue), 16 + 64 + 64);
}

TEST(ContactSheet, LabelFontDrawsKnownGlyphsAndBoxesUnknownOnes) {
    Image img(40, 10, Rgba{0, 0, 0, 255});
    const Rgba w{255, 255, 255, 255};
    contact::DrawText(img, 0, 0, "I", w);
    EXPECT_EQ(Count(img, w), 3 + 5 + 3);  // the serifed I: top bar, stem, bottom bar
    Image blank(40, 10, Rgba{0, 0, 0, 255});
    contact::DrawText(blank, 0, 0, " ", w);
    EXPECT_EQ(Count(blank, w), 0);
    Image box(40, 10, Rgba{0, 0, 0, 255});
    contact::DrawText(box, 0, 0, "~", w);
    EXPECT_EQ(Count(box, w), 2 * 5 + 2 * 5);  // outline of the 5x7 cell
    EXPECT_EQ(contact::TextWidth("abc"), 17);
    Image lower(40, 10, Rgba{0, 0, 0, 255}), upper(40, 10, Rgba{0, 0, 0, 255});
    contact::DrawText(lower, 0, 0, "q", w);
    contact::DrawText(upper, 0, 0, "Q", w);
    EXPECT_EQ(lower.pixels, upper.pixels);
}
