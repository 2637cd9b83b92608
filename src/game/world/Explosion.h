// The blast animation that generators, rockets and bosses leave behind. A damaging blast also hits
// every hittable creature it touches, each frame it lasts; bosses only one frame in three, and
// never the player.
#pragma once

#include "game/entities/Entity.h"

class Explosion : public Entity {
public:
    BOOL damaging;  // hits the entities it touches

    Explosion(int sside, int sx, int sy, BOOL sDam);

    void Update() override;
    const char* ClassName() const override { return "Explosion"; }
};
