// Popper bugs, popper sacks and their swarms: entering from the nearer edge, crossing and leaving
// without a burst, hanging while dying and bursting once, the sac that blocks its tile and bursts
// in place, the babies that cling (three stop climbing), expire and leave the view, the keywords.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "CreatureFixture.h"
#include "game/enemies/PopperBaby.h"
#include "game/enemies/PopperBug.h"
#include "game/enemies/PopperSack.h"

namespace {

class PopperTest : public CreatureTest {
protected:
    // The box of the player as a baby's hitEntity sees it (with the player's drawing offset).
    float PlayerBoxX() { return p->x + p->cx + p->offX; }
    float PlayerBoxY() { return p->y + p->cy; }

    // A baby of its own swarm whose 4-pixel box sits at (bx, by).
    PopperBaby* BabyAt(float bx, float by, int sside = 1) {
        auto* g = new PopperGroup();
        PopperBaby* b = Add(new PopperBaby(sside, bx - 40, by - 40, g));
        g->push_back(EntityLink<Entity>(b));
        return b;
    }
    // A baby clinging to the middle of the player's box.
    PopperBaby* ClingingBaby() { return BabyAt(PlayerBoxX() + 18, PlayerBoxY() + 30); }
};

// ---- bug ----------------------------------------------------------------------------------------

TEST_F(PopperTest, ABugEntersFromTheEdgeNearerToWhereItWasPlaced) {
    PopperBug* fromLeft = Add(new PopperBug(1, 319.0f, -150.0f));
    PopperBug* fromRight = Add(new PopperBug(1, 320.0f, -150.0f));
    EXPECT_FLOAT_EQ(fromLeft->x, -100.0f);
    EXPECT_FLOAT_EQ(fromRight->x, 690.0f);
    p->invinceTimer = 100000;
    Frames(3);
    EXPECT_EQ(fromLeft->aiDir, 1);
    EXPECT_EQ(fromRight->aiDir, -1);
    EXPECT_FLOAT_EQ(fromLeft->velX, 2.0f);
    EXPECT_FLOAT_EQ(fromRight->velX, -2.0f);
    EXPECT_EQ(fromRight->sprite->pos, -1) << "faces where it flies";
    EXPECT_LT(fromRight->x, 690.0f);
    EXPECT_GT(fromLeft->x, -100.0f);
}

TEST_F(PopperTest, ABugWaitsUntilThePlayerIsLevelWithIt) {
    // Its centre 100 pixels or more below the player's centre: not level.
    PopperBug* b = Add(new PopperBug(1, 0.0f, 0.0f));
    b->y = p->GetCenterY() + 100 - b->cy - b->ch / 2;
    Frames(50);
    EXPECT_EQ(b->aiPhase, 0);
    EXPECT_FLOAT_EQ(b->x, -100.0f);
    b->y -= 1;
    Frame();
    EXPECT_EQ(b->aiPhase, 1);
}

TEST_F(PopperTest, AnUnharmedBugIsRemovedPastTheFarEdgeWithoutBursting) {
    for (float sx : {0.0f, 600.0f}) {
        SCOPED_TRACE(sx);
        // Level with the player but 90 pixels above: it passes without touching.
        PopperBug* b = Add(new PopperBug(1, sx, 0.0f));
        b->y = p->GetCenterY() - 90 - b->cy - b->ch / 2;
        float last = b->x;
        int f = 0;
        for (; f < 1000 && InList(b); ++f) {
            last = b->x;
            Frame();
        }
        ASSERT_FALSE(InList(b));
        EXPECT_FALSE(p->dead);
        EXPECT_TRUE(All<PopperBaby>().empty());
        if (sx < 320) {
            // Removed once its box's left edge is more than 100 past 640.
            EXPECT_GT(last + 42 - 100, 640.0f);
            EXPECT_LE(last + 42 - 100, 642.0f);
        } else {
            EXPECT_LT(last + 42 + 36 + 100, 0.0f);
            EXPECT_GE(last + 42 + 36 + 100, -2.0f);
        }
    }
}

TEST_F(PopperTest, AKilledBugHangsBurstsEightBabiesOnceThenFalls) {
    p->invinceTimer = 100000;
    PopperBug* b = Add(new PopperBug(1, 0.0f, 0.0f));
    b->x = 200;
    b->y = p->GetCenterY() - 300;  // not level: it waits where it is
    Frame();
    std::srand(7);
    for (int i = 0; i < 3; ++i) b->Hit(1, 0);
    const float y0 = b->y;
    std::vector<PopperBaby*> babies;
    int burstFrame = -1;
    for (int f = 0; f < 40 && b->sprite->AnimationOn; ++f) {
        Frame();
        ASSERT_TRUE(b->dead);
        ASSERT_FLOAT_EQ(b->y, y0) << "hangs while its death plays, frame " << f;
        auto now = All<PopperBaby>();
        if (!now.empty() && babies.empty()) {
            burstFrame = f;
            for (PopperBaby* baby : now) {
                // Born inside the bug's box; they have flown for one frame since.
                EXPECT_GE(baby->x, 200 + 42 - 0.06f);
                EXPECT_LT(baby->x, 200 + 42 + 36 + 0.06f);
                EXPECT_GE(baby->y, y0 + 48 - 0.06f);
                EXPECT_LT(baby->y, y0 + 48 + 46 + 0.06f);
            }
        }
        if (!babies.empty()) {
            ASSERT_EQ(now.size(), 8u) << "bursts once, frame " << f;
        }
        babies = now;
    }
    ASSERT_EQ(babies.size(), 8u);
    EXPECT_EQ(burstFrame, 6) << "on entering the second death frame: six ticks a frame at delay 5";
    PopperGroup* g = babies[0]->group;
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->size(), 8u);
    for (PopperBaby* baby : babies) {
        EXPECT_EQ(baby->group, g) << "one swarm";
    }
    // The husk falls once the death has played and is removed below the screen.
    EXPECT_TRUE(b->applyGravity);
    int f = 0;
    for (; f < 300 && InList(b); ++f) Frame();
    EXPECT_FALSE(InList(b));
}

