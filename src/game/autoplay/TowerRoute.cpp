#include "game/autoplay/TowerRoute.h"

#include <algorithm>
#include <deque>

#include "game/world/Building.h"
#include "game/world/BuildingBlock.h"
#include "game/world/Tower.h"

namespace autoplay {

const int kSteps[8][2] = {{0, -1}, {-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, 1}, {1, 1}};

namespace {

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
    const int columns = tower::kLastColumn + 2;  // a step past the edge lands on column 0 or 9
    auto index = [&](const Tile& t) { return ((t.side - 1) * columns + t.tx) * rows + (t.ty - highRow); };
    std::vector<int> prev(static_cast<size_t>(tower::kSides * columns * rows), -2);
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

}  // namespace

Building* SegmentOfRow(int ty) { return tower::AboveGround(ty) ? Building::SegmentForRow(ty) : nullptr; }

bool WallStep(const Tile& p, int dx, int dy, Tile* out) {
    dy = tower::StepRise(p.tx, dx, dy);
    if (dx == 0 && dy == 0) return false;
    Building* seg = SegmentOfRow(p.ty);
    if (!seg) return false;
    if (!tower::StepOpen(p.tx, p.ty, dx, dy, [&](int tx, int ty) { return seg->GetBlock(p.side, tx, ty)->type == 0; }))
        return false;
    Tile n{p.side, p.tx + dx, p.ty + dy};
    tower::TurnCorner(&n.side, &n.tx);
    *out = n;
    return true;
}

Route PlanRoute(const Tile& from, int goalRow, int lowRow, const std::vector<Tile>& avoid) {
    return Search(from, false, Tile{}, goalRow, lowRow, avoid);
}

Route PlanRouteTo(const Tile& from, const Tile& target, int goalRow, int lowRow, const std::vector<Tile>& avoid) {
    return Search(from, true, target, goalRow, lowRow, avoid);
}

}  // namespace autoplay
