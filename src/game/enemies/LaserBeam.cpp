#include "game/enemies/LaserBeam.h"

#include "engine/GameEngine.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/LaserClimber.h"
#include "game/world/Building.h"

LaserBeam::LaserBeam(int sside, float sx, float sy) {
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, LaserClimber::sheet, x, y, 8, 8, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 10, 3, 24);
    HP = MaxHP = 10;  // its lifetime
    hurtPlayer = 1;
    canHit = 0;
    canFlameHit = 0;
    cx = 0;
    cy = 4;
    cw = 780;
    ch = 16;
    Idle();
}

void LaserBeam::Update() {
    Entity::Update();
    HP -= 1;
    if (HP <= 1) alive = false;
    FinalBoss* eye = boss;
    if (eye && hitEntity(eye)) eye->EyeSmallHit();
}

void LaserBeam::Draw() {
    Entity::Draw();
    if (!sprite) return;
    // The rest of the strip: copies of the same picture side by side.
    const float x0 = sprite->x;
    for (int i = 1; i < kCopies; ++i) {
        sprite->x = x0 + static_cast<float>(i * sprite->framew);
        sprite->Draw();
    }
    sprite->x = x0;
}
