// The entity base: collision and aiming helpers, damage, death, falling off the screen, the AI
// distance rule and touching the player.
#include <cmath>
#include <cstdlib>

#include "EntityFixture.h"
#include "game/entities/Blood.h"

namespace {

using EntityTest = EntityListTest;

TEST_F(EntityTest, CentreUsesIntegerHalvesOfTheBox) {
    Entity e;
    e.x = 10.5f;
    e.y = -3.0f;
    e.cx = 4;
    e.cy = 6;
    e.cw = 7;  // 7 / 2 = 3
    e.ch = 9;  // 9 / 2 = 4
    EXPECT_FLOAT_EQ(e.GetCenterX(), 4 + 10.5f + 3);
    EXPECT_FLOAT_EQ(e.GetCenterY(), 6 - 3.0f + 4);
}

TEST_F(EntityTest, TileOfTheCentreTruncatesTowardZero) {
    Entity e;
    e.cw = 2;
    e.ch = 2;
    e.x = 127;  // centre 128: tile 2
    e.y = -50;  // centre -49: -0.77 truncates to 0, not -1
    EXPECT_EQ(e.GetTileX(), 2);
    EXPECT_EQ(e.GetTileY(), 0);
    e.y = -130;  // centre -129: -2.02 truncates to -2
    EXPECT_EQ(e.GetTileY(), -2);
}

TEST_F(EntityTest, BoxCollideCountsTouchingEdges) {
    Entity e;
    e.x = 100;
    e.y = 100;
    e.cw = 20;
    e.ch = 20;
    // Right edge of e (120) touches the left edge of the other box.
    EXPECT_TRUE(e.boxCollide(120, 100, 10, 10));
    // Other box ends exactly where e starts, on both axes.
    EXPECT_TRUE(e.boxCollide(90, 90, 10, 10));
    // One pixel apart on either axis: no collision.
    EXPECT_FALSE(e.boxCollide(121, 100, 10, 10));
    EXPECT_FALSE(e.boxCollide(100, 121, 10, 10));
    EXPECT_FALSE(e.boxCollide(89, 100, 10, 10));
    // Containment either way.
    EXPECT_TRUE(e.boxCollide(105, 105, 2, 2));
    EXPECT_TRUE(e.boxCollide(0, 0, 500, 500));
}

TEST_F(EntityTest, BoxCollideIncludesBoxAndDrawingOffsets) {
    Entity e;
    e.x = 0;
    e.y = 0;
    e.cx = 10;
    e.offX = 5;
    e.cw = 10;
    e.ch = 10;
    // The box starts at x = 15 once both offsets are added.
    EXPECT_FALSE(e.boxCollide(0, 0, 14, 10));
    EXPECT_TRUE(e.boxCollide(0, 0, 15, 10));
}

TEST_F(EntityTest, HitEntityNeedsTheSameSide) {
    Probe* a = Add(100, 100, 1);
    Probe* b = Add(100, 100, 2);
    EXPECT_FALSE(a->hitEntity(b));
    EXPECT_FALSE(b->hitEntity(a));
    b->side = 1;
    EXPECT_TRUE(a->hitEntity(b));
    b->x = 500;
    EXPECT_FALSE(a->hitEntity(b));
}

TEST_F(EntityTest, DistanceAndAngleBetweenEntities) {
    Entity a, b;
    a.x = 0;
    a.y = 0;
    a.cx = 10;
    b.x = 30;
    b.y = 40;
    b.cx = 10;
    EXPECT_FLOAT_EQ(a.distToEntity(&b), 50.0f);
    EXPECT_FLOAT_EQ(b.distToEntity(&a), 50.0f);
    // The angle points from the other entity towards this one: a is up-left of b.
    float ang = a.angleToEntity(&b);
    EXPECT_FLOAT_EQ(ang, std::atan2(-40.0f, -30.0f));
    // Shooters fly at (-cos a, -sin a), which must head from a towards b.
    EXPECT_GT(-std::cos(ang), 0);
    EXPECT_GT(-std::sin(ang), 0);
    // The extra offsets do not change the result.
    EXPECT_FLOAT_EQ(a.angleToEntity(&b, 100, -100), ang);
}

TEST_F(EntityTest, LastHitPointSpawnsBloodAndDeathFollowsOnTheNextUpdate) {
    std::srand(7);
    Probe* e = Add(200, 300);
    e->HP = 1;
    e->offX = 3;
    e->offY = -2;
    e->Hit(1, 0);
    EXPECT_EQ(e->HP, 0);
    EXPECT_FALSE(e->dead);  // death waits for the update
    ASSERT_EQ(Entity::entList.size(), 4u);
    const int cxExpected = static_cast<int>(e->GetCenterX() + 3);
    const int cyExpected = static_cast<int>(e->GetCenterY() - 2);
    for (size_t i = 1; i < 4; ++i) {
        Blood* b = dynamic_cast<Blood*>(Entity::entList[i]);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->side, e->side);
        EXPECT_FLOAT_EQ(b->x, static_cast<float>(cxExpected));
        EXPECT_FLOAT_EQ(b->y, static_cast<float>(cyExpected));
        // Drops spray left and up, never centred.
        EXPECT_GE(b->velX, -1.0f);
        EXPECT_LT(b->velX, 0.0f);
        EXPECT_LE(b->velY, 0.0f);
        EXPECT_GT(b->velY, -4.0f);
        EXPECT_TRUE(b->applyGravity);
        EXPECT_FALSE(b->canHit);
        EXPECT_TRUE(b->color == 0 || b->color == 1);
    }
    e->Update();
    EXPECT_TRUE(e->dead);
    EXPECT_TRUE(e->applyGravity);
    EXPECT_EQ(e->dieCalls, 1);
}

