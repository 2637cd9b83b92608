#include "game/world/Generator.h"

#include <cmath>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/Pickup.h"
#include "game/world/Electricity.h"
#include "game/world/Explosion.h"

Generator::Generator(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, Pickup::pickup_sheet, x, y, 32, 64, 0, 0);
    HP = MaxHP = 30;
    cx = 4;
    cy = 18;
    cw = 56;
    ch = 82;
    Sprite::SetAnimationData(&aIdle, 0, 2, 5, 2);
    canHit = 1;
    canFlameHit = 0;
    hurtPlayer = 0;
    wallDraw = 1;
    Idle();
}

void Generator::Die() {
    // Once is enough: a second call would leave a second blast and switch the group off twice.
    if (!alive) return;
    // It does not fall: it vanishes at the end of this update, leaving a harmless blast.
    alive = false;
    entList.push_back(new Explosion(side, static_cast<int>(x) - 32, static_cast<int>(y), FALSE));

    const float myY = GetCenterY();
    for (size_t i = 0; i < entList.size(); ++i) {
        Generator* g = dynamic_cast<Generator*>(entList[i]);
        if (!g || g == this || !g->alive) continue;
        if (std::fabs(g->GetCenterY() - myY) < kGroupReach) {
            // Another generator of the group still powers the barriers.
            if (wavGenDie) wavGenDie->Play();
            return;
        }
    }

    if (wavAllGenDie) wavAllGenDie->Play();
    for (Entity* e : entList) {
        if (dynamic_cast<Electricity*>(e) && std::fabs(e->GetCenterY() - myY) < kGroupReach) e->alive = false;
    }
}
