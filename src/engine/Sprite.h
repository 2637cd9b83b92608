// One frame/layer cell of a sprite sheet drawn at a position, with frame-counted looping
// animations. Columns of the sheet are frames, rows are layers.
#pragma once

#include "platform/win32.h"

class GameEngine;
class GImage;

struct AnimationData {
    int start;
    int end;
    int delay;
    int layer;
};

class Sprite {
public:
    float x, y;
    int w, h;
    int CurFrame;
    int CurLayer;
    int StartFrame;
    int StartLayer;
    int NumLayers;
    int NumFrames;
    int framew, frameh;
    int pos;
    int posY;
    float scale;
    float rotation;
    GameEngine* gEngine;
    GImage* image;
    BOOL hidden;
    int side;
    bool AnimationOn;
    int AnimationDelay;
    int AnimationDelayC;

    static BOOL pause;
    // Set by the game while its pause menu or a weapon announcement freezes every sprite.
    static bool (*frozen)();

    Sprite(int sside, GameEngine* sEngine, GImage* simage, float sx, float sy, int sframew, int sframeh,
           int sFrames, int sLayers);
    virtual ~Sprite() {}

    void LoadImageA(GImage* simage, int sframew, int sframeh, int sFrames, int sLayers);
    void Update();
    // The animation step of Update alone (no drawing).
    void Step();
    void Draw();

    void PlayAnimation(AnimationData* aD);
    bool isCurrentAnimation(AnimationData* aD) const;
    bool isAnimationFinished() const;
    bool isAnimationFinishedNext() const;
    bool onFrameEnter(int frame) const;
    void SetAnimationOn() { AnimationOn = true; }
    void SetAnimationOff() { AnimationOn = false; }
    void SetAnimationDelay(int d) { AnimationDelay = d; }
    void RestartAnimation() {
        CurFrame = StartFrame;
        AnimationDelayC = 0;
    }
    void Hide() { hidden = TRUE; }
    void Show() { hidden = FALSE; }
    void Rotate(int degrees);

    static void SetAnimationData(AnimationData* aD, int start, int end, int delay, int layer);
};
