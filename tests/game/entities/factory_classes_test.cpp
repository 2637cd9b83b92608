// Every keyword of the factory builds its own class on the given side.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/entities/Entity.h"
#include "game/entities/EntityFactory.h"

#include "game/enemies/Pickup.h"

namespace {

struct Row {
    const char* keyword;
    const char* className;
};

const Row kRows[] = {
    {"BATBUG", "BatBug"},
    {"SPIDER", "Spider"},
    {"SPIDERSPAWN", "SpiderSpawn"},
    {"POPPERBUG", "PopperBug"},
    {"CHAINLIZARD", "ChainLizard"},
    {"BREAKABLEBLOCK", "BreakableBlock"},
    {"WALLBLASTER", "WallBlaster"},
    {"RESCUE", "Pickup"},
    {"ELECTRICITY", "Electricity"},
    {"GENERATOR", "Generator"},
    {"POPPERSACK", "PopperSack"},
    {"BOUNCER", "Bouncer"},
    {"SLUG", "Slug"},
    {"FLAME", "Pickup"},
    {"BAZOOKA", "Pickup"},
    {"BARFER", "Barfer"},
};

TEST(EntityCreate, EachKeywordBuildsItsClassOnTheGivenSide) {
    for (const Row& r : kRows) {
        EXPECT_STREQ(PlacedClassName(PlacementFor(r.keyword, 8, 50, 0, 0).kind), r.className) << r.keyword;
        std::unique_ptr<Entity> e(Entity::Create(r.keyword, 8, 50, 3, 200, 1000));
        ASSERT_NE(e, nullptr) << r.keyword << " is not built by the factory";
        EXPECT_STREQ(e->ClassName(), r.className) << r.keyword;
        EXPECT_EQ(e->side, 3) << r.keyword;
        EXPECT_TRUE(e->alive) << r.keyword;
    }
}

TEST(EntityCreate, PickupKeywordsChooseTheirKind) {
    const char* keywords[] = {"RESCUE", "FLAME", "BAZOOKA"};
    for (int kind = 0; kind < 3; ++kind) {
        std::unique_ptr<Entity> e(Entity::Create(keywords[kind], 8, 50, 1, 0, 0));
        Pickup* p = dynamic_cast<Pickup*>(e.get());
        ASSERT_NE(p, nullptr) << keywords[kind];
        EXPECT_EQ(p->type, kind) << keywords[kind];
    }
}

}  // namespace
