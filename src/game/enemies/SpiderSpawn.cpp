#include "game/enemies/SpiderSpawn.h"

#include <cmath>

#include "engine/GameEngine.h"
#include "game/enemies/Spider.h"
#include "game/player/Player.h"

SpiderSpawn::SpiderSpawn(int sside, float sx, float sy) {
    spawnTimerMax = 150;
    spawnTimer = 0;
    Sprite::SetAnimationData(&aSpawn, 0, 2, 15, 3);
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 32, 32, 0, 0);
    sprite->Hide();
    Sprite::SetAnimationData(&aIdle, 0, 0, 7, 3);
    Sprite::SetAnimationData(&aDead, 0, 0, 5, 3);
    Idle();
    cx = cy = 0;
    cw = ch = 64;
    HP = MaxHP = 50;
    canHit = 0;
    canFlameHit = 0;
}

void SpiderSpawn::AI() {
    if (spawnTimer < spawnTimerMax) {
        Player* player = Player::Get();
        if (player && player->side == side && std::fabs(GetCenterY() - player->GetCenterY()) < kNoticeDistance) {
            ++spawnTimer;
            // Halfway through the count the nest shows itself.
            if (spawnTimer == spawnTimerMax / 2) sprite->Show();
        }
    } else {
        sprite->PlayAnimation(&aSpawn);
    }
}

void SpiderSpawn::Update() {
    Entity::Update();
    // The spider comes out at the end of the hatching (the count alone is not enough: the idle
    // picture also reaches its last tick now and then).
    if (spawnTimer >= spawnTimerMax && sprite->isCurrentAnimation(&aSpawn) && sprite->isAnimationFinishedNext()) {
        spawnTimer = 0;
        Spider* s = new Spider(side, x / 64, y / 64 + 1);
        entList.push_back(s);
        // It drops into place on its tile at its climbing speed.
        s->y -= 32;
        s->sprite->PlayAnimation(&s->aClimb);
        Idle();
        sprite->Hide();
    }
}
