#include "game/entities/Climber.h"

#include "game/world/Building.h"
#include "game/world/Tower.h"

Climber::Climber() {
    Sprite::SetAnimationData(&aClimb, 0, 3, 4, 0);
    Sprite::SetAnimationData(&aClimbIdle, 3, 3, 5, 0);
    tX = 0;
    tY = 0;
    climbHold = 0;
    climbSpeed = 4.0f;
    Sprite::SetAnimationData(&aIdle, 0, 0, 5, 1);
    wallDraw = 1;
}

void Climber::SetPosition(int sx, int sy) {
    tX = sx;
    tY = sy;
    x = TargetX();
    y = TargetY();
}

BOOL Climber::CanClimb(int dirX, int dirY) {
    // The previous step is still gliding.
    if (sprite && sprite->AnimationOn && !idleing) return FALSE;
    Building* b = GetBuilding();
    if (!b) return FALSE;
    return tower::StepOpen(tX, tY, dirX, dirY, [&](int tx, int ty) { return b->openSpot(side, tx, ty, FALSE) != 0; });
}

BOOL Climber::Climb(int dirX, int dirY) {
    if (!CanClimb(dirX, dirY)) return FALSE;
    // A step off the side of the wall is horizontal only.
    dirY = tower::StepRise(tX, dirX, dirY);

    idleing = 0;
    if (sprite) sprite->PlayAnimation(&aClimb);
    tX += dirX;
    tY += dirY;
    return TRUE;
}

namespace {
// One axis of the glide: the box corner moves towards the tile corner at `speed`, jumping there
// when it is more than a tile away and snapping once it is closer than one step.
void GlideAxis(float& pos, int boxOffset, float tileCorner, float speed, int phase) {
    float corner = pos + boxOffset;
    float target = tileCorner - boxOffset;
    if (phase == 0) {
        if (corner - tileCorner > 64 || tileCorner - corner > 64) pos = target;
    } else if (phase == 1) {
        if (corner < tileCorner)
            pos += speed;
        else if (corner > tileCorner)
            pos -= speed;
    } else {
        float d = corner - tileCorner;
        if (d < 0) d = -d;
        if (d < speed) pos = target;
    }
}
}  // namespace

void Climber::Update() {
    if (!dead) {
        float tileX = 64.0f * tX;
        float tileY = 64.0f * tY;
        for (int phase = 0; phase < 3; ++phase) {
            GlideAxis(x, cx, tileX, climbSpeed, phase);
            GlideAxis(y, cy, tileY, climbSpeed, phase);
        }
        bool atTarget = x == TargetX() && y == TargetY();
        if (sprite) {
            if (sprite->isAnimationFinishedNext() && atTarget) idleing = 1;
            if (sprite->isAnimationFinished() && atTarget) {
                sprite->SetAnimationOff();
                Idle();
            }
        }
    }
    Entity::Update();
    climbHold = 0;
}

void Climber::Draw() { Entity::Draw(); }

void Climber::Idle() {
    if (sprite) sprite->PlayAnimation(climbHold ? &aClimbIdle : &aIdle);
    idleing = 1;
}

int Climber::GetTileX() { return tX; }
int Climber::GetTileY() { return tY; }
