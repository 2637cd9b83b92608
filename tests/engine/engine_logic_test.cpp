#include <gtest/gtest.h>

#include <cmath>

#include "engine/GColor.h"
#include "engine/GImage.h"
#include "engine/GMusic.h"
#include "engine/GameEngine.h"

TEST(Textures, PowerOfTwoSizesNeverBelowTwo) {
    EXPECT_EQ(getNextPowerOfTwo(0), 2);
    EXPECT_EQ(getNextPowerOfTwo(1), 2);
    EXPECT_EQ(getNextPowerOfTwo(2), 2);
    EXPECT_EQ(getNextPowerOfTwo(3), 4);
    EXPECT_EQ(getNextPowerOfTwo(64), 64);
    EXPECT_EQ(getNextPowerOfTwo(65), 128);
    EXPECT_EQ(getNextPowerOfTwo(-5), 2);
}

TEST(Textures, TranslateColorReadsTheLowThreeBytes) {
    TranslatedColor c = translate_color(0xAB00FF12u);
    EXPECT_EQ(c.r, 0x12);
    EXPECT_EQ(c.g, 0xFF);
    EXPECT_EQ(c.b, 0x00);
}

TEST(DrawingRules, MirrorAndSqueezeFactorsAreNormalised) {
    EXPECT_EQ(GameEngine::NormaliseInv(0), 1);
    EXPECT_EQ(GameEngine::NormaliseInv(3), 1);
    EXPECT_EQ(GameEngine::NormaliseInv(-5), -1);
    EXPECT_EQ(GameEngine::NormaliseInv(-1), -1);
    EXPECT_FLOAT_EQ(GameEngine::NormaliseInv(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(GameEngine::NormaliseInv(-0.25f), -0.25f);
}

TEST(DrawingRules, CullingKeepsQuadsTouchingTheScreenEdges) {
    EXPECT_TRUE(GameEngine::Culled(641, 0, 10, 10));
    EXPECT_FALSE(GameEngine::Culled(640, 0, 10, 10));
    EXPECT_FALSE(GameEngine::Culled(-10, 0, 10, 10));  // right edge exactly at 0 is drawn
    EXPECT_TRUE(GameEngine::Culled(-11, 0, 10, 10));
    EXPECT_TRUE(GameEngine::Culled(0, 481, 10, 10));
    EXPECT_FALSE(GameEngine::Culled(0, 480, 10, 10));
    EXPECT_FALSE(GameEngine::Culled(0, -10, 10, 10));
    EXPECT_TRUE(GameEngine::Culled(0, -11, 10, 10));
}

TEST(DrawingRules, ColourClampsToTheRangeTheClassKeeps) {
    GColor d;
    EXPECT_EQ(d.a, 1);
    GColor c(-1, 0.5f, 300, 1);
    EXPECT_EQ(c.r, 0);
    EXPECT_EQ(c.b, 255);
    EXPECT_EQ(c.GetG(), 127);
}

TEST(FramePacing, AFrameIsDueAfterMoreThan1000Over65Milliseconds) {
    EXPECT_FALSE(FrameDue(15, 0, 65));  // 975
    EXPECT_TRUE(FrameDue(16, 0, 65));   // 1040
    EXPECT_FALSE(FrameDue(100, 100, 65));
    // The clock wrapping round still gives a frame.
    EXPECT_TRUE(FrameDue(10, 0xFFFFFFF0u, 65));
    EXPECT_FALSE(FrameDue(5, 0xFFFFFFFAu, 65));
}

TEST(Shake, PhaseAdvancesByPiOverSpeedAndWrapsPastTwoPi) {
    GameEngine e;
    e.Shake(0, 4, 5, 100);
    std::vector<float> ys;
    for (int i = 0; i < 12; ++i) {
        e.ShakeUpd();
        ys.push_back(e.ShakeY);
    }
    EXPECT_FLOAT_EQ(ys[0], 0);  // the first step uses phase 0
    EXPECT_NEAR(ys[1], 4 * std::sin(0.628), 1e-4);
    // Steps 0..10 add 0.628 each: 6.908 > 6.28 on the 11th, so the phase is back at 0.
    EXPECT_FLOAT_EQ(ys[11], 0);
    EXPECT_EQ(e.ShakeX, 0);
    EXPECT_FLOAT_EQ(e.ShakeTimer, 88);
}

TEST(Shake, ZeroDurationAndReplacementKeepThePhase) {
    GameEngine e;
    e.Shake(3, 3, 5, 0);
    e.ShakeUpd();
    EXPECT_EQ(e.ShakeX, 0);
    e.Shake(0, 4, 5, 10);
    e.ShakeUpd();
    e.ShakeUpd();
    float phase = e.ShakeCounter;
    // A second shake while one runs keeps the phase and takes the new parameters.
    e.Shake(8, 0, 2, 3);
    EXPECT_FLOAT_EQ(e.ShakeCounter, phase);
    EXPECT_EQ(e.ShakeAmpX, 8);
    EXPECT_EQ(e.ShakeTimer, 3);
    for (int i = 0; i < 3; ++i) e.ShakeUpd();
    e.ShakeUpd();
    EXPECT_EQ(e.ShakeX, 0);
    EXPECT_EQ(e.ShakeY, 0);
    // Speed 0 never divides by zero.
    e.Shake(1, 1, 0, 2);
    e.ShakeUpd();
    EXPECT_TRUE(std::isfinite(e.ShakeCounter));
}

TEST(MusicFade, CountsFramesAndStopsOnTheFrameThatSetsTwoOverN) {
    GameEngine e;
    GMusic* track = reinterpret_cast<GMusic*>(0x1);  // never dereferenced: the fade only compares it
    // One-frame fade: decremented to 0 without reaching the stop test.
    e.music = track;
    e.MusicFade(1);
    e.MusicFrame();
    EXPECT_EQ(e.musFade, 0);
    EXPECT_EQ(e.music, track);
    // Two frames: stops in the first frame.
    e.MusicFade(2);
    e.MusicFrame();
    EXPECT_EQ(e.musFade, 0);
    EXPECT_EQ(e.music, nullptr);
    // N frames: stops after N - 1 frames.
    e.music = track;
    e.MusicFade(10);
    for (int i = 0; i < 8; ++i) {
        e.MusicFrame();
        EXPECT_EQ(e.music, track) << i;
    }
    e.MusicFrame();
    EXPECT_EQ(e.music, nullptr);
    EXPECT_EQ(e.musFade, 0);
}

TEST(MusicFade, LoopingTheCurrentTrackKeepsAFadeGoing) {
    GameEngine e;
    GMusic* track = reinterpret_cast<GMusic*>(0x1);
    e.music = track;
    e.MusicFade(50);
    e.MusicLoop(track);
    EXPECT_EQ(e.musFade, 50);
    e.music = nullptr;
}
