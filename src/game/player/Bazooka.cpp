#include "game/player/Bazooka.h"

#include "engine/GameEngine.h"
#include "game/enemies/Pickup.h"
#include "game/enemies/WallBlastSmoke.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Explosion.h"

int Bazooka::FrameForDirection(int dirX, int dirY) {
    // Clockwise from straight up.
    static const int kFrame[3][3] = {
        {13, 6, 7},   // up-left, up, up-right
        {12, 8, 8},   // left, (none), right
        {11, 10, 9},  // down-left, down, down-right
    };
    if (dirX < -1 || dirX > 1 || dirY < -1 || dirY > 1) return 8;
    return kFrame[dirY + 1][dirX + 1];
}

Bazooka::Bazooka(int sside, int sx, int sy, int sDirX, int sDirY) {
    side = sside;
    sprite = new Sprite(side, GameEngine::gEngine, Pickup::pickup_sheet, 0, 0, 16, 16, 0, 0);
    int frame = FrameForDirection(sDirX, sDirY);
    Sprite::SetAnimationData(&aIdle, frame, frame, 1, 8);
    x = static_cast<float>(sx - 8);
    y = static_cast<float>(sy - 8);
    cx = cy = 8;
    cw = ch = 16;
    canHit = 0;
    canFlameHit = 0;
    hurtPlayer = 0;
    wallDraw = 0;
    HP = MaxHP = 10;
    Idle();
    smokeDelay = 10;
    float speed = (sDirX != 0 && sDirY != 0) ? 5.0f / 2.0f : 5.0f;
    velX = sDirX * speed;
    velY = sDirY * speed;
}

void Bazooka::Update() {
    Entity* player = Entity::ThePlayer();
    float sy = y - Building::scrollY;
    if (x < -100 || x > 640 || sy > 480 || sy < -100 || (player && side != player->side)) {
        alive = false;
        return;
    }

    // Impact on the first hittable entity touched.
    for (size_t i = 1; i < Entity::entList.size(); ++i) {
        Entity* e = Entity::entList[i];
        if (e == this || e == player) continue;
        if (hitEntity(e) && e->canHit) {
            alive = false;
            GameEngine::gEngine->Shake(0, 8, 5, 20);
            Entity::entList.push_back(
                new Explosion(side, static_cast<int>(GetCenterX() - 64), static_cast<int>(GetCenterY() - 64), TRUE));
            break;
        }
    }

    // Smoke trail (also in the frame of impact).
    if (smokeDelay <= 0) {
        WallBlastSmoke* puff = new WallBlastSmoke(side, static_cast<int>(GetCenterX()), static_cast<int>(GetCenterY()),
                                                  velX / -4.0f, 0.0f);
        puff->applyGravity = 1;
        puff->life = 10;
        Entity::entList.push_back(puff);
        smokeDelay = 5;
    } else {
        --smokeDelay;
    }

    Entity::Update();
}
