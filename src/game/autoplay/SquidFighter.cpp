#include "game/autoplay/SquidFighter.h"

#include "game/autoplay/Danger.h"
#include "game/autoplay/Reach.h"
#include "game/bosses/BossSquid.h"
#include "game/bosses/SquidArm.h"
#include "game/player/Player.h"

namespace autoplay {

namespace {

constexpr int kTopRow = SquidFighter::kTopRow;
// Threats are followed kHorizon frames ahead; closer than kDodgeAt the fighter steps aside.
constexpr int kHorizon = 90;
constexpr int kDodgeAt = 40;

// The open rows below the squid, away from the edge columns.
bool Allowed(int tx, int ty) { return tx >= 2 && tx <= 7 && ty >= kTopRow + 4 && ty <= kTopRow + 6; }

// The first frame within the horizon at which a harmful thing reaches the player's box as it
// glides: shots fly straight; a tentacle tip sweeps on in its growth direction (a tile every
// five frames).
template <class Box>
int SquidImpactMoving(Entity* h, Box box, float bw, float bh, int horizon, int from) {
    auto* tip = dynamic_cast<SquidArm*>(h);
    if (!tip) return danger::TimeToImpactMoving(h, box, bw, bh, horizon, from);
    // One pixel's move for each growth direction: right, up, left, down.
    static_assert(
        SquidArm::kGrowRight == 0 && SquidArm::kGrowUp == 1 && SquidArm::kGrowLeft == 2 && SquidArm::kGrowDown == 3,
        "the table follows the growth directions");
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

int ClearForStep(Player* p, int dx, int dy, int horizon) {
    // Nothing hurts the player while it blinks after coming back.
    const int immune = p->invinceTimer;
    return danger::ClearForGlide(p, dx, dy, horizon, [immune](Entity* e, auto box, float w, float h, int hz) {
        return SquidImpactMoving(e, box, w, h, hz, immune);
    });
}

// What a shot along (ax, ay) from the player's tile hits first among the squid and its arms.
Entity* FirstHit(Player* p, int ax, int ay) {
    return p->HitScan(p->tX, p->tY, ax, ay,
                      [](Entity* e) { return dynamic_cast<BossSquid*>(e) || dynamic_cast<SquidArm*>(e); });
}

}  // namespace

BossSquid* FindSquid() { return danger::First<BossSquid>(); }

void SquidFighter::Think(Keys* k) {
    k->Clear();
    Player* p = Player::Get();
    BossSquid* s = FindSquid();
    if (!p || !s) return;
    if (p->dead || !p->idleing) {
        k->down[Keys::kFire] = true;
        return;
    }
    // Out of the squid's tiles (the climb ends in them) and back onto the open rows first.
    if (!Allowed(p->tX, p->tY)) {
        k->Step(p->tX < 2 ? 1 : (p->tX > 7 ? -1 : 0), p->tY < kTopRow + 4 ? 1 : (p->tY > kTopRow + 6 ? -1 : 0));
        return;
    }
    int here = ClearForStep(p, 0, 0, kHorizon);
    if (here <= kDodgeAt) {
        static const int kMoves[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        int bdx = 0, bdy = 0;
        if (danger::BestStep(
                kMoves, here, [&](int dx, int dy) { return ClearForStep(p, dx, dy, kHorizon); },
                [&](int dx, int dy) { return Allowed(p->tX + dx, p->tY + dy) && StepAllowedNow(p, dx, dy); }, &bdx,
                &bdy)) {
            k->Step(bdx, bdy);
            ++dodges_;
            return;
        }
    }
    // Fire: at the squid if a line reaches it, else at a tentacle segment in some line.
    static const int kAims[][2] = {{0, -1}, {-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, 1}, {1, 1}};
    const int* segmentAim = nullptr;
    for (const auto& a : kAims) {
        Entity* hit = FirstHit(p, a[0], a[1]);
        if (hit && hit == s) {
            k->Fire(a[0], a[1]);
            return;
        }
        if (hit && !segmentAim) segmentAim = a;
    }
    // No line to the squid: walk back under it when that is safe.
    int dx = p->tX < 4 ? 1 : (p->tX > 5 ? -1 : 0);
    int dy = p->tY < kTopRow + 5 ? 1 : (p->tY > kTopRow + 5 ? -1 : 0);
    if ((dx || dy) && s->canHit && ClearForStep(p, dx, dy, kHorizon) > kHorizon) {
        k->Step(dx, dy);
        return;
    }
    if (segmentAim)
        k->Fire(segmentAim[0], segmentAim[1]);
    else
        k->Fire(0, -1);
}

}  // namespace autoplay
