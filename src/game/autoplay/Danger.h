// What threatens the player next: how soon a shot, a creature or a falling block reaches a box,
// followed frame by frame as the automatic player and the fight tests judge it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/DetMath.h"
#include "game/bosses/CrabWalker.h"
#include "game/enemies/Spider.h"
#include "game/enemies/WallBlast.h"
#include "game/entities/Entity.h"
#include "game/player/Player.h"
#include "game/world/FallingBlock.h"

namespace autoplay {
namespace danger {

// The first entity of type T in the list, or null.
template <class T>
T* First() {
    for (Entity* x : Entity::entList)
        if (auto* t = dynamic_cast<T*>(x)) return t;
    return nullptr;
}

inline CrabWalker* FindCrab() { return First<CrabWalker>(); }

// The harmful thing on the player's wall nearest to it, or null: most likely what took a life
// that was just lost.
inline Entity* NearestHarm(Player* p) {
    Entity* near = nullptr;
    float best = 1e9f;
    for (Entity* x : Entity::entList) {
        if (x == p || !x->hurtPlayer || x->side != p->side) continue;
        float d = std::hypot(x->GetCenterX() - p->GetCenterX(), x->GetCenterY() - p->GetCenterY());
        if (d < best) {
            best = d;
            near = x;
        }
    }
    return near;
}

// The least of impact(h) over the live harmful things on the player's wall, or horizon + 1.
template <class Impact>
int Earliest(Player* p, int horizon, Impact impact) {
    int best = horizon + 1;
    for (Entity* h : Entity::entList) {
        if (h == p || h->dead || !h->hurtPlayer || h->side != p->side) continue;
        best = std::min(best, impact(h));
    }
    return best;
}

// A harmful thing's flight, frame by frame: shots fly straight, wavering ones drifting as their
// wave takes them; a falling block hangs until its warning is over and then drops 5 pixels a frame.
struct Flight {
    Entity* h;
    FallingBlock* block;
    WallBlast* shot;
    float hx, hy, deg, vx, vy;

    explicit Flight(Entity* e)
        : h(e),
          block(dynamic_cast<FallingBlock*>(e)),
          shot(dynamic_cast<WallBlast*>(e)),
          hx(e->x + e->cx),
          hy(e->y + e->cy),
          deg(shot ? shot->wavYDeg : 0),
          vx(e->velX),
          vy(e->velY) {}

    // Whether it touches the box (bx, by, bw, bh), with a margin of 6 pixels.
    bool Touches(float bx, float by, float bw, float bh) const {
        return hx + h->cw + 6 >= bx && bx + bw + 6 >= hx && hy + h->ch + 6 >= by && by + bh + 6 >= hy;
    }

