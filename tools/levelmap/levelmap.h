// A picture of one tower segment: its four walls side by side (side 1 on the left), each tile
// drawn from the tile sheet at half size, solid tiles darkened so the climbable ones stand out,
// breakable blocks crossed, and every placed creature or object marked with its keyword's colour.
#pragma once

#include <string>

#include "game/world/LevelFormat.h"
#include "image.h"

namespace levelmap {

constexpr int kCell = 16;  // pixels per tile in the picture
constexpr int kGap = 8;    // pixels between two walls

// The colour a placement keyword is marked with (grey for one the map does not know).
toolcommon::Rgba KeywordColour(const std::string& keyword);

// Draws the four walls of one segment. sides[i] is side i + 1; tiles is the 8 x 4 sheet of
// 32 x 32 cells (frame across, layer down). segment is 0-based (it moves tile-snapped
// placements as the game's loader does).
toolcommon::Image DrawSegment(const level::SideFile sides[4], const toolcommon::Image& tiles, int segment);

// The map column (0-based) and row of a placement, or false when it lies outside the wall.
bool PlacementTile(const level::Placement& p, int segment, int w, int h, int* col, int* row);

}  // namespace levelmap
