// The armoured shells of the final boss's crawler form: four wander the wall a tile at a time,
// regrow their armour a point a frame, hurt on contact and shoot when the boss tells them to. One
// of them secretly carries the eye: once its armour is chipped down, every further shot wounds the
// boss. The others' shells never break.
#pragma once

#include "game/entities/Climber.h"
#include "game/entities/EntityLink.h"

class FinalBoss;
class GImage;

class EyeCrawler : public Climber {
public:
    int chaseState;              // kept at 0
    EntityLink<FinalBoss> boss;  // set on the eye carrier only (not owned)
    BOOL hasEye;
    AnimationData aBreakNonEye;
    AnimationData aBreakHasEye;
    int recoverTimer;  // frames before the armour starts to regrow

    // Armour never stays below this: a shell hit down further is made whole to it next frame.
    static constexpr int kArmourFloor = 100;

    static GImage* sheet;
    static void Init();

    // sx, sy: tile column and row.
    EyeCrawler(int sside, float sx, float sy);

    void Update() override;
    void AI() override;
    void Die() override;
    void Hit(int locX, int locY) override;
    const char* ClassName() const override { return "EyeCrawler"; }

    // A step that never leaves the locked screen.
    BOOL Climb(int dx, int dy);
    // Fires a shot at the player unless damaged; returns whether it fired.
    BOOL ShootAtPlayer();
};