TEST_F(EntityTest, BloodVelocitiesAreNotAllTheSame) {
    // A division done in integers would give every drop velX -1 and velY 0.
    std::srand(1);
    Probe* e = Add(0, 0);
    e->bloodRate = 20;
    e->Hit(0, 0);
    int distinctX = 0, risingDrops = 0;
    for (size_t i = 2; i < Entity::entList.size(); ++i) {
        if (Entity::entList[i]->velX != Entity::entList[1]->velX) ++distinctX;
        if (Entity::entList[i]->velY < -0.5f) ++risingDrops;
    }
    EXPECT_GT(distinctX, 0);
    EXPECT_GT(risingDrops, 0);
}

TEST_F(EntityTest, HitIsIgnoredWhenNotHittableDeadOrGone) {
    Probe* e = Add(0, 0);
    e->canHit = 0;
    e->Hit(0, 0);
    EXPECT_EQ(e->HP, 50);
    e->canHit = 1;
    e->dead = 1;
    e->Hit(0, 0);
    EXPECT_EQ(e->HP, 50);
    e->dead = 0;
    e->alive = false;
    e->Hit(0, 0);
    EXPECT_EQ(e->HP, 50);
    EXPECT_EQ(Entity::entList.size(), 1u);
    e->alive = true;
    e->bloodRate = 0;
    e->Hit(0, 0);
    EXPECT_EQ(e->HP, 49);
    EXPECT_EQ(Entity::entList.size(), 1u);
}

TEST_F(EntityTest, SecondDieChangesNothing) {
    Probe* e = Add(0, 0);
    e->sprite = HeadlessSprite();
    e->Die();
    EXPECT_TRUE(e->dead);
    EXPECT_TRUE(e->sprite->isCurrentAnimation(&e->aDead));
    // Whatever happened to the dying entity since, a second Die leaves it alone.
    e->applyGravity = 0;
    e->sprite->PlayAnimation(&e->aIdle);
    e->Die();
    EXPECT_FALSE(e->applyGravity);
    EXPECT_TRUE(e->sprite->isCurrentAnimation(&e->aIdle));
}

TEST_F(EntityTest, DeadEntityFallsAndLeavesOnceBelowTheScreen) {
    AddPlayer(320, 0);
    Probe* e = Add(100, 200);
    Building::scrollY = -100;
    e->HP = 0;
    int frames = 0;
    while (e->alive && frames < 1000) {
        e->Update();
        ++frames;
        if (e->alive) {
            EXPECT_LE(e->y + e->offY - Building::scrollY, 480.0f);
        }
    }
    EXPECT_FALSE(e->alive);
    EXPECT_GT(e->y - Building::scrollY, 480.0f);
    // It dies in the first update and starts at rest: after n updates it has fallen
    // 0.25 * n * (n - 1) / 2 pixels, and 181 are needed to pass the bottom: n = 39.
    EXPECT_EQ(frames, 39);
}

TEST_F(EntityTest, OffScreenIsRelativeToTheCamera) {
    Probe* e = Add(100, 500);
    e->dead = 1;
    Building::scrollY = 100;  // the entity is on screen at 400
    e->Update();
    EXPECT_TRUE(e->alive);
    Building::scrollY = 0;  // now at 500: below the screen
    e->Update();
    EXPECT_FALSE(e->alive);
}

TEST_F(EntityTest, DeadEntityHeldInPlaceIsNeverRemovedByTheBase) {
    Probe* e = Add(100, 100);
    e->Die();
    for (int i = 0; i < 500; ++i) {
        e->Update();
        // Its own class holds it where it is.
        e->velY = 0;
        e->y = 100;
    }
    EXPECT_TRUE(e->alive);
}

