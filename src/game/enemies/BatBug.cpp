#include "game/enemies/BatBug.h"

#include <cmath>

#include "engine/DetMath.h"
#include "engine/GameEngine.h"
#include "game/player/Player.h"

BatBug::BatBug(int sside, float sx, float sy) {
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 64, 64, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 7, 7, 0);  // an eight-frame flap
    Sprite::SetAnimationData(&aDead, 4, 4, 5, 0);
    Sprite::SetAnimationData(&aSwipe, 7, 7, 5, 0);
    chasePhase = 0;
    waverSpeed = 0.017453f;  // one degree
    waverDeg = 0;
    waverAmp = 1.0f;
    chaseSpeed = 2.0f;
    chaseDeg = 1.570796f;
    turnSpeed = 0.008727f;
    hasChased = 0;
    Idle();
    cx = 48;
    cy = 58;
    cw = 34;
    ch = 26;
    HP = MaxHP = 20;
    hurtPlayer = 1;
    bloodRate = 5;
}

void BatBug::AI() {
    Player* player = Player::Get();
    if (!player) return;

    if (chasePhase == 0) {
        if (distToEntity(player) < kSwoopDistance) chasePhase = 1;  // swoops from the next frame
        if (velX > kAccel)
            velX -= kAccel;
        else if (velX < -kAccel)
            velX += kAccel;
        else
            velX = 0;
        if (hasChased) {
            // Creep towards the player; ties go down and right.
            y += GetCenterY() > player->GetCenterY() ? -1.0f : 1.0f;
            x += GetCenterX() > player->GetCenterX() ? -1.0f : 1.0f;
        }
    } else if (chasePhase == 1) {
        hasChased = 1;
        chaseDeg = detmath::Atan2(GetCenterY() - player->GetCenterY(), GetCenterX() - player->GetCenterX());
        chasePhase = 2;
    } else if (chasePhase == 2) {
        // Accelerate towards where the player was, each axis only while below its cap.
        if (chaseSpeed > std::fabs(velX)) velX -= detmath::Cos(chaseDeg) * kAccel;
        if (chaseSpeed > std::fabs(velY)) velY -= detmath::Sin(chaseDeg) * kAccel;
        if (distToEntity(player) > kLoseDistance) chasePhase = 0;
    }
}

void BatBug::Update() {
    if (!dead && chasePhase == 0) {
        velY = detmath::Cos(waverDeg) * waverAmp;
        waverDeg += waverSpeed;
    }
    Entity::Update();
}
