#include "game/enemies/ChainLizard.h"

#include <cmath>

#include "engine/GameEngine.h"

ChainLizard::ChainLizard(int sside, float sx, float sy, int stype) {
    side = sside;
    tX = static_cast<int>(sx);
    tY = static_cast<int>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, 0, 0, 64, 64, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 0, 30, 4);
    Sprite::SetAnimationData(&aDead, 0, 0, 5, 4);
    Sprite::SetAnimationData(&aClimb, 0, 1, 8, 4);
    Sprite::SetAnimationData(&aClimbIdle, 0, 0, 2, 4);
    Climber::Idle();
    cx = 46;
    cy = 58;
    cw = 22;
    ch = 44;
    type = stype;
    x = static_cast<float>(tX * 64 - cx);
    y = static_cast<float>(tY * 64 - cy);
    HP = MaxHP = 20;
    offX = 15;
    offY = 10;
    chain = nullptr;
}

void ChainLizard::AI() {
    Entity* player = ThePlayer();
    if (!player) return;
    if (std::fabs(GetCenterY() - player->GetCenterY()) <= kWakeDistance) StartChain();
}

void ChainLizard::StartChain() {
    // The chain is let down once: its top link lives as long as the lizard does (links are
    // freed only after breaking off, which only the lizard's death does).
    if (chain) return;
    const float px = (static_cast<float>(tX) + 0.5f) * 64.0f - 10.0f;
    const float py = static_cast<float>(tY) * 64.0f + 24.0f;
    ChainLink* top = new ChainLink(side, px, py, px, py);
    chain = top;
    entList.push_back(top);
}

void ChainLizard::Die() {
    if (chain) chain->BreakOff();
    Entity::Die();
}
