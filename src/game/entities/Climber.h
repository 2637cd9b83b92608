// An entity that moves on the wall from tile to tile: a step is requested in one of the eight
// directions, accepted only when the wall allows it, and the sprite then glides to the new tile at
// a fixed speed while the climb animation plays. Base of the player and the climbing creatures.
#pragma once

#include "game/entities/Entity.h"

class Climber : public Entity {
public:
    AnimationData aClimb;
    AnimationData aClimbIdle;
    int tX;            // tile column (1..8 on a side)
    int tY;            // tile row (grows downward)
    BOOL climbHold;    // set by the owner for one frame to idle in aClimbIdle
    float climbSpeed;  // world pixels per frame of the glide, on each axis

    Climber();

    void Update() override;
    void Draw() override;
    void Idle() override;
    int GetTileX() override;
    int GetTileY() override;
    const char* ClassName() const override { return "Climber"; }

    // Teleport to a tile: the pixel position is set at once.
    void SetPosition(int sx, int sy);
    // Requests a one-tile step; dirX and dirY are each -1, 0 or 1. Returns whether it was taken.
    BOOL Climb(int dirX, int dirY);
    // Whether Climb(dirX, dirY) would take the step now, without taking it.
    BOOL CanClimb(int dirX, int dirY);
    // The pixel position that belongs to the current tile.
    float TargetX() const { return 64.0f * tX - cx; }
    float TargetY() const { return 64.0f * tY - cy; }
};
