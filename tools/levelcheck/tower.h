// The tower as the climbing rules see it: the block types of every side of every segment, read
// from the level files, and the one-tile steps a climber may take between them, with the same
// row mapping, off-grid blocks and corner turning as the game.
#pragma once

#include <string>
#include <vector>

namespace levelcheck {

constexpr int kW = 8;
constexpr int kH = 50;

struct Position {
    int side = 1;  // 1..4
    int tx = 4;    // 1..8
    int ty = 0;    // tile row, negative up the tower
    bool operator==(const Position& o) const { return side == o.side && tx == o.tx && ty == o.ty; }
};

class Tower {
public:
    explicit Tower(int segments);

    int Segments() const { return segments_; }
    // Sets a block type in segment seg (0-based), side 1..4, array column 0..7, array row 0..49.
    void SetType(int seg, int side, int col, int row, int type);
    int TypeAt(int seg, int side, int col, int row) const;

    // Reads every "Level<i>_Side<s>.zlv" in dir. Returns false with a message per bad file.
    bool Load(const std::string& dir, std::vector<std::string>* errors);

    // The block type the game's GetBlock gives for (side, tx, ty) in segment seg.
    int BlockType(int seg, int side, int tx, int ty) const;
    // The segment a climber on row ty asks, or -1 outside the tower.
    int SegmentOf(int ty) const;
    // openSpot with occupants ignored, as the game asks it: a tile is open when its type is 0
    // (or 2, a breakable block, when breakables count as open).
    bool Open(int seg, int side, int tx, int ty, bool breakablesOpen) const;
    // One step of a climber from p by (dx, dy), with the corner turn that follows a step past
    // column 1 or 8. Returns false when the game would refuse it.
    bool Step(const Position& p, int dx, int dy, bool breakablesOpen, Position* out) const;
    // Whether a climber standing on p touches a breakable block (the tile it stands on).
    bool OnBreakable(const Position& p) const;

    // Where TypeAt's tile is kept: [seg][side-1][col][row], for tables that follow the tower.
    size_t Index(int seg, int side, int col, int row) const;
    // The row of a segment file that the game looks up for tile row ty (-1 is past its top).
    static int FileRow(int ty);

private:
    int segments_;
    std::vector<int> types_;
};

struct Route {
    bool reached = false;
    int steps = 0;
    int breakables = 0;  // breakable blocks on the way, to be shot
    int side = 0;        // the side the goal row was reached on
    int otherSide = 0;   // with a goal side: another side the goal row can be reached on, or 0
};

// The fewest steps from start to any tile of row goalRow (any side, any column), passing
// breakable blocks only when breakablesOpen. Search is limited to rows between the ground and
// one row above the goal.
// With goalSide 1..4 the goal counts only on that side; arriving on the goal row on another side
// ends that path there (the level script fires on the row whatever the side) and is reported in
// otherSide (every route below the goal row is searched for one).
Route ClimbTo(const Tower& t, const Position& start, int goalRow, bool breakablesOpen, int goalSide = 0);

// Every tile a climber starting at start can stand on, as a mark per tile of the tower (at
// Tower::Index), searching tile rows lo..hi.
std::vector<char> Reachable(const Tower& t, const Position& start, int lo, int hi, bool breakablesOpen);

}  // namespace levelcheck
