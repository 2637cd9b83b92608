// levelcheck [--segments N] [--solid-breakables] DIR
//     Loads Level1_Side1.zlv .. Level<N>_Side4.zlv from DIR (N = 14) and reports, level by level,
//     whether a climber starting where a game starts can climb to the top row of that level by
//     the game's climbing rules, and in how many steps. Breakable blocks are open (the player
//     shoots them away) unless --solid-breakables. The level-select starts are checked too, and
//     that the two later bosses' trigger rows are reached on the side where those bosses fight.
//     It also prints the share of wall tiles that are solid filler (neither open wall nor a
//     breakable block), level by level and for the whole tower, and the share that is sealed:
//     solid filler plus open tiles no climber starting a game can ever stand on.
//     Exits 1 when a level is not climbable, 2 when a file cannot be read.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/world/Tower.h"
#include "tower.h"

using namespace levelcheck;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: levelcheck [--segments N] [--solid-breakables] DIR\n");
    return 2;
}

struct Options {
    int segments = 14;
    bool breakablesOpen = true;
    std::string dir;
};

// False on arguments it cannot use.
bool ParseArgs(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--segments") == 0 && i + 1 < argc) {
            o->segments = std::atoi(argv[++i]);
            if (o->segments < 1 || o->segments > 50) return false;
        } else if (std::strcmp(argv[i], "--solid-breakables") == 0) {
            o->breakablesOpen = false;
        } else if (o->dir.empty()) {
            o->dir = argv[i];
        } else {
            return false;
        }
    }
    return !o->dir.empty();
}

struct Start {
    const char* what;
    Position p;
};

// Where the title menu starts level i + 1: column 4 on the level's side and row.
Position LevelStart(int i) {
    const tower::LevelStart& s = tower::kLevelStarts[i];
    return Position{s.side, 4, tower::RowAtHeight(s.height)};
}

// Solid filler, level by level (levels 1 and 2 are five segments each, level 3 the rest), and the
// open tiles out of every climber's reach, which look like wall but are as good as solid.
void ReportSealed(const Tower& tower, int segments) {
    const std::vector<char> reach = Reachable(tower, LevelStart(0), tower::TopRowOfSegment(segments - 1) - 1, 7, true);
    long solid[4] = {0, 0, 0, 0}, all[4] = {0, 0, 0, 0}, unreached[4] = {0, 0, 0, 0};
    for (int seg = 0; seg < segments; ++seg) {
        const int level = seg < 5 ? 0 : (seg < 10 ? 1 : 2);
        const long before = solid[3] + unreached[3];
        for (int side = 1; side <= 4; ++side)
            for (int col = 0; col < kW; ++col)
                for (int row = 0; row < kH; ++row) {
                    const int type = tower.TypeAt(seg, side, col, row);
                    const long filler = type != 0 && type != 2 ? 1 : 0;
                    solid[level] += filler;
                    all[level] += 1;
                    solid[3] += filler;
                    all[3] += 1;
                    // The bottom row of each segment file is never stood in.
                    const long away = !filler && row < kH - 1 && !reach[tower.Index(seg, side, col, row)] ? 1 : 0;
                    unreached[level] += away;
                    unreached[3] += away;
                }
        std::printf("Level%d: sealed %.1f%%\n", seg + 1, 100.0 * (solid[3] + unreached[3] - before) / (4 * kW * kH));
    }
    const char* names[4] = {"level 1", "level 2", "level 3", "tower"};
    for (int i = 0; i < 4; ++i)
        if (all[i] > 0)
            std::printf("%s: solid filler %.1f%% of %ld wall tiles; sealed %.1f%% (%ld open tiles out of reach)\n",
                        names[i], 100.0 * solid[i] / all[i], all[i], 100.0 * (solid[i] + unreached[i]) / all[i],
                        unreached[i]);
}

// Where a game starts: level 1, and the two later levels the title menu offers.
std::vector<Start> GameStarts(int segments) {
    std::vector<Start> starts = {{"level 1 start", LevelStart(0)}};
    if (segments > 5) starts.push_back({"level 2 start", LevelStart(1)});
    if (segments > 10) starts.push_back({"level 3 start", LevelStart(2)});
    return starts;
}

