// A small creature that sits against a solid tile in its row and every so often flips over and
// shoots horizontally across to the next solid tile on the other side, hurting the player it
// passes through. It vanishes once its death animation has played.
#pragma once

#include "game/entities/Entity.h"

class Bouncer : public Entity {
public:
    float speed;               // pixels per frame in flight
    AnimationData aFlip;       // the full flip before a flight
    AnimationData aSmallFlip;  // the tumble of the flight itself
    int bounceDelay;           // landed frames left before the next flip
    int bounceDelayMax;        // 100

    Bouncer(int sside, int sx, int sy);

    void Update() override;
    void AI() override;
    void Die() override;
    const char* ClassName() const override { return "Bouncer"; }

    // Whether the tile on its leading side (left when the sprite faces 1, right when it faces -1)
    // is solid. Where no segment holds its row there is no wall to fly along, and it counts as
    // landed.
    BOOL isLanded();
};
