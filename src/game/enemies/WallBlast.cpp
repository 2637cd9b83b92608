#include "game/enemies/WallBlast.h"

#include <cmath>

#include "engine/DetMath.h"
#include "engine/GameEngine.h"
#include "game/enemies/WallBlastSmoke.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

WallBlast::WallBlast(int sside, float sx, float sy) {
    smokeDelay = 0;
    smokeDelayMax = 5;
    smokeLife = 30;
    waverY = 0;
    wavYDeg = 0;
    wavYAmp = 2.0f;
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 8, 8, 0, 0);
    Sprite::SetAnimationData(&aIdle, 28, 31, 7, 13);
    Idle();
    cx = 0;
    cy = 0;
    cw = 16;
    ch = 16;
    HP = MaxHP = 1;
    canHit = 0;
    canFlameHit = 1;
    bloodRate = 0;
    offX = offY = 0;
    hurtPlayer = 1;
}

void WallBlast::Update() {
    Player* player = Player::Get();
    float sy = y - Building::scrollY;
    if (x < -100 || x > 640 || sy > 480 || sy < -100 || (player && side != player->side)) {
        alive = false;
        return;
    }

    if (smokeDelay < smokeDelayMax) {
        ++smokeDelay;
    } else {
        // A puff drifting backwards at half the shot's speed.
        WallBlastSmoke* puff = new WallBlastSmoke(side, static_cast<int>(x), static_cast<int>(y), velX / -2, velY / -2);
        puff->life = smokeLife;
        entList.push_back(puff);
        smokeDelay = 0;
        smokeLife -= 1;
        if (smokeLife < 10) smokeLife = 10;
    }

    if (waverY) {
        y += detmath::Sin(wavYDeg) * wavYAmp;
        wavYDeg += 0.1f;
    }

    Entity::Update();
}
