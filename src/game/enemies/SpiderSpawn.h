// An invisible nest on the wall. While the player is near on its side it counts; halfway it shows
// itself, at the end it hatches and releases a spider on the tile below, then hides and starts
// again. It cannot be shot or burnt.
#pragma once

#include "game/entities/Entity.h"

class SpiderSpawn : public Entity {
public:
    int spawnTimerMax;
    int spawnTimer;
    AnimationData aSpawn;  // the hatching

    // Vertical distance between centres within which the nest counts.
    static constexpr float kNoticeDistance = 480.0f;

    SpiderSpawn(int sside, float sx, float sy);

    void Update() override;
    void AI() override;
    const char* ClassName() const override { return "SpiderSpawn"; }
};
