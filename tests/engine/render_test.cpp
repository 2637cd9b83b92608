// Real quads drawn into the offscreen frame buffer and read back.
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>

#include "engine/FramePng.h"
#include "engine/GImage.h"
#include "engine/GameEngine.h"
#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

using testsupport::PixelAt;
using testsupport::ReadFrame;

namespace {
std::vector<unsigned char> Solid(int w, int h, unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = r;
        px[i + 1] = g;
        px[i + 2] = b;
        px[i + 3] = a;
    }
    return px;
}

// Four quadrants in four colours, so a flipped or misplaced picture shows.
std::vector<unsigned char> Quadrants(int n) {
    std::vector<unsigned char> px(static_cast<size_t>(n) * n * 4);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            unsigned char* p = &px[(static_cast<size_t>(y) * n + x) * 4];
            bool right = x >= n / 2, low = y >= n / 2;
            p[0] = right ? 255 : 0;
            p[1] = low ? 255 : 0;
            p[2] = (right != low) ? 200 : 40;  // never pure magenta, which is keyed out
            p[3] = 255;
        }
    return px;
}

int CountDiff(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); i += 4)
        if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++n;
    return n;
}

int CountColour(const std::vector<unsigned char>& f, unsigned rgb) {
    int n = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) n += PixelAt(f, x, y) == rgb;
    return n;
}
}  // namespace

class Render : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::EnsureGL();
        dir = testsupport::MakeTempDir("render");
        platform::SetDataDir(dir);
        ASSERT_TRUE(testsupport::WritePng(dir + "/quad.png", 16, 16, Quadrants(16)));
        ASSERT_TRUE(testsupport::WritePng(dir + "/twenty.png", 20, 20, Solid(20, 20, 200, 10, 10, 255)));
        ASSERT_TRUE(testsupport::WritePng(dir + "/odd.png", 65, 20, Solid(65, 20, 1, 2, 3, 255)));
        ASSERT_TRUE(testsupport::WritePng(dir + "/one.png", 1, 1, Solid(1, 1, 1, 2, 3, 255)));
        std::vector<unsigned char> key = Solid(3, 1, 255, 0, 255, 255);
        key[7] = 17;  // magenta with partial alpha is keyed too
        key[9] = 1;   // (255, 1, 255) is not magenta
        ASSERT_TRUE(testsupport::WritePng(dir + "/key.png", 3, 1, key));
    }
    void SetUp() override {
        gEngine.rotx = 0;
        gEngine.roty = 0;
        gEngine.ShakeX = gEngine.ShakeY = 0;
        glClearColor(0, 0, 0, 1);
        Clear();
        gEngine.ResetColor();
    }
    // Quads an earlier test gathered and never read are drawn first, then wiped.
    static void Clear() {
        gEngine.FlushQuads();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    static std::string dir;
};
std::string Render::dir;

TEST_F(Render, WallFacingTheViewerLandsOnTheFlatPixels) {
    GImage* img = GImage::CreateNew("data/quad.png");
    ASSERT_TRUE(img->loaded);
    gEngine.DrawImagePart(0, img, 100, 80, 0, 0, 16, 16, 1, 0, 1, 1);
    auto flat = ReadFrame();
    EXPECT_EQ(CountColour(flat, 0x000028u), 16 * 16);  // the top-left quadrant, 2 x 2 per pixel

    struct Case {
        int side;
        float rotx;
    };
    for (Case c : {Case{1, 360}, Case{1, 0}, Case{2, 270}, Case{3, 180}, Case{4, 90}}) {
        Clear();
        gEngine.rotx = c.rotx;
        gEngine.DrawImagePart(c.side, img, 100, 80, 0, 0, 16, 16, 1, 0, 1, 1);
        auto wall = ReadFrame();
        EXPECT_EQ(CountDiff(flat, wall), 0) << "side " << c.side << " at " << c.rotx;
    }
    // A wall facing away draws nothing where the flat quad was.
    Clear();
    gEngine.rotx = 180;
    glDisable(GL_DEPTH_TEST);
    gEngine.DrawImagePart(1, img, 100, 80, 0, 0, 16, 16, 1, 0, 1, 1);
    glEnable(GL_DEPTH_TEST);
    auto away = ReadFrame();
    EXPECT_NE(PixelAt(away, 110, 90), PixelAt(flat, 110, 90));
}

