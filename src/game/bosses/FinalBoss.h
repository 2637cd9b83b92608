// The giant eye at the top of the tower. Between vulnerable pauses on its home wall it teleports:
// the screen flickers black while it changes shape, then the eye and the player are moved to
// another wall where it fights in one of three forms (a flying eye that charges and drops spiders,
// a slit eye that only the lasers of two wall robots can pry open, four armoured crawlers one of
// which carries the eye), then it flickers home again. Spent, it dies in a long chain of explosions
// and the screen fades into the ending.
#pragma once

#include "game/entities/Entity.h"
#include "game/entities/EntityLink.h"

class EyeCrawler;
class SquidTarget;

class FinalBoss : public Entity {
public:
    int blinkTimer, blinkTimerMax;
    int aiPhase;              // state: one of the kPhase values below
    int aiTimer;              // countdown of the current state (frames)
    int aiTimerMax;           // unused
    int aiLoop;               // unused (reset when a form's fight begins)
    int aiTargetArea;         // form of the current or next excursion: one of the kForm values below
    int aiLastTargetArea;     // the previous one (-1 before the first)
    int aiPhaseTimer;         // frames left of a form's fight
    SquidTarget* targetShot;  // unused
    BOOL wallBlasterLoc[4];   // unused
    AnimationData aBlink;
    AnimationData aBlink2;
    AnimationData aEyeFly;
    AnimationData aEyeShoot;
    AnimationData aEyeSmall;
    BOOL EyeFlyTransformed;  // the eye is in one of its three forms
    int EyeSmallHitTimer;    // frames the slit eye stays open after a laser
    AnimationData aEyeMult;
    EntityLink<EyeCrawler> eCrawl[4];      // the crawler form's shells (the list owns them)
    int chasePhase;                        // flying eye: one of the kChase values below
    float waverSpeed, waverDeg, waverAmp;  // unused
    float chaseSpeed;                      // the charge stops speeding up an axis at this speed
    float chaseDeg;                        // direction of the charge
    float turnSpeed;
    BOOL hasChased;

    // The boss of the running game (the level script sets it); null when there is none.
    static EntityLink<FinalBoss> debug_boss;

    // Home: where the eye rests between forms, its wall, and the camera's row there.
    static constexpr int kHomeX = 256;
    static constexpr int kHomeY = -43392;
    static constexpr int kHomeSide = 3;
    static constexpr int kArenaScroll = -43520;
    // The longest a form's fight lasts, in frames.
    static constexpr int kFormFrames = 1500;

    // The states (aiPhase). The numbers are kept as they are: state dumps and traces record them.
    // At home and on the way between walls:
    static constexpr int kPhaseAwaitCamera = -1;   // waits for the camera to reach the arena
    static constexpr int kPhaseHome = 0;           // starts a rest at home
    static constexpr int kPhaseExposed = 1;        // rests at home, open to hits, then picks the next form
    static constexpr int kPhaseFlickerOut = 2;     // the screen flickers while the eye changes shape
    static constexpr int kPhaseBlackout = 10;      // black screen, then the eye takes the form
    static constexpr int kPhaseArrive = 11;        // the eye and the player move to the form's wall
    static constexpr int kPhaseArrivalPause = 12;  // a pause on the form's wall
    static constexpr int kPhaseFormEnd = 20;       // the form's fight ends: everything but the player and eye goes
    static constexpr int kPhaseFlickerBack = 21;   // the screen flickers while the eye changes back
    static constexpr int kPhaseHoldHome = 22;      // back home, holding the player on the home wall
    static constexpr int kPhaseHomeAgain = 23;     // takes its home form, then rests (or dies)
    static constexpr int kPhaseDeathStart = 50;    // the music stops
    static constexpr int kPhaseDying = 51;         // the chain of explosions and the fade
    static constexpr int kPhaseEnded = 52;         // the ending runs; the eye does nothing
    static constexpr int kPhaseFormStart = 99;     // the form's fight begins
    // A form's fight (every state above kPhaseFormStart):
    static constexpr int kPhaseFlyStart = 100;       // flying eye: starts a round of chasing
    static constexpr int kPhaseFly = 105;            // drifts and charges, dropping spiders
    static constexpr int kPhaseFlyShootPose = 110;   // takes the shooting pose
    static constexpr int kPhaseFlyShootWait = 111;   // waits for the pose to finish
    static constexpr int kPhaseFlyRing = 112;        // fires a ring of eight shots
    static constexpr int kPhaseSmallStart = 200;     // small eye: the two wall robots appear
    static constexpr int kPhaseSmall = 201;          // the robots' lasers pry the eye open
    static constexpr int kPhaseCrawlersStart = 300;  // crawlers: four shells appear, one carrying the eye
    static constexpr int kPhaseCrawlers = 301;       // the shells wander and shoot in turn

    // The three forms (aiTargetArea).
    static constexpr int kFormFlying = 0;
    static constexpr int kFormSmall = 1;
    static constexpr int kFormCrawlers = 2;

    // The flying eye's chase (chasePhase).
    static constexpr int kChaseDrift = 0;   // drifting, slowing down, creeping towards the player
    static constexpr int kChaseAim = 1;     // aims at where the player is now
    static constexpr int kChaseCharge = 2;  // charges along that line

    FinalBoss(int sside, int sx, int sy);

    void Update() override;
    void AI() override;
    void Die() override;
    void Hit(int locX, int locY) override;
    const char* ClassName() const override { return "FinalBoss"; }
    bool ThinksEverywhere() const override { return true; }
    bool ShownWhenBlackedOut() const override { return true; }

    void EyeFlyToggle();
    void EyeFlyTransform();
    void EyeFlyTransformBack();
    void EyeSmallToggle();
    void EyeSmallTransform();
    void EyeSmallTransformBack();
    void EyeMultToggle();
    void EyeMultTransform();
    void EyeMultTransformBack();
    // A laser touched the slit eye: it opens and stays open for a while.
    void EyeSmallHit();

    // The toggle and the transform-back of the form aiTargetArea names.
    void ToggleForm();
    void TransformBack();
    // The eye is fighting in one of its forms (away from home).
    bool InFormFight() const { return aiPhase > kPhaseFormStart; }
    // The "HP=..., EntCount:..." line of the debugging overlay.
    static void FormatDebugLine(char* out, int size);

private:
    void SetFrames(int w, int h);
    void SetBox(int scx, int scy, int scw, int sch);

    // The steps of AI: at home, between walls and dying, one state at a time.
    void BetweenForms();
    void AwaitCamera();
    void RestExposed();
    void FlickerOut();
    void Blackout();
    void ArriveOnFormWall();
    void BeginFormFight();
    void EndFormFight();
    void FlickerBack();
    void HoldPlayerAtHome();
    void Dying();
    // The fight in the current form.
    void FightInForm();
    void FlyingEye();
    void FireRing();
    void BringRobots();
    void BringCrawlers();
    void CrawlerShot();
};
