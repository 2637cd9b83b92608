// The bouncer: resting against a solid tile, the flip counter that runs only while it rests, the
// flight across to the next solid tile, contact damage, and death.
#include <cmath>

#include "CreatureFixture.h"
#include "game/enemies/Bouncer.h"

namespace {

class BouncerTest : public CreatureTest {
protected:
    // Makes the tile at (column, row) of side 1 solid. A tile row r is held one row lower in the
    // segment's grid, as the climbers' open-spot test reads it.
    static void Solid(int col, int row) { Building::b[0]->GetBlock(1, col, row + 1)->type = 1; }

    // The row the player stands on; bouncers here fly through the player's tile.
    static constexpr int kRow = -2;
    static Bouncer* At(float x, int side = 1) {
        Bouncer* b = new Bouncer(side, static_cast<int>(x), 64 * kRow);
        Entity::entList.push_back(b);
        return b;
    }
    static bool Flipping(Bouncer* b) { return b->sprite->isCurrentAnimation(&b->aFlip); }
};

TEST_F(BouncerTest, TheFactoryPlacesItOnTheTileItWasDroppedOn) {
    Entity* e = Entity::Create("BOUNCER", 8, 50, 4, 100, 700);
    Bouncer* b = dynamic_cast<Bouncer*>(e);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->side, 4);
    EXPECT_EQ(b->x, 128.0f);
    EXPECT_EQ(b->y, -2112.0f);
    EXPECT_EQ(b->sprite->pos, 1);
    EXPECT_EQ(b->bounceDelay, 25);
    EXPECT_FALSE(b->wallDraw);
    delete e;
}

TEST_F(BouncerTest, InOpenAirItFliesLeftAtOnceAndKeepsFlying) {
    p->invinceTimer = 1000000;
    PlacePlayer(4, -6);  // out of its row
    Bouncer* b = At(64 * 7);
    Frame();
    EXPECT_EQ(b->velX, -5.0f);
    float x = b->x;
    for (int f = 0; f < 200; ++f) {
        Frame();
        ASSERT_EQ(b->x, x - 5) << f;
        x = b->x;
        // Past the wall's edge too: nothing there stops it.
    }
    EXPECT_LT(b->x, -500.0f);
    EXPECT_EQ(b->bounceDelay, 25) << "the counter does not run in flight";
}

TEST_F(BouncerTest, RestsFlipsAfter25LandedFramesFliesAcrossAndFlipsBackAfter101) {
    p->invinceTimer = 1000000;
    PlacePlayer(4, -6);
    Solid(2, kRow);
    Solid(7, kRow);
    Bouncer* b = At(64 * 3);
    // It slides into the solid column on its left and rests there.
    Frames(3);
    EXPECT_EQ(b->x, 64 * 3 - 5.0f);
    EXPECT_EQ(b->velX, 0.0f);
    ASSERT_TRUE(b->isLanded());

    std::vector<int> flipStarts, landedAt;
    std::vector<int> landedCount;  // landed frames counted before each flip
    int landed = 0;
    bool wasFlipping = false, wasLanded = true;
    for (int f = 0; f < 400; ++f) {
        bool landedNow = b->isLanded();
        int delayBefore = b->bounceDelay;
        Frame();
        if (!landedNow) {
            EXPECT_EQ(b->bounceDelay, delayBefore) << "counter ran in flight, frame " << f;
        }
        if (landedNow) ++landed;
        bool flipping = Flipping(b);
        if (flipping && !wasFlipping) {
            flipStarts.push_back(f);
            landedCount.push_back(landed);
            landed = 0;
        }
        bool landedAfter = b->isLanded();
        if (landedAfter && !wasLanded) landedAt.push_back(f);
        wasFlipping = flipping;
        wasLanded = landedAfter;
    }
    ASSERT_GE(flipStarts.size(), 3u);
    ASSERT_GE(landedAt.size(), 2u);
    // One landed frame went by before the loop. The counter runs down 25 landed frames and the
    // flip starts on the next one; from then on a flip every 101 landed frames.
    EXPECT_EQ(landedCount[0] + 1, 26);
    EXPECT_EQ(landedCount[1], 101);
    EXPECT_EQ(landedCount[2], 101);
}

