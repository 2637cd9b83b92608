// A wall block sent down during the crab walker fight: it hangs trailing smoke for a 50-frame
// warning, then drops five pixels a frame, hurting the player on contact. It cannot be shot.
#pragma once

#include "game/entities/Entity.h"

class FallingBlock : public Entity {
public:
    int delayTime;  // frames left before it starts to fall

    // A block this far below the bottom of the view is gone for good and is removed.
    static constexpr float kGoneBelowView = 480.0f;

    FallingBlock(int sside, int sx, int sy);

    void Update() override;
    const char* ClassName() const override { return "FallingBlock"; }
};
