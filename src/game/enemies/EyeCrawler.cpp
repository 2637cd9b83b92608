#include "game/enemies/EyeCrawler.h"

#include <cmath>
#include <cstdlib>

#include "engine/DetMath.h"
#include "engine/GImage.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/WallBlast.h"
#include "game/world/Building.h"

GImage* EyeCrawler::sheet = nullptr;

void EyeCrawler::Init() { sheet = GImage::CreateNew("data/enemy/eyeCrawler.png"); }

EyeCrawler::EyeCrawler(int sside, float sx, float sy) {
    side = sside;
    tX = static_cast<int>(sx);
    tY = static_cast<int>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, sheet, 0, 0, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 0, 7, 0);
    Sprite::SetAnimationData(&aClimb, 0, 3, 8, 0);
    Sprite::SetAnimationData(&aClimbIdle, 0, 0, 2, 0);
    Sprite::SetAnimationData(&aDead, 12, 14, 5, 2);
    Idle();
    cx = 10;
    cy = 18;
    cw = 42;
    ch = 34;
    x = static_cast<float>(64 * tX - cx);
    y = static_cast<float>(64 * tY - cy);
    Sprite::SetAnimationData(&aBreakNonEye, 0, 3, 5, 1);
    Sprite::SetAnimationData(&aBreakHasEye, 0, 3, 5, 2);
    HP = MaxHP = 110;
    offX = offY = 10;
    isBoss = 1;
    hasEye = 0;
    chaseState = 0;
    climbSpeed = 1.0f;
    hurtPlayer = 1;
    recoverTimer = 0;
    bloodRate = 0;
}

BOOL EyeCrawler::Climb(int dx, int dy) {
    if (x != TargetX() && y != TargetY()) return FALSE;
    if (Building::lockScreen) {
        if (y + cy + ch + 64 * dy > Building::lockLo + 480) return FALSE;
        if (y + cy + 64 * dy < Building::lockHi) return FALSE;
    }
    return Climber::Climb(dx, dy);
}

void EyeCrawler::AI() {
    if (recoverTimer > 0)
        --recoverTimer;
    else if (HP < MaxHP)
        HP += 1;  // the armour regrows

    // Only whole and standing still does it wander.
    if (HP >= MaxHP && idleing) {
        static const int kStep[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        const int* s = kStep[std::rand() % 4];
        Climb(s[0], s[1]);
    }
}

void EyeCrawler::Update() {
    canHit = canFlameHit = 1;
    if (HP < kArmourFloor) {
        HP = kArmourFloor;
        // An empty shell shrugs off the next frame's hits.
        if (!hasEye) canHit = canFlameHit = 0;
    }

    // A damaged shell shows its cracks (the carrier's from another row of the sheet).
    if (HP < MaxHP && idleing) {
        sprite->PlayAnimation(hasEye ? &aBreakHasEye : &aBreakNonEye);
        sprite->SetAnimationOff();
        sprite->CurFrame = HP > 105 ? 1 : (HP > 100 ? 2 : 3);
    }

    Climber::Update();

    if (dead && sprite->isAnimationFinishedNext()) alive = false;

    Entity* player = ThePlayer();
    if (player && player->side != side && (tX == 1 || tX == 8)) alive = false;
}

void EyeCrawler::Hit(int locX, int locY) {
    recoverTimer = 50;
    FinalBoss* eye = boss;
    if (hasEye && HP <= kArmourFloor && eye) {
        // The armour is down: the shot reaches the eye inside.
        bloodRate = 3;
        if (eye->HP % 5 == 0 && wavEBHit) wavEBHit->Play();
        eye->HP -= 1;
        GameEngine::gEngine->Shake(8, 0, 5, 20);
    } else {
        bloodRate = 1;
    }
    Entity::Hit(locX, locY);
}

void EyeCrawler::Die() {
    if (dead) return;
    dead = 1;
    sprite->PlayAnimation(&aDead);
    if (wavDie0) wavDie0->Play();
}

BOOL EyeCrawler::ShootAtPlayer() {
    if (HP < MaxHP) return FALSE;
    Entity* player = ThePlayer();
    if (!player) return FALSE;
    auto* shot = new WallBlast(side, x + 26, y + 26);
    entList.push_back(shot);
    if (wavFireShot) wavFireShot->Play();
    const float a = shot->angleToEntity(player);
    shot->velX = -detmath::Cos(a) * 3.0f;
    shot->velY = -detmath::Sin(a) * 3.0f;
    return TRUE;
}
