#include "game/enemies/ChainLink.h"

#include <cmath>
#include <cstdlib>

#include "engine/GameEngine.h"
#include "game/world/Building.h"
#include "game/world/BuildingBlock.h"

ChainLink::ChainLink(int sside, float sx, float sy, float sTargetX, float sTargetY) {
    side = sside;
    x = sx;
    y = sy;
    targetX = sTargetX;
    targetY = sTargetY;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 16, 16, 0, 0);
    Sprite::SetAnimationData(&aIdle, kLinkFrame, kEndFrame, 7, 7);
    Sprite::SetAnimationData(&aDead, 4, 4, 5, 0);
    Idle();
    // A link is a still picture: the plain link, until the chain's end piece is chosen.
    sprite->SetAnimationOff();
    cx = cy = 0;
    cw = ch = 16;
    HP = MaxHP = 20;
    offX = offY = 0;
    canHit = 0;
    canFlameHit = 0;
    wallDraw = 1;
    bloodRate = 0;
    speedX = 0.1f;
    speedY = 2.5f;
    creatingLinks = 1;
}

int ChainLink::GetLength() {
    int n = 1;
    // Bounded by the longest chain there can be, so a broken list can never loop for ever.
    for (ChainLink* l = lastLink; l && n <= kMaxLinks; l = l->lastLink) ++n;
    return n;
}

bool ChainLink::OpenBelow() {
    const float px = GetCenterX();
    const float py = y + static_cast<float>(cy + ch) + kLinkSpacing;
    // The tile the point lies in, counted the way climbers count their tiles (rounding down on
    // every row, above and below row 0); a climber on row r stands on block row r + 1.
    const int col = static_cast<int>(std::floor(px / 64.0f));
    const int row = static_cast<int>(std::floor(py / 64.0f));
    Building* seg = Building::SegmentForRow(row);
    if (!seg) return false;
    return seg->GetBlock(side, col, row + 1)->type == 0;
}

namespace {
void Slide(float& pos, float target, float speed) {
    if (std::fabs(pos - target) <= speed)
        pos = target;
    else
        pos += pos < target ? speed : -speed;
}
}  // namespace

void ChainLink::Update() {
    Entity::Update();
    // A broken-off link just falls: it neither slides back nor pays out more chain.
    if (dead) return;

    Slide(x, targetX, speedX);
    Slide(y, targetY, speedY);

    if (x != targetX || y != targetY || !creatingLinks) return;
    if (GetLength() < kMaxLinks && OpenBelow()) {
        if (nextLink) return;
        ChainLink* next = new ChainLink(side, x, y, x, y + kLinkSpacing);
        nextLink = next;
        next->lastLink = this;
        entList.push_back(next);
        creatingLinks = 0;
        return;
    }
    // Long enough, or solid wall below: this is the end of the chain.
    creatingLinks = 0;
    sprite->CurFrame = kEndFrame;
    sprite->SetAnimationOff();
}

void ChainLink::BreakOff() {
    // Iterative, so a long chain is broken off link by link without recursion.
    for (ChainLink* l = this; l; l = l->nextLink) {
        if (l->applyGravity) return;
        l->applyGravity = 1;
        l->velX = static_cast<float>(std::rand() % 200) / 100.0f - 1.0f;
        l->dead = 1;
        l->creatingLinks = 0;
    }
}
