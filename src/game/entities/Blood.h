// A drop of blood: falls under gravity, drawn as a small green box, gone once below the screen.
#pragma once

#include "game/entities/Entity.h"

class Blood : public Entity {
public:
    Blood(int sside, int sx, int sy, float svelX, float svelY);

    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Blood"; }
};
