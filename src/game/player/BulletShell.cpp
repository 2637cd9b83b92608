#include "game/player/BulletShell.h"

#include "engine/GameEngine.h"
#include "game/world/Building.h"

BulletShell::BulletShell(int sside, int sx, int sy, float svelX, float svelY) : Blood(sside, sx, sy, svelX, svelY) {
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    velX = svelX;
    velY = svelY;
}

void BulletShell::Draw() {
    GameEngine* e = GameEngine::gEngine;
    if (!e) return;
    e->SetColor(116.0f / 255.0f, 140.0f / 255.0f, 37.0f / 255.0f, 1.0f);
    e->DrawBox(side, static_cast<int>(x), static_cast<int>(y - Building::scrollY), 3, 1, 0);
    e->ResetColor();
}
