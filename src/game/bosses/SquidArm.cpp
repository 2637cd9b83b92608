#include "game/bosses/SquidArm.h"

#include <cmath>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/world/Building.h"

SquidArm::SquidArm(int sside, float sx, float sy, float tx, float ty, int sdir) {
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, Entity::boss_sheet_1, x, y, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 0, 7, 0);
    Sprite::SetAnimationData(&aDead, 2, 4, 5, 1);
    Idle();

    cx = cy = 0;
    cw = ch = 62;
    HP = MaxHP = 4;
    targetX = tx;
    targetY = ty;
    speedX = speedY = 12.0f;
    offX = offY = 0;
    startX = static_cast<int>(x);
    startY = static_cast<int>(y);

    // A new segment cuts any other segment already lying where it is headed.
    for (Entity* e : Entity::entList) {
        auto* other = dynamic_cast<SquidArm*>(e);
        if (other && other != this && other->x == tx && other->y == ty) other->Die();
    }

    wallDraw = 1;
    oDir = sdir;
    spawnTimerMax = 5;
    spawnTimer = 5;
    yFlip = 0;
    bloodRate = 10;
    head = 1;
}

namespace {
// One axis of the slide: 12 pixels a frame, landing exactly on the target.
void Slide(float& pos, float target, float speed) {
    if (std::fabs(pos - target) <= speed)
        pos = target;
    else if (target > pos)
        pos += speed;
    else if (pos > target)
        pos -= speed;
}
}  // namespace

int SquidArm::ChainFrame() const {
    const bool horizontal = oDir == kGrowRight || oDir == kGrowLeft;
    if (head) return horizontal ? kTipFrameH : kTipFrameV;
    if (!nextArm && !lastArm) return horizontal ? kAloneFrameH : kAloneFrameV;
    if (!nextArm) return horizontal ? kCutEndFrameH : kCutEndFrameV;
    if (!lastArm) return horizontal ? kRootFrameH : kRootFrameV;
    return horizontal ? kMiddleFrameH : kMiddleFrameV;
}

void SquidArm::Update() {
    if (dead) {
        if (sprite->isAnimationFinishedNext()) alive = false;
        Entity::Update();
        return;
    }
    hurtPlayer = head;

    Slide(x, targetX, speedX);
    Slide(y, targetY, speedY);

    if (nextArm) head = 0;

    if (head) {
        cx = cy = 10;
        cw = ch = 44;
        hurtPlayer = 1;
    } else {
        cx = cy = 0;
        cw = ch = 62;
        hurtPlayer = 0;
    }

    sprite->CurLayer = aIdle.layer;
    sprite->CurFrame = ChainFrame();
    sprite->pos = oDir == kGrowLeft ? -1 : 1;
    sprite->posY = oDir == kGrowUp ? -1 : 1;
    sprite->SetAnimationOff();
    Entity::Update();
}

void SquidArm::AI() {
    // A waiting segment counts down; a root, and a segment that has paid out its child, stay at -1
    // for good.
    if (spawnTimer != 0) {
        if (spawnTimer > 0) spawnTimer -= 1;
        return;
    }
    const float top = Building::scrollY;
    if (x >= -128 && x <= 768 && y >= top - 256 && y <= top + 768) {
        SpawnArm(oDir);
        spawnTimer = -1;
    }
}

BOOL SquidArm::SpawnArm(int dir) {
    float tx = x, ty = y;
    switch (dir) {
        case kGrowRight: tx += 64; break;
        case kGrowUp: ty -= 64; break;
        case kGrowLeft: tx -= 64; break;
        default: ty += 64; break;  // kGrowDown
    }
    const float top = Building::scrollY;
    if (!(x > -200 && x < 840 && y > top - 200 && y < top + 680)) return FALSE;

    auto* child =
        new SquidArm(side, static_cast<float>(static_cast<int>(x)), static_cast<float>(static_cast<int>(y)),
                     static_cast<float>(static_cast<int>(tx)), static_cast<float>(static_cast<int>(ty)), oDir);
    nextArm = child;
    Entity::entList.push_back(child);
    child->lastArm = this;
    return TRUE;
}

void SquidArm::Die() {
    if (dead) return;
    if (Entity::wavSquidArmDie) Entity::wavSquidArmDie->Play();
    dead = 1;
    sprite->PlayAnimation(&aDead);
    if (lastArm) lastArm->nextArm = nullptr;
    if (nextArm) nextArm->lastArm = nullptr;
}
