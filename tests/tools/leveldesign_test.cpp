// The shipped tower as a level designer sees it: where the climbs lead, where the boss fights
// take place, and whether every placed creature and pickup sits where it can work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <queue>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/world/LevelFormat.h"
#include "tower.h"

namespace {

using levelcheck::Position;
using levelcheck::Tower;

constexpr int kSegments = 14;

std::string LevelDir() { return std::string(BRACKMOOR_DATA_DIR) + "/ZLevel"; }

Position P(int side, int tx, int ty) {
    Position p;
    p.side = side;
    p.tx = tx;
    p.ty = ty;
    return p;
}

// The tile row a climber stands on when it stands on map row r of segment seg (0-based).
int TileRow(int seg, int r) { return r - 43 - 50 * seg; }

struct Placed {
    int seg = 0;   // 0-based
    int side = 0;  // 1..4
    std::string name;
    int px = 0, py = 0;
    int Column() const { return px / 64 + 1; }  // 1..8 for px 0..511
    // The map row the factory puts a tile-snapped creature on: above the lowest segment the
    // loader's shift makes an exact multiple of 64 land one row higher.
    int MapRow() const {
        if (py < 0) return -1;
        return (seg > 0 && py % 64 == 0) ? py / 64 - 1 : py / 64;
    }
    std::string Where() const {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%s on Level%d side %d, column %d, map row %d", name.c_str(), seg + 1, side,
                      Column(), MapRow());
        return buf;
    }
};

class ShippedTower : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tower_ = new Tower(kSegments);
        std::vector<std::string> errors;
        loaded_ = tower_->Load(LevelDir(), &errors);
        for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
        placed_ = new std::vector<Placed>();
        for (int seg = 0; seg < kSegments && loaded_; ++seg)
            for (int side = 1; side <= 4; ++side) {
                const std::string path =
                    LevelDir() + "/Level" + std::to_string(seg + 1) + "_Side" + std::to_string(side) + ".zlv";
                std::ifstream in(path, std::ios::binary);
                std::stringstream ss;
                ss << in.rdbuf();
                level::SideFile f;
                level::ParseError err;
                if (!level::Parse(ss.str(), 8, 50, &f, &err)) {
                    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), err.line, err.reason.c_str());
                    loaded_ = false;
                    continue;
                }
                for (const level::Placement& p : f.placements) {
                    if (p.type < 0 || p.type >= static_cast<int>(f.types.size())) continue;
                    if (f.types[static_cast<size_t>(p.type)].category != "ENTITY") continue;
                    Placed e;
                    e.seg = seg;
                    e.side = side;
                    e.name = f.types[static_cast<size_t>(p.type)].name;
                    e.px = p.px;
                    e.py = p.py;
                    placed_->push_back(e);
                }
            }
    }
    static void TearDownTestSuite() {
        delete tower_;
        delete placed_;
        tower_ = nullptr;
        placed_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(loaded_) << "the shipped level files did not load"; }

    // Every position a climber can reach from start without ever standing above row ceiling
    // (rows are negative up the tower), breakable blocks shot away unless breakablesSolid.
    // keep() may forbid positions (a side, say).
    template <typename Keep>
    static std::set<std::tuple<int, int, int>> Reach(const Position& start, int ceiling, bool breakablesSolid,
                                                     Keep keep) {
        return Reach(start, ceiling, 7, breakablesSolid, keep);
    }
    // The same, never going below row floor.
    template <typename Keep>
    static std::set<std::tuple<int, int, int>> Reach(const Position& start, int ceiling, int floor,
                                                     bool breakablesSolid, Keep keep) {
        std::set<std::tuple<int, int, int>> seen;
        std::vector<Position> todo{start};
        seen.insert({start.side, start.tx, start.ty});
        while (!todo.empty()) {
            Position p = todo.back();
            todo.pop_back();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    Position n;
                    if (!tower_->Step(p, dx, dy, !breakablesSolid, &n)) continue;
                    if (n.ty < ceiling || n.ty > floor || !keep(n)) continue;
                    if (!seen.insert({n.side, n.tx, n.ty}).second) continue;
                    todo.push_back(n);
                }
        }
        return seen;
    }
    static std::set<std::tuple<int, int, int>> Reach(const Position& start, int ceiling) {
        return Reach(start, ceiling, false, [](const Position&) { return true; });
    }
    static bool HasRow(const std::set<std::tuple<int, int, int>>& s, int row) {
        for (const auto& t : s)
            if (std::get<2>(t) == row) return true;
        return false;
    }
    // The sides on which a climber from start first arrives at row: the ends of every upward
    // step onto that row from a position reachable without having been so high.
    static std::set<int> SidesFirstReaching(const Position& start, int row) {
        std::set<int> sides;
        for (const auto& t : Reach(start, row + 1)) {
            if (std::get<2>(t) != row + 1) continue;
            const Position p = P(std::get<0>(t), std::get<1>(t), std::get<2>(t));
            for (int dx = -1; dx <= 1; ++dx) {
                Position n;
                if (tower_->Step(p, dx, -1, true, &n) && n.ty == row) sides.insert(n.side);
            }
        }
        return sides;
    }
    static bool OpenTile(int seg, int side, int column, int mapRow) {
        return tower_->TypeAt(seg, side, column - 1, mapRow) == 0;
    }

    static Tower* tower_;
    static std::vector<Placed>* placed_;
    static bool loaded_;
};