TEST_F(EntityTest, AIRunsOnlyNearThePlayerOnItsSide) {
    Probe* player = AddPlayer(320, 1000);  // centre y 1032
    Probe* e = Add(320, 0);
    e->ch = 0;
    e->y = 1032 - 479;
    e->Update();
    EXPECT_EQ(e->aiCalls, 1);
    e->y = 1032 + 479;
    e->Update();
    EXPECT_EQ(e->aiCalls, 2);
    // 480 world pixels above or below: no AI.
    e->y = 1032 - 480;
    e->Update();
    e->y = 1032 + 480;
    e->Update();
    EXPECT_EQ(e->aiCalls, 2);
    // ... unless the player is dead.
    player->dead = 1;
    e->Update();
    EXPECT_EQ(e->aiCalls, 3);
    // Never on another side.
    e->y = 1032;
    e->side = 2;
    e->Update();
    EXPECT_EQ(e->aiCalls, 3);
    // Never while dying.
    e->side = 1;
    e->dead = 1;
    e->Update();
    EXPECT_EQ(e->aiCalls, 3);
}

TEST_F(EntityTest, FinalBossThinksWhateverItsSideAndDistance) {
    AddPlayer(320, 1000);
    Probe* boss = Add(0, -40000, 3);
    boss->thinksEverywhere = true;
    boss->Update();
    EXPECT_EQ(boss->aiCalls, 1);
    Probe* other = Add(0, -40000, 3);
    other->Update();
    EXPECT_EQ(other->aiCalls, 0);
}

TEST_F(EntityTest, HarmfulEntityTouchingThePlayerKillsIt) {
    Probe* player = AddPlayer(100, 100);
    Probe* e = Add(110, 110);
    e->hurtPlayer = 1;
    e->Update();
    EXPECT_TRUE(player->dead);
    EXPECT_EQ(player->dieCalls, 1);
}

TEST_F(EntityTest, TouchingThePlayerIsHarmlessInTheseCases) {
    Probe* player = AddPlayer(100, 100);
    Probe* e = Add(110, 110);
    // Not harmful.
    e->Update();
    EXPECT_EQ(player->dieCalls, 0);
    // Another side, whatever the position.
    e->hurtPlayer = 1;
    e->side = 2;
    e->Update();
    EXPECT_EQ(player->dieCalls, 0);
    // The player is blinking.
    e->side = 1;
    player->invinceTimer = 5;
    e->Update();
    EXPECT_EQ(player->dieCalls, 0);
    // The entity is dying.
    player->invinceTimer = 0;
    e->dead = 1;
    e->Update();
    EXPECT_EQ(player->dieCalls, 0);
    // The player never hurts itself.
    player->hurtPlayer = 1;
    player->Update();
    EXPECT_EQ(player->dieCalls, 0);
}

TEST_F(EntityTest, BlinkingHidesAndShowsTheSprite) {
    Probe* e = Add(0, 0);
    e->sprite = HeadlessSprite();
    e->invinceTimer = 20;
    bool hiddenAt[21] = {};
    for (int t = 20; t >= 1; --t) {
        e->Draw();
        hiddenAt[t] = e->sprite->hidden;
    }
    EXPECT_EQ(e->invinceTimer, 0);
    EXPECT_TRUE(hiddenAt[20]);
    EXPECT_TRUE(hiddenAt[16]);  // stays hidden until the next multiple of 5
    EXPECT_FALSE(hiddenAt[15]);
    EXPECT_TRUE(hiddenAt[10]);
    EXPECT_FALSE(hiddenAt[5]);
    EXPECT_FALSE(hiddenAt[1]);  // always visible when the blinking ends
    // Once the timer is spent, drawing leaves it at 0.
    e->Draw();
    EXPECT_EQ(e->invinceTimer, 0);
}

TEST_F(EntityTest, DrawPlacesTheSpriteRelativeToTheCamera) {
    Probe* e = Add(100, 250, 3);
    e->sprite = HeadlessSprite();
    e->offX = 15;
    e->offY = -4;
    Building::scrollY = 200;
    e->Draw();
    EXPECT_FLOAT_EQ(e->sprite->x, 115);
    EXPECT_FLOAT_EQ(e->sprite->y, 46);
    EXPECT_EQ(e->sprite->side, 3);
}

TEST_F(EntityTest, BloodVanishesBelowTheScreen) {
    Building::scrollY = 0;
    Blood* b = new Blood(2, 10, 470, 0.0f, 0.0f);
    Entity::entList.push_back(b);
    int frames = 0;
    while (b->alive && frames < 100) {
        b->Update();
        ++frames;
    }
    EXPECT_FALSE(b->alive);
    // Under gravity alone it crosses 480 after a few frames, not at once.
    EXPECT_GT(frames, 3);
}

}  // namespace
