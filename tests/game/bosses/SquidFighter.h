// A player for the squid's arena: it leaves the squid's own tiles for the open rows below it,
// dodges shots and tentacle tips (a tip is taken to sweep on at its pace of growth), fires at the
// squid whenever a line reaches it, at a tentacle in the way otherwise, and walks back under the
// squid when that is safe.
#pragma once

#include <cstdlib>

#include "../bot/Bot.h"
#include "../support/Danger.h"
#include "engine/GameEngine.h"
#include "game/bosses/BossSquid.h"
#include "game/bosses/SquidArm.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

namespace fight {

inline BossSquid* FindSquid() { return danger::First<BossSquid>(); }

class SquidFighter {
public:
    static constexpr int kArena = -29696;
    static constexpr int kTopRow = kArena / 64;

    int dodges = 0;

    void Think(bot::Keys* k) {
        k->Clear();
        Player* p = Player::Get();
        BossSquid* s = FindSquid();
        if (!p || !s) return;
        if (p->dead || !p->idleing) {
            k->down['C'] = true;
            return;
        }
        const int horizon = 90;
        // Out of the squid's tiles (the climb ends in them) and back onto the open rows first.
        if (!Allowed(p->tX, p->tY)) {
            Step(p->tX < 2 ? 1 : (p->tX > 7 ? -1 : 0), p->tY < kTopRow + 4 ? 1 : (p->tY > kTopRow + 6 ? -1 : 0), k);
            return;
        }
        int here = ClearForStep(p, 0, 0, horizon);
        if (here <= 40) {
            static const int kMoves[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
            int bdx = 0, bdy = 0;
            if (danger::BestStep(
                    kMoves, here, [&](int dx, int dy) { return ClearForStep(p, dx, dy, horizon); },
                    [&](int dx, int dy) { return Allowed(p->tX + dx, p->tY + dy) && bot::StepAllowedNow(p, dx, dy); },
                    &bdx, &bdy)) {
                Step(bdx, bdy, k);
                ++dodges;
                return;
            }
        }
        // Fire: at the squid if a line reaches it, else at a tentacle segment in some line.
        static const int kAims[][2] = {{0, -1}, {-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, 1}, {1, 1}};
        const int* segmentAim = nullptr;
        for (const auto& a : kAims) {
            Entity* hit = FirstHit(p, a[0], a[1]);
            if (hit && hit == s) {
                Aim(a[0], a[1], k);
                return;
            }
            if (hit && !segmentAim) segmentAim = a;
        }
        // No line to the squid: walk back under it when that is safe.
        int dx = p->tX < 4 ? 1 : (p->tX > 5 ? -1 : 0);
        int dy = p->tY < kTopRow + 5 ? 1 : (p->tY > kTopRow + 5 ? -1 : 0);
        if ((dx || dy) && s->canHit && ClearForStep(p, dx, dy, horizon) > horizon) {
            Step(dx, dy, k);
            return;
        }
        if (segmentAim)
            Aim(segmentAim[0], segmentAim[1], k);
        else
            Aim(0, -1, k);
    }

private:
    static bool Allowed(int tx, int ty) { return tx >= 2 && tx <= 7 && ty >= kTopRow + 4 && ty <= kTopRow + 6; }

    static void Step(int dx, int dy, bot::Keys* k) {
        k->down['X'] = true;
        if (dy) k->down[dy < 0 ? VK_UP : VK_DOWN] = true;
        if (dx) k->down[dx < 0 ? VK_LEFT : VK_RIGHT] = true;
    }
    static void Aim(int ax, int ay, bot::Keys* k) {
        k->down['C'] = true;
        if (ay) k->down[ay < 0 ? VK_UP : VK_DOWN] = true;
        if (ax) k->down[ax < 0 ? VK_LEFT : VK_RIGHT] = true;
    }

    // The first frame within the horizon at which a harmful thing reaches the player's box as it
    // glides: shots fly straight; a tentacle tip sweeps on in its growth direction (a tile every
    // five frames).
    template <class Box>
    static int SquidImpactMoving(Entity* h, Box box, float bw, float bh, int horizon, int from) {
        auto* tip = dynamic_cast<SquidArm*>(h);
        if (!tip) return danger::TimeToImpactMoving(h, box, bw, bh, horizon, from);
        static const float kDir[4][2] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}};
        float hx = h->x + h->cx, hy = h->y + h->cy;
        const float vx = kDir[tip->oDir][0] * 12.8f, vy = kDir[tip->oDir][1] * 12.8f;
        for (int k = 0; k <= horizon; ++k) {
            float bx = 0, by = 0;
            box(k, &bx, &by);
            if (k >= from && hx + h->cw + 6 >= bx && bx + bw + 6 >= hx && hy + h->ch + 6 >= by && by + bh + 6 >= hy)
                return k;
            hx += vx;
            hy += vy;
        }
        return horizon + 1;
    }
    static int ClearForStep(Player* p, int dx, int dy, int horizon) {
        // Nothing hurts the player while it blinks after coming back.
        const int immune = p->invinceTimer;
        return danger::ClearForGlide(p, dx, dy, horizon, [immune](Entity* e, auto box, float w, float h, int hz) {
            return SquidImpactMoving(e, box, w, h, hz, immune);
        });
    }
    // What a shot along (ax, ay) from the player's tile hits first, following the gun's tile trace.
    static Entity* FirstHit(Player* p, int ax, int ay) {
        int cX = p->tX, cY = p->tY;
        const float topRow = Building::scrollY / 64.0f;
        for (int n = 0; n < 16; ++n) {
            if (cX > 8 || cX <= 0 || cY < topRow || cY > topRow + 6) return nullptr;
            cX += ax;
            cY += ay;
            for (Entity* e : Entity::entList) {
                if (e == p || e->dead || e->side != p->side || !e->canHit) continue;
                if (!dynamic_cast<BossSquid*>(e) && !dynamic_cast<SquidArm*>(e)) continue;
                if (e->boxCollide(cX * 64 + 1, cY * 64 + 1, 62, 62)) return e;
            }
        }
        return nullptr;
    }
};

}  // namespace fight
