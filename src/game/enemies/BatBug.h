// A flying wall creature. It hovers on its spot with a slow bob until the player comes within 300
// pixels, then swoops along the line it saw at that moment, speeding up to 2 pixels per frame on
// each axis. Once the player is more than 250 pixels away it brakes and bobs again, and from its
// first swoop on it also creeps one pixel per frame towards the player. One touch kills.
#pragma once

#include "game/entities/Entity.h"

class BatBug : public Entity {
public:
    int chasePhase;    // 0 hovering, 1 starting a swoop, 2 swooping
    float waverSpeed;  // bob phase step per frame, radians
    float waverDeg;    // bob phase, radians
    float waverAmp;    // bob amplitude (vertical speed)
    float chaseSpeed;  // speed limit per axis while swooping
    float chaseDeg;    // swoop direction: from the player towards the bat when it started
    float turnSpeed;   // kept for tuning; the swoop does not turn
    BOOL hasChased;    // has swooped at least once
    AnimationData aSwipe;

    // Nearer than this the hovering bat swoops; farther than kLoseDistance a swoop ends.
    static constexpr float kSwoopDistance = 300.0f;
    static constexpr float kLoseDistance = 250.0f;
    // Speed change per frame while swooping and braking.
    static constexpr float kAccel = 0.1f;

    BatBug(int sside, float sx, float sy);

    void Update() override;
    void AI() override;
    const char* ClassName() const override { return "BatBug"; }
};
