// The readable source of one side of one segment (".level"), compiled into the game's ".zlv".
//
//   ; a comment runs from ';' to the end of the line
//   pictures wall1.png solid1.png        tile pictures the side uses (files in data/tiles)
//   legend                               one line per map character:
//     .  open  0 0                         CHAR  open|solid|breakable|TYPE  FRAME LAYER  [set N]
//     #  solid 0 1
//   end
//   layer 1                              50 rows of 8 characters, top row first; '-' keeps the
//     L......R                           tile an earlier layer set (layers 1..4, any may be left out)
//     ...
//   place SPIDER tile 3 20               a creature on column 3 (1..8) of map row 20 (0..49)
//   place BATBUG pixel 130 700           a creature at editor pixels
//   type TESTING MARKER                  an extra entity-type entry that places nothing
//
// The segment and side come from the file name: "Level3_Side2.level".
#pragma once

#include <functional>
#include <set>
#include <string>

#include "game/world/LevelFormat.h"

namespace levelsrc {

constexpr int kWidth = 8;
constexpr int kHeight = 50;

// Every keyword the entity factory knows.
const std::set<std::string>& KnownKeywords();

struct SourceName {
    int segment = 0;  // 1-based, as in "Level3"
    int side = 0;     // 1..4
};

// "Level3_Side2.level" (any folder) -> 3, 2. Throws SourceError on any other name.
SourceName ParseSourceName(const std::string& path);

// Compiles the text of a source. pictureExists says whether "data/tiles/NAME" is a picture the
// game has (null accepts every name). Throws toolcommon::SourceError ("FILE:LINE: reason").
level::SideFile Compile(const std::string& text, const std::string& file, const SourceName& name,
                        const std::function<bool(const std::string&)>& pictureExists = nullptr);

// Editor pixels of the centre of a map tile: column 1..8, map row 0..49.
int TilePixelX(int column);
int TilePixelY(int row);

}  // namespace levelsrc
