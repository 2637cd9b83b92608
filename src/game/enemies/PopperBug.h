// A flying bug that waits just off the left or right edge of the view until the player is level
// with it, then crosses the view. Killed, it hangs in the air while it dies, bursts into a swarm
// of popper babies and falls. One that crosses unharmed is removed past the far edge.
#pragma once

#include "game/entities/Entity.h"

class PopperBug : public Entity {
public:
    int aiPhase;  // 0 waiting, 1 flying
    int aiDir;    // -1 or 1 while flying

    // How near the player's centre must be vertically for the bug to set off, and its speed.
    static constexpr float kLevelDistance = 100.0f;
    static constexpr float kSpeed = 2.0f;
    // How far past an edge of the view a bug goes before it is removed.
    static constexpr float kPastEdge = 100.0f;

    PopperBug(int sside, float sx, float sy);

    void Update() override;
    void Die() override;
    void AI() override;
    const char* ClassName() const override { return "PopperBug"; }
};