TEST_F(BouncerTest, FliesRightToTheNextSolidTileAndBackAtFivePixelsAFrame) {
    p->invinceTimer = 1000000;
    PlacePlayer(4, -6);
    Solid(2, kRow);
    Solid(7, kRow);
    Bouncer* b = At(64 * 3);
    std::vector<float> restX;
    std::vector<int> restPos;
    bool wasLanded = false;
    for (int f = 0; f < 600; ++f) {
        Frame();
        if (!b->isLanded()) {
            ASSERT_EQ(std::fabs(b->velX), 5.0f);
            ASSERT_EQ(b->velX, -5.0f * b->sprite->pos);
        }
        bool l = b->isLanded();
        if (l && !wasLanded) {
            restX.push_back(b->x);
            restPos.push_back(b->sprite->pos);
        }
        wasLanded = l;
    }
    ASSERT_GE(restX.size(), 3u);
    // Left rest: its left edge just inside column 2; right rest: its right edge inside column 7.
    for (size_t i = 0; i < restX.size(); ++i) {
        if (restPos[i] == 1) {
            EXPECT_GE(restX[i], 64 * 3 - 5.0f);
            EXPECT_LT(restX[i], 64 * 3.0f);
        } else {
            EXPECT_GE(restX[i] + 64, 64 * 7.0f);
            EXPECT_LT(restX[i] + 64, 64 * 7.0f + 5);
        }
        if (i > 0) {
            EXPECT_NE(restPos[i], restPos[i - 1]);
        }
    }
    // Resting, it shows its idle pose again.
    EXPECT_TRUE(b->sprite->isCurrentAnimation(&b->aIdle) || Flipping(b));
}

TEST_F(BouncerTest, BetweenTwoSolidColumnsItFlipsAndStaysPut) {
    p->invinceTimer = 1000000;
    PlacePlayer(4, -6);
    // Facing left it reads the column under its left edge, facing right the one under its right
    // edge: both solid.
    Solid(3, kRow);
    Solid(4, kRow);
    Bouncer* b = At(64 * 3);
    int flips = 0;
    for (int f = 0; f < 300; ++f) {
        int pos = b->sprite->pos;
        Frame();
        ASSERT_EQ(b->x, 64 * 3.0f) << f;
        ASSERT_EQ(b->velX, 0.0f);
        if (b->sprite->pos != pos) {
            ++flips;
            // Landed at once in its new facing: no tumble, straight back to rest.
            EXPECT_TRUE(b->sprite->isCurrentAnimation(&b->aIdle));
        }
    }
    EXPECT_GE(flips, 2);
}

TEST_F(BouncerTest, OffThePlayersSideItsCounterStands) {
    Solid(2, kRow);
    Bouncer* b = At(64 * 2 + 10, 2);
    b->x = 64 * 3 - 5;  // resting on side 2 (whose column 2 is open: side 1 has the tile)
    Frames(100);
    EXPECT_EQ(b->bounceDelay, 25);
}

TEST_F(BouncerTest, OutsideEveryBuildingSegmentItStaysWhereItIs) {
    p->invinceTimer = 1000000;
    // Far below the lowest segment: no wall to read.
    Bouncer* b = Add(new Bouncer(1, 64 * 4, 64 * 200));
    p->dead = 1;  // the AI runs at any distance
    Frames(200);
    EXPECT_EQ(b->x, 64 * 4.0f);
    EXPECT_TRUE(InList(b));
}

TEST_F(BouncerTest, ItHurtsThePlayerItFliesThrough) {
    p->invinceTimer = 0;
    Bouncer* b = At(64 * 7);  // open air on the player's row: it flies left through the player
    int f = 0;
    while (!p->dead && f < 60) {
        Frame();
        ++f;
    }
    EXPECT_TRUE(p->dead);
    EXPECT_FALSE(b->dead);
}

TEST_F(BouncerTest, TheGunKillsItAndItVanishesAfterItsDeathAnimation) {
    p->invinceTimer = 1000000;
    Solid(6, kRow);
    Solid(7, kRow);
    Bouncer* b = At(64 * 6);  // held between two solid columns, on the player's row
    p->Aim(1, 0);
    int shots = 0;
    for (; shots < 300 && b->HP > 0; ++shots) {
        p->Fire();
        p->sprite->Step();
    }
    ASSERT_EQ(b->HP, 0);
    Halt();  // the gun's own sounds may have taken every channel
    Frame();
    ASSERT_TRUE(b->dead);
    if (AudioOpen()) {
        EXPECT_GE(Playing(Entity::wavDie2), 1);
    }
    const float y = b->y;
    int f = 0;
    while (InList(b) && f < 100) {
        EXPECT_EQ(b->y, y) << "it does not fall";
        Frame();
        ++f;
    }
    EXPECT_FALSE(InList(b));
    // Three frames of five-frame delay: about eighteen frames.
    EXPECT_GE(f, 15);
    EXPECT_LE(f, 20);
}

TEST_F(BouncerTest, TheFlameBurnsIt) {
    p->invinceTimer = 1000000;
    p->haveWeapon[1] = 1;
    p->ammo[1] = 10000;
    p->weapon = 1;
    Solid(6, kRow);
    Solid(7, kRow);
    Bouncer* b = At(64 * 6);
    p->Aim(1, 0);
    for (int f = 0; f < 300 && InList(b) && !b->dead; ++f) {
        p->Fire();
        Frame();
    }
    EXPECT_TRUE(!InList(b) || b->dead);
}

}  // namespace
