// A puff of smoke: trails behind enemy shots and rockets, and warns of a falling block. It drifts
// without gravity and shrinks as its life runs out.
#pragma once

#include "game/entities/Blood.h"

class WallBlastSmoke : public Blood {
public:
    int life;  // frames left

    WallBlastSmoke(int sside, int sx, int sy, float svelX, float svelY);

    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "WallBlastSmoke"; }
};
