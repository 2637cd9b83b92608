// Pickups: rescues, the first weapon with its announcement, later ammunition, the side rule;
// the gun's shots pass through pickups, enemy blasts and falling blocks; the level keywords.
#include <cstring>

#include "CreatureFixture.h"
#include "game/enemies/BreakableBlock.h"
#include "game/enemies/Spider.h"
#include "game/enemies/SpiderSpawn.h"
#include "game/enemies/WallBlast.h"
#include "game/enemies/WallBlaster.h"
#include "game/world/FallingBlock.h"
#include "game/world/Generator.h"

namespace {

class PickupTest : public CreatureTest {
protected:
    // A pickup of the given type whose box overlaps the player's.
    Pickup* OnPlayer(int type, int pside = 1) { return Add(new Pickup(pside, p->tX, p->tY, type)); }
};

TEST_F(PickupTest, ARescueIsAnExtraLife) {
    Pickup* r = OnPlayer(0);
    ASSERT_TRUE(r->hitEntity(p));
    Frame();
    EXPECT_FALSE(InList(r));
    EXPECT_EQ(Player::Lives, Player::StartingLives + 1);
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavRescue), 1);
    }
}

TEST_F(PickupTest, FirstWeaponIsAnnouncedLaterCopiesOnlyAddAmmunition) {
    struct Case {
        int type, amount;
    } cases[] = {{1, 250}, {2, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Building::showNewWeapon = 0;
        Frame();
        OnPlayer(c.type);
        Frame();
        EXPECT_TRUE(p->haveWeapon[c.type]);
        EXPECT_EQ(p->ammo[c.type], c.amount);
        EXPECT_EQ(Building::showNewWeapon, c.type);
        EXPECT_EQ(p->weapon, 0) << "collecting does not select it";

        Building::showNewWeapon = 0;
        p->ammo[c.type] = 3;
        Halt();
        OnPlayer(c.type);
        Frame();
        EXPECT_EQ(p->ammo[c.type], 3 + c.amount) << "added to what is left, no limit";
        EXPECT_EQ(Building::showNewWeapon, 0);
        if (AudioOpen()) {
            EXPECT_EQ(Playing(Entity::wavRescue), 1);
        }
        OnPlayer(c.type);
        Frame();
        EXPECT_EQ(p->ammo[c.type], 3 + 2 * c.amount);
    }
    EXPECT_EQ(Player::Lives, Player::StartingLives);
}

TEST_F(PickupTest, APickupOnAnotherSideIsNeverCollected) {
    Pickup* f = OnPlayer(1, 2);
    Frames(20);
    EXPECT_TRUE(InList(f));
    EXPECT_FALSE(p->haveWeapon[1]);
    EXPECT_FALSE(f->canHit);
    EXPECT_FALSE(f->canFlameHit);
    EXPECT_FALSE(f->hurtPlayer);
}

// The gun aimed right from (4, -2): what stands on the next tile must let the shot through to the
// generator on the tile after it.
class ShotPassTest : public CreatureTest {
protected:
    int HitsOnGeneratorBehind(Entity* inFront) {
        Add(inFront);
        Generator* g = Add(new Generator(1, 384, -128));
        p->Aim(1, 0);
        EXPECT_TRUE(p->idleing);
        for (int f = 0; f < 30; ++f) {
            p->Fire();
            p->sprite->Step();
        }
        return g->MaxHP - g->HP;
    }
};

TEST_F(ShotPassTest, TheGeneratorAloneIsHit) { EXPECT_GT(HitsOnGeneratorBehind(new Pickup(1, 6, -5, 1)), 0); }
TEST_F(ShotPassTest, ThroughARescue) { EXPECT_GT(HitsOnGeneratorBehind(new Pickup(1, 5, -2, 0)), 0); }
TEST_F(ShotPassTest, ThroughAFlameThrower) { EXPECT_GT(HitsOnGeneratorBehind(new Pickup(1, 5, -2, 1)), 0); }
TEST_F(ShotPassTest, ThroughAnEnemyBlast) { EXPECT_GT(HitsOnGeneratorBehind(new WallBlast(1, 340, -110)), 0); }
TEST_F(ShotPassTest, ThroughAFallingBlock) { EXPECT_GT(HitsOnGeneratorBehind(new FallingBlock(1, 320, -128)), 0); }
TEST_F(ShotPassTest, ButNotThroughABreakableBlock) {
    EXPECT_EQ(HitsOnGeneratorBehind(new BreakableBlock(1, 5.0f, -2.0f)), 0);
}

class KeywordTest : public CreatureTest {};

TEST_F(KeywordTest, LevelKeywordsMakeTheirClassesInTheirUnits) {
    struct Case {
        const char* keyword;
        int cX, cY;
        const char* cls;
        float x, y;  // world position of the new entity
    } cases[] = {
        // Tile-placed classes: tileX = (64 + cX) / 64, tileY = cY / 64 - 41, two rows up.
        {"SPIDER", 0, 3136, "Spider", 64 - 10, 6 * 64 - 18},
        {"BREAKABLEBLOCK", 64, 3136, "BreakableBlock", 128, 6 * 64},
        {"RESCUE", 130, 3136, "Pickup", 192, 6 * 64},
        {"FLAME", 130, 3136, "Pickup", 192, 6 * 64},
        {"BAZOOKA", 130, 3136, "Pickup", 192, 6 * 64},
        // Pixel positions snapped to the grid: 64 * tileX, 64 * tileY - 128.
        {"GENERATOR", 100, 700, "Generator", 128, -2112},
        {"ELECTRICITY", 100, 700, "Electricity", 128, -2112},
        {"WALLBLASTER", 100, 700, "WallBlaster", 128, -2112},
        {"SPIDERSPAWN", 100, 700, "SpiderSpawn", 128, -2112},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        Entity* e = Entity::Create(c.keyword, 8, 50, 3, c.cX, c.cY);
        ASSERT_NE(e, nullptr);
        EXPECT_STREQ(e->ClassName(), c.cls);
        EXPECT_EQ(e->side, 3);
        EXPECT_FLOAT_EQ(e->x, c.x);
        EXPECT_FLOAT_EQ(e->y, c.y);
        delete e;
    }
    Entity* flame = Entity::Create("FLAME", 8, 50, 1, 0, 3136);
    Entity* baz = Entity::Create("BAZOOKA", 8, 50, 1, 0, 3136);
    Entity* res = Entity::Create("RESCUE", 8, 50, 1, 0, 3136);
    EXPECT_EQ(static_cast<Pickup*>(flame)->type, 1);
    EXPECT_EQ(static_cast<Pickup*>(baz)->type, 2);
    EXPECT_EQ(static_cast<Pickup*>(res)->type, 0);
    delete flame;
    delete baz;
    delete res;
    EXPECT_EQ(Entity::Create("spider", 8, 50, 1, 0, 3136), nullptr);
}

}  // namespace
