// The unit conversions of the entity factory, apart from the construction itself: a level-file
// keyword and a position in editor pixels give the class to build and its constructor arguments.
#pragma once

enum class PlacedKind {
    None,
    BatBug,
    Spider,
    SpiderSpawn,
    PopperBug,
    ChainLizard,
    BreakableBlock,
    WallBlaster,
    Pickup,
    Electricity,
    Generator,
    PopperSack,
    Bouncer,
    Slug,
    Barfer,
};

struct Placement {
    PlacedKind kind = PlacedKind::None;
    // Constructor arguments after the side: free world pixels, tile coordinates or pixel
    // positions snapped to the tile grid, depending on the class.
    int sx = 0;
    int sy = 0;
    int stype = 0;  // pickups: 0 rescue, 1 flame thrower, 2 bazooka; chain lizard: 0
};

// Derived values of one placement (integer arithmetic, every division truncating toward zero).
struct PlacementGrid {
    int moveX, moveY, tileX, tileY;
};
PlacementGrid PlacementGridFor(int w, int h, int cX, int cY);

// The keyword is matched exactly and case-sensitively; an unknown keyword gives PlacedKind::None.
Placement PlacementFor(const char* cName, int w, int h, int cX, int cY);

// The class name a placed kind is built as (for messages and tests); "" for None.
const char* PlacedClassName(PlacedKind kind);