TEST_F(PopperTest, ThreeGunHitsKillABugAndItsTouchKills) {
    PopperBug* b = Add(new PopperBug(1, 0.0f, 0.0f));
    b->x = 6 * 64 - 42;
    b->y = p->y + p->cy - 48 + 8;
    p->Aim(1, 0);
    p->invinceTimer = 100000;
    // It flies left along the row at the player; the gun meets it on the way.
    int f = 0;
    for (; f < 400 && !b->dead; ++f) {
        p->Fire();
        Frame();
    }
    EXPECT_TRUE(b->dead);
    EXPECT_LE(b->HP, 0);

    PopperBug* t = Add(new PopperBug(1, 0.0f, 0.0f));
    t->x = PlayerBoxX() - t->cx;
    t->y = PlayerBoxY() - t->cy;
    p->invinceTimer = 0;
    Frame();
    EXPECT_TRUE(p->dead);
}

// ---- sac ----------------------------------------------------------------------------------------

TEST_F(PopperTest, ThreeGunHitsDestroyASacWhichBurstsInPlaceAndIsGone) {
    PlacePlayer(2, -2);
    PopperSack* s = Add(new PopperSack(1, 5 * 64, -2 * 64));
    p->Aim(1, 0);
    std::srand(4);
    int f = 0;
    for (; f < 400 && !s->dead; ++f) {
        p->Fire();
        Frame();
    }
    ASSERT_TRUE(s->dead);
    EXPECT_EQ(s->HP, 0) << "three hits";
    auto babies = All<PopperBaby>();
    ASSERT_EQ(babies.size(), 8u);
    for (PopperBaby* baby : babies) {
        // The upper-left quarter of the sac (allowing a frame's drift).
        EXPECT_GE(baby->x, 5 * 64 - 0.06f);
        EXPECT_LT(baby->x, 5 * 64 + 32 + 0.06f);
        EXPECT_GE(baby->y, -2 * 64 - 0.06f);
        EXPECT_LT(baby->y, -2 * 64 + 27 + 0.06f);
    }
    EXPECT_EQ(s->sprite->framew, 32);
    EXPECT_EQ(s->sprite->frameh, 32) << "the burst plays in square cells";
    EXPECT_EQ(s->sprite->CurLayer, 7);
    for (f = 0; f < 100 && InList(s); ++f) {
        ASSERT_FLOAT_EQ(s->y, -2 * 64.0f) << "a sac does not fall";
        Frame();
    }
    EXPECT_FALSE(InList(s));
    EXPECT_GE(f, 3 * 6 - 2) << "gone when its three burst frames have played";
    EXPECT_EQ(All<PopperBaby>().size(), 8u) << "the swarm outlives the sac";
}