TEST_F(Render, HalfScaleDrawsTheWholeTextureOneToOne) {
    GImage* img = GImage::CreateNew("data/twenty.png");
    EXPECT_EQ(img->w, 32);
    gEngine.DrawImage(0, img, 10, 10, 0.5f, 0, 1, 1);
    auto f = ReadFrame();
    // The picture fills the top-left 20 x 20 of the 32 x 32 quad; the margin is transparent.
    EXPECT_EQ(CountColour(f, 0xC80A0Au), 20 * 20);
    EXPECT_EQ(PixelAt(f, 10, 10), 0xC80A0Au);
    EXPECT_EQ(PixelAt(f, 29, 29), 0xC80A0Au);
    EXPECT_EQ(PixelAt(f, 30, 10), 0u);
}

TEST_F(Render, MirrorAndSqueeze) {
    GImage* img = GImage::CreateNew("data/quad.png");
    gEngine.DrawImagePart(0, img, 0, 0, 0, 0, 16, 16, 1, 0, -5, 1);
    auto f = ReadFrame();
    // Mirrored left-right at full size: the top-left shows the top-right quadrant.
    EXPECT_EQ(PixelAt(f, 2, 2), 0xFF00C8u);
    EXPECT_EQ(PixelAt(f, 30, 2), 0x000028u);
    Clear();
    gEngine.DrawImagePart(0, img, 0, 0, 0, 0, 16, 16, 1, 0, 0.5f, 1);
    f = ReadFrame();
    // Half as wide about the same centre: 8..24 covered, 0..7 empty.
    EXPECT_EQ(PixelAt(f, 4, 4), 0u);
    EXPECT_EQ(PixelAt(f, 9, 4), 0x000028u);
    EXPECT_EQ(PixelAt(f, 26, 4), 0u);
}

TEST_F(Render, ANewContextKeepsTheClearColourTheGameSet) {
    GColor start(116 / 255.0f, 140 / 255.0f, 37 / 255.0f, 1);
    gEngine.SetClearColor(start);
    // What a switch to or from full screen does once the video mode has changed.
    platform::NotifyVideoReset();
    float c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    EXPECT_FLOAT_EQ(c[0], start.r);
    EXPECT_FLOAT_EQ(c[1], start.g);
    EXPECT_FLOAT_EQ(c[2], start.b);
    EXPECT_FLOAT_EQ(c[3], 1.0f);
    gEngine.SetClearColor(GColor(0, 0, 0, 0.5f));
}

TEST_F(Render, ShakeMovesEveryQuad) {
    GImage* img = GImage::CreateNew("data/quad.png");
    gEngine.ShakeX = 5;
    gEngine.ShakeY = -3;
    gEngine.DrawImagePart(0, img, 100, 100, 0, 0, 16, 16, 1, 0, 1, 1);
    auto f = ReadFrame();
    EXPECT_EQ(PixelAt(f, 105, 97), 0x000028u);
    EXPECT_EQ(PixelAt(f, 104, 97), 0u);
}

TEST_F(Render, BoxesCoverTheScreenAndKeepTheBoundPicture) {
    GImage* img = GImage::CreateNew("data/quad.png");
    gEngine.DrawImagePart(0, img, 0, 0, 0, 0, 16, 16, 1, 0, 1, 1);
    gEngine.SetColor(0, 1, 0, 1);
    gEngine.DrawBox(0, 0, 0, 640, 480, 0);
    gEngine.ResetColor();
    auto f = ReadFrame();
    EXPECT_EQ(CountColour(f, 0x00FF00u), 640 * 480);
    EXPECT_EQ(gEngine.curImage, img);
}