Tower* ShippedTower::tower_ = nullptr;
std::vector<Placed>* ShippedTower::placed_ = nullptr;
bool ShippedTower::loaded_ = false;

const Position kLevel1Start = P(1, 4, -2);
const Position kLevel2Start = P(4, 4, -243);
const Position kLevel3Start = P(3, 4, -483);

TEST_F(ShippedTower, TheFirstLevelMakesThePlayerTurnCornersAndShoot) {
    const int top = TileRow(4, 3);  // near the top of the first level, above the crab's arena
    ASSERT_TRUE(HasRow(Reach(kLevel1Start, top), top));
    // Staying on the starting wall never gets far, nor does ignoring the breakable blocks.
    auto sideOne =
        Reach(kLevel1Start, top, false, [](const Position& p) { return p.side == 1 && p.tx >= 1 && p.tx <= 8; });
    EXPECT_FALSE(HasRow(sideOne, TileRow(0, 10)));
    auto noShooting = Reach(kLevel1Start, top, true, [](const Position&) { return true; });
    EXPECT_FALSE(HasRow(noShooting, TileRow(0, 20)));
    // Every wall of the tower is climbed on the way.
    std::set<int> sides;
    for (const auto& t : Reach(kLevel1Start, top)) sides.insert(std::get<0>(t));
    EXPECT_EQ(sides.size(), 4u);
}

TEST_F(ShippedTower, TheBossTriggersAreReachedOnTheirSides) {
    // The squid is on side 3: level 2 must bring the player to its row there and nowhere else.
    EXPECT_EQ(SidesFirstReaching(kLevel2Start, -461), std::set<int>{3});
    EXPECT_EQ(SidesFirstReaching(kLevel1Start, -461), std::set<int>{3});
    // The final boss waits on side 3 too.
    EXPECT_EQ(SidesFirstReaching(kLevel3Start, -673), std::set<int>{3});
    // The crab comes on whatever side the player is on, so its trigger row must simply be reached.
    EXPECT_FALSE(SidesFirstReaching(kLevel1Start, -222).empty());
}

