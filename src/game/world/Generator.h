// Powers the barriers around it. It can be shot (not burnt); when it is destroyed it leaves a
// harmless blast, and if no other generator stands within 240 pixels vertically, every barrier
// within 240 pixels vertically of it switches off.
#pragma once

#include "game/entities/Entity.h"

class Generator : public Entity {
public:
    // Vertical reach of a generator group, between centres.
    static constexpr float kGroupReach = 240.0f;

    Generator(int sside, int sx, int sy);

    void Die() override;
    const char* ClassName() const override { return "Generator"; }
};
