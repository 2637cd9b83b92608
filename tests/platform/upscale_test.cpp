// A scaled window shows the 640 x 480 picture with every pixel blown up into a square.
#include <gtest/gtest.h>

#include "engine/GameEngine.h"
#include "platform/Backend.h"
#include "platform/Options.h"
#include "platform/Upscale.h"

using platform::FitPicture;

TEST(Letterbox, LargestWholeFactorCentred) {
    auto l = FitPicture(640, 480, 1920, 1080);
    EXPECT_EQ(l.factor, 2);
    EXPECT_EQ(l.x, 320);
    EXPECT_EQ(l.y, 60);
    l = FitPicture(640, 480, 1280, 960);
    EXPECT_EQ(l.factor, 2);
    EXPECT_EQ(l.x, 0);
    EXPECT_EQ(l.y, 0);
    // Smaller than the picture: drawn at 1, never shrunk.
    l = FitPicture(640, 480, 600, 400);
    EXPECT_EQ(l.factor, 1);
    EXPECT_EQ(l.x, 0);
    l = FitPicture(640, 480, 2560, 1440);
    EXPECT_EQ(l.factor, 3);
    EXPECT_EQ(l.x, 320);
}

TEST(Upscale, AFrameAtScaleTwoIsTheScaleOneFrameWithEveryPixelDoubled) {
    platform::CurrentOptions().scale = 2;
    ASSERT_TRUE(platform::OpenVideo("t", 640, 480, false));
    int W, H;
    platform::WindowSize(&W, &H);
    ASSERT_EQ(W, 1280);
    ASSERT_EQ(H, 960);
    GameEngine::gEngine = &gEngine;
    HDC dc;
    HGLRC rc;
    gEngine.EnableOpenGL(nullptr, &dc, &rc);
    glViewport(0, 0, 640, 480);
    gEngine.SetScreenProjection();
    glClearColor(0.2f, 0.3f, 0.4f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A pattern with odd sizes and positions, some boxes overlapping.
    for (int i = 0; i < 40; ++i) {
        gEngine.SetColor((i * 37 % 255) / 255.0f, (i * 91 % 255) / 255.0f, (i * 53 % 255) / 255.0f, 1);
        gEngine.DrawBox(0, (i * 71) % 620, (i * 43) % 460, 3 + i % 7, 2 + i % 5, i);
    }
    std::vector<unsigned char> small(640 * 480 * 4);
    gEngine.FlushQuads();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, small.data());
    platform::Present();
    std::vector<unsigned char> big(static_cast<size_t>(W) * H * 4);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, big.data());
    int wrong = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const unsigned char* b = &big[(static_cast<size_t>(y) * W + x) * 4];
            const unsigned char* s = &small[(static_cast<size_t>(y / 2) * 640 + x / 2) * 4];
            if (b[0] != s[0] || b[1] != s[1] || b[2] != s[2]) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    // The game's state is left as it was: its viewport and texture binding.
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 480);
}
