#include "game/enemies/PopperBug.h"

#include <cmath>

#include "engine/GameEngine.h"
#include "game/enemies/PopperBaby.h"
#include "game/player/Player.h"

PopperBug::PopperBug(int sside, float sx, float sy) {
    side = sside;
    y = sy;
    // Just off the edge of the 640-pixel view nearer to where it was placed.
    x = sx < 320 ? -100.0f : 690.0f;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 64, 64, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 7, 7, 2);
    Sprite::SetAnimationData(&aDead, 0, 4, 5, 3);
    Idle();
    cx = 42;
    cy = 48;
    cw = 36;
    ch = 46;
    HP = MaxHP = 3;
    bloodRate = 5;
    aiDir = 0;
    aiPhase = 0;
    hurtPlayer = 1;
}

void PopperBug::AI() {
    Player* player = Player::Get();
    if (!player) return;
    if (aiPhase == 0) {
        if (std::fabs(GetCenterY() - player->GetCenterY()) < kLevelDistance) {
            aiDir = GetCenterX() < 320 ? 1 : -1;
            aiPhase = 1;
        }
    } else if (aiPhase == 1) {
        velX = kSpeed * static_cast<float>(aiDir);
        sprite->pos = aiDir;
    }
}

void PopperBug::Update() {
    const float left = x + cx;
    const float right = left + cw;
    if ((velX < 0 && right + kPastEdge < 0) || (velX > 0 && left - kPastEdge > 640)) {
        alive = false;
        return;
    }

    Entity::Update();

    if (dead && sprite->onFrameEnter(1)) PopperBaby::Burst(side, x + cx, y + cy, cw, ch);
    if (dead && sprite->isAnimationFinishedNext()) {
        // The husk drops off the screen and the base removes it there.
        applyGravity = 1;
        sprite->SetAnimationOff();
    }
}

void PopperBug::Die() {
    if (dead) return;
    Entity::Die();
    // It hangs in the air while its death plays.
    applyGravity = 0;
}
