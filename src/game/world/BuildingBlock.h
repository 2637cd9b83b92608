// One tile of a building side: its picture cell on the tile sheet, whether a climber may hold it,
// and whether a wall creature occupies it this frame.
#pragma once

#include "platform/win32.h"

class Sprite;

class BuildingBlock {
public:
    int frame;       // column of the 32 x 32 cell on Building::imTiles
    int layer;       // row of the cell
    int type;        // 0 = open wall; anything else is solid (2 = breakable, only while loading)
    BOOL blocked;    // a wall creature stands here this frame
    Sprite* sprite;  // owned, used only to draw the tile

    BuildingBlock(int stype, int sF, int sL);
    ~BuildingBlock();
    BuildingBlock(const BuildingBlock&) = delete;
    BuildingBlock& operator=(const BuildingBlock&) = delete;

    void Draw(float x, float y, int side);
};
