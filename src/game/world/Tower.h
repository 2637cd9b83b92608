// The tower's facts, kept in one place for the game, the level checker, the automatic player and
// the tests: four sides of eight columns that a climber walks round at the corners; tile rows
// counted upwards in negative numbers from the ground, fifty to a segment (one level file per side
// and segment); the one-tile climbing step; and the rows where the levels and the bosses begin.
#pragma once

namespace tower {

constexpr int kSides = 4;
constexpr int kFirstColumn = 1;
constexpr int kLastColumn = 8;
constexpr int kTileSize = 64;
// The ground row: rows above it are numbered downwards (row -100 is 106 rows higher).
constexpr int kGroundRow = 6;
constexpr int kSegmentRows = 50;

// ---- sides and corners

// The side a climber reaches by walking past column 1, and past column 8.
constexpr int SidePastFirstColumn(int side) { return side % kSides + 1; }
constexpr int SidePastLastColumn(int side) { return (side + kSides - 2) % kSides + 1; }

constexpr bool OffTheWall(int tx) { return tx < kFirstColumn || tx > kLastColumn; }

// A climber past column 1 or 8 walks round the corner onto the next side's last or first column.
// Returns whether it turned; a column on the wall is left alone.
inline bool TurnCorner(int* side, int* tx) {
    if (*tx < kFirstColumn) {
        *tx = kLastColumn;
        *side = SidePastFirstColumn(*side);
        return true;
    }
    if (*tx > kLastColumn) {
        *tx = kFirstColumn;
        *side = SidePastLastColumn(*side);
        return true;
    }
    return false;
}

// ---- segments and level files

// The segment a climber on row ty stands in (truncating: rows below the ground give segment 0).
constexpr int SegmentOfRow(int ty) { return (kGroundRow - ty) / kSegmentRows; }
// Whether row ty lies at or above the ground.
constexpr bool AboveGround(int ty) { return ty <= kGroundRow; }
// The row of a segment's file (fileRows rows high) that holds the blocks of tile row ty.
constexpr int FileRow(int ty, int fileRows = kSegmentRows) { return fileRows - 2 - ((kGroundRow - ty) % fileRows); }
// The tile row a climber stands on after climbing `height` rows from the start of the tower.
constexpr int RowAtHeight(int height) { return kGroundRow + 1 - height; }
// The highest row a climber stands on in segment seg.
constexpr int TopRowOfSegment(int seg) { return RowAtHeight(kSegmentRows * (seg + 1)); }

// ---- the climbing step

// A step off the side of the wall is horizontal only: the rise a step by (dx, dy) from column tx
// really takes.
constexpr int StepRise(int tx, int dx, int dy) { return OffTheWall(tx + dx) ? 0 : dy; }

// Whether a climber on (tx, ty) may step by (dx, dy), given open(tx, row) for the wall's blocks.
// The wall is asked one row below the climber's tile; a diagonal cannot cut a corner, so both
// orthogonal neighbours must be open too.
template <class Open>
bool StepOpen(int tx, int ty, int dx, int dy, Open open) {
    dy = StepRise(tx, dx, dy);
    if (!open(tx + dx, ty + dy + 1)) return false;
    if (dx != 0 && dy != 0) return open(tx + dx, ty + 1) && open(tx, ty + dy + 1);
    return true;
}

// ---- levels and bosses

// Rows above these lines (smaller numbers) belong to level 2 and level 3.
constexpr int kLevelTwoLine = -240;
constexpr int kLevelThreeLine = -480;
constexpr int LevelOfRow(int ty) { return ty < kLevelThreeLine ? 3 : (ty < kLevelTwoLine ? 2 : 1); }

// Where the title menu starts each level: the side and the height climbed (see RowAtHeight).
struct LevelStart {
    int side;
    int height;
};
constexpr LevelStart kLevelStarts[3] = {{1, 9}, {4, 250}, {3, 490}};

// The crab walker stirs as the climber passes these rows, and its arena closes at the last one.
constexpr int kCrabStirRows[3] = {-198, -204, -212};
constexpr int kCrabArenaRow = -222;
constexpr int kCrabArenaTop = -14400;  // the locked screen's top, in pixels
// The squid's arena closes when the climber reaches this row, and the final boss comes at the top.
constexpr int kSquidRow = -461;
constexpr int kSquidArenaTop = -29696;
constexpr int kFinalRow = -673;

}  // namespace tower
