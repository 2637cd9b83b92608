#include "game/world/Electricity.h"

#include "engine/GImage.h"
#include "engine/GameEngine.h"

GImage* Electricity::sheet = nullptr;

void Electricity::Init() { sheet = GImage::CreateNew("data/electricity.png"); }

Electricity::Electricity(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, sheet, x, y, 64, 32, 0, 0);
    HP = MaxHP = 30;
    cx = 0;
    cy = 0;
    cw = 160;
    ch = 64;
    Sprite::SetAnimationData(&aIdle, 0, 2, 5, 0);
    canHit = 0;
    canFlameHit = 0;
    hurtPlayer = 0;
    wallDraw = 1;
    Idle();
}

void Electricity::Update() { Entity::Update(); }
