// The common enemy shot: a slow energy ball that flies at the velocity its shooter gives it,
// trails smoke, can waver up and down, and hurts the player on contact. Bullets pass through it;
// the flame burns it. It vanishes once off the screen or when the player is on another side.
#pragma once

#include "game/entities/Entity.h"

class WallBlast : public Entity {
public:
    int smokeDelay;     // frames since the last puff
    int smokeDelayMax;  // 5: a puff every sixth frame
    int smokeLife;      // life of the next puff; shrinks by one per puff, down to 10
    BOOL waverY;        // vertical wavering on
    float wavYDeg;      // wavering phase
    float wavYAmp;      // wavering amplitude

    WallBlast(int sside, float sx, float sy);

    void Update() override;
    const char* ClassName() const override { return "WallBlast"; }
};
