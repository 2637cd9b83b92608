// The checkpoint ring, teleports and the weapon announcement.
#include "game/player/PlayFixture.h"

using CheckpointTest = PlayTest;

TEST_F(CheckpointTest, TheRingReturnsTheOldestOfTheLastFivePositions) {
    // Steps to rows -3, -4, -5 (three steps): the next slot, 3, still holds the default.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(p->Climb(0, -1));
        Settle();
    }
    Building::MoveToLastCheckPoint();
    EXPECT_EQ(p->tX, 5);
    EXPECT_EQ(p->tY, 4);
    EXPECT_EQ(p->side, 1);
    EXPECT_FLOAT_EQ(Building::scrollY, 64.0f * 4 - 192);

    // Four more (seven in all): slot 2 holds the 3rd step, row -5.
    p->SetPosition(4, -5);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(p->Climb(0, -1));
        Settle();
    }
    EXPECT_EQ(Building::saveStepCount, 7);
    Building::MoveToLastCheckPoint();
    EXPECT_EQ(p->tX, 4);
    EXPECT_EQ(p->tY, -5);
    EXPECT_FLOAT_EQ(p->x, p->TargetX());
    EXPECT_FLOAT_EQ(p->y, p->TargetY());
}

TEST_F(CheckpointTest, ACheckpointOnAnotherSideTurnsTheView) {
    Building::saveStepCount = 0;
    Building::SaveStepLocation(6, -20, 2);
    Building::saveStepCount = 5;  // slot 0 is now the oldest
    Building::MoveToLastCheckPoint();
    EXPECT_EQ(p->side, 2);
    EXPECT_FLOAT_EQ(e->rotx, 270);
    EXPECT_EQ(p->tX, 6);
    EXPECT_EQ(p->tY, -20);
}

TEST_F(CheckpointTest, MovePlayerToPositionCountsRowsUpFromTheBottom) {
    Building::MovePlayerToPosition(1, 2, 9);
    EXPECT_EQ(p->tX, 2);
    EXPECT_EQ(p->tY, -2);
    EXPECT_FLOAT_EQ(Building::scrollY, -576);
    EXPECT_FLOAT_EQ(e->rotx, 360);
    Building::MovePlayerToPosition(3, 5, 0);
    EXPECT_EQ(p->tY, 7);
    EXPECT_EQ(p->side, 3);
    EXPECT_FLOAT_EQ(e->rotx, 180);
}

TEST_F(CheckpointTest, TheAnnouncementSlidesInWaitsAndSlidesOut) {
    Building::ShowNewWeapon(1);
    ASSERT_NE(Building::newWeaponElement, nullptr);
    EXPECT_EQ(Building::showNewWeapon, 1);
    EXPECT_EQ(Building::newWeaponElement->sound, Building::wavFlameGet);
    EXPECT_EQ(Building::newWeaponElement->sprite->image, Building::imFlamer);
    // While it shows, the game loop runs nothing else and the sprites stand still.
    ASSERT_NE(Sprite::frozen, nullptr);
    EXPECT_TRUE(Sprite::frozen());
    float y0 = p->y;
    ASSERT_TRUE(p->Climb(0, -1));
    int frames = 0;
    while (!Building::newWeaponElement->atTarget() && frames < 500) {
        GameLoop(e);
        ++frames;
    }
    EXPECT_LT(frames, 500);
    EXPECT_FLOAT_EQ(p->y, y0) << "the world is frozen";
    // It stays until confirmed.
    for (int i = 0; i < 50; ++i) GameLoop(e);
    EXPECT_EQ(Building::showNewWeapon, 1);
    Press(VK_RETURN);
    HandleKeys(e);
    Release(VK_RETURN);
    frames = 0;
    while (Building::showNewWeapon && frames < 500) {
        GameLoop(e);
        ++frames;
    }
    EXPECT_EQ(Building::showNewWeapon, 0);
    EXPECT_EQ(Building::newWeaponElement, nullptr);
    EXPECT_FALSE(Sprite::frozen());
}

TEST_F(CheckpointTest, ConfirmIsIgnoredUntilTheBannerHasArrived) {
    Building::ShowNewWeapon(2);
    EXPECT_EQ(Building::newWeaponElement->sprite->image, Building::imBazooka);
    GameLoop(e);
    Press(VK_RETURN);
    HandleKeys(e);
    EXPECT_FLOAT_EQ(Building::newWeaponElement->targetX, 0);
    // A second announcement replaces the first.
    Building::ShowNewWeapon(1);
    EXPECT_EQ(Building::showNewWeapon, 1);
    EXPECT_FLOAT_EQ(Building::newWeaponElement->x, 640);
    Building::RestartGame();
    EXPECT_EQ(Building::newWeaponElement, nullptr);
}
