// The entity factory's unit conversions: keywords, the three families of units, and the
// truncating divisions with negative positions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/entities/Entity.h"
#include "game/entities/EntityFactory.h"

namespace {

// The real grid: 8 columns, 50 rows per side.
constexpr int W = 8;
constexpr int H = 50;

TEST(PlacementGrid, DivisionsTruncateTowardZero) {
    // cY / 64 of -2624 is -41 exactly; -2625 and -1 truncate toward zero, not down.
    EXPECT_EQ(PlacementGridFor(W, H, 0, -2624).tileY, -41 - 41);
    EXPECT_EQ(PlacementGridFor(W, H, 0, -2625).tileY, -41 - 41);
    EXPECT_EQ(PlacementGridFor(W, H, 0, -1).tileY, 0 - 41);
    EXPECT_EQ(PlacementGridFor(W, H, 0, -64).tileY, -1 - 41);
    // A position left of the wall: (64 - 100) / 64 = -36 / 64 truncates to 0.
    EXPECT_EQ(PlacementGridFor(W, H, -100, 0).tileX, 0);
    EXPECT_EQ(PlacementGridFor(W, H, -129, 0).tileX, -1);
    // Last pixel of column 8 and first pixel past it.
    EXPECT_EQ(PlacementGridFor(W, H, 511, 0).tileX, 8);
    EXPECT_EQ(PlacementGridFor(W, H, 512, 0).tileX, 9);
}

TEST(Placement, SpiderOnTheBottomRow) {
    Placement p = PlacementFor("SPIDER", W, H, 0, 3136);
    EXPECT_EQ(p.kind, PlacedKind::Spider);
    EXPECT_EQ(p.sx, 1);
    EXPECT_EQ(p.sy, 6);
}

TEST(Placement, GeneratorSnapsToTheGrid) {
    Placement p = PlacementFor("GENERATOR", W, H, 100, 700);
    EXPECT_EQ(p.kind, PlacedKind::Generator);
    EXPECT_EQ(p.sx, 128);
    EXPECT_EQ(p.sy, -2112);
}

TEST(Placement, FreePixelCreaturesKeepTheirPosition) {
    for (const char* k : {"BATBUG", "POPPERBUG"}) {
        Placement p = PlacementFor(k, W, H, 301, 3000);
        EXPECT_EQ(p.sx, 301) << k;
        EXPECT_EQ(p.sy, 3000 - 2656) << k;
        Placement q = PlacementFor(k, W, H, 5, -2700);
        EXPECT_EQ(q.sy, -2700 - 2656) << k;
    }
}

TEST(Placement, TileCreaturesStandAboveTheDropTile) {
    // cX 200 -> tile 4; cY 1000 -> 15 - 41 = -26.
    struct Case {
        const char* keyword;
        PlacedKind kind;
        int rowsAbove;
        int stype;
    };
    const Case cases[] = {
        {"SPIDER", PlacedKind::Spider, 2, 0},
        {"CHAINLIZARD", PlacedKind::ChainLizard, 1, 0},
        {"BREAKABLEBLOCK", PlacedKind::BreakableBlock, 2, 0},
        {"RESCUE", PlacedKind::Pickup, 2, 0},
        {"FLAME", PlacedKind::Pickup, 2, 1},
        {"BAZOOKA", PlacedKind::Pickup, 2, 2},
        {"BARFER", PlacedKind::Barfer, 2, 0},
    };
    for (const Case& c : cases) {
        Placement p = PlacementFor(c.keyword, W, H, 200, 1000);
        EXPECT_EQ(p.kind, c.kind) << c.keyword;
        EXPECT_EQ(p.sx, 4) << c.keyword;
        EXPECT_EQ(p.sy, -26 - c.rowsAbove) << c.keyword;
        EXPECT_EQ(p.stype, c.stype) << c.keyword;
    }
}

TEST(Placement, GridSnappedThingsUsePixelsOfTheirTile) {
    struct Case {
        const char* keyword;
        const char* className;
    };
    const Case cases[] = {{"SPIDERSPAWN", "SpiderSpawn"},
                          {"WALLBLASTER", "WallBlaster"},
                          {"ELECTRICITY", "Electricity"},
                          {"GENERATOR", "Generator"},
                          {"POPPERSACK", "PopperSack"},
                          {"BOUNCER", "Bouncer"},
                          {"SLUG", "Slug"}};
    for (const Case& c : cases) {
        // cX 450 -> tile 8; cY -100 -> -1 - 41 = -42.
        Placement p = PlacementFor(c.keyword, W, H, 450, -100);
        EXPECT_STREQ(PlacedClassName(p.kind), c.className);
        EXPECT_EQ(p.sx, 512) << c.keyword;
        EXPECT_EQ(p.sy, 64 * -42 - 128) << c.keyword;
    }
}

TEST(Placement, KeywordsMatchExactly) {
    EXPECT_EQ(PlacementFor("batbug", W, H, 0, 0).kind, PlacedKind::None);
    EXPECT_EQ(PlacementFor("Spider", W, H, 0, 0).kind, PlacedKind::None);
    EXPECT_EQ(PlacementFor("SPIDERS", W, H, 0, 0).kind, PlacedKind::None);
    EXPECT_EQ(PlacementFor("SPIDE", W, H, 0, 0).kind, PlacedKind::None);
    EXPECT_EQ(PlacementFor("", W, H, 0, 0).kind, PlacedKind::None);
    EXPECT_EQ(PlacementFor(nullptr, W, H, 0, 0).kind, PlacedKind::None);
    // A keyword that starts with another one is still its own.
    EXPECT_EQ(PlacementFor("SPIDERSPAWN", W, H, 0, 0).kind, PlacedKind::SpiderSpawn);
}

TEST(EntityCreate, UnknownKeywordCreatesNothing) {
    EXPECT_EQ(Entity::Create("batbug", W, H, 1, 0, 0), nullptr);
    EXPECT_EQ(Entity::Create("TESTING", W, H, 1, 0, 0), nullptr);
    char name[] = "NOTHING";
    EXPECT_EQ(Entity::Create(name, W, H, 1, 0, 0), nullptr);
}

}  // namespace