TEST_F(Render, TextureSizesAndTheMagentaKey) {
    GImage* odd = GImage::CreateNew("data/odd.png");
    EXPECT_EQ(odd->oW, 65);
    EXPECT_EQ(odd->w, 128);
    EXPECT_EQ(odd->h, 32);
    GImage* one = GImage::CreateNew("data/one.png");
    EXPECT_EQ(one->w, 2);
    EXPECT_EQ(one->h, 2);
    GImage* key = GImage::CreateNew("data/key.png");
    EXPECT_TRUE(key->hasTransparent);
    gEngine.DrawImagePart(0, key, 0, 0, 0, 0, 3, 1, 1, 0, 1, 1);
    auto f = ReadFrame();
    EXPECT_EQ(PixelAt(f, 0, 0), 0u);
    EXPECT_EQ(PixelAt(f, 2, 0), 0u);
    EXPECT_EQ(PixelAt(f, 4, 0), 0xFF01FFu);
}

TEST_F(Render, CacheReturnsTheSameImageAndIsCaseSensitive) {
    GImage* a = GImage::CreateNew("data/quad.png");
    GImage* b = GImage::CreateNew("data/quad.png");
    EXPECT_EQ(a, b);
    EXPECT_EQ(GImage::loadedList.back(), a);
    GImage* c = GImage::CreateNew("data/QUAD.png");
    EXPECT_NE(a, c);
    EXPECT_TRUE(c->loaded);  // the file is found whatever the case, but cached apart
    int lower = 0, upper = 0;
    for (GImage* i : GImage::loadedList) {
        lower += std::strcmp(i->filename, "data/quad.png") == 0;
        upper += std::strcmp(i->filename, "data/QUAD.png") == 0;
    }
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 1);
}

TEST_F(Render, MissingPictureIsReportedAndNeverDrawn) {
    GImage* m = GImage::CreateNew("data/none.png");
    EXPECT_FALSE(m->loaded);
    EXPECT_EQ(platform::LastMessage(), "Error Loading File: data/none.png");
    gEngine.DrawImage(0, m, 0, 0, 1, 0, 1, 1);
    gEngine.DrawImagePart(1, m, 0, 0, 0, 0, 8, 8, 1, 0, 1, 1);
    auto f = ReadFrame();
    EXPECT_EQ(CountColour(f, 0u), 640 * 480);
    // Constructing directly warns and is not cached.
    GImage direct("data/quad.png");
    EXPECT_EQ(platform::LastMessage(), "\"new\" used for GImage init instead of GImage::CreateNew(...)!");
    EXPECT_TRUE(direct.loaded);
    gEngine.curImage = nullptr;
}

TEST_F(Render, ScreenshotsAreUpright) {
    gEngine.SetColor(1, 0, 0, 1);
    gEngine.DrawBox(0, 0, 0, 640, 10, 0);  // the top 20 rows red
    gEngine.ResetColor();
    std::string bmp = dir + "/shot.bmp";
    GameEngine::ScreenShot(bmp.c_str());
    std::string png = dir + "/shot.png";
    ASSERT_TRUE(SaveFramePng(png, 640, 480));
    for (const std::string& file : {bmp, png}) {
        SDL_Surface* s = IMG_Load(file.c_str());
        ASSERT_NE(s, nullptr) << file;
        EXPECT_EQ(s->w, 640);
        EXPECT_EQ(s->h, 480);
        Uint8 r, g, b;
        auto at = [&](int x, int y) {
            Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
            Uint32 v = 0;
            std::memcpy(&v, p, s->format->BytesPerPixel);
            SDL_GetRGB(v, s->format, &r, &g, &b);
            return (unsigned(r) << 16) | (unsigned(g) << 8) | b;
        };
        EXPECT_EQ(at(5, 0), 0xFF0000u) << file;
        EXPECT_EQ(at(5, 19), 0xFF0000u) << file;
        EXPECT_EQ(at(5, 20), 0u) << file;
        EXPECT_EQ(at(5, 479), 0u) << file;
        SDL_FreeSurface(s);
    }
}
