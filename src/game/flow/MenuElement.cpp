#include "game/flow/MenuElement.h"

#include <cmath>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"

MenuElement::MenuElement(GImage* im, int sx, int sy, int tx, int ty, int sdelay) {
    sprite = new Sprite(0, GameEngine::gEngine, im, static_cast<float>(sx), static_cast<float>(sy), 0, 0, 0, 0);
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    targetX = static_cast<float>(tx);
    targetY = static_cast<float>(ty);
    velX = velY = 0;
    acc = 0.2f;
    delay = sdelay;
    beenAtTarget = 0;
    sound = nullptr;
}

MenuElement::~MenuElement() { delete sprite; }

// One axis of the glide: move, snap when the step would reach the target, then accelerate towards it.
static void GlideAxis(float& pos, float& vel, float target, float acc) {
    pos += vel;
    if (std::fabs(vel) >= std::fabs(pos - target)) {
        pos = target;
        vel = 0;
    }
    if (target > pos)
        vel += acc;
    else if (pos > target)
        vel -= acc;
}

void MenuElement::Update() {
    if (delay > 0) {
        --delay;
        return;
    }
    GlideAxis(x, velX, targetX, acc);
    GlideAxis(y, velY, targetY, acc);
    if (!beenAtTarget && atTarget()) {
        if (sound) sound->Play();
        beenAtTarget = 1;
    }
}

void MenuElement::Draw() {
    sprite->x = x;
    sprite->y = y;
    sprite->Update();
}

BOOL MenuElement::atTarget() { return (x == targetX && y == targetY) ? 1 : 0; }
