#include "game/enemies/Bouncer.h"

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/world/Building.h"

Bouncer::Bouncer(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 32, 32, 0, 0);
    sprite->pos = 1;
    Sprite::SetAnimationData(&aIdle, 4, 5, 15, 10);
    Sprite::SetAnimationData(&aFlip, 4, 12, 5, 10);
    Sprite::SetAnimationData(&aSmallFlip, 8, 12, 5, 10);
    Sprite::SetAnimationData(&aDead, 13, 15, 5, 10);
    cx = 22;
    cy = 20;
    cw = 22;
    ch = 20;
    canHit = 1;
    canFlameHit = 1;
    hurtPlayer = 1;
    wallDraw = 0;
    HP = MaxHP = 5;
    Idle();
    speed = 5.0f;
    bounceDelayMax = 100;
    bounceDelay = 25;
}

BOOL Bouncer::isLanded() {
    Building* b = GetBuilding();
    if (!b) return TRUE;
    const int ty = static_cast<int>(GetCenterY() / 64);
    // The column under its leading edge.
    const int col = sprite->pos == 1 ? static_cast<int>(x / 64) : static_cast<int>((x + 64) / 64);
    return b->openSpot(side, col, ty, TRUE) ? FALSE : TRUE;
}

void Bouncer::AI() {
    // The flip counter only runs while it rests against a tile.
    if (bounceDelay > 0 && isLanded()) {
        --bounceDelay;
    } else if (isLanded()) {
        bounceDelay = bounceDelayMax;
        sprite->PlayAnimation(&aFlip);
    }
}

void Bouncer::Update() {
    if (sprite->isCurrentAnimation(&aDead) && sprite->isAnimationFinished()) alive = false;

    Entity::Update();

    // Halfway through the flip it turns round and tumbles off towards the other side.
    if (sprite->isCurrentAnimation(&aFlip) && sprite->onFrameEnter(10) && isLanded()) {
        sprite->pos = -sprite->pos;
        sprite->SetAnimationOff();
        sprite->PlayAnimation(&aSmallFlip);
    }

    if (!isLanded()) {
        velX = -static_cast<float>(sprite->pos) * speed;
    } else {
        velX = 0;
        if (sprite->isCurrentAnimation(&aSmallFlip)) Idle();
    }
}

void Bouncer::Die() {
    if (dead) return;
    sprite->PlayAnimation(&aDead);
    dead = 1;
    if (wavDie2) wavDie2->Play();
}
