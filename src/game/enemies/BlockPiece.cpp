#include "game/enemies/BlockPiece.h"

#include "engine/GameEngine.h"
#include "game/world/Building.h"

BlockPiece::BlockPiece(int sside, float sx, float sy, int ssizeX, int ssizeY, int sF, int sL) {
    side = sside;
    x = sx;
    y = sy;
    sizeX = ssizeX;
    sizeY = ssizeY;
    frame = sF;
    layer = sL;
    sprite = new Sprite(side, GameEngine::gEngine, block_sheet_1, x, y, sizeX, sizeY, 0, 0);
    Sprite::SetAnimationData(&aIdle, frame, frame, 7, layer);
    Idle();
    cx = cy = 0;
    cw = 2 * sizeX;
    ch = 2 * sizeY;
    wallDraw = 0;
    canHit = 0;
    canFlameHit = 0;
    hurtPlayer = 0;
    applyGravity = 1;
    breakTimer = 10;
}

void BlockPiece::Update() {
    if (breakTimer <= 0)
        Break();
    else
        --breakTimer;
    Entity::Update();
    // Nothing ends a piece of its own accord; one a whole screen below the view never comes back.
    if (y - Building::scrollY > 480.0f + kGoneBelowView) alive = false;
}
