#include "game/enemies/PopperSack.h"

#include "engine/GameEngine.h"
#include "game/enemies/PopperBaby.h"

PopperSack::PopperSack(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 32, 64, 0, 0);
    HP = 3;
    cx = cy = 0;
    cw = 64;
    ch = 54;
    Sprite::SetAnimationData(&aIdle, 0, 3, 10, 5);
    Sprite::SetAnimationData(&aDead, 13, 15, 5, 7);
    canHit = 1;
    canFlameHit = 1;
    hurtPlayer = 0;
    wallDraw = 1;  // its tile counts as blocked for climbing
    Idle();
}

void PopperSack::Die() {
    if (dead) return;
    dead = 1;
    // The burst is drawn in square cells.
    sprite->LoadImageA(enemy_sheet_1, 32, 32, 0, 0);
    sprite->PlayAnimation(&aDead);
    // The babies start in the upper-left quarter of the sac.
    PopperBaby::Burst(side, x + cx, y + cy, cw / 2, ch / 2);
}

void PopperSack::Update() {
    if (dead && sprite->isAnimationFinished()) alive = false;
    Entity::Update();
}
