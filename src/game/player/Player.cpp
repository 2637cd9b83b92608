#include "game/player/Player.h"

#include "engine/GImage.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/entities/Blood.h"
#include "game/world/Building.h"

#include "game/player/Flame.h"
#include "game/world/Tower.h"

BOOL Player::isRotating = 0;
Player* Player::body = nullptr;
GImage* Player::sprite_sheet[3] = {nullptr, nullptr, nullptr};
GSound* Player::wavFire = nullptr;
GSound* Player::wavFire2 = nullptr;
GSound* Player::wavClimb = nullptr;
GSound* Player::wavClimb2 = nullptr;
GSound* Player::wavScream = nullptr;
GSound* Player::wavBazooka = nullptr;
int Player::Lives = 5;
int Player::StartingLives = 5;

namespace {
Entity* CurrentPlayer() { return Player::body; }
void PlayerTouched(Entity* p) { static_cast<Player*>(p)->OnHit(); }
void PlaySound(GSound* s) {
    if (s) s->Play();
}
}  // namespace

void Player::Init() {
    sprite_sheet[0] = GImage::CreateNew("data/player/player.png");
    sprite_sheet[1] = GImage::CreateNew("data/player/playerFire.png");
    sprite_sheet[2] = GImage::CreateNew("data/player/playerBaz.png");
    wavFire = new GSound("data/player/fire.wav");
    wavFire2 = new GSound("data/player/fire2.wav");
    wavClimb = new GSound("data/player/climb.wav");
    wavClimb2 = new GSound("data/player/climb2.wav");
    wavScream = new GSound("data/player/scream.wav");
    wavBazooka = new GSound("data/player/bazooka.wav");
    // The entity base reaches the player and its reaction to a touch through these.
    Entity::playerGetter = CurrentPlayer;
    Entity::playerOnHit = PlayerTouched;
}

Player* Player::Get() { return body; }

Player::Player(int sx, int sy) {
    aimDirX = 1;
    aimDirY = 0;
    tX = sx;
    tY = sy;
    x = static_cast<float>(sx * 64);
    y = static_cast<float>(sy * 64);
    sprite = new Sprite(1, GameEngine::gEngine, sprite_sheet[0], 0, 0, 64, 64, 0, 0);
    Sprite::SetAnimationData(&aFire, 0, 0, 5, 1);
    Sprite::SetAnimationData(&aDead, 4, 6, 5, 0);
    Sprite::SetAnimationData(&aDeadFall, 4, 6, 5, 5);
    Sprite::SetAnimationData(&aClimbLeft, 4, 7, 5, 6);
    Sprite::SetAnimationData(&aClimbRight, 0, 3, 5, 6);
    Sprite::SetAnimationData(&aClimb, 0, 3, 4, 0);
    Sprite::SetAnimationData(&aClimbIdle, 3, 3, 5, 0);
    sprite->PlayAnimation(&aIdle);
    sprite->SetAnimationOff();
    cx = 50;
    cy = 30;
    cw = 40;
    ch = 64;
    offX = 15;
    offY = 0;
    fallX = fallY = 0;
    climbSound = 0;
    reviveDelay = 0;
    shotDelay = 0;
    popperHalt = 0;
    invinceTimerMax = 200;
    weapon = 0;
    for (int i = 0; i < 3; ++i) ammo[i] = 0;
    haveWeapon[0] = 1;
    haveWeapon[1] = 0;
    haveWeapon[2] = 0;
    startFlame = nullptr;
}

Player::~Player() {
    if (body == this) body = nullptr;
}

void Player::Update() {
    if (Building::scenePhase > 0) {
        sprite->PlayAnimation(&aDeadFall);
        return;
    }
    popperHalt = 0;

    if (tX < tower::kFirstColumn) Rotate(-1);
    if (tX > tower::kLastColumn) Rotate(1);

    Climber::Update();

    // The chain's muzzle segment is about to go out: never touch it again.
    if (startFlame && startFlame->life == 1) startFlame = nullptr;

    if (!dead) {
        // The camera follows with a dead band between screen rows 192 and 224.
        float& s = Building::scrollY;
        if (y - s < 192) s -= climbSpeed;
        if (y - s > 224) s += climbSpeed;
        if (s > -32) s = -32;
        if (Building::lockScreen) {
            if (s > Building::lockLo) s = static_cast<float>(Building::lockLo);
            if (s < Building::lockHi) s = static_cast<float>(Building::lockHi);
        }
    }

    if (dead && sprite->isAnimationFinished()) sprite->PlayAnimation(&aDeadFall);

    if (shotDelay > 0) --shotDelay;
}

