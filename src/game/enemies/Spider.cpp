#include "game/enemies/Spider.h"

#include <cstdlib>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/player/Player.h"

Spider::Spider(int sside, float sx, float sy) {
    side = sside;
    tX = static_cast<int>(sx);
    tY = static_cast<int>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, 0, 0, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 0, 7, 2);
    Sprite::SetAnimationData(&aDead, 12, 14, 5, 2);
    Sprite::SetAnimationData(&aClimb, 0, 2, 8, 2);
    Sprite::SetAnimationData(&aClimbIdle, 0, 0, 2, 2);
    Climber::Idle();
    cx = 10;
    cy = 18;
    cw = 42;
    ch = 34;
    x = static_cast<float>(tX * 64 - cx);
    y = static_cast<float>(tY * 64 - cy);
    HP = MaxHP = 3;
    offX = 10;
    offY = 10;
    spawnDelay = 50;
    chaseState = 0;
    climbSpeed = 1.0f;
    hurtPlayer = 1;
}

void Spider::AI() {
    if (spawnDelay > 0) {
        --spawnDelay;
        return;
    }
    Player* player = Player::Get();
    if (!player || player->invinceTimer > 0 || player->dead) return;

    if (chaseState == 0) {
        int rows = tY - player->tY;
        if (rows < 0) rows = -rows;
        if (rows < kNoticeRows) chaseState = std::rand() % 2;
    } else if (chaseState == 1) {
        if (tX == player->tX) {
            chaseState = 2;
            return;
        }
        int dir = tX < player->tX ? 1 : -1;
        if (!Climb(dir, 0)) chaseState = 2;
    } else if (chaseState == 2) {
        if (tY == player->tY) {
            chaseState = 1;
            return;
        }
        int dir = tY < player->tY ? 1 : -1;
        if (!Climb(0, dir)) chaseState = 1;
    }
}

BOOL Spider::Climb(int dirX, int dirY) {
    if (x != TargetX() && y != TargetY()) return FALSE;
    // Each direction has its own three-frame step.
    int start = 0;
    if (dirY == 1)
        start = 0;
    else if (dirY == -1)
        start = 3;
    else if (dirX == 1)
        start = 6;
    else if (dirX == -1)
        start = 9;
    Sprite::SetAnimationData(&aClimb, start, start + 2, 15, 2);
    return Climber::Climb(dirX, dirY);
}

void Spider::Die() {
    if (dead) return;
    // Unlike the base it does not fall: the death plays where it stands.
    dead = 1;
    sprite->PlayAnimation(&aDead);
    if (wavDie0) wavDie0->Play();
}

void Spider::Update() {
    Climber::Update();
    if (dead && sprite->isAnimationFinishedNext()) alive = false;
    Player* player = Player::Get();
    if (player && player->side != side && (tX == 1 || tX == 8)) alive = false;
}
