// Menu elements, the title sequence, the title and level menus, starting a level, the pause menu.
#include "game/player/PlayFixture.h"

#include <cmath>

#include "engine/GameEngine.h"

namespace {

// Updates the title until its menu box has risen into place; returns the frames it took.
int RunTitleUntilTheBoxArrives(int limit = 3000) {
    int frames = 0;
    while (!menGUIBox->atTarget() && frames < limit) {
        UpdateMainMenu();
        ++frames;
    }
    return frames;
}

}  // namespace

TEST(MenuElementTest, WaitsThenGlidesAndSnapsExactlyOntoItsTarget) {
    MenuElement m(nullptr, 0, 0, 100, -50, 3);
    for (int i = 0; i < 3; ++i) {
        m.Update();
        EXPECT_FLOAT_EQ(m.x, 0) << "waiting, frame " << i;
    }
    EXPECT_EQ(m.delay, 0);
    float lastDx = 100, lastDy = 50;
    int frames = 0;
    while (!m.atTarget() && frames < 1000) {
        m.Update();
        ++frames;
        // Never farther from the target than one frame before, beyond the acceleration's wobble.
        EXPECT_LE(std::fabs(m.x - 100), lastDx + 1.0f);
        lastDx = std::fabs(m.x - 100);
        lastDy = std::fabs(m.y + 50);
    }
    EXPECT_TRUE(m.atTarget());
    EXPECT_EQ(m.x, 100.0f);
    EXPECT_EQ(m.y, -50.0f);
    EXPECT_FLOAT_EQ(m.velX, 0);
    EXPECT_FLOAT_EQ(m.velY, 0);
    // Accelerating at 0.2 per frame, 100 pixels take about sqrt(2 * 100 / 0.2) = 32 frames.
    EXPECT_GT(frames, 25);
    EXPECT_LT(frames, 45);
    (void)lastDy;
    // Once there it stays.
    for (int i = 0; i < 10; ++i) m.Update();
    EXPECT_TRUE(m.atTarget());
}

TEST(MenuElementTest, ArrivesOnceAndHeadsBackWhenTheTargetMoves) {
    MenuElement m(nullptr, 0, 0, 10, 0, 0);
    for (int i = 0; i < 100 && !m.atTarget(); ++i) m.Update();
    ASSERT_TRUE(m.atTarget());
    EXPECT_TRUE(m.beenAtTarget);
    m.targetX = -30;
    m.Update();
    EXPECT_LT(m.velX, 0);
    for (int i = 0; i < 100 && !m.atTarget(); ++i) m.Update();
    EXPECT_EQ(m.x, -30.0f);
    // A larger acceleration gets there sooner.
    MenuElement slow(nullptr, 0, 0, 0, 300, 0), fast(nullptr, 0, 0, 0, 300, 0);
    fast.acc = 2.5f;
    int a = 0, b = 0;
    while (!slow.atTarget() && a < 1000) slow.Update(), ++a;
    while (!fast.atTarget() && b < 1000) fast.Update(), ++b;
    EXPECT_LT(b, a);
}

using MenuTest = PlayTest;

TEST_F(MenuTest, TheTitleShowsTheLogosThenAssemblesThenRaisesTheBox) {
    Building::StartMainMenu();
    EXPECT_TRUE(Building::MainMenuOn);
    EXPECT_EQ(e->music, musTitle);
    // The studio logo stays for 100 frames, the musician's for 270.
    for (int i = 0; i < 100; ++i) UpdateMainMenu();
    EXPECT_FLOAT_EQ(menTallow->x, 0);
    UpdateMainMenu();
    UpdateMainMenu();
    EXPECT_LT(menTallow->x, 0);
    EXPECT_FLOAT_EQ(menTovr->x, 0);
    EXPECT_FLOAT_EQ(menBuilding->x, -640) << "the scene waits for the logos";
    int frames = 102 + RunTitleUntilTheBoxArrives();
    EXPECT_TRUE(menGUIBox->atTarget());
    EXPECT_TRUE(menTitle->atTarget());
    EXPECT_TRUE(musStart) << "the title's landing shook the screen";
    // Logos out (~350), scene in (~85), title down (~39), a 50-frame hold, the box up (~55).
    EXPECT_GT(frames, 450);
    EXPECT_LT(frames, 700);
    // The labels follow the box a frame behind.
    UpdateMainMenu();
    EXPECT_FLOAT_EQ(menGUIText->y, menGUIBox->y);
}

TEST_F(MenuTest, AConfirmWhileTheBoxIsRisingDoesNothing) {
    Building::StartMainMenu();
    for (int i = 0; i < 300; ++i) UpdateMainMenu();
    ASSERT_FALSE(menGUIBox->atTarget());
    Building::ActivateSelection();
    EXPECT_TRUE(Building::MainMenuOn);
    EXPECT_EQ(Building::menuPos, 0);
    EXPECT_EQ(p->tY, -2);
}

TEST_F(MenuTest, WithNothingUnlockedTheTitleMenuHasThreeItemsAndStartsLevelOne) {
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 3;
    UpdateMainMenu();
    EXPECT_EQ(Building::menuPos, 2);
    Building::menuPos = -1;
    UpdateMainMenu();
    EXPECT_EQ(Building::menuPos, 0);
    p->SetPosition(5, 4);
    Building::ActivateSelection();
    EXPECT_FALSE(Building::MainMenuOn);
    EXPECT_EQ(p->side, 1);
    EXPECT_EQ(p->tX, 4);
    EXPECT_EQ(p->tY, -2);
    EXPECT_FLOAT_EQ(Building::scrollY, -576);
    EXPECT_FLOAT_EQ(e->rotx, 360);
    EXPECT_EQ(Building::lineCross, 0);
    EXPECT_EQ(e->music, Building::levelMus);
    // The title glides away.
    EXPECT_FLOAT_EQ(menTitle->targetX, -640);
    EXPECT_EQ(menTitle->delay, 50);
    EXPECT_FLOAT_EQ(menGUIBox->targetX, 800);
    EXPECT_FLOAT_EQ(menCursor->targetX, 800);
}

