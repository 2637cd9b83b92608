#include "game/entities/Blood.h"

#include <cstdlib>

#include "engine/GameEngine.h"
#include "game/world/Building.h"

Blood::Blood(int sside, int sx, int sy, float svelX, float svelY) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    velX = svelX;
    velY = svelY;
    applyGravity = 1;
    color = std::rand() % 2;
    canHit = 0;
}

void Blood::Update() {
    Entity::Update();
    if (y - Building::scrollY > 480) alive = false;
}

void Blood::Draw() {
    GameEngine* e = GameEngine::gEngine;
    if (!e) return;
    if (color == 0)
        e->SetColor(0.4549f, 0.5490f, 0.1451f, 1.0f);
    else
        e->SetColor(0.5608f, 0.7333f, 0.1294f, 1.0f);
    e->DrawBox(side, static_cast<int>(x), static_cast<int>(y - Building::scrollY), 2, 2, 0);
    e->ResetColor();
}
