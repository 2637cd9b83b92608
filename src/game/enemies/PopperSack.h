// A sac stuck to the wall. It blocks the tile it covers for climbing and never hurts by touch;
// killed (three hits), it bursts at once into a swarm of popper babies and is gone when its
// bursting picture has played.
#pragma once

#include "game/entities/Entity.h"

class PopperSack : public Entity {
public:
    PopperSack(int sside, int sx, int sy);

    void Update() override;
    void Die() override;
    const char* ClassName() const override { return "PopperSack"; }
};
