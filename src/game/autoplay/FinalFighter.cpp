#include "game/autoplay/FinalFighter.h"

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

namespace autoplay {

namespace {

// Threats are followed kHorizon frames ahead; closer than kDodgeAt the fighter steps aside, and it
// moves only onto a tile that stays clear for more than kSafeStep (a step's glide and a little more).
constexpr int kHorizon = 60;
constexpr int kDodgeAt = 30;
constexpr int kSafeStep = 32;
// A beam coming within this many frames makes its rows unsafe.
constexpr int kBeamWarning = 70;

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

// How long a tile (the player's, or one step over) stays clear, counting a coming beam.
int Safety(Player* p, int sx, int sy) {
    int clear = danger::ClearForGlide(p, sx, sy, kHorizon);
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

bool Dodge(Player* p, int* dx, int* dy) {
    const int here = Safety(p, 0, 0);
    if (here > kDodgeAt) return false;
    return danger::BestStep(
        kMoves, here, [&](int sx, int sy) { return Safety(p, sx, sy); },
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
    if (Dodge(p, &dx, &dy)) {
        k->Step(dx, dy);
        return;
    }
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
        if (!best || std::abs(c->tX - p->tX) + std::abs(c->tY - p->tY) <
                         std::abs(best->tX - p->tX) + std::abs(best->tY - p->tY))
            best = c;
    }
    if (carrier_) return carrier_.get();
    return best;
}

}  // namespace autoplay
