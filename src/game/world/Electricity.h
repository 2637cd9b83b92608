// A sparking barrier on the wall. It does not hurt; it occupies the tiles under its box, so no
// climber can pass it while it stands. The last generator of its group switches it off.
#pragma once

#include "game/entities/Entity.h"

class GImage;

class Electricity : public Entity {
public:
    static GImage* sheet;

    // Loads the barrier picture; called once at start-up.
    static void Init();

    Electricity(int sside, int sx, int sy);

    void Update() override;
    const char* ClassName() const override { return "Electricity"; }
};
