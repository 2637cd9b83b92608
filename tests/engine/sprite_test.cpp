#include <gtest/gtest.h>

#include "engine/Sprite.h"

namespace {
Sprite Make() { return Sprite(0, nullptr, nullptr, 0, 0, 32, 32, 3, 1); }
bool g_frozen = false;
bool Frozen() { return g_frozen; }
}  // namespace

TEST(SpriteAnimation, DelayHoldsEachFrameDelayPlusOneSteps) {
    Sprite s = Make();
    AnimationData a;
    Sprite::SetAnimationData(&a, 1, 3, 5, 2);
    s.PlayAnimation(&a);
    EXPECT_EQ(s.CurFrame, 1);
    EXPECT_EQ(s.CurLayer, 2);
    std::vector<int> frames;
    for (int i = 0; i < 20; ++i) {
        s.Step();
        frames.push_back(s.CurFrame);
    }
    // Frame 1 is held for 6 steps (5 counted up, then the advance), and the run loops 1,2,3,1.
    EXPECT_EQ(frames[4], 1);
    EXPECT_EQ(frames[5], 2);
    EXPECT_EQ(frames[11], 3);
    EXPECT_EQ(frames[17], 1);

    Sprite z = Make();
    Sprite::SetAnimationData(&a, 0, 2, 0, 0);
    z.PlayAnimation(&a);
    z.Step();
    EXPECT_EQ(z.CurFrame, 1);
    z.Step();
    z.Step();
    EXPECT_EQ(z.CurFrame, 0);
}

TEST(SpriteAnimation, FinishQueriesOnASingleFrameAnimation) {
    Sprite s = Make();
    AnimationData a{4, 4, 2, 0};
    s.PlayAnimation(&a);
    int finished = 0, finishedNext = 0;
    for (int i = 0; i < 9; ++i) {
        s.Step();
        finished += s.isAnimationFinished();
        finishedNext += s.isAnimationFinishedNext();
    }
    // Every delay + 1 = 3 steps the counter reaches the delay once.
    EXPECT_EQ(finished, 3);
    // One step earlier as well: counter at delay - 1 and at delay.
    EXPECT_EQ(finishedNext, 6);
    s.RestartAnimation();
    EXPECT_TRUE(s.onFrameEnter(4));
    s.Step();
    EXPECT_FALSE(s.onFrameEnter(4));
}

TEST(SpriteAnimation, PlayingTheRunningAnimationDoesNotRestartIt) {
    Sprite s = Make();
    AnimationData a{0, 3, 0, 1};
    s.PlayAnimation(&a);
    s.Step();
    s.Step();
    EXPECT_EQ(s.CurFrame, 2);
    s.PlayAnimation(&a);
    EXPECT_EQ(s.CurFrame, 2);
    EXPECT_TRUE(s.isCurrentAnimation(&a));
    AnimationData slower{0, 3, 4, 1};
    EXPECT_FALSE(s.isCurrentAnimation(&slower));
    s.PlayAnimation(&slower);
    EXPECT_EQ(s.CurFrame, 0);
}

TEST(SpriteAnimation, AFrameBeyondTheNewEndJumpsBackToTheStart) {
    Sprite s = Make();
    s.CurFrame = 7;
    s.StartFrame = 2;
    s.NumFrames = 4;
    s.AnimationDelay = 0;
    s.AnimationOn = true;
    s.Step();
    EXPECT_EQ(s.CurFrame, 2);
}

TEST(SpriteAnimation, FrozenAndPausedSpritesHoldTheirFrameHiddenOnesKeepAnimating) {
    Sprite s = Make();
    AnimationData a{0, 3, 0, 0};
    s.PlayAnimation(&a);
    Sprite::frozen = Frozen;
    g_frozen = true;
    s.Step();
    EXPECT_EQ(s.CurFrame, 0);
    g_frozen = false;
    Sprite::pause = TRUE;
    s.Step();
    EXPECT_EQ(s.CurFrame, 0);
    Sprite::pause = FALSE;
    s.Hide();
    s.Update();  // no engine: draws nothing, still animates
    EXPECT_EQ(s.CurFrame, 1);
    Sprite::frozen = nullptr;
}

TEST(SpriteAnimation, StoppedAnimationKeepsItsFrame) {
    Sprite s = Make();
    AnimationData a{0, 3, 0, 0};
    s.PlayAnimation(&a);
    s.Step();
    s.SetAnimationOff();
    s.Step();
    EXPECT_EQ(s.CurFrame, 1);
    s.Rotate(200);
    s.Rotate(200);
    EXPECT_FLOAT_EQ(s.rotation, 40);
}
