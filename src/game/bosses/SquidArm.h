// One segment of a squid tentacle. A tentacle is a doubly linked chain of segments: lastArm leads
// towards the root, nextArm towards the tip. The tip slides onto its tile, then pays out the next
// segment one tile further on in its growth direction, and so on until it leaves the screen's
// neighbourhood. Only the tip hurts the player. Each segment takes four hits; a killed segment
// splits its tentacle into two halves that stay on the wall.
#pragma once

#include "game/entities/Entity.h"
#include "game/entities/EntityLink.h"

class SquidArm : public Entity {
public:
    int spawnTimer;          // frames until it pays out its child; -1 once done (or never, for a root)
    int spawnTimerMax;       // 5
    float targetX, targetY;  // where it slides to
    float speedX, speedY;    // slide speed, pixels per frame
    int startX, startY;      // where it started
    BOOL head;               // the growing tip
    int oDir;                // growth direction: one of the kGrow values below
    BOOL yFlip;
    EntityLink<SquidArm> nextArm;  // towards the tip (not owned)
    EntityLink<SquidArm> lastArm;  // towards the root (not owned)

    // Growth directions (oDir).
    static constexpr int kGrowRight = 0;
    static constexpr int kGrowUp = 1;
    static constexpr int kGrowLeft = 2;
    static constexpr int kGrowDown = 3;

    // Picture cells on layer 0, for segments of an up-down and of a sideways tentacle.
    static constexpr int kTipFrameV = 6, kTipFrameH = 5;
    static constexpr int kAloneFrameV = 7, kAloneFrameH = 10;
    static constexpr int kCutEndFrameV = 3, kCutEndFrameH = 8;
    static constexpr int kRootFrameV = 4, kRootFrameH = 9;
    static constexpr int kMiddleFrameV = 2, kMiddleFrameH = 1;

    SquidArm(int sside, float sx, float sy, float tx, float ty, int sdir);

    void Update() override;
    void AI() override;
    void Die() override;
    const char* ClassName() const override { return "SquidArm"; }

    // Pays out the next segment one tile on in dir; false when this one is too far off screen.
    BOOL SpawnArm(int dir);
    // The picture cell the segment's place in its chain calls for.
    int ChainFrame() const;
};
