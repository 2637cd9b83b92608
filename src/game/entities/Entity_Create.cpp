// The entity factory: the only place where level data names classes.
#include <cstring>

#include "game/enemies/Barfer.h"
#include "game/enemies/BatBug.h"
#include "game/enemies/Bouncer.h"
#include "game/enemies/BreakableBlock.h"
#include "game/enemies/ChainLizard.h"
#include "game/enemies/Pickup.h"
#include "game/enemies/PopperBug.h"
#include "game/enemies/PopperSack.h"
#include "game/enemies/Slug.h"
#include "game/enemies/Spider.h"
#include "game/enemies/SpiderSpawn.h"
#include "game/enemies/WallBlaster.h"
#include "game/entities/Entity.h"
#include "game/entities/EntityFactory.h"
#include "game/world/Electricity.h"
#include "game/world/Generator.h"

PlacementGrid PlacementGridFor(int w, int h, int cX, int cY) {
    PlacementGrid g;
    g.moveX = 320 - 32 * w;  // screen x of column 1's left edge
    g.moveY = 64 * h - 544;
    g.tileX = (g.moveX + cX) / 64;
    g.tileY = cY / 64 - g.moveY / 64;
    return g;
}

namespace {
enum class Units { FreePixels, Tiles, SnappedPixels };

struct KeywordRow {
    const char* keyword;
    PlacedKind kind;
    Units units;
    int stype;
};

// Tested in this order; the first match wins.
const KeywordRow kKeywords[] = {
    {"BATBUG", PlacedKind::BatBug, Units::FreePixels, 0},
    {"SPIDER", PlacedKind::Spider, Units::Tiles, 0},
    {"SPIDERSPAWN", PlacedKind::SpiderSpawn, Units::SnappedPixels, 0},
    {"POPPERBUG", PlacedKind::PopperBug, Units::FreePixels, 0},
    {"CHAINLIZARD", PlacedKind::ChainLizard, Units::Tiles, 0},
    {"BREAKABLEBLOCK", PlacedKind::BreakableBlock, Units::Tiles, 0},
    {"WALLBLASTER", PlacedKind::WallBlaster, Units::SnappedPixels, 0},
    {"RESCUE", PlacedKind::Pickup, Units::Tiles, 0},
    {"ELECTRICITY", PlacedKind::Electricity, Units::SnappedPixels, 0},
    {"GENERATOR", PlacedKind::Generator, Units::SnappedPixels, 0},
    {"POPPERSACK", PlacedKind::PopperSack, Units::SnappedPixels, 0},
    {"BOUNCER", PlacedKind::Bouncer, Units::SnappedPixels, 0},
    {"SLUG", PlacedKind::Slug, Units::SnappedPixels, 0},
    {"FLAME", PlacedKind::Pickup, Units::Tiles, 1},
    {"BAZOOKA", PlacedKind::Pickup, Units::Tiles, 2},
    {"BARFER", PlacedKind::Barfer, Units::Tiles, 0},
};
}  // namespace

Placement PlacementFor(const char* cName, int w, int h, int cX, int cY) {
    Placement p;
    if (!cName) return p;
    PlacementGrid g = PlacementGridFor(w, h, cX, cY);
    for (const KeywordRow& row : kKeywords) {
        if (std::strcmp(cName, row.keyword) != 0) continue;
        p.kind = row.kind;
        p.stype = row.stype;
        switch (row.units) {
            case Units::FreePixels:
                p.sx = cX;
                p.sy = cY - g.moveY;
                break;
            case Units::Tiles:
                // Tile rows are counted from the top of the placed picture, which stands two
                // rows (one for the chain lizard) above the tile it was dropped on.
                p.sx = g.tileX;
                p.sy = g.tileY - (row.kind == PlacedKind::ChainLizard ? 1 : 2);
                break;
            case Units::SnappedPixels:
                p.sx = 64 * g.tileX;
                p.sy = 64 * g.tileY - 128;
                break;
        }
        return p;
    }
    return p;
}

const char* PlacedClassName(PlacedKind kind) {
    switch (kind) {
        case PlacedKind::None: return "";
        case PlacedKind::BatBug: return "BatBug";
        case PlacedKind::Spider: return "Spider";
        case PlacedKind::SpiderSpawn: return "SpiderSpawn";
        case PlacedKind::PopperBug: return "PopperBug";
        case PlacedKind::ChainLizard: return "ChainLizard";
        case PlacedKind::BreakableBlock: return "BreakableBlock";
        case PlacedKind::WallBlaster: return "WallBlaster";
        case PlacedKind::Pickup: return "Pickup";
        case PlacedKind::Electricity: return "Electricity";
        case PlacedKind::Generator: return "Generator";
        case PlacedKind::PopperSack: return "PopperSack";
        case PlacedKind::Bouncer: return "Bouncer";
        case PlacedKind::Slug: return "Slug";
        case PlacedKind::Barfer: return "Barfer";
    }
    return "";
}

Entity* Entity::Create(char* cName, int w, int h, int side, int cX, int cY) {
    return Create(static_cast<const char*>(cName), w, h, side, cX, cY);
}

// Every placed kind builds its class from p.sx / p.sy (as floats where its constructor takes floats)
// and p.stype.
Entity* Entity::Create(const char* cName, int w, int h, int side, int cX, int cY) {
    Placement p = PlacementFor(cName, w, h, cX, cY);
    const float fx = static_cast<float>(p.sx), fy = static_cast<float>(p.sy);
    switch (p.kind) {
        case PlacedKind::Spider: return new Spider(side, fx, fy);
        case PlacedKind::SpiderSpawn: return new SpiderSpawn(side, fx, fy);
        case PlacedKind::BreakableBlock: return new BreakableBlock(side, fx, fy);
        case PlacedKind::WallBlaster: return new WallBlaster(side, fx, fy);
        case PlacedKind::Pickup: return new Pickup(side, p.sx, p.sy, p.stype);
        case PlacedKind::Electricity: return new Electricity(side, p.sx, p.sy);
        case PlacedKind::Generator: return new Generator(side, p.sx, p.sy);
        case PlacedKind::BatBug: return new BatBug(side, fx, fy);
        case PlacedKind::PopperBug: return new PopperBug(side, fx, fy);
        case PlacedKind::PopperSack: return new PopperSack(side, p.sx, p.sy);
        case PlacedKind::ChainLizard: return new ChainLizard(side, fx, fy, p.stype);
        case PlacedKind::Barfer: return new Barfer(side, fx, fy);
        case PlacedKind::Slug: return new Slug(side, p.sx, p.sy);
        case PlacedKind::Bouncer: return new Bouncer(side, p.sx, p.sy);
        case PlacedKind::None:
        default: return nullptr;
    }
}
