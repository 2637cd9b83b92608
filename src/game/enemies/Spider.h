// A small wall crawler that climbs tile by tile and hunts the player along a rook's path: along
// the row towards the player's column, then along the column towards the player's row, switching
// whenever a step is refused. One touch kills. It dies in place, and spiders left in the corner
// columns vanish once the player has turned to another side.
#pragma once

#include "game/entities/Climber.h"

class Spider : public Climber {
public:
    int chaseState;  // 0 waiting, 1 moving horizontally, 2 moving vertically
    int spawnDelay;  // frames before it starts to act

    // Rows within which a waiting spider may start its hunt.
    static constexpr int kNoticeRows = 8;

    Spider(int sside, float sx, float sy);

    void Update() override;
    void Die() override;
    void AI() override;
    BOOL Climb(int dirX, int dirY);
    const char* ClassName() const override { return "Spider"; }
};