TEST_F(PopperTest, TheFlameBurnsASac) {
    PlacePlayer(4, -2);
    PopperSack* s = Add(new PopperSack(1, 5 * 64, -2 * 64));
    p->haveWeapon[1] = 1;
    p->ammo[1] = 500;
    p->ChangeWeapon(1);
    p->Aim(1, 0);
    int f = 0;
    for (; f < 300 && !s->dead; ++f) {
        p->Fire();
        Frame();
    }
    EXPECT_TRUE(s->dead);
    EXPECT_EQ(All<PopperBaby>().size(), 8u);
}

TEST_F(PopperTest, ASacBlocksItsTileUntilItDiesAndNeverHurts) {
    PlacePlayer(4, -2);
    PopperSack* s = Add(new PopperSack(1, 5 * 64, -2 * 64));
    Frame();
    EXPECT_FALSE(p->Climb(1, 0)) << "its tile is blocked";
    EXPECT_EQ(p->tX, 4);
    s->x = p->x + p->cx;  // right on the player
    Frame();
    EXPECT_FALSE(p->dead);
    s->x = 5 * 64;
    s->HP = 0;
    Frame();
    ASSERT_TRUE(s->dead);
    Frame();
    EXPECT_TRUE(p->Climb(1, 0)) << "a burst sac no longer blocks";
}

// ---- babies -------------------------------------------------------------------------------------

TEST_F(PopperTest, TwoClingingBabiesAllowClimbingAThirdStopsIt) {
    PopperBaby* a = ClingingBaby();
    PopperBaby* b = ClingingBaby();
    Frame();
    EXPECT_EQ(p->popperHalt, 2);
    EXPECT_FALSE(p->dead) << "babies never kill";
    PopperBaby* c = ClingingBaby();
    Frame();
    EXPECT_EQ(p->popperHalt, 3);
    EXPECT_FALSE(p->Climb(0, -1));
    EXPECT_EQ(p->tY, -2);
    // One flies off: the count drops at once and the player climbs again.
    c->x = p->x - 150;
    Frame();
    EXPECT_EQ(p->popperHalt, 2);
    EXPECT_TRUE(p->Climb(0, -1));
    (void)a;
    (void)b;
}

TEST_F(PopperTest, ABurstSwarmFindsThePlayerAndHoldsThem) {
    PlacePlayer(4, -2);
    Add(new PopperSack(1, 6 * 64, -4 * 64))->HP = 0;
    std::srand(12);
    int maxHalt = 0, f = 0;
    for (; f < 300 && maxHalt < 3; ++f) {
        Frame();
        maxHalt = std::max(maxHalt, p->popperHalt);
    }
    EXPECT_GE(maxHalt, 3) << "the swarm reaches the player";
    EXPECT_FALSE(p->Climb(0, -1));
    EXPECT_FALSE(p->dead);
}

TEST_F(PopperTest, BabiesExpireAfterTheirTimeNearThePlayer) {
    std::srand(3);
    Add(new PopperSack(1, 6 * 64, -4 * 64))->HP = 0;
    Frame();
    auto babies = All<PopperBaby>();
    ASSERT_EQ(babies.size(), 8u);
    for (PopperBaby* b : babies) {
        EXPECT_GE(b->dieTimer, 400 - 1);
        EXPECT_LE(b->dieTimer, 419 - 1);
    }
    Frames(398);
    EXPECT_EQ(All<PopperBaby>().size(), 8u);
    int dead = 0;
    for (PopperBaby* b : All<PopperBaby>()) dead += b->dead ? 1 : 0;
    EXPECT_EQ(dead, 0) << "none before 400 frames";
    Frames(22);
    for (PopperBaby* b : All<PopperBaby>()) EXPECT_TRUE(b->dead);
    Frames(200);
    EXPECT_TRUE(All<PopperBaby>().empty()) << "they fall off the screen and are removed";
}

