#include "tower.h"

#include <deque>
#include <fstream>
#include <map>
#include <sstream>

#include "game/world/LevelFormat.h"
#include "game/world/Tower.h"

namespace levelcheck {

Tower::Tower(int segments) : segments_(segments), types_(static_cast<size_t>(segments) * 4 * kW * kH, 0) {}

size_t Tower::Index(int seg, int side, int col, int row) const {
    return ((static_cast<size_t>(seg) * 4 + static_cast<size_t>(side - 1)) * kW + static_cast<size_t>(col)) * kH +
           static_cast<size_t>(row);
}

void Tower::SetType(int seg, int side, int col, int row, int type) { types_[Index(seg, side, col, row)] = type; }

int Tower::TypeAt(int seg, int side, int col, int row) const { return types_[Index(seg, side, col, row)]; }

bool Tower::Load(const std::string& dir, std::vector<std::string>* errors) {
    bool ok = true;
    for (int seg = 0; seg < segments_; ++seg) {
        for (int side = 1; side <= 4; ++side) {
            std::string name = dir + "/Level" + std::to_string(seg + 1) + "_Side" + std::to_string(side) + ".zlv";
            std::ifstream in(name, std::ios::binary);
            if (!in) {
                errors->push_back(name + ": cannot open");
                ok = false;
                continue;
            }
            std::stringstream ss;
            ss << in.rdbuf();
            level::SideFile f;
            level::ParseError err;
            if (!level::Parse(ss.str(), kW, kH, &f, &err)) {
                errors->push_back(name + ":" + std::to_string(err.line) + ": " + err.reason);
                ok = false;
                continue;
            }
            for (int l = 0; l < level::kLayers; ++l)
                for (int row = 0; row < kH; ++row)
                    for (int col = 0; col < kW; ++col) {
                        const level::TileToken& tok = f.At(l, col, row);
                        if (!tok.keep) SetType(seg, side, col, row, tok.type);
                    }
        }
    }
    return ok;
}

int Tower::SegmentOf(int ty) const {
    int i = tower::SegmentOfRow(ty);
    return (i < 0 || i >= segments_) ? -1 : i;
}

int Tower::FileRow(int ty) { return tower::FileRow(ty, kH); }

int Tower::BlockType(int seg, int side, int tx, int ty) const {
    int ax = tx - 1;
    int ay = FileRow(ty);
    if (side >= 1 && side <= 4 && ax >= 0 && ax < kW && ay >= 0 && ay < kH) return TypeAt(seg, side, ax, ay);
    return (ax == 0 || ax == kW - 1) ? 1 : 0;
}

bool Tower::Open(int seg, int side, int tx, int ty, bool breakablesOpen) const {
    int t = BlockType(seg, side, tx, ty);
    return t == 0 || (breakablesOpen && t == 2);
}

bool Tower::Step(const Position& p, int dx, int dy, bool breakablesOpen, Position* out) const {
    dy = tower::StepRise(p.tx, dx, dy);
    if (dx == 0 && dy == 0) return false;
    int seg = SegmentOf(p.ty);
    if (seg < 0) return false;
    if (!tower::StepOpen(p.tx, p.ty, dx, dy, [&](int tx, int ty) { return Open(seg, p.side, tx, ty, breakablesOpen); }))
        return false;
    Position n = p;
    n.tx += dx;
    n.ty += dy;
    // Past the edge the climber walks round the corner onto the next side.
    tower::TurnCorner(&n.side, &n.tx);
    *out = n;
    return true;
}

bool Tower::OnBreakable(const Position& p) const {
    int seg = SegmentOf(p.ty);
    return seg >= 0 && BlockType(seg, p.side, p.tx, p.ty + 1) == 2;
}

namespace {

// The places a search may enter: tile rows lo..hi on four sides, columns 0..kW + 1, as indices.
struct Places {
    int lo, hi;
    size_t Count() const { return static_cast<size_t>(hi - lo + 1) * 4 * (kW + 2); }
    size_t operator()(const Position& p) const {
        return (static_cast<size_t>(p.ty - lo) * 4 + static_cast<size_t>(p.side - 1)) * (kW + 2) +
               static_cast<size_t>(p.tx);
    }
};

enum class Next { Expand, Skip, Stop };

// Breadth-first over the climber's steps from start (which must lie within the places' rows),
// entering each place once: arrive(n, from) when a step from `from` first reaches n, and leave(p)
// as p is taken from the queue, saying whether to step on from it, not to, or to end the search.
template <class Arrive, class Leave>
void Search(const Tower& t, const Position& start, const Places& places, bool breakablesOpen, Arrive arrive,
            Leave leave) {
    std::vector<char> seen(places.Count(), 0);
    std::deque<Position> q{start};
    seen[places(start)] = 1;
    while (!q.empty()) {
        const Position p = q.front();
        q.pop_front();
        const Next next = leave(p);
        if (next == Next::Stop) return;
        if (next == Next::Skip) continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                Position n;
                if (!t.Step(p, dx, dy, breakablesOpen, &n)) continue;
                if (n.ty < places.lo || n.ty > places.hi || seen[places(n)]) continue;
                seen[places(n)] = 1;
                arrive(n, p);
                q.push_back(n);
            }
    }
}

}  // namespace

Route ClimbTo(const Tower& t, const Position& start, int goalRow, bool breakablesOpen, int goalSide) {
    Route r;
    const Places places{goalRow, 7};  // rows searched: from the goal down to the ground
    if (start.ty < places.lo || start.ty > places.hi) return r;
    std::vector<int> dist(places.Count(), 0), broke(places.Count(), 0);
    Search(
        t, start, places, breakablesOpen,
        [&](const Position& n, const Position& from) {
            dist[places(n)] = dist[places(from)] + 1;
            broke[places(n)] = broke[places(from)] + (t.OnBreakable(n) ? 1 : 0);
        },
        [&](const Position& p) {
            if (p.ty != goalRow) return Next::Expand;
            if (goalSide != 0 && p.side != goalSide) {
                if (r.otherSide == 0) r.otherSide = p.side;
                return Next::Skip;
            }
            if (!r.reached) {
                r.reached = true;
                r.steps = dist[places(p)];
                r.breakables = broke[places(p)];
                r.side = p.side;
            }
            // With a goal side the whole climb is searched, so that any other side's arrival shows.
            return goalSide == 0 ? Next::Stop : Next::Skip;
        });
    return r;
}

std::vector<char> Reachable(const Tower& t, const Position& start, int lo, int hi, bool breakablesOpen) {
    std::vector<char> marks(static_cast<size_t>(t.Segments()) * 4 * kW * kH, 0);
    // A climber on row ty stands in the block the game looks up for row ty + 1.
    auto mark = [&](const Position& p) {
        const int seg = t.SegmentOf(p.ty), row = Tower::FileRow(p.ty + 1);
        if (seg >= 0 && row >= 0 && p.tx >= 1 && p.tx <= kW) marks[t.Index(seg, p.side, p.tx - 1, row)] = 1;
    };
    if (start.ty < lo || start.ty > hi) return marks;
    mark(start);
    Search(
        t, start, Places{lo, hi}, breakablesOpen, [&](const Position& n, const Position&) { mark(n); },
        [](const Position&) { return Next::Expand; });
    return marks;
}

}  // namespace levelcheck
