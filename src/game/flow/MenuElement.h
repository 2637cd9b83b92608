// A picture that waits, then glides with acceleration to a target position, snapping onto it, and
// plays a sound the first time it arrives.
#pragma once

#include "platform/win32.h"

class GImage;
class GSound;
class Sprite;

class MenuElement {
public:
    Sprite* sprite;
    float x, y;
    float targetX, targetY;
    float velX, velY;
    float acc;
    int delay;
    BOOL beenAtTarget;
    GSound* sound;

    MenuElement(GImage* im, int sx, int sy, int tx, int ty, int sdelay);
    ~MenuElement();
    MenuElement(const MenuElement&) = delete;
    MenuElement& operator=(const MenuElement&) = delete;

    void Update();
    void Draw();
    BOOL atTarget();
};
