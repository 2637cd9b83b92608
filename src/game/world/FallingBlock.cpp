#include "game/world/FallingBlock.h"

#include <cstdlib>

#include "engine/GameEngine.h"
#include "game/enemies/WallBlastSmoke.h"
#include "game/world/Building.h"

FallingBlock::FallingBlock(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, block_sheet_1, x, y, 32, 32, 0, 0);
    cx = 0;
    cy = 0;
    cw = 64;
    ch = 64;
    canHit = 0;
    hurtPlayer = 1;
    canFlameHit = 0;
    delayTime = 50;
    Sprite::SetAnimationData(&aIdle, 0, 0, 7, 0);
    HP = MaxHP = 1;
    Idle();
}

void FallingBlock::Update() {
    Entity::Update();

    if (delayTime > 0) {
        // The warning: a puff of smoke every tenth frame, five in all.
        if (delayTime % 10 == 0) {
            float svelX = static_cast<float>(std::rand() % 201 - 100) / 100.0f;
            entList.push_back(new WallBlastSmoke(side, static_cast<int>(x), static_cast<int>(y), svelX, 8.0f));
        }
        --delayTime;
    } else {
        y += 5;
    }

    // The block is never dead, so the base never removes it; once it has fallen a whole screen
    // below the view it can never come back into sight.
    if (y - Building::scrollY > 480.0f + kGoneBelowView) alive = false;
}
