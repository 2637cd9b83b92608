// The boss at the end of the second level: a squid hiding in the wall. It comes out, fires a volley
// of six slow shots at the player, withdraws, spits a marker onto a wall tile and drives two
// tentacles through that tile, one along its row from a side edge of the screen and one along its
// column from above or below. Below half strength it aims the tentacles at the player's own tile.
// Beaten, it bursts in seventeen explosions, every tentacle withers and the screen unlocks.
#pragma once

#include "game/entities/Entity.h"
#include "game/entities/EntityLink.h"

class Player;
class SquidTarget;

class BossSquid : public Entity {
public:
    AnimationData aIdleLeft;
    AnimationData aIdleRight;
    AnimationData aComeOut;
    AnimationData aGoIn;
    int aiPhase;                         // fight state: one of the kPhase values below
    EntityLink<SquidTarget> targetShot;  // the marker in flight (not owned)
    int shotTimer;                       // frames since the last shot
    int shotTimerMax;                    // 60
    int shotsTaken;                      // shots fired in the current volley
    float shotSpeed;                     // pixels per frame of each shot
    int armTargetX, armTargetY;          // tile the next tentacle attack goes through
    int aiTimer;                         // frame counter of the death sequence
    int armDelay;                        // countdown of the waits before and after the tentacles

    // The fight states (aiPhase). The numbers are kept as they are: state dumps and traces record them.
    static constexpr int kPhaseEmerge = 0;         // coming out, pushing aside tentacles lying over the body
    static constexpr int kPhaseVolley = 5;         // six shots at the player
    static constexpr int kPhaseWithdraw = 10;      // starts going back into the wall
    static constexpr int kPhaseSpitMarker = 15;    // once in, spits the marker onto the chosen tile
    static constexpr int kPhaseMarkerFlight = 20;  // waits for the marker to land
    static constexpr int kPhaseArmWait = 25;       // a pause before the tentacles
    static constexpr int kPhaseArms = 30;          // drives the two tentacles through the marked tile
    static constexpr int kPhaseArmsOut = 35;       // a pause with the tentacles out, then emerges again
    static constexpr int kPhaseDying = 999;        // the death sequence (run by Update)

    // Where shots and the marker leave the body, from its corner.
    static constexpr int kMouthX = 94;
    static constexpr int kMouthY = 108;

    BossSquid(int sside, int sx, int sy);

    void Update() override;
    void AI() override;
    void Die() override;
    const char* ClassName() const override { return "BossSquid"; }

    // Drives a tentacle in from tile (uX, uY), growing in direction sDir.
    void CreateArm(int uX, int uY, int sDir);

    // The body's area: from the body's corner across to the box's right edge, and from the box's
    // top to its bottom. The emerging body clears tentacles whose centre lies inside (the left and
    // top bounds excluded); a marker tile whose corner lies inside (every bound included) is never
    // chosen while the squid is above half strength.
    bool CentreInBody(float px, float py) const;
    bool CornerInBody(int px, int py) const;
    // Picks the tile of the next tentacle attack into armTargetX, armTargetY.
    void ChooseArmTarget();

private:
    // The steps of AI.
    void Emerge();
    void FireVolley(Player* player);
    void SpitMarker();
    void AwaitMarker();
    void DriveArms();
};
