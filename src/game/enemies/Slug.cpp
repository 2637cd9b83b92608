#include "game/enemies/Slug.h"

#include <cmath>
#include <cstdlib>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/WallBlast.h"
#include "game/player/Player.h"

Slug::Slug(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 4, 4, 15, 11);
    Sprite::SetAnimationData(&aFire, 10, 11, 40, 11);
    Sprite::SetAnimationData(&aWalkUp, 4, 6, 10, 11);
    Sprite::SetAnimationData(&aWalkDown, 7, 9, 10, 11);
    Sprite::SetAnimationData(&aDead, 12, 15, 7, 11);
    cx = 10;
    cy = 14;
    cw = 52;
    ch = 24;
    canHit = 1;
    canFlameHit = 1;
    hurtPlayer = 1;
    wallDraw = 1;
    HP = MaxHP = 10;
    Idle();
    // It clings to the screen edge of the half it was placed in, facing into the screen.
    if (x < 320) {
        x = 0;
    } else {
        x = 576;
        sprite->pos = -1;
    }
    hiY = static_cast<int>(GetCenterY() - kCrawlRange);
    lowY = static_cast<int>(GetCenterY() + kCrawlRange);
    speed = 1.0f;
    walkDelayMax = 64 + std::rand() % 2;
    walkDelay = 64 * (std::rand() % 2) + 64;
    walkDir = 1;
}

void Slug::KeepInRange() {
    if (GetCenterY() < hiY)
        walkDir = 1;
    else if (GetCenterY() > lowY)
        walkDir = -1;
}

void Slug::PlayWalk() { sprite->PlayAnimation(walkDir == -1 ? &aWalkUp : &aWalkDown); }

void Slug::Fire() { sprite->PlayAnimation(&aFire); }

void Slug::AI() {
    if (walkDelay > 0) {
        KeepInRange();
        velY = walkDir * speed;
        --walkDelay;
        PlayWalk();
        if (walkDelay == 0) Fire();
        return;
    }

    // Spitting: it holds still while the spit animation plays.
    velY = 0;
    if (!sprite->isCurrentAnimation(&aFire)) return;
    if (sprite->onFrameEnter(11)) {
        WallBlast* blast = new WallBlast(side, x + 32, y + 20);
        entList.push_back(blast);
        if (wavFireShot) wavFireShot->Play();
        blast->velX = kSpitSpeed * static_cast<float>(sprite->pos);
        blast->velY = 0;
    }
    if (sprite->isAnimationFinished()) {
        // Crawl on, turning back at the limits and sometimes on a whim.
        walkDelay = 64 * (std::rand() % 2) + 64;
        if (GetCenterY() < hiY)
            walkDir = 1;
        else if (GetCenterY() > lowY)
            walkDir = -1;
        else if (std::rand() % 2 == 0)
            walkDir = -walkDir;
    }
}

bool Slug::WouldRunAI() {
    Entity* player = ThePlayer();
    if (!player || side != player->side || dead) return false;
    return std::fabs(GetCenterY() - player->GetCenterY()) < AIdist || player->dead;
}

void Slug::Update() {
    // The remains keep the last frame of the death.
    if (sprite->isCurrentAnimation(&aDead) && sprite->isAnimationFinishedNext()) sprite->SetAnimationOff();
    // While inactive it must not drift on the velocity of its last crawl.
    if (!WouldRunAI()) {
        velX = 0;
        velY = 0;
    }
    Entity::Update();
}

void Slug::Draw() {
    Entity* player = ThePlayer();
    // Hidden on the far side of the tower from the player.
    if (player && side == (player->side + 1) % 4 + 1) return;
    Entity::Draw();
}

void Slug::Die() {
    if (dead) return;
    if (wavDie1) wavDie1->Play();
    velY = 0;
    sprite->PlayAnimation(&aDead);
    dead = 1;
}