TEST_F(PopperTest, OneShotKillsABaby) {
    PlacePlayer(2, -2);
    PopperBaby* b = BabyAt(4 * 64 + 30, -2 * 64 + 30);
    b->dieTimer = 100000;
    p->Aim(1, 0);
    int f = 0;
    for (; f < 30 && !b->dead; ++f) {
        p->Fire();
        Frame();
    }
    EXPECT_TRUE(b->dead);
}

TEST_F(PopperTest, BabiesLeavingTheViewAreRemoved) {
    struct Case {
        float x, sy;  // x and screen y of the baby's position
    } cases[] = {{-101, 200}, {641, 200}, {300, 481}, {300, -101}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x + c.sy);
        PopperBaby* b = BabyAt(0, 0);
        b->x = c.x;
        b->y = c.sy + Building::scrollY;
        Frame();
        EXPECT_FALSE(InList(b));
    }
    PopperBaby* in = BabyAt(0, 0);
    in->x = -99;
    in->y = Building::scrollY + 300;
    Frame();
    EXPECT_TRUE(InList(in));
}

TEST_F(PopperTest, BabiesLeftOnAnotherSideDriftOutOfTheViewAndAreRemoved) {
    PopperBaby* b = BabyAt(500, PlayerBoxY(), 2);
    b->velX = 2.0f;
    int f = 0;
    for (; f < 200 && InList(b); ++f) Frame();
    EXPECT_FALSE(InList(b));
    EXPECT_LT(f, 100);
    // A baby on another side that stays in the view waits there.
    PopperBaby* still = BabyAt(300, PlayerBoxY(), 2);
    const int stillTimer = still->dieTimer;
    Frames(50);
    EXPECT_TRUE(InList(still));
    EXPECT_EQ(still->dieTimer, stillTimer) << "its time only runs near the player";
}

// ---- keywords -----------------------------------------------------------------------------------

TEST_F(PopperTest, TheLevelKeywordsPlaceBatsBugsAndSacs) {
    Entity* bat = Entity::Create("BATBUG", 8, 50, 3, 130, 3000);
    ASSERT_NE(bat, nullptr);
    EXPECT_STREQ(bat->ClassName(), "BatBug");
    EXPECT_FLOAT_EQ(bat->x, 130.0f);
    EXPECT_FLOAT_EQ(bat->y, 3000.0f - 2656.0f);
    EXPECT_EQ(bat->side, 3);
    delete bat;
    // Bugs: free pixels, then moved off the nearer edge.
    Entity* left = Entity::Create("POPPERBUG", 8, 50, 2, 100, 3000);
    Entity* right = Entity::Create("POPPERBUG", 8, 50, 2, 400, 3000);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_STREQ(left->ClassName(), "PopperBug");
    EXPECT_FLOAT_EQ(left->x, -100.0f);
    EXPECT_FLOAT_EQ(right->x, 690.0f);
    EXPECT_FLOAT_EQ(left->y, 3000.0f - 2656.0f);
    EXPECT_EQ(left->side, 2);
    // Sacs: snapped to the grid.
    Entity* sack = Entity::Create("POPPERSACK", 8, 50, 4, 100, 700);
    ASSERT_NE(sack, nullptr);
    EXPECT_STREQ(sack->ClassName(), "PopperSack");
    EXPECT_FLOAT_EQ(sack->x, 128.0f);
    EXPECT_FLOAT_EQ(sack->y, -2112.0f);
    EXPECT_EQ(sack->side, 4);
    EXPECT_TRUE(sack->wallDraw);
    delete left;
    delete right;
    delete sack;
}

}  // namespace
