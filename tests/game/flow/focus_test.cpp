// The "pause when the window loses focus" setting, through the real window procedure.
#include "game/flow/MainMenu.h"
#include "game/player/PlayFixture.h"
#include "platform/Settings.h"

using FocusTest = PlayTest;

TEST_F(FocusTest, LosingFocusPausesPlayOnlyWhenTheSettingIsOn) {
    ASSERT_EQ(e->onFocusLost, &PauseOnFocusLoss);
    platform::Settings saved = platform::CurrentSettings();
    Building::MainMenuOn = 0;
    Building::pauseOn = 0;

    platform::CurrentSettings().pauseOnFocusLoss = false;
    WndProc(nullptr, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(Building::pauseOn);

    platform::CurrentSettings().pauseOnFocusLoss = true;
    WndProc(nullptr, WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(Building::pauseOn);

    // On the title menu there is nothing to pause.
    Building::pauseOn = 0;
    Building::MainMenuOn = 1;
    WndProc(nullptr, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(Building::pauseOn);
    Building::MainMenuOn = 0;
    platform::CurrentSettings() = saved;
}

TEST_F(FocusTest, AReboundKeyReachesTheControlsAsTheGamesOwnKey) {
    platform::Settings saved = platform::CurrentSettings();
    std::vector<std::string> problems;
    platform::CurrentSettings() = platform::ParseSettings("climb = A\nfire = X\n", "t.ini", &problems);
    ASSERT_TRUE(problems.empty());
    // What the window turns a physical key into, delivered as its key message.
    auto press = [&](int physical, bool down) {
        for (int vk : platform::MapKey(platform::CurrentSettings(), physical))
            WndProc(nullptr, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk), 0);
    };
    press('A', true);
    HandleKeys(e);
    EXPECT_TRUE(p->climbHold) << "A now climbs";
    press('A', false);
    p->climbHold = 0;
    press('X', true);
    EXPECT_FALSE(e->keys['X']) << "X now fires: the game sees C";
    EXPECT_TRUE(e->keys['C']);
    HandleKeys(e);
    EXPECT_FALSE(p->climbHold);
    press('X', false);

    // Climb on jump's key: the key reaches both, and climbing works.
    platform::CurrentSettings() = platform::ParseSettings("climb = Z\n", "t.ini", &problems);
    ASSERT_TRUE(problems.empty());
    press('Z', true);
    EXPECT_TRUE(e->keys['Z']);
    HandleKeys(e);
    EXPECT_TRUE(p->climbHold) << "Z now climbs as well";
    press('Z', false);
    EXPECT_FALSE(e->keys['X']);
    platform::CurrentSettings() = saved;
}
