#include "game/world/Explosion.h"

#include <cstdlib>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/Pickup.h"
#include "game/player/Player.h"

Explosion::Explosion(int sside, int sx, int sy, BOOL sDam) {
    damaging = sDam;
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, Pickup::pickup_sheet, x, y, 64, 64, 0, 0);
    HP = MaxHP = 30;
    cx = -16;
    cy = -16;
    cw = 144;
    ch = 144;
    Sprite::SetAnimationData(&aIdle, 0, 7, 5, 1);
    canHit = 0;
    canFlameHit = 0;
    hurtPlayer = 0;
    wallDraw = 0;
    if (wavExplosion) wavExplosion->Play();
    Idle();
}

void Explosion::Update() {
    // One run of the eight-frame animation, then the blast is gone.
    if (sprite->isAnimationFinishedNext()) alive = false;

    if (damaging) {
        Entity* player = Player::Get();
        // Hits add blood drops to the list, so walk it by index and re-read its size.
        for (size_t i = 1; i < entList.size(); ++i) {
            Entity* e = entList[i];
            if (e == this || e == player || !e->canHit) continue;
            if (!hitEntity(e)) continue;
            if (e->isBoss && std::rand() % 3 != 0) continue;
            e->Hit(0, 0);
        }
    }

    Entity::Update();
}
