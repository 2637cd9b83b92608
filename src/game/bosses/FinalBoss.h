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
    int aiPhase;  // state: -1 waiting for the camera, 0..23 at home and between walls, 50..52 dying,
                  // 100..112 flying eye, 200..201 small eye, 300..301 crawlers
    int aiTimer;
    int aiTimerMax;
    int aiLoop;
    int aiTargetArea;      // form of the current or next excursion: 0 flying, 1 small, 2 crawlers
    int aiLastTargetArea;  // the previous one (-1 before the first)
    int aiPhaseTimer;      // frames left of a form's fight
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
    EntityLink<EyeCrawler> eCrawl[4];  // the crawler form's shells (the list owns them)
    int chasePhase;  // flying eye: 0 drifting, 1 aiming, 2 charging
    float waverSpeed, waverDeg, waverAmp;
    float chaseSpeed;  // the charge stops speeding up an axis at this speed
    float chaseDeg;    // direction of the charge
    float turnSpeed;
    BOOL hasChased;

    // The boss of the running game (the level script sets it); null when there is none.
    static EntityLink<FinalBoss> debug_boss;

    // Home: where the eye rests between forms, and the camera's row there.
    static constexpr int kHomeX = 256;
    static constexpr int kHomeY = -43392;
    static constexpr int kArenaScroll = -43520;
    static constexpr int kFormFrames = 1500;

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
    // The "HP=..., EntCount:..." line of the debugging overlay.
    static void FormatDebugLine(char* out, int size);

private:
    void SetFrames(int w, int h);
    void SetBox(int scx, int scy, int scw, int sch);
    void FlyingEye();
    void CrawlerShot();
    void Dying();
};