void Player::Rotate(int dir) {
    GameEngine* e = GameEngine::gEngine;
    e->rotx += 3.0f * dir;
    e->rotxdir = dir;
    tower::TurnCorner(&side, &tX);
}

void Player::Idle() {
    // Standing frame and layer by aim; rows are y = -1, 0, 1, columns x = -1, 0, 1.
    static const int kFrame[3][3] = {{3, 0, 3}, {0, 0, 0}, {3, 0, 3}};
    static const int kLayer[3][3] = {{2, 2, 1}, {3, 1, 1}, {3, 4, 4}};
    int f = kFrame[aimDirY + 1][aimDirX + 1];
    int l = kLayer[aimDirY + 1][aimDirX + 1];
    Sprite::SetAnimationData(&aIdle, f, f, 5, l);
    Climber::Idle();
}

void Player::Aim(int aX, int aY) {
    if (!idleing) return;
    aimDirX = aX;
    aimDirY = aY;
}

BOOL Player::CanClimb(int dirX, int dirY) {
    // A falling body climbs nowhere: its death switched the animation off, which would otherwise
    // let one step through (a climb cycle mid-fall, a checkpoint, even a corner turn).
    if (dead) return FALSE;
    if (popperHalt > 2) return FALSE;
    if (Building::lockScreen) {
        if (cy + y + ch + 64 * dirY > Building::lockLo + 480) return FALSE;
        if (cy + y + 64 * dirY < Building::lockHi) return FALSE;
        if (tower::OffTheWall(tX + dirX)) return FALSE;
    }
    return Climber::CanClimb(dirX, dirY);
}

BOOL Player::Climb(int dirX, int dirY) {
    if (!CanClimb(dirX, dirY) || !Climber::Climb(dirX, dirY)) return FALSE;

    // A step past column 1 or 8 is the start of a corner turn: the checkpoint is the tile on the
    // next side where the turn ends, so a respawn there never lands beside the wall.
    int cpX = tX, cpSide = side;
    tower::TurnCorner(&cpSide, &cpX);
    Building::SaveStepLocation(cpX, tY, cpSide);
    Building::saveStepCount++;
    if (climbSound == 0) {
        PlaySound(wavClimb);
        climbSound = 1;
    } else {
        PlaySound(wavClimb2);
        climbSound = 0;
    }
    if (dirY == 0) {
        if (dirX == -1) sprite->PlayAnimation(&aClimbLeft);
        if (dirX == 1) sprite->PlayAnimation(&aClimbRight);
    }
    return TRUE;
}

void Player::OnHit() { Die(); }

void Player::Die() {
    if (dead) return;
    sprite->SetAnimationOff();
    Climber::Die();
    fallX = tX;
    fallY = tY;
    PlaySound(wavScream);
    --Lives;
    reviveDelay = 10;
}

void Player::OffScreen() {
    GameEngine* e = GameEngine::gEngine;
    if (reviveDelay > 0 || Lives < 0) {
        --reviveDelay;
        if (reviveDelay >= 0) return;
        // Only reachable with no lives left: fade out over 200 frames, then start over.
        if (e->fadePerc < 1.0f) {
            e->fadePerc += 0.005f;
        } else {
            // The restart replaces this very object; it is carried out once the frame's entity
            // pass is over, so nothing here is touched after it is freed.
            Building::RestartGame();
            e->fadePerc = 0;
        }
        return;
    }
    SetPosition(fallX, fallY);
    applyGravity = 0;
    dead = 0;
    Idle();
    velX = velY = 0;
    invinceTimer = invinceTimerMax;
    if (!Building::lockScreen) Building::MoveToLastCheckPoint();
}

// NextWeapon, ChangeWeapon and Fire live with the projectiles in Weapons.cpp.
