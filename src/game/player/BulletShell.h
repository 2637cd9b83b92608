// The spent cartridge the gun ejects: a falling speck of debris, gone once below the view.
#pragma once

#include "game/entities/Blood.h"

class BulletShell : public Blood {
public:
    BulletShell(int sside, int sx, int sy, float svelX, float svelY);

    void Draw() override;
    const char* ClassName() const override { return "BulletShell"; }
};
