// The character the user steers: a climber that moves tile by tile on the current side, walks
// round the tower's corners onto the next side, aims in eight directions while standing, fires the
// selected weapon, dies from one touch and comes back while lives remain. It also drives the
// camera (Building::scrollY). There is one player at a time, element 0 of the entity list.
#pragma once

#include <functional>

#include "game/entities/Climber.h"

class Flame;
class GImage;
class GSound;

class Player : public Climber {
public:
    int aimDirX;  // -1, 0, 1 (1 = right)
    int aimDirY;  // -1, 0, 1 (1 = down)
    int fallX;    // tile where the player last died
    int fallY;
    int weapon;   // 0 gun, 1 flame thrower, 2 bazooka
    int ammo[3];  // ammo[0] is never consumed
    BOOL haveWeapon[3];
    int shotDelay;      // frames until the bazooka may fire again
    int popperHalt;     // clinging popper babies this frame; more than 2 stop climbing
    Flame* startFlame;  // muzzle segment of the burning flame chain, or null
    int climbSound;     // alternates the two climbing sounds
    int reviveDelay;    // frames to wait below the screen before reviving
    AnimationData aClimbLeft;
    AnimationData aClimbRight;
    AnimationData aDeadFall;

    static BOOL isRotating;
    static Player* body;
    static GImage* sprite_sheet[3];
    static GSound* wavFire;
    static GSound* wavFire2;
    static GSound* wavClimb;
    static GSound* wavClimb2;
    static GSound* wavScream;
    static GSound* wavBazooka;
    static int Lives;
    static int StartingLives;

    static void Init();
    static Player* Get();

    Player(int sx, int sy);
    ~Player() override;

    void Update() override;
    void Idle() override;
    void Die() override;
    void OffScreen() override;
    const char* ClassName() const override { return "Player"; }

    void Rotate(int dir);
    void Aim(int aX, int aY);
    BOOL Climb(int dirX, int dirY);
    // Whether Climb(dirX, dirY) would take the step now (the walls, the tiles' occupants, the
    // screen lock, a clinging swarm, a glide not finished), without taking it.
    BOOL CanClimb(int dirX, int dirY);
    void OnHit();

    void NextWeapon();
    void ChangeWeapon(int wep);
    void Fire();
    // What the gun's hit scan along (aX, aY) from tile (fromX, fromY) of this side hits first:
    // tile by tile within the side's columns and the screen's rows, the first thing a shot can hurt
    // (and that `counts`, when given, accepts). Null when the line runs out.
    Entity* HitScan(int fromX, int fromY, int aX, int aY, const std::function<bool(Entity*)>& counts = nullptr);
};
