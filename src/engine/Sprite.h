// One frame/layer cell of a sprite sheet drawn at a position, with frame-counted looping
// animations. Columns of the sheet are frames, rows are layers.
#pragma once

#include "platform/win32.h"

class GameEngine;
class GImage;

// An animation: frames start..end (sheet columns, both included) of one layer (sheet row), each
// shown for delay + 1 frames.
struct AnimationData {
    int start;
    int end;
    int delay;
    int layer;
};

class Sprite {
public:
    float x, y;          // top-left corner on the screen (on its side of the tower), in the game's pixels
    int w, h;            // size drawn, before scale (the frame size unless changed)
    int CurFrame;        // sheet column shown
    int CurLayer;        // sheet row shown
    int StartFrame;      // first column of the animation playing; it loops back here
    int StartLayer;      // row of the animation playing
    int NumLayers;       // rows given when the sheet was loaded (not used in drawing)
    int NumFrames;       // last column of the animation playing (included)
    int framew, frameh;  // size of one cell of the sheet, pixels
    int pos;             // horizontal facing: 1 as drawn on the sheet, -1 mirrored left to right
    int posY;            // vertical facing: 1 as drawn on the sheet, -1 mirrored top to bottom
    float scale;         // size factor
    float rotation;      // turn about its centre, degrees
    GameEngine* gEngine;
    GImage* image;
    BOOL hidden;          // skipped when drawing (it still animates)
    int side;             // the tower side it is drawn on, 1..4; 0 draws flat on the screen
    bool AnimationOn;     // frames advance (off: the current frame holds)
    int AnimationDelay;   // frames each cell is held, less one
    int AnimationDelayC;  // frames the current cell has been held

    static BOOL pause;
    // Set by the game while its pause menu or a weapon announcement freezes every sprite.
    static bool (*frozen)();

    Sprite(int sside, GameEngine* sEngine, GImage* simage, float sx, float sy, int sframew, int sframeh, int sFrames,
           int sLayers);
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