TEST_F(ShippedTower, TheBossArenasAreOpen) {
    // The crab leaps across the locked view (rows -225..-218) on any side the player is on.
    for (int side = 1; side <= 4; ++side)
        for (int ty = -225; ty <= -218; ++ty)
            for (int tx = 1; tx <= 8; ++tx)
                EXPECT_TRUE(tower_->Open(tower_->SegmentOf(ty), side, tx, ty + 1, false))
                    << "crab arena, side " << side << " (" << tx << ", " << ty << ")";
    // The squid's locked view on side 3 (rows -464..-457): its inner columns are free.
    for (int ty = -464; ty <= -457; ++ty)
        for (int tx = 2; tx <= 7; ++tx)
            EXPECT_TRUE(tower_->Open(tower_->SegmentOf(ty), 3, tx, ty + 1, false))
                << "squid arena (" << tx << ", " << ty << ")";
    // The final boss: home on side 3 (rows -682..-673), its forms on sides 2, 4 and 1 with the
    // player put at (4, -675) under a view of rows -682..-675.
    for (int side = 1; side <= 4; ++side)
        for (int ty = -682; ty <= (side == 3 ? -673 : -675); ++ty)
            for (int tx = 2; tx <= 7; ++tx)
                EXPECT_TRUE(tower_->Open(tower_->SegmentOf(ty), side, tx, ty + 1, false))
                    << "final arena, side " << side << " (" << tx << ", " << ty << ")";
}

TEST_F(ShippedTower, TheFirstLevelHoldsOnlyTheCreaturesItTeaches) {
    // Level 1 (segments 1 to 5) is written around its own creatures; a keyword of the upper
    // levels there would wake up in level 1 the day its class lands.
    const std::set<std::string> firstLevel = {"SPIDER",    "SPIDERSPAWN", "WALLBLASTER", "ELECTRICITY",
                                              "GENERATOR", "RESCUE",      "FLAME",       "BREAKABLEBLOCK"};
    for (const Placed& e : *placed_) {
        if (e.seg < 5) {
            EXPECT_TRUE(firstLevel.count(e.name)) << e.Where() << " does not belong in level 1";
        }
    }
}

TEST_F(ShippedTower, TheFirstLevelsStoreysAreMostlyPartOfTheClimb) {
    // Below the crab's terrace each storey is climbed over more than one wall: no more than 58 %
    // of its tiles may be sealed (solid, or open where no climber from the start ever stands;
    // the top row of a file is the seam, never stood in). A storey walled back into a one-wall
    // corridor between facades, or opened where nobody can go, fails here.
    const std::vector<char> reach =
        levelcheck::Reachable(*tower_, kLevel1Start, TileRow(kSegments - 1, 0) - 1, 7, true);
    for (int seg = 0; seg < 4; ++seg) {
        int sealed = 0;
        for (int side = 1; side <= 4; ++side)
            for (int col = 0; col < levelcheck::kW; ++col)
                for (int row = 0; row < levelcheck::kH; ++row) {
                    const int type = tower_->TypeAt(seg, side, col, row);
                    const size_t k = ((static_cast<size_t>(seg) * 4 + static_cast<size_t>(side - 1)) * levelcheck::kW +
                                      static_cast<size_t>(col)) *
                                         levelcheck::kH +
                                     static_cast<size_t>(row);
                    if ((type != 0 && type != 2) || (row < levelcheck::kH - 1 && !reach[k])) ++sealed;
                }
        EXPECT_LE(sealed, 58 * 4 * levelcheck::kW * levelcheck::kH / 100)
            << "Level" << seg + 1 << " is sealed over " << sealed << " of 1600 tiles";
    }
}

TEST_F(ShippedTower, EveryPlacementSitsOnAnOpenTileOfItsWall) {
    ASSERT_FALSE(placed_->empty());
    const std::set<std::string> freeFlyers = {"BATBUG", "POPPERBUG"};
    for (const Placed& e : *placed_) {
        if (freeFlyers.count(e.name)) {
            EXPECT_TRUE(e.px >= 0 && e.px < 512 && e.py >= 0 && e.py < 3200) << e.Where();
            continue;
        }
        ASSERT_TRUE(e.Column() >= 1 && e.Column() <= 8 && e.MapRow() >= 0 && e.MapRow() < 50) << e.Where();
        // A barrier spans three columns; everything else one tile.
        const int width = e.name == "ELECTRICITY" ? 3 : 1;
        EXPECT_LE(e.Column() + width - 1, 8) << e.Where();
        for (int c = e.Column(); c < e.Column() + width && c <= 8; ++c)
            EXPECT_TRUE(OpenTile(e.seg, e.side, c, e.MapRow())) << e.Where() << " is inside a solid or breakable tile";
    }
}

