// The beam a laser robot fires across the screen: a long thin strip that lives nine frames, hurts
// the player on contact and, each frame it crosses the final boss's eye, holds the eye open.
#pragma once

#include "game/entities/Entity.h"
#include "game/entities/EntityLink.h"

class FinalBoss;

class LaserBeam : public Entity {
public:
    EntityLink<FinalBoss> boss;  // not owned

    static constexpr int kCopies = 66;  // pieces of the picture drawn in a row

    LaserBeam(int sside, float sx, float sy);

    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "LaserBeam"; }
};
