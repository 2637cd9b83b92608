// Planning a climb over the tower's walls: tile positions, the steps the walls allow (occupants
// ignored), and the fewest steps to a row or a tile, by breadth-first search.
#pragma once

#include <cstddef>
#include <vector>

class Building;

namespace autoplay {

// A tile position on the tower.
struct Tile {
    int side = 1;
    int tx = 4;
    int ty = 0;
    bool operator==(const Tile& o) const { return side == o.side && tx == o.tx && ty == o.ty; }
    bool operator!=(const Tile& o) const { return !(*this == o); }
};

// The eight steps in the order they are tried, so that among equally short routes the ones going
// up first win.
extern const int kSteps[8][2];

// The segment a climber on row ty asks about its walls, or null outside the tower (below the
// ground included).
Building* SegmentOfRow(int ty);

// One step from p by (dx, dy) judged by the walls alone (occupants ignored), with the corner turn
// that follows a step past column 1 or 8. False when the walls refuse it.
bool WallStep(const Tile& p, int dx, int dy, Tile* out);

struct Route {
    bool found = false;
    std::vector<Tile> tiles;  // the positions after each step
    std::vector<int> dx, dy;  // the steps
    size_t Length() const { return dx.size(); }
};

// The fewest steps from `from` to any tile at or above row goalRow on any side (PlanRoute), or to
// the exact tile `target` (PlanRouteTo). The search keeps to rows from goalRow - 1 down to lowRow
// (the lowest, i.e. the largest number) and never enters a tile listed in `avoid`.
Route PlanRoute(const Tile& from, int goalRow, int lowRow, const std::vector<Tile>& avoid);
Route PlanRouteTo(const Tile& from, const Tile& target, int goalRow, int lowRow, const std::vector<Tile>& avoid);

}  // namespace autoplay
