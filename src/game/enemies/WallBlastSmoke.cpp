#include "game/enemies/WallBlastSmoke.h"

#include "engine/GameEngine.h"

WallBlastSmoke::WallBlastSmoke(int sside, int sx, int sy, float svelX, float svelY)
    : Blood(sside, sx, sy, svelX, svelY) {
    side = sside;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, 0, 0, 8, 8, 0, 0);
    velX = svelX;
    velY = svelY;
    Sprite::SetAnimationData(&aIdle, 28, 31, 15, 12);
    sprite->PlayAnimation(&aIdle);
    x = sx + 8 * svelX;
    y = sy + 8 * svelY;
    HP = MaxHP = 10;
    canHit = 0;
    canFlameHit = 0;
    cx = 0;
    cy = 0;
    cw = 8;
    ch = 8;
    bloodRate = 0;
    life = 40;
    applyGravity = 0;
}

void WallBlastSmoke::Update() {
    --life;
    if (life <= 0) alive = false;
    Blood::Update();
}

void WallBlastSmoke::Draw() {
    // Puffs start large and shrink, but never below two thirds of their picture.
    float s = static_cast<float>(life) / 20.0f;
    if (s < 0.65f) s = 0.65f;
    if (sprite) sprite->scale = s;
    Entity::Draw();
}
