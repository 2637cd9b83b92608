// Keys to actions: one-per-press flags, menus, climbing and aiming, the frozen turn, quitting.
#include "game/player/PlayFixture.h"

using ControlsTest = PlayTest;

TEST_F(ControlsTest, HoldingEscapeTogglesPauseOnceUntilReleased) {
    Press(VK_ESCAPE);
    for (int i = 0; i < 5; ++i) HandleKeys(e);
    EXPECT_TRUE(Building::pauseOn);
    Release(VK_ESCAPE);
    HandleKeys(e);
    EXPECT_TRUE(Building::pauseOn);
    Press(VK_ESCAPE);
    HandleKeys(e);
    EXPECT_FALSE(Building::pauseOn);
    EXPECT_FALSE(platform::QuitRequested()) << "in play Escape only pauses";
}

TEST_F(ControlsTest, EscapeOnTheTitleQuits) {
    Building::MainMenuOn = 1;
    Press(VK_ESCAPE);
    HandleKeys(e);
    EXPECT_TRUE(platform::QuitRequested());
    EXPECT_TRUE(Building::pauseOn) << "the toggle runs first";
}

TEST_F(ControlsTest, AHeldDirectionMovesTheMenuOnce) {
    Building::StartMainMenu();  // its box is still rising, so a confirm does nothing
    Building::menuPos = 0;
    Press(VK_DOWN);
    for (int i = 0; i < 10; ++i) HandleKeys(e);
    EXPECT_EQ(Building::menuPos, 1);
    Release(VK_DOWN);
    HandleKeys(e);
    Press(VK_DOWN);
    HandleKeys(e);
    EXPECT_EQ(Building::menuPos, 2);
    Release(VK_DOWN);
    Press(VK_UP);
    for (int i = 0; i < 10; ++i) HandleKeys(e);
    EXPECT_EQ(Building::menuPos, 1);
    // The player does not move while a menu is up.
    Press('X');
    HandleKeys(e);
    EXPECT_EQ(p->tY, -2);
}

TEST_F(ControlsTest, TheClimbKeyAloneOnlyHolds) {
    Press('X');
    HandleKeys(e);
    EXPECT_TRUE(p->climbHold);
    EXPECT_EQ(p->tX, 4);
    EXPECT_EQ(p->tY, -2);
    EXPECT_EQ(Building::saveStepCount, 0);
}

TEST_F(ControlsTest, AHeldDiagonalClimbsDiagonallyFirst) {
    Press('X');
    Press(VK_RIGHT);
    Press(VK_UP);
    HandleKeys(e);
    // The diagonal call starts the step; the straight calls after it are refused while it glides.
    EXPECT_EQ(p->tX, 5);
    EXPECT_EQ(p->tY, -3);
    EXPECT_EQ(Building::saveStepCount, 1);
    EXPECT_EQ(rightDel, 1);
    EXPECT_EQ(upDel, 1);
    EXPECT_EQ(leftDel, 0);
    Release(VK_RIGHT);
    HandleKeys(e);
    EXPECT_EQ(rightDel, 0);
}

TEST_F(ControlsTest, ADiagonalWithoutTheClimbKeyAims) {
    p->Idle();
    Press(VK_RIGHT);
    Press(VK_UP);
    HandleKeys(e);
    EXPECT_EQ(p->aimDirX, 1);
    EXPECT_EQ(p->aimDirY, -1);
    EXPECT_EQ(p->tY, -2);
    Release(VK_RIGHT);
    Press(VK_LEFT);
    Release(VK_UP);
    Press(VK_DOWN);
    HandleKeys(e);
    EXPECT_EQ(p->aimDirX, -1);
    EXPECT_EQ(p->aimDirY, 1);
    Release(VK_DOWN);
    HandleKeys(e);
    EXPECT_EQ(p->aimDirX, -1);
    EXPECT_EQ(p->aimDirY, 0);
}

TEST_F(ControlsTest, DuringATurnNoInputReachesThePlayerButPauseWorks) {
    e->rotx = 363;
    Press('X');
    Press(VK_UP);
    HandleKeys(e);
    EXPECT_EQ(p->tY, -2);
    EXPECT_FALSE(p->climbHold);
    Release('X');
    Release(VK_UP);
    Press(VK_ESCAPE);
    HandleKeys(e);
    EXPECT_TRUE(Building::pauseOn);
}

TEST_F(ControlsTest, OnTheEndingKeysQuitOnlyOnceTheFadeIsComplete) {
    // The boss's death ends on a full black veil with fire likely held: that does not quit.
    Building::scenePhase = Building::kSceneStart;
    e->fadePerc = 1.0f;
    Press(VK_RETURN);
    HandleKeys(e);
    EXPECT_FALSE(platform::QuitRequested());
    // After the credits, only the full veil lets a key quit.
    Building::scenePhase = Building::kSceneVeilCloses;
    e->fadePerc = 0.995f;
    HandleKeys(e);
    EXPECT_FALSE(platform::QuitRequested());
    e->fadePerc = 1.0f;
    HandleKeys(e);
    EXPECT_TRUE(platform::QuitRequested());
    EXPECT_FALSE(Building::pauseOn);
}