TEST_F(ShippedTower, EveryBarrierHasAGeneratorCloseEnoughToSwitchItOff) {
    int barriers = 0;
    for (const Placed& b : *placed_) {
        if (b.name != "ELECTRICITY") continue;
        ++barriers;
        const int barrierCentre = TileRow(b.seg, b.MapRow()) * 64 + 32;
        bool powered = false;
        for (const Placed& g : *placed_) {
            if (g.name != "GENERATOR" || g.side != b.side) continue;
            const int generatorCentre = TileRow(g.seg, g.MapRow()) * 64 + 18 + 41;
            if (std::abs(generatorCentre - barrierCentre) < 240) powered = true;
        }
        EXPECT_TRUE(powered) << b.Where() << " has no generator within 240 pixels";
    }
    EXPECT_GT(barriers, 0);
}

TEST_F(ShippedTower, TheFirstLevelsBarriersCannotBeWalkedRound) {
    // With every barrier of the tower switched on (its three tiles taken), the tile just above
    // the middle of each barrier in the first level is out of reach: the generator must go.
    Tower saved = *tower_;
    std::vector<const Placed*> barriers;
    for (const Placed& e : *placed_) {
        if (e.name != "ELECTRICITY") continue;
        for (int c = e.Column(); c < e.Column() + 3 && c <= 8; ++c)
            tower_->SetType(e.seg, e.side, c - 1, e.MapRow(), 1);
        if (e.seg < 5) barriers.push_back(&e);
    }
    auto reach = Reach(kLevel1Start, -250);
    *tower_ = saved;
    ASSERT_GE(barriers.size(), 3u);
    for (const Placed* b : barriers) {
        const int ty = TileRow(b->seg, b->MapRow()) - 1;
        EXPECT_FALSE(reach.count({b->side, b->Column() + 1, ty})) << b->Where() << " can be climbed round";
    }
}

TEST_F(ShippedTower, PickupsCanBeReachedAndTheFirstLevelHasTheFlameThrower) {
    auto all = Reach(kLevel1Start, -690);
    int flamesInLevel1 = 0, rescuesInLevel1 = 0;
    for (const Placed& e : *placed_) {
        if (e.name != "RESCUE" && e.name != "FLAME" && e.name != "BAZOOKA") continue;
        const int ty = TileRow(e.seg, e.MapRow());
        EXPECT_TRUE(all.count({e.side, e.Column(), ty})) << e.Where() << " cannot be reached";
        if (ty >= -240) {
            flamesInLevel1 += e.name == "FLAME";
            rescuesInLevel1 += e.name == "RESCUE";
        }
    }
    EXPECT_EQ(flamesInLevel1, 1);
    EXPECT_GE(rescuesInLevel1, 3);
}

// Levels 2 and 3: where each begins, the row that ends it (its boss's trigger, on side 3) and the
// lowest row its climb uses.
struct UpperLevel {
    const char* name;
    Position start;
    int goal;
    int floor;
};
const UpperLevel kUpperLevels[] = {
    {"level 2", kLevel2Start, -461, -243},
    {"level 3", kLevel3Start, -673, -468},
};

bool Anywhere(const Position&) { return true; }

int HighestRow(const std::set<std::tuple<int, int, int>>& s, int from) {
    for (const auto& t : s) from = std::min(from, std::get<2>(t));
    return from;
}

