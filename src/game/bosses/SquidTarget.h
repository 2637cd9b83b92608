// The marker the squid spits from its hiding place: it accelerates towards a chosen wall tile on
// each axis, snaps onto it, splats, and lies there for a while to show where the tentacles will
// cross. It cannot be shot and hurts nobody.
#pragma once

#include "game/entities/Entity.h"

class SquidTarget : public Entity {
public:
    BOOL soundPlayed;        // the splat has been heard
    float targetX, targetY;  // where it lands, wall pixels
    float acc;               // acceleration per axis, pixels per frame squared

    SquidTarget(int sside, float sx, float sy, float stargetX, float stargetY);

    void Update() override;
    const char* ClassName() const override { return "SquidTarget"; }

    BOOL atTarget();
};
