#include "game/autoplay/LevelBot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/autoplay/Danger.h"
#include "game/autoplay/Reach.h"
#include "game/bosses/CrabWalker.h"
#include "game/enemies/BreakableBlock.h"
#include "game/enemies/ChainLizard.h"
#include "game/enemies/Pickup.h"
#include "game/enemies/PopperBaby.h"
#include "game/enemies/SpiderSpawn.h"
#include "game/enemies/WallBlast.h"
#include "game/entities/Blood.h"
#include "game/entities/Entity.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MenuElement.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/BuildingBlock.h"
#include "game/world/FallingBlock.h"
#include "game/world/Generator.h"
#include "game/world/Tower.h"

namespace autoplay {

using danger::FindCrab;

namespace {

int FloorDiv(float v) { return static_cast<int>(std::floor(v / 64.0f)); }

bool Hostile(Entity* e, Player* p) {
    // A popper swarm hurts nobody but holds the climber where the next shot finds it.
    return e != p && e->alive && !e->dead && (e->hurtPlayer || dynamic_cast<PopperBaby*>(e)) && e->canHit &&
           e->side == p->side && !dynamic_cast<Blood*>(e);
}

}  // namespace

void LevelBot::SetStatus(long frame, const std::string& s) {
    Player* p = Player::Get();
    char buf[160];
    if (p)
        std::snprintf(buf, sizeof(buf), "frame %ld, player side %d tile (%d, %d), lives %d: ", frame, p->side, p->tX,
                      p->tY, Player::Lives);
    else
        std::snprintf(buf, sizeof(buf), "frame %ld, no player: ", frame);
    status_ = buf + s;
}

void LevelBot::Think(long frame, Keys* k) {
    k->Clear();
    GameEngine* e = GameEngine::gEngine;
    if (Building::MainMenuOn) {
        Menu(frame, k);
        return;
    }
    if (Building::showNewWeapon) {
        // Dismiss the announcement once it has slid in: one press, released at once.
        bool ready = Building::newWeaponElement && Building::newWeaponElement->atTarget();
        k->down[Keys::kConfirm] = ready && !enterPressed_;
        enterPressed_ = k->down[Keys::kConfirm];
        SetStatus(frame, "reading the new weapon");
        return;
    }
    enterPressed_ = false;
    if (Building::pauseOn) {
        SetStatus(frame, "paused");
        return;
    }
    Player* p = Player::Get();
    if (!p || static_cast<int>(e->rotx) % 90 != 0) return;
    if (p->dead) {
        SetStatus(frame, "lost a life");
        return;
    }
    CrabWalker* crab = FindCrab();
    if (Building::lockScreen || crab) {
        Fight(frame, crab, k);
        return;
    }
    Climb(frame, k);
}

void LevelBot::Menu(long frame, Keys* k) {
    // Confirm once the menu box has risen: start (and level 1 in the level box if it opens).
    bool ready = menGUIBox && menGUIBox->atTarget();
    const int wanted = 9 + startLevel_;
    if (ready && Building::menuPos >= 10 && Building::menuPos < wanted) {
        // Down to the level wanted, one press at a time.
        k->down[VK_DOWN] = !downPressed_;
        downPressed_ = k->down[VK_DOWN];
        enterPressed_ = false;
    } else if (ready && (Building::menuPos == 0 || Building::menuPos == wanted)) {
        k->down[Keys::kConfirm] = !enterPressed_;
        enterPressed_ = k->down[Keys::kConfirm];
    } else {
        enterPressed_ = false;
    }
    SetStatus(frame, ready ? "choosing from the title menu" : "waiting for the title menu");
}

int LevelBot::Clear(Player* p, int dx, int dy) const {
    int clear = danger::ClearForGlide(p, dx, dy, kHorizon);
    // A nest that has shown itself is about to hatch: its spider drops onto the tile below it,
    // reaching a player who stands on the nest or one tile under it.
    Tile to;
    if ((dx || dy) ? !WallStep(PlayerTile(p), dx, dy, &to) : false) return clear;
    if (!dx && !dy) to = PlayerTile(p);
    for (Entity* x : Entity::entList) {
        auto* nest = dynamic_cast<SpiderSpawn*>(x);
        if (!nest || nest->side != to.side || !nest->sprite || nest->sprite->hidden) continue;
        const int nx = FloorDiv(nest->x + 32), ny = FloorDiv(nest->y + 32);
        if (to.tx == nx && to.ty >= ny && to.ty <= ny + 1) clear = std::min(clear, 20);
    }
    return clear;
}

bool LevelBot::SafeStep(long frame, Player* p, int dx, int dy, Keys* k) {
    // Never into the path of something that would arrive before the player can move again.
    if (Clear(p, dx, dy) <= kSafeStep) {
        SetStatus(frame, "waiting for a shot to pass");
        return false;
    }
    Step(dx, dy, k);
    return true;
}

void LevelBot::Step(int dx, int dy, Keys* k) { k->Step(dx, dy); }

bool LevelBot::AimAndFire(Player* p, int ax, int ay, Keys* k) {
    if (!p->idleing) return false;
    k->Arrows(ax, ay);
    // Fire only once the aim is already right, so no shot goes the old way.
    if (p->aimDirX == ax && p->aimDirY == ay) k->down[Keys::kFire] = true;
    return true;
}

// Shoots the nearest creature that the gun can reach from here and that is close enough to
// matter. Returns whether it is shooting.
bool LevelBot::ShootThreat(Keys* k) {
    Player* p = Player::Get();
    if (!p->idleing) return false;
    int bestDist = 7, bx = 0, by = 0;
    for (int ax = -1; ax <= 1; ++ax) {
        for (int ay = -1; ay <= 1; ++ay) {
            Entity* t = GunTarget(p, ax, ay);
            if (!t || !Hostile(t, p)) continue;
            int dist =
                std::max(std::abs(FloorDiv(t->GetCenterX()) - p->tX), std::abs(FloorDiv(t->GetCenterY()) - p->tY));
            if (dist < bestDist) {
                bestDist = dist;
                bx = ax;
                by = ay;
            }
        }
    }
    if (bestDist >= 7) return false;
    return AimAndFire(p, bx, by, k);
}

void LevelBot::Climb(long frame, Keys* k) {
    Player* p = Player::Get();
    if (p->tY < bestRow_) {
        bestRow_ = p->tY;
        lastProgress_ = frame;
    }
    if (frame - lastProgress_ > 4000) {
        stuck_ = true;
        SetStatus(frame, "no progress up the tower for 4000 frames");
        return;
    }
    // A shot or a block about to arrive: step aside to the neighbouring tile that stays clear
    // longest (a step takes the player out of play for its whole glide, so it is judged over that).
    const int here = Ready(p) ? Clear(p, 0, 0) : kHorizon + 1;
    if (here <= kDodgeAt) {
        int bdx = 0, bdy = 0;
        if (danger::BestStep(
                kSteps, here, [&](int dx, int dy) { return Clear(p, dx, dy); },
                [&](int dx, int dy) { return !tower::OffTheWall(p->tX + dx) && StepAllowedNow(p, dx, dy); }, &bdx,
                &bdy)) {
            Step(bdx, bdy, k);
            SetStatus(frame, "dodging a shot");
            return;
        }
    }
    if (ShootThreat(k)) {
        SetStatus(frame, "shooting a creature");
        return;
    }
    if (!Ready(p)) return;  // still gliding; the next step is taken once it lands

    Tile at = PlayerTile(p);
    // A lizard whose chain bars a shaft: shoot it from below, where its chain cannot trap the
    // player, before going on.
    for (Entity* x : Entity::entList) {
        auto* liz = dynamic_cast<ChainLizard*>(x);
        if (!liz || !liz->alive || liz->dead || liz->side != p->side || std::abs(liz->tY - at.ty) > 6) continue;
        if (ShootFromLine(frame, liz, "the chain lizard", k)) return;
    }
    if (hasGenTarget_ && ShootGenerator(frame, at, k)) return;
    hasGenTarget_ = false;
    const int lowRow = std::max(at.ty, bestRow_) + 8;
    // The walls do not change: plan again only from a new tile or with new tiles to avoid.
    if (!(planFrom_ == at) || planLow_ != lowRow || planAvoid_ != avoid_.size()) {
        plan_ = PlanRoute(at, goalRow_, lowRow, avoid_);
        if (!plan_.found && !avoid_.empty()) {
            avoid_.clear();
            plan_ = PlanRoute(at, goalRow_, lowRow, avoid_);
        }
        planFrom_ = at;
        planLow_ = lowRow;
        planAvoid_ = avoid_.size();
    }
    Route route = plan_;
    if (!route.found) {
        stuck_ = true;
        SetStatus(frame, "no route to the arena");
        return;
    }
    // A flame thrower lying near the way is worth a short detour.
    if (!p->haveWeapon[1]) {
        for (Entity* x : Entity::entList) {
            auto* pk = dynamic_cast<Pickup*>(x);
            if (!pk || pk->type != 1 || !pk->alive || pk->side != p->side) continue;
            Tile t{pk->side, FloorDiv(pk->GetCenterX()), FloorDiv(pk->GetCenterY())};
            if (t.ty > at.ty + 6 || t.ty < at.ty - 8) continue;
            Route there = PlanRouteTo(at, t, goalRow_, lowRow, avoid_);
            if (!there.found || there.Length() == 0) continue;
            Route after = PlanRoute(t, goalRow_, lowRow, avoid_);
            if (after.found && there.Length() + after.Length() <= route.Length() + 16) {
                route = there;
                SetStatus(frame, "fetching the flame thrower");
            }
        }
    }
    if (route.Length() == 0) return;
    int dx = route.dx[0], dy = route.dy[0];
    Tile next = route.tiles[0];
    if (StepAllowedNow(p, dx, dy)) {
        if (!SafeStep(frame, p, dx, dy, k)) return;
        waitingSince_ = -1;
        if (status_.find("flame") == std::string::npos) SetStatus(frame, "climbing");
        return;
    }
    // Something occupies the way: shoot it if the gun reaches it, otherwise wait a while and
    // then look for another way round.
    Entity* blocker = GunTarget(p, dx, dy);
    // Anything in the way that a shot can hurt (creatures, blocks, generators, sacs) is shot.
    if (blocker && blocker != p && blocker->canHit && !blocker->dead && !dynamic_cast<Blood*>(blocker)) {
        AimAndFire(p, dx, dy, k);
        SetStatus(frame, std::string("shooting a ") + blocker->ClassName() + " in the way");
        return;
    }
    if (ShootGenerator(frame, next, k)) return;
    if (waitingSince_ < 0 || waitingOn_ != next) {
        waitingOn_ = next;
        waitingSince_ = frame;
    }
    if (frame - waitingSince_ > 120) {
        avoid_.push_back(next);
        waitingSince_ = -1;
    }
    std::string who;
    for (Entity* x : Entity::entList) {
        if (x == p || x->side != p->side || !x->wallDraw || x->dead) continue;
        if (x->boxCollide(static_cast<float>(next.tx * 64 + 1), static_cast<float>(next.ty * 64 + 1), 62, 62))
            who += std::string(" ") + x->ClassName();
    }
    char where[64];
    std::snprintf(where, sizeof(where), " (step %d,%d to tile %d,%d)", dx, dy, next.tx, next.ty);
    SetStatus(frame, "waiting for the way to clear" + std::string(where) + (who.empty() ? "" : ", held by" + who));
}

// A barrier holds the way: shoot the generator that feeds it, from here if the gun reaches it,
// otherwise from the nearest tile that has a line to it.
bool LevelBot::ShootGenerator(long frame, const Tile& next, Keys* k) {
    Player* p = Player::Get();
    Generator* gen = nullptr;
    float best = 240;
    for (Entity* x : Entity::entList) {
        auto* g = dynamic_cast<Generator*>(x);
        if (!g || !g->alive || g->dead || g->side != p->side) continue;
        float d = std::fabs(g->GetCenterY() - (next.ty * 64 + 32));
        if (d < best) {
            best = d;
            gen = g;
        }
    }
    // Keep to the generator chosen first while it stands, so the bot does not walk to and fro.
    // (It is known by where it stands: generators do not move.)
    if (hasGenTarget_) {
        for (Entity* x : Entity::entList) {
            auto* g = dynamic_cast<Generator*>(x);
            if (g && g->alive && !g->dead && g->side == genTarget_.side && g->x == genX_ && g->y == genY_) gen = g;
        }
    }
    if (!gen) return false;
    hasGenTarget_ = true;
    genTarget_.side = gen->side;
    genX_ = gen->x;
    genY_ = gen->y;
    return ShootFromLine(frame, gen, "the generator of a barrier", k);
}

// Shoots `target` from here if the gun reaches it, otherwise steps towards the nearest tile (on
// this wall, within five rows) that has a line to it. False when no such tile is in reach.
bool LevelBot::ShootFromLine(long frame, Entity* target, const std::string& what, Keys* k) {
    Player* p = Player::Get();
    for (int ax = -1; ax <= 1; ++ax)
        for (int ay = -1; ay <= 1; ++ay)
            if (GunTarget(p, ax, ay) == target) {
                AimAndFire(p, ax, ay, k);
                SetStatus(frame, "shooting " + what);
                return true;
            }
    // Breadth-first over the tiles reachable now, to the nearest one with a line to it.
    Tile at = PlayerTile(p);
    std::map<long, int> firstStep;  // tile key -> index of the first step taken towards it
    auto key = [](const Tile& t) { return (static_cast<long>(t.side) * 100 + t.tx) * 100000L + (t.ty + 50000); };
    std::deque<Tile> queue{at};
    firstStep[key(at)] = -1;
    while (!queue.empty()) {
        Tile t = queue.front();
        queue.pop_front();
        int first = firstStep[key(t)];
        if (first >= 0) {
            for (int ax = -1; ax <= 1; ++ax)
                for (int ay = -1; ay <= 1; ++ay)
                    if (t.side == p->side && GunTargetFrom(p, t, ax, ay) == target) {
                        if (SafeStep(frame, p, kSteps[first][0], kSteps[first][1], k))
                            SetStatus(frame, "moving to shoot " + what);
                        return true;
                    }
        }
        if (std::abs(t.ty - at.ty) > 5) continue;
        for (int m = 0; m < 8; ++m) {
            Tile n;
            if (!StepNowFrom(t, kSteps[m][0], kSteps[m][1], &n) || n.side != p->side) continue;
            if (firstStep.count(key(n))) continue;
            firstStep[key(n)] = first >= 0 ? first : m;
            queue.push_back(n);
        }
    }
    return false;
}

void LevelBot::Fight(long frame, CrabWalker* crab, Keys* k) {
    Player* p = Player::Get();
    if (!Ready(p)) return;
    const int horizon = 90;
    const int topRow = Building::lockHi / 64;
    // Stay off the top row (blocks drop onto it), the bottom row (no room to dodge downwards) and
    // the edge columns (the crab's reach).
    auto inArena = [&](int tx, int ty) { return tx >= 2 && tx <= 7 && ty >= topRow + 1 && ty <= topRow + 5; };
    int here = danger::ClearForGlide(p, 0, 0, horizon);
    if (here <= 45) {
        int bdx = 0, bdy = 0;
        if (danger::BestStep(
                kSteps, here, [&](int dx, int dy) { return danger::ClearForGlide(p, dx, dy, horizon); },
                [&](int dx, int dy) { return inArena(p->tX + dx, p->tY + dy) && StepAllowedNow(p, dx, dy); }, &bdx,
                &bdy)) {
            Step(bdx, bdy, k);
            SetStatus(frame, "dodging in the arena");
            return;
        }
    } else {
        // Nothing close: drift back towards the middle, keeping room to dodge.
        int dx = p->tX < 4 ? 1 : (p->tX > 5 ? -1 : 0);
        int dy = p->tY < topRow + 3 ? 1 : (p->tY > topRow + 3 ? -1 : 0);
        if ((dx || dy) && StepAllowedNow(p, dx, dy) && danger::ClearForGlide(p, dx, dy, horizon) > horizon) {
            Step(dx, dy, k);
            SetStatus(frame, "taking the middle of the arena");
            return;
        }
    }
    if (!crab || crab->dead || crab->aiPhase == CrabWalker::kPhaseDying) {
        SetStatus(frame, crab ? "watching the crab fall" : "waiting for the crab");
        return;
    }
    // Fire at the edge the crab is on: level with it if the gun reaches it, otherwise diagonally.
    int ax = crab->x > 320 ? 1 : -1;
    int ay = 0;
    if (GunTarget(p, ax, 0) != crab) {
        if (GunTarget(p, ax, -1) == crab)
            ay = -1;
        else if (GunTarget(p, ax, 1) == crab)
            ay = 1;
    }
    AimAndFire(p, ax, ay, k);
    SetStatus(frame, "shooting the crab");
}

}  // namespace autoplay