TEST_F(ShippedTower, TheUpperLevelsSpiralRoundTheTowerAndMustBeShotThrough) {
    for (const UpperLevel& lv : kUpperLevels) {
        SCOPED_TRACE(lv.name);
        ASSERT_TRUE(HasRow(Reach(lv.start, lv.goal, lv.floor, false, Anywhere), lv.goal));
        // Every wall is part of the climb: with any one of them out of bounds the top is out of reach.
        for (int side = 1; side <= 4; ++side) {
            auto without =
                Reach(lv.start, lv.goal, lv.floor, false, [side](const Position& p) { return p.side != side; });
            EXPECT_FALSE(HasRow(without, lv.goal)) << "climbable without side " << side;
        }
        // The starting wall alone leads less than a segment up.
        const int side = lv.start.side;
        auto alone = Reach(lv.start, lv.goal, lv.floor, false, [side](const Position& p) { return p.side == side; });
        EXPECT_GT(HighestRow(alone, lv.start.ty), lv.start.ty - 50);
        // Breakable blocks stand in the way.
        EXPECT_FALSE(HasRow(Reach(lv.start, lv.goal, lv.floor, true, Anywhere), lv.goal));
    }
}

TEST_F(ShippedTower, NoPlaceInAnyLevelIsATrapOrADeepDeadEnd) {
    // For every place the climber can reach, the lowest row it must come back down to before it
    // can climb on to the level's top. A place from which the top cannot be reached at all is a
    // trap; one that needs a descent of more than four rows is a dead end deeper than the three
    // rows the camera shows above the row it was entered from.
    using Key = std::tuple<int, int, int>;
    std::vector<UpperLevel> levels(std::begin(kUpperLevels), std::end(kUpperLevels));
    levels.insert(levels.begin(), UpperLevel{"level 1", kLevel1Start, TileRow(4, 14), 6});
    for (const UpperLevel& lv : levels) {
        SCOPED_TRACE(lv.name);
        const auto reach = Reach(lv.start, lv.goal, lv.floor, false, Anywhere);
        std::map<Key, std::vector<Key>> into;  // the places one step leads from, by where it arrives
        for (const Key& k : reach) {
            const Position p = P(std::get<0>(k), std::get<1>(k), std::get<2>(k));
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    Position n;
                    if (!tower_->Step(p, dx, dy, true, &n)) continue;
                    const Key nk{n.side, n.tx, n.ty};
                    if (reach.count(nk)) into[nk].push_back(k);
                }
        }
        // Widest-path search back from the top row: lowest[k] is the best route's lowest row.
        std::map<Key, int> lowest;
        std::priority_queue<std::pair<int, Key>, std::vector<std::pair<int, Key>>, std::greater<std::pair<int, Key>>> q;
        for (const Key& k : reach)
            if (std::get<2>(k) == lv.goal) q.push({lv.goal, k});
        while (!q.empty()) {
            const auto [row, k] = q.top();
            q.pop();
            if (lowest.count(k)) continue;
            lowest[k] = row;
            for (const Key& from : into[k])
                if (!lowest.count(from)) q.push({std::max(row, std::get<2>(from)), from});
        }
        for (const Key& k : reach) {
            const std::string at = "side " + std::to_string(std::get<0>(k)) + " (" + std::to_string(std::get<1>(k)) +
                                   ", " + std::to_string(std::get<2>(k)) + ")";
            auto it = lowest.find(k);
            if (it == lowest.end()) {
                ADD_FAILURE() << "a climber at " << at << " can never climb on";
                continue;
            }
            EXPECT_LE(it->second - std::get<2>(k), 4)
                << "a climber at " << at << " must first come down to row " << it->second;
        }
    }
}

TEST_F(ShippedTower, EveryBarrierCannotBeWalkedRoundOnItsOwn) {
    // One barrier at a time (with all of them on, the first would hide the rest): with its three
    // tiles taken, the tile above its middle is out of reach from the start of its level.
    const UpperLevel levelOne{"level 1", kLevel1Start, -243, 7};
    int barriers = 0;
    for (const Placed& b : *placed_) {
        if (b.name != "ELECTRICITY") continue;
        ++barriers;
        const int ty = TileRow(b.seg, b.MapRow()) - 1;
        const UpperLevel& lv = ty >= levelOne.goal ? levelOne : kUpperLevels[ty < kUpperLevels[0].goal ? 1 : 0];
        Tower saved = *tower_;
        for (int c = b.Column(); c < b.Column() + 3 && c <= 8; ++c)
            tower_->SetType(b.seg, b.side, c - 1, b.MapRow(), 1);
        const auto reach = Reach(lv.start, lv.goal, lv.floor, false, Anywhere);
        *tower_ = saved;
        // The climb below the barrier is there (else the check proves nothing), the way past it is not.
        EXPECT_TRUE(reach.count({b.side, b.Column() + 1, ty + 2})) << b.Where() << " cannot be reached at all";
        EXPECT_FALSE(reach.count({b.side, b.Column() + 1, ty})) << b.Where() << " can be climbed round";
    }
    EXPECT_GE(barriers, 8);
}