TEST_F(ControlsTest, OnePressChangesTheWeaponOnce) {
    p->haveWeapon[1] = 1;
    p->ammo[1] = 20;
    // A key that was down before play began (changeDel clear) must be released first.
    changeDel = 0;
    Press(VK_RETURN);
    for (int i = 0; i < 5; ++i) HandleKeys(e);
    EXPECT_EQ(p->weapon, 0);
    Release(VK_RETURN);
    HandleKeys(e);
    Press(VK_RETURN);
    for (int i = 0; i < 5; ++i) HandleKeys(e);
    EXPECT_EQ(p->weapon, 1) << "held for five frames, changed once";
    Release(VK_RETURN);
    HandleKeys(e);
    Press(VK_RETURN);
    HandleKeys(e);
    EXPECT_EQ(p->weapon, 0);
}

TEST_F(ControlsTest, FireIsHeldAndClimbingWins) {
    Building::scrollY = p->y - 200;
    p->Idle();
    Entity* t = new Entity;
    t->x = 6 * 64;
    t->y = -2 * 64;
    t->cw = t->ch = 64;
    Entity::entList.push_back(t);
    Press('C');
    for (int i = 0; i < 12; ++i) {
        HandleKeys(e);
        p->sprite->Step();
    }
    EXPECT_EQ(t->HP, 48);
    // With the climb key down the fire key does nothing.
    Press('X');
    for (int i = 0; i < 12; ++i) {
        HandleKeys(e);
        p->sprite->Step();
    }
    EXPECT_EQ(t->HP, 48);
}

// A key that opens or closes a menu acts there and nowhere else: opening the pause activates none
// of its items, and the key that closes it does nothing in play until it is released.
TEST_F(ControlsTest, TheKeysThatOpenAndCloseThePauseActOnlyThere) {
    Building::StartMainMenu();
    while (!menGUIBox->atTarget()) UpdateMainMenu();
    Building::ActivateSelection();  // "start": level 1, leaving "start" selected
    for (int i = 0; i < 200; ++i) UpdateMainMenu();
    ASSERT_FALSE(Building::MainMenuOn);
    ASSERT_TRUE(menGUIBox->atTarget());
    p->SetPosition(6, -6);
    Building::scrollY = p->y - 200;
    Settle();
    p->haveWeapon[1] = 1;
    p->ammo[1] = 20;

    // Enter changes the weapon and stays down; Escape then opens the pause, and nothing in it acts.
    changeDel = 1;
    Press(VK_RETURN);
    InputFrame();
    ASSERT_EQ(p->weapon, 1);
    Press(VK_ESCAPE);
    for (int i = 0; i < 5; ++i) InputFrame();
    EXPECT_TRUE(Building::pauseOn);
    EXPECT_EQ(Building::menuPos, 20) << "the pause starts on resume";
    EXPECT_EQ(p->tX, 6) << "not sent back to the level's start";
    EXPECT_EQ(p->tY, -6);
    EXPECT_EQ(Player::Get(), p) << "no restart";
    Release(VK_ESCAPE);
    InputFrame();
    EXPECT_TRUE(Building::pauseOn) << "Enter, held since play, must be pressed again";

    // Pressed again it resumes; held on into play it does not change the weapon.
    Release(VK_RETURN);
    InputFrame();
    Press(VK_RETURN);
    InputFrame();
    EXPECT_FALSE(Building::pauseOn);
    for (int i = 0; i < 5; ++i) InputFrame();
    EXPECT_EQ(p->weapon, 1);
    Release(VK_RETURN);
    InputFrame();
    Press(VK_RETURN);
    InputFrame();
    EXPECT_EQ(p->weapon, 0) << "a fresh press in play does";
    Release(VK_RETURN);

    // The same for the fire key closing the pause, and for a pause that opens on its own (the
    // window losing focus) while Enter is down.
    Entity* t = new Entity;
    t->side = 1;
    t->x = 8 * 64;
    t->y = -6 * 64;
    t->cw = t->ch = 64;
    Entity::entList.push_back(t);
    p->Aim(1, 0);
    Press(VK_ESCAPE);
    InputFrame();
    Release(VK_ESCAPE);
    Press('C');
    InputFrame();
    EXPECT_FALSE(Building::pauseOn);
    for (int i = 0; i < 12; ++i) InputFrame();
    EXPECT_EQ(t->HP, 50) << "the key that resumed does not fire";
    Release('C');
    Press(VK_RETURN);
    InputFrame();
    PauseOnFocusLoss();
    for (int i = 0; i < 3; ++i) InputFrame();
    EXPECT_TRUE(Building::pauseOn);
    EXPECT_EQ(p->tX, 6);
    EXPECT_EQ(Player::Get(), p);

    // Only the key that closed a menu is held back: the fire key held down through a pause that
    // Escape opened and closed fires as soon as play resumes (the flame thrower, chosen above).
    Release(VK_RETURN);
    InputFrame();
    Press(VK_RETURN);
    InputFrame();
    Release(VK_RETURN);
    ASSERT_FALSE(Building::pauseOn);
    Press('C');
    for (int i = 0; i < 12; ++i) InputFrame();
    for (bool open : {true, false}) {
        Press(VK_ESCAPE);
        InputFrame();
        Release(VK_ESCAPE);
        InputFrame();
        EXPECT_EQ(Building::pauseOn, open);
    }
    ASSERT_EQ(p->weapon, 1);
    p->ammo[1] = 50;
    for (int i = 0; i < 12; ++i) InputFrame();
    EXPECT_LT(p->ammo[1], 50) << "fire held through the pause";
}
