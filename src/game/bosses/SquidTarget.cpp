#include "game/bosses/SquidTarget.h"

#include <cmath>

#include "engine/GSound.h"
#include "engine/GameEngine.h"

SquidTarget::SquidTarget(int sside, float sx, float sy, float stargetX, float stargetY) {
    side = sside;
    x = sx;
    y = sy;
    targetX = stargetX;
    targetY = stargetY;
    soundPlayed = 0;
    sprite = new Sprite(side, GameEngine::gEngine, Entity::boss_sheet_1, x, y, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 11, 13, 5, 0);
    Sprite::SetAnimationData(&aDead, 14, 14, 5, 0);
    acc = 0.1f;
    HP = MaxHP = 100;  // frames it lies on the wall after landing
    cx = cy = cw = ch = 0;
    canHit = 0;
    canFlameHit = 0;
    hurtPlayer = 0;
    Idle();
    velX = velY = 0;
}

BOOL SquidTarget::atTarget() { return x == targetX && y == targetY; }

namespace {
// One axis of the flight: snap when the next step would reach the target, else speed up towards it.
void Steer(float& pos, float& vel, float target, float acc) {
    if (std::fabs(pos - target) <= std::fabs(vel)) {
        pos = target;
        vel = 0;
    }
    if (target > pos)
        vel += acc;
    else if (pos > target)
        vel -= acc;
}
}  // namespace

void SquidTarget::Update() {
    Entity::Update();
    if (!soundPlayed && atTarget()) {
        if (Entity::wavSquidSplat) Entity::wavSquidSplat->Play();
        soundPlayed = 1;
    }
    Steer(x, velX, targetX, acc);
    Steer(y, velY, targetY, acc);
    if (atTarget()) {
        HP -= 1;
        if (HP <= 0) alive = false;
    }
}