TEST_F(ShippedTower, NoNestHatchesOntoTheOnlyWayUp) {
    // A nest's spider comes out on the tile below the nest. That tile must be open wall a climber
    // reaches (a spider hatched inside stone never comes out), and never the only way on: with it
    // taken, the final boss's row is still within reach, so nobody must climb through a hatching.
    const auto all = Reach(kLevel1Start, -673);
    int nests = 0;
    for (const Placed& e : *placed_) {
        if (e.name != "SPIDERSPAWN") continue;
        ++nests;
        const int row = e.MapRow() + 1;
        ASSERT_LT(row, 49) << e.Where();
        EXPECT_TRUE(OpenTile(e.seg, e.side, e.Column(), row)) << e.Where() << " hatches into a solid tile";
        EXPECT_TRUE(all.count({e.side, e.Column(), TileRow(e.seg, row)})) << e.Where() << " hatches out of reach";
        Tower saved = *tower_;
        tower_->SetType(e.seg, e.side, e.Column() - 1, row, 1);
        const bool wayRound = HasRow(Reach(kLevel1Start, -673), -673);
        *tower_ = saved;
        EXPECT_TRUE(wayRound) << e.Where() << " hatches onto the only way up";
    }
    EXPECT_GE(nests, 6);
}

TEST_F(ShippedTower, GeneratorsAndBarriersOnDifferentWallsAreFarApart) {
    // A generator's group and the barriers it switches off are found by height alone, whatever
    // the wall: a generator within 240 pixels of another wall's generator or barrier would tie
    // the two walls together.
    auto centre = [](const Placed& e) {
        return TileRow(e.seg, e.MapRow()) * 64 + (e.name == "GENERATOR" ? 18 + 41 : 32);
    };
    int generators = 0;
    for (const Placed& g : *placed_) {
        if (g.name != "GENERATOR") continue;
        ++generators;
        for (const Placed& e : *placed_) {
            if (&e == &g || e.side == g.side || (e.name != "GENERATOR" && e.name != "ELECTRICITY")) continue;
            EXPECT_GE(std::abs(centre(e) - centre(g)), 240) << g.Where() << " reaches " << e.Where();
        }
    }
    EXPECT_GT(generators, 4);
}

TEST_F(ShippedTower, TheUpperLevelsHoldTheBazookaAndRescuesWithinReach) {
    int bazookas = 0;
    for (size_t i = 0; i < 2; ++i) {
        const UpperLevel& lv = kUpperLevels[i];
        SCOPED_TRACE(lv.name);
        const auto reach = Reach(lv.start, lv.goal, lv.floor, false, Anywhere);
        int rescues = 0;
        for (const Placed& e : *placed_) {
            const int ty = TileRow(e.seg, e.MapRow());
            if (ty > lv.floor || ty <= lv.goal) continue;
            if (e.name != "RESCUE" && e.name != "BAZOOKA") continue;
            EXPECT_TRUE(reach.count({e.side, e.Column(), ty}))
                << e.Where() << " cannot be reached from " << lv.name << "'s start";
            rescues += e.name == "RESCUE";
            if (e.name == "BAZOOKA") bazookas += i == 0 ? 1 : 100;
        }
        EXPECT_GE(rescues, 1);
    }
    EXPECT_EQ(bazookas, 1) << "the bazooka belongs in level 2, once";
}

}  // namespace