// Each start must stand on an open tile. Returns the number of failures.
int CheckStartsOpen(const Tower& tower, const std::vector<Start>& starts) {
    int failures = 0;
    for (const Start& s : starts) {
        int seg = tower.SegmentOf(s.p.ty);
        if (seg < 0 || !tower.Open(seg, s.p.side, s.p.tx, s.p.ty + 1, false)) {
            std::printf("%s: tile (%d, %d) on side %d is not open\n", s.what, s.p.tx, s.p.ty, s.p.side);
            ++failures;
        }
    }
    return failures;
}

// From the start of the game to the top row of every level. Returns the number of failures.
int CheckLevelsClimbable(const Tower& tower, int segments, const Position& start, bool breakablesOpen) {
    int failures = 0;
    int previous = 0;
    for (int i = 0; i < segments; ++i) {
        // The top row of each level; the last one ends where the final fight takes the player.
        const int goal = (i == 13) ? tower::kFinalRow : tower::TopRowOfSegment(i);
        Route r = ClimbTo(tower, start, goal, breakablesOpen);
        if (!r.reached) {
            std::printf("Level%d: NOT climbable: row %d cannot be reached from the start\n", i + 1, goal);
            ++failures;
            continue;
        }
        std::printf("Level%d: climbable to row %d, path %d steps (%d in this level), %d breakable block%s\n", i + 1,
                    goal, r.steps, r.steps - previous, r.breakables, r.breakables == 1 ? "" : "s");
        previous = r.steps;
    }
    return failures;
}

// From each later start to the top of the tower. Returns the number of failures.
int CheckLaterStarts(const Tower& tower, int segments, const std::vector<Start>& starts, bool breakablesOpen) {
    int failures = 0;
    for (size_t k = 1; k < starts.size(); ++k) {
        const int goal = segments >= 14 ? tower::kFinalRow : tower::TopRowOfSegment(segments - 1);
        Route r = ClimbTo(tower, starts[k].p, goal, breakablesOpen);
        if (!r.reached) {
            std::printf("%s: NOT climbable to row %d\n", starts[k].what, goal);
            ++failures;
        } else {
            std::printf("%s: climbable to row %d, path %d steps\n", starts[k].what, goal, r.steps);
        }
    }
    return failures;
}

// The squid fights on side 3 once the player reaches its row, the final boss on side 3 at the top:
// the climb must bring the player there on that side, and on no other. Returns the number of
// failures.
int CheckBossRows(const Tower& tower, int segments, const std::vector<Start>& starts, bool breakablesOpen) {
    struct Boss {
        const char* what;
        size_t start;
        int row;
        int minSegments;
    };
    const Boss bosses[] = {{"squid", 1, tower::kSquidRow, 10}, {"final boss", 2, tower::kFinalRow, 14}};
    int failures = 0;
    for (const Boss& b : bosses) {
        if (segments < b.minSegments || b.start >= starts.size()) continue;
        const Start& s = starts[b.start];
        Route r = ClimbTo(tower, s.p, b.row, breakablesOpen, 3);
        if (!r.reached) {
            std::printf("%s from the %s: row %d NOT reached on side 3\n", b.what, s.what, b.row);
            ++failures;
        } else if (r.otherSide != 0) {
            std::printf("%s from the %s: row %d is reached on side %d too, away from the boss\n", b.what, s.what, b.row,
                        r.otherSide);
            ++failures;
        } else {
            std::printf("%s from the %s: row %d reached on side 3 only, path %d steps\n", b.what, s.what, b.row,
                        r.steps);
        }
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, &o)) return Usage();

    Tower tower(o.segments);
    std::vector<std::string> errors;
    if (!tower.Load(o.dir, &errors)) {
        for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
        return 2;
    }

    ReportSealed(tower, o.segments);
    const std::vector<Start> starts = GameStarts(o.segments);
    int failures = CheckStartsOpen(tower, starts);
    failures += CheckLevelsClimbable(tower, o.segments, starts[0].p, o.breakablesOpen);
    failures += CheckLaterStarts(tower, o.segments, starts, o.breakablesOpen);
    failures += CheckBossRows(tower, o.segments, starts, o.breakablesOpen);
    std::printf("%s\n", failures ? "some levels cannot be climbed" : "every level can be climbed");
    return failures ? 1 : 0;
}
