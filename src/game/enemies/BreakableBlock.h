// A destructible block filling one wall tile: climbers cannot enter its tile while it stands. Its
// picture cracks as it loses its eight hit points; high up the tower it shows the upper tower's
// stone. Destroyed, it splits into four quarter pieces that fly apart and fall.
#pragma once

#include "game/entities/Entity.h"
#include "game/world/Tower.h"

class BreakableBlock : public Entity {
public:
    // Above this player row the block shows the upper tower's picture.
    static constexpr int kUpperTowerRow = tower::kLevelTwoLine;

    BreakableBlock(int sside, float sx, float sy);

    void Update() override;
    void Die() override;
    void Hit(int locX, int locY) override;
    void Break() {}
    const char* ClassName() const override { return "BreakableBlock"; }
};
