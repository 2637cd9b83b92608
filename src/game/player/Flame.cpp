#include "game/player/Flame.h"

#include <algorithm>
#include <cstdlib>

#include "engine/GameEngine.h"
#include "game/player/Player.h"

namespace {
std::vector<Flame*>& Registry() {
    static std::vector<Flame*> live;
    return live;
}
}  // namespace

const std::vector<Flame*>& Flame::Live() { return Registry(); }

Flame::Flame(int sside, int sx, int sy, int sDirX, int sDirY, int slength) {
    side = sside;
    length = slength;
    flameScale = (slength - 1) * 0.5f + 1.0f;
    sprite = new Sprite(side, GameEngine::gEngine, Player::sprite_sheet[1], 0, 0, 16, 16, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 13, 1, 28);
    x = sx - 16 * flameScale;
    y = sy - 16 * flameScale;
    cx = cy = 0;
    cw = ch = 64;
    canHit = 0;
    canFlameHit = 0;
    hurtPlayer = 0;
    wallDraw = 0;
    HP = MaxHP = 10;
    Idle();
    dirX = sDirX;
    dirY = sDirY;
    next = nullptr;
    igniteTimer = -1;
    life = 0;
    Reignite();
    Registry().push_back(this);
}

Flame::~Flame() {
    std::vector<Flame*>& live = Registry();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    for (Flame* f : live)
        if (f->next == this) f->next = nullptr;
    if (Player::body && Player::body->startFlame == this) Player::body->startFlame = nullptr;
}

void Flame::Reignite() {
    life = 3;
    if (igniteTimer == -1) igniteTimer = 2;
}

int Flame::GetLength(Flame* f) {
    int n = 0;
    for (; f; f = f->next) ++n;
    return n;
}

void Flame::Update() {
    // Spreading: pass the fire on to the next segment out.
    if (igniteTimer > 0) {
        --igniteTimer;
    } else if (length <= 3) {
        if (next) {
            next->Reignite();
        } else {
            int half = static_cast<int>(16 * flameScale);
            int nx = static_cast<int>(x + 16 * dirX * flameScale) + half;
            int ny = static_cast<int>(y + 16 * dirY * flameScale) + half;
            next = new Flame(side, nx, ny, dirX, dirY, length + 1);
            Entity::entList.push_back(next);
        }
        igniteTimer = -1;
    }

    // Burning.
    if (life <= 0) {
        alive = false;
    } else {
        --life;
        cx = cy = 0;
        cw = ch = static_cast<int>(32 * flameScale);
        for (size_t i = 1; i < Entity::entList.size(); ++i) {
            Entity* e = Entity::entList[i];
            if (e == this || !e->canFlameHit || !hitEntity(e)) continue;
            if (e->isBoss) {
                if (std::rand() % 12 == 0) e->HP -= 1;
            } else {
                e->HP -= 1;
            }
        }
    }

    Entity::Update();
}

void Flame::Draw() {
    Idle();
    if (sprite) sprite->scale = flameScale;
    Entity::Draw();
}