TEST_F(MenuTest, WithALevelUnlockedStartOpensTheLevelBox) {
    Building::BuildingUnlock = 1;
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::ActivateSelection();
    EXPECT_EQ(Building::menuPos, 10);
    EXPECT_TRUE(Building::MainMenuOn);
    for (int i = 0; i < 2; ++i) {
        Building::menuPos += 1;
        UpdateMainMenu();
    }
    EXPECT_EQ(Building::menuPos, 11) << "level 3 is not unlocked";
    Building::menuPos = 9;
    UpdateMainMenu();
    EXPECT_EQ(Building::menuPos, 10);
    // The second box and its labels slide in; the cursor follows the level box.
    for (int i = 0; i < 200; ++i) UpdateMainMenu();
    EXPECT_TRUE(menGUIBox2->atTarget());
    EXPECT_TRUE(menLvlText[1]->atTarget());
    EXPECT_FLOAT_EQ(menLvlText[2]->x, 770) << "the third label stays hidden";
    EXPECT_FLOAT_EQ(menCursor->x, menGUIBox2->x + 2);
    EXPECT_FLOAT_EQ(menCursor->targetY, menGUIBox2->y + 17);
}

TEST_F(MenuTest, LevelTwoStartsOnSideFourWithTheRecordedLives) {
    WriteSave("dist.dat", "2\n4");
    Building::BuildingUnlock = 2;
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 11;
    Building::ActivateSelection();
    EXPECT_FALSE(Building::MainMenuOn);
    EXPECT_EQ(p->side, 4);
    EXPECT_EQ(p->tX, 4);
    EXPECT_EQ(p->tY, -243);
    EXPECT_FLOAT_EQ(Building::scrollY, -16000);
    EXPECT_FLOAT_EQ(e->rotx, 90);
    EXPECT_EQ(Building::lineCross, 1);
    EXPECT_EQ(Player::Lives, 2);
}

TEST_F(MenuTest, LevelThreeStartsOnSideThreeWithTheSecondRecord) {
    WriteSave("dist.dat", "2\n4");
    Building::BuildingUnlock = 2;
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 12;
    Building::ActivateSelection();
    EXPECT_EQ(p->side, 3);
    EXPECT_EQ(p->tY, -483);
    EXPECT_FLOAT_EQ(Building::scrollY, -64 * 490);
    EXPECT_FLOAT_EQ(e->rotx, 180);
    EXPECT_EQ(Building::lineCross, 2);
    EXPECT_EQ(Player::Lives, 4);
}

TEST_F(MenuTest, AMissingOrShortRecordKeepsTheLives) {
    Building::BuildingUnlock = 2;
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 12;
    Building::ActivateSelection();
    EXPECT_EQ(Player::Lives, 5);
    WriteSave("dist.dat", "3");
    Player::Lives = 5;
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 12;
    Building::ActivateSelection();
    EXPECT_EQ(Player::Lives, 5);
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 11;
    Building::ActivateSelection();
    EXPECT_EQ(Player::Lives, 3);
}

TEST_F(MenuTest, QuitPostsTheQuitMessage) {
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 2;
    Building::ActivateSelection();
    EXPECT_TRUE(platform::QuitRequested());
}

TEST_F(MenuTest, ThePauseMenuStartsOnResumeAndCanRestart) {
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::ActivateSelection();                   // start level 1
    for (int i = 0; i < 200; ++i) UpdateMainMenu();  // the title glides off
    ASSERT_TRUE(menGUIBox->atTarget());
    Building::pauseOn = 1;
    Building::PauseMenuUpdate();
    EXPECT_EQ(Building::menuPos, 20);
    EXPECT_FLOAT_EQ(menCursor->x, pauseBKGsp->x + 25);
    EXPECT_FLOAT_EQ(menCursor->y, pauseBKGsp->y + 76);
    Building::menuPos = 25;
    Building::PauseMenuUpdate();
    EXPECT_EQ(Building::menuPos, 21);
    EXPECT_FLOAT_EQ(menCursor->y, pauseBKGsp->y + 126);
    Building::menuPos = 20;
    Building::ActivateSelection();
    EXPECT_FALSE(Building::pauseOn);
    EXPECT_FALSE(Building::MainMenuOn);

    Building::pauseOn = 1;
    Building::menuPos = 21;
    Player::Lives = 2;
    Building::ActivateSelection();
    EXPECT_FALSE(Building::pauseOn);
    EXPECT_TRUE(Building::MainMenuOn) << "a restart goes back to the title";
    EXPECT_EQ(Player::Lives, 5);
}

TEST_F(MenuTest, TheFullScreenItemKeepsTheTitleUp) {
    Building::StartMainMenu();
    RunTitleUntilTheBoxArrives();
    Building::menuPos = 1;
    Building::ActivateSelection();
    EXPECT_TRUE(Building::MainMenuOn);
    EXPECT_EQ(Building::menuPos, 1);
    EXPECT_FALSE(platform::QuitRequested());
    EXPECT_EQ(p->tY, -2);
}
