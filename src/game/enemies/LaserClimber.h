// The two wall robots of the final boss's small-eye form. They ride up and down opposite edges of
// the screen in opposite directions, bouncing at the screen's top and bottom; where they pass at
// the same height both stop and the one on the left fires a beam across to the other. The beam
// hurts the player and pries the boss's eye open. A shot halts a robot for ten frames, which is how
// the player steers where the two meet.
#pragma once

#include "game/entities/Entity.h"
#include "game/entities/EntityLink.h"

class FinalBoss;
class GImage;

class LaserClimber : public Entity {
public:
    EntityLink<Entity> buddy;  // the other robot (not owned)
    float aiPhase;             // vertical velocity kept while halted or firing
    int aiTimer;               // frames of halt left after a hit
    int shotTimer;             // frames before it may fire again
    AnimationData aLaserShot;
    EntityLink<FinalBoss> boss;  // not owned

    static GImage* sheet;
    static void Init();

    LaserClimber(int sside, float sx, float sy);

    void Update() override;
    void AI() override;
    void Hit(int locX, int locY) override;
    const char* ClassName() const override { return "LaserClimber"; }

    // The robot's top on the screen (where its sprite is drawn).
    float ScreenY() const;
};
