#include "game/enemies/WallBlaster.h"

#include <cmath>

#include "engine/DetMath.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/WallBlast.h"
#include "game/player/Player.h"

WallBlaster::WallBlaster(int sside, float sx, float sy) {
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 8, 9, 90, 3);
    Sprite::SetAnimationData(&aHide, 9, 15, 7, 8);
    Sprite::SetAnimationData(&aPopout, 8, 14, 7, 3);
    Sprite::SetAnimationData(&aShot, 8, 9, 25, 8);
    Sprite::SetAnimationData(&aDead, 10, 13, 7, 6);
    Idle();
    cx = 0;
    cy = 0;
    cw = 64;
    ch = 64;
    HP = MaxHP = 15;
    bloodRate = 5;
    wallDraw = 1;
    hideTimer = 0;
    hideTimerMax = 100;
    awakeTimer = -1;
    awakeTimerMax = 50;
    shotCount = 0;
    shotCountMax = 3;
    shotSpeed = 2.0f;
    hurtPlayer = 0;
}

void WallBlaster::AI() {
    Player* player = Player::Get();
    if (!player) return;
    if (!player->dead && distToEntity(player) > kWakeDistance) return;
    if (dead) return;

    if (awakeTimer == -1) {
        // Hidden: out of reach of every weapon until it has popped out.
        canHit = 0;
        canFlameHit = 0;
        if (hideTimer < hideTimerMax) {
            ++hideTimer;
        } else {
            sprite->PlayAnimation(&aPopout);
            if (sprite->isAnimationFinishedNext()) {
                awakeTimer = 0;
                sprite->SetAnimationOff();
            }
        }
        return;
    }

    canHit = 1;
    canFlameHit = 1;
    if (awakeTimer < awakeTimerMax) {
        ++awakeTimer;
    } else if (shotCount < shotCountMax) {
        sprite->PlayAnimation(&aShot);
        if (sprite->onFrameEnter(8)) {
            WallBlast* blast = new WallBlast(side, x + 24, y + 33);
            entList.push_back(blast);
            float a = blast->angleToEntity(player);
            blast->velX = -detmath::Cos(a) * shotSpeed;
            blast->velY = -detmath::Sin(a) * shotSpeed;
            if (wavFireShot) wavFireShot->Play();
        }
        if (sprite->onFrameEnter(9)) {
            ++shotCount;
            awakeTimer = 0;
            // Back to the open hatch between shots.
            sprite->PlayAnimation(&aPopout);
            sprite->CurFrame = aPopout.end;
            sprite->SetAnimationOff();
        }
    } else {
        sprite->PlayAnimation(&aHide);
        canHit = 0;
        canFlameHit = 0;
        if (sprite->isAnimationFinishedNext()) {
            Idle();
            shotCount = 0;
            awakeTimer = -1;
            hideTimer = 0;
        }
    }
}

void WallBlaster::Die() {
    if (!dead && wavDie3) wavDie3->Play();
    // No fall: the wreck stays in the wall. The base calls this every frame while HP <= 0.
    dead = 1;
    sprite->PlayAnimation(&aDead);
}

void WallBlaster::Update() {
    if (dead && sprite->isAnimationFinishedNext()) {
        // The wreck keeps its last frame from now on.
        sprite->SetAnimationOff();
        Sprite::SetAnimationData(&aDead, 13, 13, 7, 6);
        canHit = 0;
    }
    Entity::Update();
}
