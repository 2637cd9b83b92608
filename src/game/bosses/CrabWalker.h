// The boss at the end of the first level: a huge crab clinging to the left or right edge of the
// screen, half outside it. It rides the edge to line up with the player and fires volleys of
// wavering shots, leaps across to the other edge, descends an edge firing single shots, shakes in
// the middle, and stomps blocks loose from the building above. Beaten, it bursts in fifteen
// explosions, falls away and unlocks the screen.
#pragma once

#include "game/entities/Entity.h"

class GImage;
class GSound;

class CrabWalker : public Entity {
public:
    AnimationData aFire;  // the crab's own firing animation (the base's slot stays unused)
    AnimationData aSpaz;  // shaking
    int aiPhase;          // attack state: one of the kPhase values below
    int aiTimer;          // timer of the shaking and stomping phases and of the death sequence
    int aiShotCount;      // volleys fired in the current phase
    int aiLoop;           // pass counter of the leaping, descending and stomping phases
    int fireAmount;       // shots per volley (a volley always fires ten)

    static GImage* sprite_sheet;
    static GSound* wavSmash;
    static GSound* wavDie;  // declared for symmetry with the other bosses; never loaded

    // The attack states (aiPhase). The numbers are kept as they are: state dumps and traces record them.
    static constexpr int kPhaseLineUp = 0;         // ride the edge to line up with the player, fire two volleys
    static constexpr int kPhaseLeap = 1;           // leap off the edge
    static constexpr int kPhaseLeapLanding = 2;    // come back in on the other edge, somewhere on screen
    static constexpr int kPhaseSecondDescent = 9;  // change edges for the second descent
    static constexpr int kPhaseDescentTop = 10;    // start a descent one tile above the screen
    static constexpr int kPhaseDescend = 11;       // descend, firing one shot per tile
    static constexpr int kPhaseShake = 19;         // shake in the middle of the edge
    static constexpr int kPhaseStomp = 20;         // leap to and fro, shaking blocks loose from above
    static constexpr int kPhaseDying = 999;        // the death sequence (run by Update)

    // Resting lines and entry points of the two edges.
    static constexpr float kRightRest = 576;
    static constexpr float kLeftRest = -64;
    static constexpr float kRightEntry = 704;
    static constexpr float kLeftEntry = -128;

    static void Init();

    CrabWalker(int sside, int sx, int sy);

    void Update() override;
    void AI() override;
    void Die() override;
    void OffScreen() override;
    const char* ClassName() const override { return "CrabWalker"; }

    void Jump();
    void Fire(int fCount);
    void SwitchEdges();

private:
    void FaceRightEdge();
    void FaceLeftEdge();
};
