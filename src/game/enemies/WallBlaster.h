// A turret hidden in a wall tile: it waits hidden, pops out, fires three slow shots at the player
// fifty frames apart, and hides again. It can only be shot while it is out. It freezes while a
// living player is more than 576 pixels away. Its wreck stays in the wall until scrolled off.
#pragma once

#include "game/entities/Entity.h"

class WallBlaster : public Entity {
public:
    AnimationData aHide;
    AnimationData aPopout;
    AnimationData aShot;
    int hideTimer, hideTimerMax;    // frames spent hidden, 100 before popping out
    int awakeTimer, awakeTimerMax;  // -1 while hidden; else frames since popping out or the last shot
    int shotCount, shotCountMax;    // shots since popping out, 3 per appearance
    float shotSpeed;

    // Beyond this distance from a living player the blaster does nothing.
    static constexpr float kWakeDistance = 576.0f;

    WallBlaster(int sside, float sx, float sy);

    void Update() override;
    void AI() override;
    void Die() override;
    const char* ClassName() const override { return "WallBlaster"; }
};
