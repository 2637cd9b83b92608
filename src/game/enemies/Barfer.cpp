#include "game/enemies/Barfer.h"

#include <cmath>

#include "engine/DetMath.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/Pickup.h"
#include "game/enemies/WallBlast.h"

namespace {
constexpr float kPi = 3.14159265358979f;
}

Barfer::Barfer(int sside, float sx, float sy) {
    side = sside;
    tX = static_cast<int>(sx);
    tY = static_cast<int>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, Pickup::pickup_sheet, 0, 0, 64, 64, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 1, 7, 3);
    Sprite::SetAnimationData(&aClimb, 0, 6, 8, 3);
    Sprite::SetAnimationData(&aClimbIdle, 0, 0, 2, 3);
    Sprite::SetAnimationData(&aDead, 4, 7, 7, 4);
    Sprite::SetAnimationData(&aBarf, 0, 3, 5, 4);
    Idle();
    cx = 24;
    cy = 2;
    cw = 76;
    ch = 82;
    x = static_cast<float>(64 * tX - cx);
    y = static_cast<float>(64 * tY - cy);
    HP = MaxHP = 30;
    offX = 24;
    offY = 2;
    barfTimerMax = barfTimer = 100;
    climbSpeed = 1.0f;
    hurtPlayer = 1;
    barfDir = 0;
    bloodRate = 10;
}

void Barfer::AI() {
    if (barfTimer > 0) {
        --barfTimer;
        return;
    }
    barfTimer = barfTimerMax;
    sprite->PlayAnimation(&aBarf);
}

void Barfer::Update() {
    if (dead && sprite->isAnimationFinishedNext()) alive = false;
    Climber::Update();
    if (dead || !sprite->isCurrentAnimation(&aBarf)) return;
    // A burst once started completes, wherever the player has gone.
    if (sprite->onFrameEnter(kBurstFrame)) Burst();
    if (sprite->isAnimationFinishedNext()) Idle();
}

void Barfer::Shoot(float sx, float sy, float svelX, float svelY) {
    WallBlast* blast = new WallBlast(side, sx, sy);
    entList.push_back(blast);
    blast->velX = svelX;
    blast->velY = svelY;
}

void Barfer::Burst() {
    const float s = static_cast<float>(barfDir) * kPi / 4.0f;
    barfDir += 1;
    if (barfDir > 1) barfDir = 0;
    const float v = kShotSpeed;
    if (barfDir == 0) {
        // Four shots from the centre, out along the diagonals.
        for (int k = 0; k < 4; ++k) {
            const float a = s + static_cast<float>(k) * kPi / 2.0f;
            Shoot(x + 80, y + 56, -detmath::Cos(a) * v, -detmath::Sin(a) * v);
        }
        return;
    }
    // Two shots from each corner of the mouth, straight outwards.
    Shoot(x + 60, y + 28, 0, -v);
    Shoot(x + 60, y + 28, -v, 0);
    Shoot(x + 100, y + 28, 0, -v);
    Shoot(x + 100, y + 28, v, 0);
    Shoot(x + 100, y + 84, 0, v);
    Shoot(x + 100, y + 84, v, 0);
    Shoot(x + 60, y + 84, 0, v);
    Shoot(x + 60, y + 84, -v, 0);
}

void Barfer::Die() {
    if (dead) return;
    dead = 1;
    sprite->PlayAnimation(&aDead);
    if (wavBarferDie) wavBarferDie->Play();
}
