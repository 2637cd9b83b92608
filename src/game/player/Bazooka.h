// The bazooka's rocket in flight: flies straight at 5 pixels a frame (2.5 per axis on a diagonal),
// trails smoke, and bursts into a damaging explosion on the first hittable entity it touches.
// The rocket itself does no damage.
#pragma once

#include "game/entities/Entity.h"

class Bazooka : public Entity {
public:
    int smokeDelay;  // frames until the next smoke puff

    Bazooka(int sside, int sx, int sy, int sDirX, int sDirY);

    void Update() override;
    const char* ClassName() const override { return "Bazooka"; }

    // The picture frame (layer 8 of the shared pickup sheet) that shows a rocket flying in
    // direction (dirX, dirY).
    static int FrameForDirection(int dirX, int dirY);
};
