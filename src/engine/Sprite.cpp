#include "engine/Sprite.h"

#include "engine/GImage.h"
#include "engine/GameEngine.h"

BOOL Sprite::pause = FALSE;
bool (*Sprite::frozen)() = nullptr;

Sprite::Sprite(int sside, GameEngine* sEngine, GImage* simage, float sx, float sy, int sframew, int sframeh,
               int sFrames, int sLayers) {
    gEngine = sEngine;
    image = simage;
    x = sx;
    y = sy;
    scale = 1.0f;
    rotation = 0;
    CurFrame = 0;
    CurLayer = 0;
    NumFrames = sFrames;
    NumLayers = sLayers;
    framew = sframew != 0 ? sframew : (simage ? simage->oW : 0);
    frameh = sframeh != 0 ? sframeh : (simage ? simage->oH : 0);
    pos = 1;
    posY = 1;
    AnimationOn = false;
    AnimationDelay = 5;
    AnimationDelayC = 0;
    hidden = FALSE;
    StartFrame = 0;
    StartLayer = 0;
    side = sside;
    w = framew;
    h = frameh;
}

void Sprite::LoadImageA(GImage* simage, int sframew, int sframeh, int sFrames, int sLayers) {
    image = simage;
    CurFrame = 0;
    CurLayer = 0;
    framew = sframew != 0 ? sframew : (simage ? simage->oW : 0);
    frameh = sframeh != 0 ? sframeh : (simage ? simage->oH : 0);
    NumFrames = sFrames;
    NumLayers = sLayers;
    w = framew;
    h = frameh;
}

void Sprite::Step() {
    if (frozen && frozen()) return;
    if (!AnimationOn || pause) return;
    if (AnimationDelay > AnimationDelayC) {
        ++AnimationDelayC;
    } else {
        AnimationDelayC = 0;
        if (CurFrame < NumFrames)
            ++CurFrame;
        else
            CurFrame = StartFrame;
    }
}

void Sprite::Draw() {
    if (hidden || !gEngine) return;
    gEngine->DrawImagePart(side, image, static_cast<int>(x), static_cast<int>(y), w, h, CurFrame * framew,
                           CurLayer * frameh, framew, frameh, scale, rotation, static_cast<float>(pos),
                           static_cast<float>(posY));
}

void Sprite::Update() {
    Step();
    Draw();
}

void Sprite::PlayAnimation(AnimationData* aD) {
    int oldStart = StartFrame;
    StartFrame = aD->start;
    StartLayer = aD->layer;
    if (CurLayer != aD->layer || aD->start != oldStart || NumFrames != aD->end || AnimationDelay != aD->delay) {
        RestartAnimation();
    }
    CurLayer = aD->layer;
    NumFrames = aD->end;
    AnimationDelay = aD->delay;
    AnimationOn = true;
}

bool Sprite::isCurrentAnimation(AnimationData* aD) const {
    return StartFrame == aD->start && StartLayer == aD->layer && NumFrames == aD->end && AnimationDelay == aD->delay;
}

bool Sprite::isAnimationFinished() const { return CurFrame == NumFrames && AnimationDelayC == AnimationDelay; }

bool Sprite::isAnimationFinishedNext() const { return CurFrame == NumFrames && AnimationDelay <= AnimationDelayC + 1; }

bool Sprite::onFrameEnter(int frame) const { return CurFrame == frame && AnimationDelayC == 0; }

void Sprite::Rotate(int degrees) {
    rotation += static_cast<float>(degrees);
    if (rotation > 360) rotation -= 360;
}

void Sprite::SetAnimationData(AnimationData* aD, int start, int end, int delay, int layer) {
    aD->start = start;
    aD->end = end;
    aD->delay = delay;
    aD->layer = layer;
}
