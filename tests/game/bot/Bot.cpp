#include "Bot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <cstdlib>
#include <map>

#include "engine/GameEngine.h"
#include "engine/Sprite.h"
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
#include "game/support/Danger.h"

namespace bot {

using danger::FindCrab;

namespace {

// Steps tried in this order, so that among equally short routes the ones going up first win.
const int kSteps[8][2] = {{0, -1}, {-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, 1}, {1, 1}};

// The walls' answer for a climber tile: the game asks the block one row below the climber's row.
bool OpenWall(Building* seg, int side, int tx, int ty) { return seg->GetBlock(side, tx, ty + 1)->type == 0; }

int FloorDiv(float v) { return static_cast<int>(std::floor(v / 64.0f)); }

bool Contains(const std::vector<Tile>& v, const Tile& t) { return std::find(v.begin(), v.end(), t) != v.end(); }

Route Search(const Tile& from, bool toTarget, const Tile& target, int goalRow, int lowRow,
             const std::vector<Tile>& avoid) {
    Route r;
    auto done = [&](const Tile& t) { return toTarget ? t == target : t.ty <= goalRow; };
    if (done(from)) {
        r.found = true;
        return r;
    }
    const int highRow = goalRow - 1;
    if (from.ty < highRow || from.ty > lowRow) return r;
    const int rows = lowRow - highRow + 1;
    auto index = [&](const Tile& t) { return ((t.side - 1) * 10 + t.tx) * rows + (t.ty - highRow); };
    std::vector<int> prev(static_cast<size_t>(4 * 10 * rows), -2);
    std::vector<Tile> tileOf(prev.size());
    std::vector<signed char> stepOf(prev.size(), -1);
    std::deque<Tile> queue{from};
    prev[index(from)] = -1;
    tileOf[index(from)] = from;
    int found = -1;
    while (!queue.empty()) {
        Tile t = queue.front();
        queue.pop_front();
        if (done(t)) {
            found = index(t);
            break;
        }
        for (int k = 0; k < 8; ++k) {
            Tile n;
            if (!WallStep(t, kSteps[k][0], kSteps[k][1], &n)) continue;
            if (n.ty < highRow || n.ty > lowRow) continue;
            int i = index(n);
            if (prev[i] != -2 || Contains(avoid, n)) continue;
            prev[i] = index(t);
            tileOf[i] = n;
            stepOf[i] = static_cast<signed char>(k);
            queue.push_back(n);
        }
    }
    if (found < 0) return r;
    r.found = true;
    for (int i = found; prev[i] != -1; i = prev[i]) {
        r.tiles.push_back(tileOf[i]);
        r.dx.push_back(kSteps[stepOf[i]][0]);
        r.dy.push_back(kSteps[stepOf[i]][1]);
    }
    std::reverse(r.tiles.begin(), r.tiles.end());
    std::reverse(r.dx.begin(), r.dx.end());
    std::reverse(r.dy.begin(), r.dy.end());
    return r;
}

bool Hostile(Entity* e, Player* p) {
    // A popper swarm hurts nobody but holds the climber where the next shot finds it.
    return e != p && e->alive && !e->dead && (e->hurtPlayer || dynamic_cast<PopperBaby*>(e)) && e->canHit &&
           e->side == p->side && !dynamic_cast<Blood*>(e);
}

// Whether the player takes a step now: not in the middle of a glide.
bool Ready(Player* p) { return !(p->sprite && p->sprite->AnimationOn && !p->idleing); }


}  // namespace

Building* SegmentOfRow(int ty) {
    int rowsUp = 6 - ty;
    if (rowsUp < 0) return nullptr;
    int idx = rowsUp / 50;
    if (idx >= levelCount || idx >= Building::kMaxSegments) return nullptr;
    return Building::b[idx];
}

bool WallStep(const Tile& p, int dx, int dy, Tile* out) {
    if (p.tx + dx < 1 || p.tx + dx > 8) dy = 0;
    if (dx == 0 && dy == 0) return false;
    Building* seg = SegmentOfRow(p.ty);
    if (!seg) return false;
    if (!OpenWall(seg, p.side, p.tx + dx, p.ty + dy)) return false;
    if (dx != 0 && dy != 0) {
        if (!OpenWall(seg, p.side, p.tx + dx, p.ty)) return false;
        if (!OpenWall(seg, p.side, p.tx, p.ty + dy)) return false;
    }
    Tile n{p.side, p.tx + dx, p.ty + dy};
    if (n.tx <= 0) {
        n.tx = 8;
        n.side = n.side % 4 + 1;
    } else if (n.tx > 8) {
        n.tx = 1;
        n.side = (n.side + 2) % 4 + 1;
    }
    *out = n;
    return true;
}

bool StepAllowedNow(Player* p, int dx, int dy) {
    if (p->popperHalt > 2) return false;
    if (Building::lockScreen) {
        if (p->cy + p->y + p->ch + 64 * dy > Building::lockLo + 480) return false;
        if (p->cy + p->y + 64 * dy < Building::lockHi) return false;
        if (p->tX + dx < 1 || p->tX + dx > 8) return false;
    }
    if (!Ready(p)) return false;
    if (p->tX + dx < 1 || p->tX + dx > 8) dy = 0;
    Building* seg = p->GetBuilding();
    if (!seg) return false;
    if (!seg->openSpot(p->side, p->tX + dx, p->tY + dy + 1, FALSE)) return false;
    if (dx != 0 && dy != 0) {
        if (!seg->openSpot(p->side, p->tX + dx, p->tY + 1, FALSE)) return false;
        if (!seg->openSpot(p->side, p->tX, p->tY + dy + 1, FALSE)) return false;
    }
    return true;
}

bool StepNowFrom(const Tile& p, int dx, int dy, Tile* out) {
    if (!WallStep(p, dx, dy, out)) return false;
    if (p.tx + dx < 1 || p.tx + dx > 8) dy = 0;
    Building* seg = SegmentOfRow(p.ty);
    if (!seg->openSpot(p.side, p.tx + dx, p.ty + dy + 1, FALSE)) return false;
    if (dx != 0 && dy != 0) {
        if (!seg->openSpot(p.side, p.tx + dx, p.ty + 1, FALSE)) return false;
        if (!seg->openSpot(p.side, p.tx, p.ty + dy + 1, FALSE)) return false;
    }
    return true;
}

Route PlanRoute(const Tile& from, int goalRow, int lowRow, const std::vector<Tile>& avoid) {
    return Search(from, false, Tile{}, goalRow, lowRow, avoid);
}

Route PlanRouteTo(const Tile& from, const Tile& target, int goalRow, int lowRow, const std::vector<Tile>& avoid) {
    return Search(from, true, target, goalRow, lowRow, avoid);
}

Entity* GunTarget(Player* p, int ax, int ay) { return GunTargetFrom(p, PlayerTile(p), ax, ay); }

Entity* GunTargetFrom(Player* p, const Tile& from, int ax, int ay) {
    if (ax == 0 && ay == 0) return nullptr;
    float top = Building::scrollY / 64.0f;
    int cX = from.tx, cY = from.ty;
    for (;;) {
        if (cX > 8 || cX <= 0) return nullptr;
        if (cY < top || cY > top + 6) return nullptr;
        cX += ax;
        cY += ay;
        for (Entity* e : Entity::entList) {
            if (e == p || dynamic_cast<Blood*>(e) || e->dead || e->side != p->side || !e->canHit) continue;
            if (e->boxCollide(static_cast<float>(cX * 64 + 1), static_cast<float>(cY * 64 + 1), 62, 62)) return e;
        }
    }
}

Tile PlayerTile(Player* p) { return Tile{p->side, p->tX, p->tY}; }

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
    started_ = true;
    if (Building::showNewWeapon) {
        // Dismiss the announcement once it has slid in: one press, released at once.
        bool ready = Building::newWeaponElement && Building::newWeaponElement->atTarget();
        k->down[VK_RETURN] = ready && !enterPressed_;
        enterPressed_ = k->down[VK_RETURN];
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
        if (!wasDead_) {
            Entity* near = danger::NearestHarm(p);
            SetStatus(frame, std::string("lost a life, nearest harm: ") + (near ? near->ClassName() : "none"));
            deaths_.push_back(status_);
            if (std::getenv("BRACKMOOR_BOT_VERBOSE")) std::printf("%s\n", status_.c_str());
        }
        wasDead_ = true;
        return;
    }
    wasDead_ = false;
    CrabWalker* crab = FindCrab();
    if (crab && crabSeenAt_ < 0) crabSeenAt_ = frame;
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
        k->down[VK_RETURN] = !enterPressed_;
        enterPressed_ = k->down[VK_RETURN];
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

void LevelBot::Step(int dx, int dy, Keys* k) {
    k->down['X'] = true;
    if (dx) k->down[dx < 0 ? VK_LEFT : VK_RIGHT] = true;
    if (dy) k->down[dy < 0 ? VK_UP : VK_DOWN] = true;
}

bool LevelBot::AimAndFire(Player* p, int ax, int ay, Keys* k) {
    if (!p->idleing) return false;
    if (ax) k->down[ax < 0 ? VK_LEFT : VK_RIGHT] = true;
    if (ay) k->down[ay < 0 ? VK_UP : VK_DOWN] = true;
    // Fire only once the aim is already right, so no shot goes the old way.
    if (p->aimDirX == ax && p->aimDirY == ay) k->down['C'] = true;
    ++shotsAimed_;
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
            int dist = std::max(std::abs(FloorDiv(t->GetCenterX()) - p->tX), std::abs(FloorDiv(t->GetCenterY()) - p->tY));
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
                [&](int dx, int dy) { return p->tX + dx >= 1 && p->tX + dx <= 8 && StepAllowedNow(p, dx, dy); }, &bdx,
                &bdy)) {
            Step(bdx, bdy, k);
            ++dodges_;
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
    if (p->haveWeapon[1]) tookFlame_ = true;
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
        ++replans_;
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
            ++dodges_;
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
    if (!crab || crab->dead || crab->aiPhase == 999) {
        SetStatus(frame, crab ? "watching the crab fall" : "waiting for the crab");
        return;
    }
    // Fire at the edge the crab is on: level with it if the gun reaches it, otherwise diagonally.
    int ax = crab->x > 320 ? 1 : -1;
    int ay = 0;
    if (GunTarget(p, ax, 0) != crab) {
        if (GunTarget(p, ax, -1) == crab) ay = -1;
        else if (GunTarget(p, ax, 1) == crab) ay = 1;
    }
    AimAndFire(p, ax, ay, k);
    SetStatus(frame, "shooting the crab");
}

}  // namespace bot
