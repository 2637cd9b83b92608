#include "game/autoplay/FinalFighter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/autoplay/Danger.h"
#include "game/autoplay/Reach.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/EyeCrawler.h"
#include "game/enemies/LaserBeam.h"
#include "game/enemies/LaserClimber.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

namespace autoplay {

namespace {

// Threats are followed kHorizon frames ahead; closer than kDodgeAt the fighter steps aside, and it
// moves only onto a tile that stays clear for more than kSafeStep (a step's glide and a little more).
constexpr int kHorizon = 60;
constexpr int kDodgeAt = 30;
constexpr int kSafeStep = 32;
// A beam coming within this many frames makes its rows unsafe.
constexpr int kBeamWarning = 70;
// While the eye flies, a dodge onto an edge column counts as this many frames less clear.
constexpr int kEdgeCost = 20;

const int kMoves[8][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
const int kAims[8][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}};

bool Settled(Player* p) { return p->idleing && p->x == p->TargetX() && p->y == p->TargetY(); }

// The eye as a slit between the robots, and as a carrier among the crawlers.
bool SlitEye(FinalBoss* b) {
    return b->aiPhase >= FinalBoss::kPhaseSmallStart && b->aiPhase < FinalBoss::kPhaseCrawlersStart;
}
bool AmongCrawlers(FinalBoss* b) { return b->aiPhase >= FinalBoss::kPhaseCrawlersStart; }

std::vector<LaserClimber*> Robots() {
    std::vector<LaserClimber*> robots;
    for (Entity* e : Entity::entList)
        if (auto* r = dynamic_cast<LaserClimber*>(e))
            if (r->alive) robots.push_back(r);
    return robots;
}

// Frames until the two robots next meet ready to fire (or -1), with `halt` frames of halt given to
// `halted` now; the height of the meeting goes to *at.
int MeetIn(LaserClimber* a, LaserClimber* b, int halt, LaserClimber* halted, float* at) {
    struct Sim {
        float y, v;
        int hold, shot;
    } s[2];
    LaserClimber* r[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
        float v = r[i]->velY != 0 ? r[i]->velY : r[i]->aiPhase;
        s[i] = {r[i]->y, v, r[i]->aiTimer, r[i]->shotTimer};
        if (r[i] == halted) s[i].hold = halt;
    }
    for (int t = 0; t < 900; ++t) {
        for (Sim& m : s) {
            const float sy = m.y - Building::scrollY;
            if (sy < -64 || sy + 128 > 480) m.v = -m.v;
            if (m.shot > 0) --m.shot;
        }
        if (s[0].shot <= 0 && s[1].shot <= 0 && std::fabs(s[0].y - s[1].y) < 4) {
            *at = s[0].y;
            return t;
        }
        for (Sim& m : s) {
            if (m.hold > 0)
                --m.hold;
            else
                m.y += m.v;
        }
    }
    return -1;
}

// The band of rows (world y) a beam will cover within `horizon` frames, or false.
bool BeamBand(int horizon, float* top, float* bottom) {
    std::vector<LaserClimber*> robots = Robots();
    for (Entity* e : Entity::entList)
        if (auto* beam = dynamic_cast<LaserBeam*>(e)) {
            *top = beam->y + beam->cy;
            *bottom = *top + beam->ch;
            return true;
        }
    if (robots.size() != 2) return false;
    for (LaserClimber* r : robots)
        if (r->sprite->isCurrentAnimation(&r->aLaserShot)) {
            *top = r->y + 92;
            *bottom = r->y + 108;
            return true;
        }
    float at = 0;
    int when = MeetIn(robots[0], robots[1], 0, nullptr, &at);
    if (when < 0 || when > horizon) return false;
    *top = at + 92;
    *bottom = at + 108;
    return true;
}

// The first frame within the horizon at which a crawler reaches the box: it glides a pixel a frame
// to its next tile, and one resting with its shell whole may set off towards any neighbour at once.
template <class Box>
int CrawlerImpact(EyeCrawler* c, Box box, float bw, float bh, int horizon, int from) {
    static const int kWays[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    const bool resting = c->x == c->TargetX() && c->y == c->TargetY();
    const bool mayStart = resting && c->HP >= c->MaxHP;
    int best = horizon + 1;
    for (int w = 0; w < (mayStart ? 4 : 1); ++w) {
        const float gx = c->TargetX() + (mayStart ? 64.0f * kWays[w][0] : 0.0f);
        const float gy = c->TargetY() + (mayStart ? 64.0f * kWays[w][1] : 0.0f);
        float hx = c->x, hy = c->y;
        for (int k = 0; k <= horizon && k < best; ++k) {
            float bx = 0, by = 0;
            box(k, &bx, &by);
            const float ex = hx + c->cx, ey = hy + c->cy;
            if (k >= from && ex + c->cw + 6 >= bx && bx + bw + 6 >= ex && ey + c->ch + 6 >= by && by + bh + 6 >= ey) {
                best = k;
                break;
            }
            hx += std::max(-c->climbSpeed, std::min(c->climbSpeed, gx - hx));
            hy += std::max(-c->climbSpeed, std::min(c->climbSpeed, gy - hy));
        }
    }
    return best;
}

// How long a tile (the player's, or one step over) stays clear, counting a coming beam.
int Safety(Player* p, int sx, int sy) {
    // Nothing hurts the player while it blinks after coming back.
    const int immune = p->invinceTimer;
    int clear = danger::ClearForGlide(p, sx, sy, kHorizon, [immune](Entity* e, auto box, float w, float h, int hz) {
        if (auto* c = dynamic_cast<EyeCrawler*>(e)) return CrawlerImpact(c, box, w, h, hz, immune);
        return danger::TimeToImpactMoving(e, box, w, h, hz, immune);
    });
    // The flying eye creeps and charges: keep well clear of it.
    FinalBoss* b = FinalBoss::debug_boss;
    if (b && b->hurtPlayer && b->side == p->side) {
        const float m = 56;
        const float px = p->x + p->cx + p->offX + 64 * sx, py = p->y + p->cy + p->offY + 64 * sy;
        const float ex = b->x + b->cx, ey = b->y + b->cy;
        if (px + p->cw + m >= ex && ex + b->cw + m >= px && py + p->ch + m >= ey && ey + b->ch + m >= py)
            clear = std::min(clear, 10);
    }
    float top, bottom;
    if (BeamBand(kBeamWarning, &top, &bottom)) {
        const float py = p->y + p->cy + 64 * sy, ph = static_cast<float>(p->ch);
        if (py + ph + 6 >= top && bottom + 6 >= py) clear = std::min(clear, 0);
    }
    return clear;
}

// Whether the eye is flying after the player: then the wall's edge columns are traps, with no way
// out of a charge.
bool Flying(FinalBoss* b) { return b->InFormFight() && b->aiTargetArea == FinalBoss::kFormFlying; }
bool OnEdge(int tx) { return tx <= tower::kFirstColumn || tx >= tower::kLastColumn; }

bool Dodge(Player* p, FinalBoss* b, int* dx, int* dy) {
    const int here = Safety(p, 0, 0);
    if (here > kDodgeAt) return false;
    const int edgeCost = Flying(b) ? kEdgeCost : 0;
    return danger::BestStep(
        kMoves, here, [&](int sx, int sy) { return Safety(p, sx, sy) - (OnEdge(p->tX + sx) ? edgeCost : 0); },
        [&](int sx, int sy) { return StepAllowedNow(p, sx, sy); }, dx, dy);
}

// The robot whose halt brings the next meeting nearest to where the beam crosses the eye.
Entity* SteeringTarget(FinalBoss* b) {
    std::vector<LaserClimber*> robots = Robots();
    if (robots.size() != 2) return nullptr;
    const float want = b->y + b->ch / 2 - 100;  // the beam's middle is 100 below the robots' tops
    auto miss = [&](int halt, LaserClimber* who) {
        float at = 0;
        if (MeetIn(robots[0], robots[1], halt, who, &at) < 0) return 1e9f;
        return std::fabs(at - want);
    };
    const float now = miss(0, nullptr);
    if (now < 24) return nullptr;
    const float a = miss(10, robots[0]), c = miss(10, robots[1]);
    if (std::min(a, c) >= now) return nullptr;
    return a <= c ? robots[0] : robots[1];
}

bool AimAt(Player* p, Entity* target, Keys* k) {
    for (const auto& a : kAims) {
        if (GunTarget(p, a[0], a[1]) != target) continue;
        k->Fire(a[0], a[1]);
        return true;
    }
    return false;
}

// One safe step towards a tile from which the target is in a gun line.
void MoveToLineOf(Player* p, Entity* target, Keys* k) {
    const int tx = static_cast<int>(target->GetCenterX() / 64), ty = static_cast<int>(target->GetCenterY() / 64);
    int bestD = 1 << 30, bx = 0, by = 0;
    bool found = false;
    for (const auto& s : kMoves) {
        if (!StepAllowedNow(p, s[0], s[1]) || Safety(p, s[0], s[1]) <= kSafeStep) continue;
        Tile t = PlayerTile(p);
        t.tx += s[0];
        t.ty += s[1];
        bool lined = false;
        for (const auto& a : kAims) lined = lined || GunTargetFrom(p, t, a[0], a[1]) == target;
        const int d = lined ? -1 : std::abs(t.tx - tx) + std::abs(t.ty - (ty + 2));
        if (d < bestD) {
            bestD = d;
            bx = s[0];
            by = s[1];
            found = true;
        }
    }
    const int dHere = std::abs(p->tX - tx) + std::abs(p->tY - (ty + 2));
    if (found && bestD < dHere) k->Step(bx, by);
}

// While the eye flies, a step away from the wall's edge columns and from the screen's top or bottom
// row, when that is safe: a corner leaves no way out of a charge. False when there is room enough.
bool TakeRoom(Player* p, Keys* k) {
    // The way in from an edge column, and off a row with no step below or above it.
    const int dx = p->tX <= tower::kFirstColumn ? 1 : (p->tX >= tower::kLastColumn ? -1 : 0);
    const int dy = !StepAllowedNow(p, 0, 1) ? -1 : (!StepAllowedNow(p, 0, -1) ? 1 : 0);
    if (!dx && !dy) return false;
    int best = kSafeStep, bx = 0, by = 0;
    for (const auto& m : kMoves) {
        if ((dx && m[0] != dx) || (dy && m[1] != dy && (!dx || m[1] == -dy))) continue;
        if (!StepAllowedNow(p, m[0], m[1])) continue;
        const int s = Safety(p, m[0], m[1]);
        if (s > best) {
            best = s;
            bx = m[0];
            by = m[1];
        }
    }
    if (!bx && !by) return false;
    k->Step(bx, by);
    return true;
}

// Keeps to a safe tile in column `col` of the row it is on.
void Park(Player* p, int col, Keys* k) {
    int dx = col > p->tX ? 1 : (col < p->tX ? -1 : 0);
    if (dx != 0 && StepAllowedNow(p, dx, 0) && Safety(p, dx, 0) > kSafeStep) k->Step(dx, 0);
}

}  // namespace

void FinalFighter::Think(Keys* k) {
    k->Clear();
    Player* p = Player::Get();
    FinalBoss* b = FinalBoss::debug_boss;
    if (!p || !b || p->dead || Building::scenePhase != Building::kSceneNone) return;
    if (!Settled(p)) return;

    int dx = 0, dy = 0;
    if (Dodge(p, b, &dx, &dy)) {
        k->Step(dx, dy);
        return;
    }
    if (Flying(b) && TakeRoom(p, k)) return;
    Entity* target = Target(p, b);
    if (!target) {
        // Nothing to shoot at: keep to a safe tile near the middle of the wall's bottom.
        if (b->aiTargetArea == FinalBoss::kFormSmall && b->InFormFight()) Park(p, 8, k);
        return;
    }
    if (AimAt(p, target, k)) return;
    MoveToLineOf(p, target, k);
}

Entity* FinalFighter::Target(Player* p, FinalBoss* b) {
    if (!b->InFormFight() || b->aiPhase == FinalBoss::kPhaseSmall || b->aiTargetArea == FinalBoss::kFormFlying) {
        if (b->canHit && b->side == p->side && b->y != 0) return b;
    }
    if (SlitEye(b)) return SteeringTarget(b);
    if (AmongCrawlers(b)) return CrawlerTarget(p);
    return nullptr;
}

bool FinalFighter::ShellSeen(EyeCrawler* c) const {
    for (const EntityLink<EyeCrawler>& e : empty_)
        if (e.get() == c) return true;
    return false;
}

Entity* FinalFighter::CrawlerTarget(Player* p) {
    EyeCrawler* best = nullptr;
    for (Entity* e : Entity::entList) {
        auto* c = dynamic_cast<EyeCrawler*>(e);
        if (!c || c->dead || !c->alive) continue;
        // The carrier's cracked shell looks different from the others'.
        if (c->sprite->isCurrentAnimation(&c->aBreakHasEye)) carrier_ = c;
        // A shell that cracks the ordinary way is not the one.
        if (c->sprite->isCurrentAnimation(&c->aBreakNonEye) && !ShellSeen(c)) empty_.emplace_back(c);
        if (ShellSeen(c)) continue;
        if (!best ||
            std::abs(c->tX - p->tX) + std::abs(c->tY - p->tY) < std::abs(best->tX - p->tX) + std::abs(best->tY - p->tY))
            best = c;
    }
    if (carrier_) return carrier_.get();
    return best;
}

}  // namespace autoplay
