#include "game/enemies/PopperBaby.h"

#include <cmath>
#include <cstdlib>

#include "engine/DetMath.h"
#include "engine/GameEngine.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

PopperBaby::PopperBaby(int sside, float sx, float sy, PopperGroup* sgroup) {
    side = sside;
    x = sx;
    y = sy;
    sprite = new Sprite(side, GameEngine::gEngine, enemy_sheet_1, x, y, 32, 32, 0, 0);
    Sprite::SetAnimationData(&aIdle, 3, 6, 7, 3);
    Sprite::SetAnimationData(&aDead, 3, 3, 5, 3);
    Idle();
    cx = cy = 40;
    cw = ch = 4;
    bloodRate = 0;
    velX = velY = 0;
    HP = MaxHP = 1;
    dieTimer = 400 + std::rand() % 20;
    group = sgroup;
    targetVelX = targetVelY = 0;
    hurtPlayer = 0;
}

PopperBaby::~PopperBaby() {
    if (!group) return;
    for (auto it = group->begin(); it != group->end(); ++it) {
        if (it->get() == this) {
            group->erase(it);
            break;
        }
    }
    if (group->empty()) delete group;
    group = nullptr;
}

bool PopperBaby::OutOfView() const {
    const float sy = y - Building::scrollY;
    return x < -100 || x > 640 || sy > 480 || sy < -100;
}

void PopperBaby::AI() {
    Player* player = Player::Get();
    if (!player) return;

    --dieTimer;
    if (dieTimer < 0) HP = 0;

    // Aim at a point right of and below the player's centre.
    const float a = detmath::Atan2(GetCenterY() - player->GetCenterY() - 40,
                                   GetCenterX() - player->GetCenterX() - player->offX - 20);

    if (hitEntity(player)) ++player->popperHalt;

    // Flock: the mean direction away from the near members (this baby included), weighed by
    // the size of the whole swarm.
    int n = 0;
    float s = 0;
    size_t members = 0;
    if (group) {
        for (EntityLink<Entity>& link : *group) {
            Entity* m = link.get();
            if (!m) continue;
            ++members;
            if (distToEntity(m) < kFlockDistance) {
                ++n;
                s += detmath::Atan2(GetCenterY() - m->GetCenterY(), GetCenterX() - m->GetCenterX());
            }
        }
    }
    const float h = (n < 1 || members == 0) ? a : (7 * a + 3 * (s / static_cast<float>(members))) / 10;

    targetVelX = -detmath::Cos(h) * kSpeed;
    targetVelY = -detmath::Sin(h) * kSpeed;
    if (velX < targetVelX)
        velX += kTurn;
    else if (velX > targetVelX)
        velX -= kTurn;
    if (velY < targetVelY)
        velY += kTurn;
    else if (velY > targetVelY)
        velY -= kTurn;

    if (OutOfView()) alive = false;
}

void PopperBaby::Update() {
    const int timerBefore = dieTimer;
    Entity::Update();
    // The view check above runs with the baby's AI only. A baby left behind on another side (or
    // far from the player) keeps drifting with its last velocity, so it is also removed here once
    // it has drifted out of the view, rather than drifting for ever.
    if (dieTimer == timerBefore && !dead && OutOfView()) alive = false;
}

void PopperBaby::Burst(int sside, float bx, float by, int bw, int bh) {
    if (bw < 1) bw = 1;
    if (bh < 1) bh = 1;
    PopperGroup* g = new PopperGroup();
    g->reserve(8);
    for (int i = 0; i < 8; ++i) {
        const float px = bx + static_cast<float>(std::rand() % bw);
        const float py = by + static_cast<float>(std::rand() % bh);
        PopperBaby* baby = new PopperBaby(sside, px, py, g);
        entList.push_back(baby);
        g->push_back(EntityLink<Entity>(baby));
    }
}
