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
