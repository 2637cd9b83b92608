// A player for the final boss: it reads what is on the screen and answers with keys. It dodges
// shots, spiders, the charging eye and the robots' coming beam; shoots the eye whenever it can be
// hit; in the slit-eye form it halts one robot or the other with shots until their next meeting
// puts the beam across the eye; in the crawler form it chips at shells until one cracks the way
// the carrier's does, then keeps shooting that one.
#pragma once

#include <cmath>
#include <cstdlib>
#include <vector>

#include "../bot/Bot.h"
#include "../support/Danger.h"
#include "engine/GameEngine.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/EyeCrawler.h"
#include "game/enemies/LaserBeam.h"
#include "game/enemies/LaserClimber.h"
#include "game/entities/EntityLink.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

namespace fight {

class FinalFighter {
public:
    // The keys for this frame (held keys are cleared first).
    void Think(bot::Keys* k) {
        k->Clear();
        Player* p = Player::Get();
        FinalBoss* b = FinalBoss::debug_boss;
        if (!p || !b || p->dead || Building::scenePhase > 0) return;
        if (!Ready(p)) return;

        int dx = 0, dy = 0;
        if (Dodge(p, &dx, &dy)) {
            Step(dx, dy, k);
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

private:
    EntityLink<EyeCrawler> carrier_;
    // Marks a shell known to be empty (in the colour variant the crawlers do not use).
    static constexpr int kShellSeen = 91;
    // Threats are followed kHorizon frames ahead; closer than kDodgeAt the fighter steps aside, and
    // it moves only onto a tile that stays clear for more than kSafeStep (a step's glide and a
    // little more).
    static constexpr int kHorizon = 60;
    static constexpr int kDodgeAt = 30;
    static constexpr int kSafeStep = 32;

    static bool Ready(Player* p) { return p->idleing && p->x == p->TargetX() && p->y == p->TargetY(); }

    static void Step(int dx, int dy, bot::Keys* k) {
        k->down['X'] = true;
        if (dx < 0) k->down[VK_LEFT] = true;
        if (dx > 0) k->down[VK_RIGHT] = true;
        if (dy < 0) k->down[VK_UP] = true;
        if (dy > 0) k->down[VK_DOWN] = true;
    }

    // The band of rows (world y) a beam will cover within `horizon` frames, or false.
    static bool BeamBand(int horizon, float* top, float* bottom) {
        std::vector<LaserClimber*> robots;
        for (Entity* e : Entity::entList)
            if (auto* r = dynamic_cast<LaserClimber*>(e))
                if (r->alive) robots.push_back(r);
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

    // Frames until the two robots next meet ready to fire (or -1), with `halt` frames of halt
    // given to `halted` now; the height of the meeting goes to *at.
    static int MeetIn(LaserClimber* a, LaserClimber* b, int halt, LaserClimber* halted, float* at) {
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

    bool Dodge(Player* p, int* dx, int* dy) {
        const int here = Safety(p, 0, 0);
        if (here > kDodgeAt) return false;
        static const int kSteps[8][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        return danger::BestStep(
            kSteps, here, [&](int sx, int sy) { return Safety(p, sx, sy); },
            [&](int sx, int sy) { return bot::StepAllowedNow(p, sx, sy); }, dx, dy);
    }

    // How long a tile (the player's, or one step over) stays clear, counting a coming beam.
    static int Safety(Player* p, int sx, int sy) {
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
        if (BeamBand(70, &top, &bottom)) {
            const float py = p->y + p->cy + 64 * sy, ph = static_cast<float>(p->ch);
            if (py + ph + 6 >= top && bottom + 6 >= py) clear = std::min(clear, 0);
        }
        return clear;
    }

    Entity* Target(Player* p, FinalBoss* b) {
        if (!b->InFormFight() || b->aiPhase == FinalBoss::kPhaseSmall || b->aiTargetArea == FinalBoss::kFormFlying) {
            if (b->canHit && b->side == p->side && b->y != 0) return b;
        }
        if (b->aiPhase >= FinalBoss::kPhaseSmallStart && b->aiPhase < FinalBoss::kPhaseCrawlersStart)
            return SteeringTarget(b);
        if (b->aiPhase >= FinalBoss::kPhaseCrawlersStart) return CrawlerTarget(p);
        return nullptr;
    }

    // The robot whose halt brings the next meeting nearest to where the beam crosses the eye.
    static Entity* SteeringTarget(FinalBoss* b) {
        std::vector<LaserClimber*> robots;
        for (Entity* e : Entity::entList)
            if (auto* r = dynamic_cast<LaserClimber*>(e))
                if (r->alive) robots.push_back(r);
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

    Entity* CrawlerTarget(Player* p) {
        EyeCrawler* best = nullptr;
        for (Entity* e : Entity::entList) {
            auto* c = dynamic_cast<EyeCrawler*>(e);
            if (!c || c->dead || !c->alive) continue;
            // The carrier's cracked shell looks different from the others'.
            if (c->sprite->isCurrentAnimation(&c->aBreakHasEye)) carrier_ = c;
            // A shell that cracks the ordinary way is not the one.
            if (c->sprite->isCurrentAnimation(&c->aBreakNonEye)) c->color = kShellSeen;
            if (c->color == kShellSeen) continue;
            if (!best || std::abs(c->tX - p->tX) + std::abs(c->tY - p->tY) <
                             std::abs(best->tX - p->tX) + std::abs(best->tY - p->tY))
                best = c;
        }
        if (carrier_) return carrier_.get();
        return best;
    }

    static bool AimAt(Player* p, Entity* target, bot::Keys* k) {
        static const int kAims[8][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}};
        for (const auto& a : kAims) {
            if (bot::GunTarget(p, a[0], a[1]) != target) continue;
            k->down['C'] = true;
            if (a[0] < 0) k->down[VK_LEFT] = true;
            if (a[0] > 0) k->down[VK_RIGHT] = true;
            if (a[1] < 0) k->down[VK_UP] = true;
            if (a[1] > 0) k->down[VK_DOWN] = true;
            return true;
        }
        return false;
    }

    // One safe step towards a tile from which the target is in a gun line.
    void MoveToLineOf(Player* p, Entity* target, bot::Keys* k) {
        static const int kSteps[8][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        static const int kAims[8][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}};
        const int tx = static_cast<int>(target->GetCenterX() / 64), ty = static_cast<int>(target->GetCenterY() / 64);
        int bestD = 1 << 30, bx = 0, by = 0;
        bool found = false;
        for (const auto& s : kSteps) {
            if (!bot::StepAllowedNow(p, s[0], s[1]) || Safety(p, s[0], s[1]) <= kSafeStep) continue;
            bot::Tile t = bot::PlayerTile(p);
            t.tx += s[0];
            t.ty += s[1];
            bool lined = false;
            for (const auto& a : kAims) lined = lined || bot::GunTargetFrom(p, t, a[0], a[1]) == target;
            const int d = lined ? -1 : std::abs(t.tx - tx) + std::abs(t.ty - (ty + 2));
            if (d < bestD) {
                bestD = d;
                bx = s[0];
                by = s[1];
                found = true;
            }
        }
        const int dHere = std::abs(p->tX - tx) + std::abs(p->tY - (ty + 2));
        if (found && bestD < dHere) Step(bx, by, k);
    }

    static void Park(Player* p, int col, bot::Keys* k) {
        int dx = col > p->tX ? 1 : (col < p->tX ? -1 : 0);
        if (dx != 0 && bot::StepAllowedNow(p, dx, 0) && Safety(p, dx, 0) > kSafeStep) Step(dx, 0, k);
    }
};

}  // namespace fight
