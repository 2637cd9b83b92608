// Every keyword of the factory builds its own class on the given side, once that class exists in
// the game (a class that has landed but is missing from the factory is a fault).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/entities/Entity.h"
#include "game/entities/EntityFactory.h"

#if __has_include("game/enemies/Pickup.h")
#include "game/enemies/Pickup.h"
#define HAVE_PICKUP 1
#endif

// Which classes have landed: a header of the class's name in its subsystem's folder.
#if __has_include("game/enemies/BatBug.h")
#define LANDED_BatBug true
#else
#define LANDED_BatBug false
#endif
#if __has_include("game/enemies/Spider.h")
#define LANDED_Spider true
#else
#define LANDED_Spider false
#endif
#if __has_include("game/enemies/SpiderSpawn.h")
#define LANDED_SpiderSpawn true
#else
#define LANDED_SpiderSpawn false
#endif
#if __has_include("game/enemies/PopperBug.h")
#define LANDED_PopperBug true
#else
#define LANDED_PopperBug false
#endif
#if __has_include("game/enemies/ChainLizard.h")
#define LANDED_ChainLizard true
#else
#define LANDED_ChainLizard false
#endif
#if __has_include("game/enemies/BreakableBlock.h")
#define LANDED_BreakableBlock true
#else
#define LANDED_BreakableBlock false
#endif
#if __has_include("game/enemies/WallBlaster.h")
#define LANDED_WallBlaster true
#else
#define LANDED_WallBlaster false
#endif
#if __has_include("game/enemies/Pickup.h")
#define LANDED_Pickup true
#else
#define LANDED_Pickup false
#endif
#if __has_include("game/world/Electricity.h")
#define LANDED_Electricity true
#else
#define LANDED_Electricity false
#endif
#if __has_include("game/world/Generator.h")
#define LANDED_Generator true
#else
#define LANDED_Generator false
#endif
#if __has_include("game/enemies/PopperSack.h")
#define LANDED_PopperSack true
#else
#define LANDED_PopperSack false
#endif
#if __has_include("game/enemies/Bouncer.h")
#define LANDED_Bouncer true
#else
#define LANDED_Bouncer false
#endif
#if __has_include("game/enemies/Slug.h")
#define LANDED_Slug true
#else
#define LANDED_Slug false
#endif
#if __has_include("game/enemies/Barfer.h")
#define LANDED_Barfer true
#else
#define LANDED_Barfer false
#endif

namespace {

struct Row {
    const char* keyword;
    const char* className;
    bool landed;
};

const Row kRows[] = {
    {"BATBUG", "BatBug", LANDED_BatBug},
    {"SPIDER", "Spider", LANDED_Spider},
    {"SPIDERSPAWN", "SpiderSpawn", LANDED_SpiderSpawn},
    {"POPPERBUG", "PopperBug", LANDED_PopperBug},
    {"CHAINLIZARD", "ChainLizard", LANDED_ChainLizard},
    {"BREAKABLEBLOCK", "BreakableBlock", LANDED_BreakableBlock},
    {"WALLBLASTER", "WallBlaster", LANDED_WallBlaster},
    {"RESCUE", "Pickup", LANDED_Pickup},
    {"ELECTRICITY", "Electricity", LANDED_Electricity},
    {"GENERATOR", "Generator", LANDED_Generator},
    {"POPPERSACK", "PopperSack", LANDED_PopperSack},
    {"BOUNCER", "Bouncer", LANDED_Bouncer},
    {"SLUG", "Slug", LANDED_Slug},
    {"FLAME", "Pickup", LANDED_Pickup},
    {"BAZOOKA", "Pickup", LANDED_Pickup},
    {"BARFER", "Barfer", LANDED_Barfer},
};

TEST(EntityCreate, EachKeywordBuildsItsClassOnTheGivenSide) {
    for (const Row& r : kRows) {
        EXPECT_STREQ(PlacedClassName(PlacementFor(r.keyword, 8, 50, 0, 0).kind), r.className) << r.keyword;
        std::unique_ptr<Entity> e(Entity::Create(r.keyword, 8, 50, 3, 200, 1000));
        if (!r.landed) {
            EXPECT_EQ(e, nullptr) << r.keyword << ": no class yet";
            continue;
        }
        ASSERT_NE(e, nullptr) << r.keyword << " is not built by the factory";
        EXPECT_STREQ(e->ClassName(), r.className) << r.keyword;
        EXPECT_EQ(e->side, 3) << r.keyword;
        EXPECT_TRUE(e->alive) << r.keyword;
    }
}

#ifdef HAVE_PICKUP
TEST(EntityCreate, PickupKeywordsChooseTheirKind) {
    const char* keywords[] = {"RESCUE", "FLAME", "BAZOOKA"};
    for (int kind = 0; kind < 3; ++kind) {
        std::unique_ptr<Entity> e(Entity::Create(keywords[kind], 8, 50, 1, 0, 0));
        Pickup* p = dynamic_cast<Pickup*>(e.get());
        ASSERT_NE(p, nullptr) << keywords[kind];
        EXPECT_EQ(p->type, kind) << keywords[kind];
    }
}
#endif

}  // namespace
