#include "game/enemies/LaserClimber.h"

#include <cmath>

#include "engine/GImage.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/LaserBeam.h"
#include "game/world/Building.h"

GImage* LaserClimber::sheet = nullptr;

void LaserClimber::Init() { sheet = GImage::CreateNew("data/enemy/phase2bot.png"); }

LaserClimber::LaserClimber(int sside, float sx, float sy) {
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, sheet, x, y, 32, 96, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 6, 3, 0);
    Sprite::SetAnimationData(&aLaserShot, 0, 3, 20, 1);
    HP = MaxHP = 1000;
    hurtPlayer = 0;
    canHit = 1;
    canFlameHit = 0;  // the flame passes through
    cx = 4;
    cy = 74;
    cw = 48;
    ch = 46;
    velY = -2.0f;
    aiPhase = 0;
    aiTimer = 0;
    shotTimer = 20;
    Idle();
}

float LaserClimber::ScreenY() const { return y - Building::scrollY + offY; }

void LaserClimber::AI() {
    // Bounce between the top and the bottom of the screen.
    const float sy = ScreenY();
    if (sy < -64 || sy + 128 > 480) velY = -velY;

    if (shotTimer > 0) --shotTimer;

    // A buddy already gone from the list (the form ending) is never read.
    Entity* other = buddy;
    if (shotTimer <= 0 && other && std::fabs(y - other->y) < 4 && !sprite->isCurrentAnimation(&aLaserShot)) {
        if (velY != 0) aiPhase = velY;
        velY = 0;
        sprite->PlayAnimation(&aLaserShot);
    }
}

void LaserClimber::Update() {
    Entity::Update();

    if (sprite->isCurrentAnimation(&aLaserShot)) {
        // Only the robot on the left fires; both stop and play the firing pose. A robot taken off
        // (the form ending this frame) fires nothing.
        if (sprite->onFrameEnter(2) && x < 320 && alive) {
            if (wavEBLasers) wavEBLasers->Play();
            auto* beam = new LaserBeam(side, x + cx + cw, y + 88);
            beam->boss = boss.get();
            entList.push_back(beam);
        }
        if (sprite->isAnimationFinishedNext()) {
            Idle();
            shotTimer = 20;
            velY = aiPhase;  // moves on as before
        }
        return;
    }

    // Keep the travelling velocity while halted by hits, and move on in the same direction after.
    if (aiPhase == 0 || (aiTimer == 10 && velY != 0)) aiPhase = velY;
    if (aiTimer > 0) {
        --aiTimer;
        velY = 0;
    }
    if (aiTimer == 0 && velY == 0) velY = aiPhase;
}

void LaserClimber::Hit(int locX, int locY) {
    Entity::Hit(locX, locY);
    aiTimer = 10;  // every shot that reaches it halts it
}
