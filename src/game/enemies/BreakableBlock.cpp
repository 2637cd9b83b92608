#include "game/enemies/BreakableBlock.h"

#include <cstdlib>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/BlockPiece.h"
#include "game/player/Player.h"

BreakableBlock::BreakableBlock(int sside, float sx, float sy) {
    side = sside;
    x = sx * 64;
    y = sy * 64;
    sprite = new Sprite(side, GameEngine::gEngine, block_sheet_1, x, y, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 0, 7, 0);
    Sprite::SetAnimationData(&aDead, 0, 0, 5, 0);
    Idle();
    cx = cy = 0;
    cw = ch = 64;
    HP = MaxHP = 8;
    offX = offY = 0;
    wallDraw = 1;
    bloodRate = 0;
    canFlameHit = 0;
    // The damage picture is chosen directly, frame by frame.
    sprite->SetAnimationOff();
}

void BreakableBlock::Update() {
    Player* player = Player::Get();
    sprite->CurLayer = (player && player->tY < kUpperTowerRow) ? 3 : 0;
    // Damage stages 0..3: cracks grow as the hit points go.
    sprite->CurFrame = static_cast<int>((1.0f - static_cast<float>(HP) / static_cast<float>(MaxHP)) * 3.0f);
    Entity::Update();
}

void BreakableBlock::Hit(int locX, int locY) {
    bool counts = canHit && alive && !dead;
    Entity::Hit(locX, locY);
    // The block answers an even count twice as loud as a creature.
    if (counts && HP % 2 == 0 && wavBlockHit) wavBlockHit->Play();
}

void BreakableBlock::Die() {
    if (dead) return;
    dead = 1;
    alive = false;
    if (wavBlockBreak) wavBlockBreak->Play();
    const int f = sprite->CurFrame;
    const int l = sprite->CurLayer;
    for (int p = 0; p < 4; ++p) {
        // The quarters of the picture one damage stage back, on the sheet read as 16 x 16 cells.
        BlockPiece* piece =
            new BlockPiece(side, x + static_cast<float>((p % 2) * cw / 2), y + static_cast<float>((p / 2) * ch / 2),
                           cw / 4, ch / 4, 2 * f + p % 2 - 2, 2 * l + p / 2);
        piece->velX = static_cast<float>(std::rand() % 600 - 300) / 100.0f;
        entList.push_back(piece);
    }
}