    // Moves on from frame k to frame k + 1.
    void Advance(int k) {
        if (block) {
            if (k >= block->delayTime) hy += 5;
            return;
        }
        if (shot && shot->waverY) {
            hy += detmath::Sin(deg) * shot->wavYAmp;
            deg += 0.1f;
        }
        hx += vx;
        hy += vy;
    }
};

// The first frame within `horizon` at which a harmful thing touches the box (bx, by, bw, bh), or
// horizon + 1.
inline int TimeToImpact(Entity* h, float bx, float by, float bw, float bh, int horizon) {
    Flight f(h);
    for (int k = 0; k <= horizon; ++k) {
        if (f.Touches(bx, by, bw, bh)) return k;
        f.Advance(k);
    }
    return horizon + 1;
}

// How long a box would stay untouched, up to the horizon, with impact(h, bx, by, bw, bh, horizon)
// judging each harmful thing (TimeToImpact unless a fight knows its own threats better).
template <class Impact>
int ClearFor(Player* p, float bx, float by, float bw, float bh, int horizon, Impact impact) {
    return Earliest(p, horizon, [&](Entity* h) { return impact(h, bx, by, bw, bh, horizon); });
}

inline int ClearFor(Player* p, float bx, float by, float bw, float bh, int horizon) {
    return ClearFor(p, bx, by, bw, bh, horizon, TimeToImpact);
}

// The same for the standing player staying put, or gliding one tile over by (dx, dy): the 16-frame
// glide sweeps over both tiles.
// `glide` is how long the step keeps the player from answering again (16 frames of sliding, more
// when the climbing animation has to finish too).
template <class Impact>
int ClearForStep(Player* p, int dx, int dy, int horizon, Impact impact, int glide = 16) {
    float w = static_cast<float>(p->cw), h = static_cast<float>(p->ch);
    float ox = p->x + p->cx + p->offX, oy = p->y + p->cy + p->offY;
    float nx = ox + 64 * dx, ny = oy + 64 * dy;
    int target = ClearFor(p, nx, ny, w, h, horizon, impact);
    if (dx == 0 && dy == 0) return target;
    int sweep =
        ClearFor(p, std::min(ox, nx), std::min(oy, ny), w + 64 * std::abs(dx), h + 64 * std::abs(dy), glide, impact);
    return sweep <= glide ? std::min(sweep, target) : target;
}

inline int ClearForStep(Player* p, int dx, int dy, int horizon) {
    return ClearForStep(p, dx, dy, horizon, TimeToImpact);
}

// Like TimeToImpact, for a box that moves: box(k, &bx, &by) gives its corner k frames on.
// Touches before frame `from` are not counted (the player is immune until then).
template <class Box>
int TimeToImpactMoving(Entity* h, Box box, float bw, float bh, int horizon, int from = 0) {
    Flight f(h);
    if (dynamic_cast<Spider*>(h)) {
        // A spider crawls a pixel a frame at the player: along the row first, then the column.
        float bx = 0, by = 0;
        box(0, &bx, &by);
        const float gx = bx + bw / 2 - (f.hx + h->cw / 2), gy = by + bh / 2 - (f.hy + h->ch / 2);
        f.vx = std::fabs(gx) > 32 ? (gx > 0 ? 1.0f : -1.0f) : 0.0f;
        f.vy = f.vx == 0 && std::fabs(gy) > 32 ? (gy > 0 ? 1.0f : -1.0f) : 0.0f;
    }
    for (int k = 0; k <= horizon; ++k) {
        float bx = 0, by = 0;
        box(k, &bx, &by);
        if (k >= from && f.Touches(bx, by, bw, bh)) return k;
        f.Advance(k);
    }
    return horizon + 1;
}

// How long the player stays untouched standing still (0, 0) or gliding one tile over by (dx, dy)
// at the climb's pace of 4 pixels a frame, following the glide frame by frame.
// impact(h, box, bw, bh, horizon) judges each harmful thing (TimeToImpactMoving unless a fight knows
// its own threats better).
template <class Impact>
int ClearForGlide(Player* p, int dx, int dy, int horizon, Impact impact) {
    const float w = static_cast<float>(p->cw), h = static_cast<float>(p->ch);
    const float ox = p->x + p->cx + p->offX, oy = p->y + p->cy + p->offY;
    auto box = [&](int k, float* bx, float* by) {
        float moved = std::min(4.0f * static_cast<float>(k + 1), 64.0f);
        *bx = ox + moved * static_cast<float>(dx);
        *by = oy + moved * static_cast<float>(dy);
    };
    return Earliest(p, horizon, [&](Entity* e) { return impact(e, box, w, h, horizon); });
}

// While the player blinks after coming back it cannot be hurt: only what still touches it after
// that counts, so it walks out of a creature it came back on.
inline int ClearForGlide(Player* p, int dx, int dy, int horizon) {
    const int immune = p->invinceTimer;
    return ClearForGlide(p, dx, dy, horizon, [immune](Entity* e, auto box, float w, float h, int hz) {
        return TimeToImpactMoving(e, box, w, h, hz, immune);
    });
}

// The step among `steps` that allowed(dx, dy) permits and that score(dx, dy) rates above `here`
// (staying put), the first of equals winning. False, leaving dx and dy alone, when none beats it.
template <class Score, class Allowed>
bool BestStep(const int (&steps)[8][2], int here, Score score, Allowed allowed, int* dx, int* dy) {
    int best = here;
    bool found = false;
    for (const auto& m : steps) {
        if (!allowed(m[0], m[1])) continue;
        int s = score(m[0], m[1]);
        if (s > best) {
            best = s;
            *dx = m[0];
            *dy = m[1];
            found = true;
        }
    }
    return found;
}

}  // namespace danger
}  // namespace autoplay
