#include <gtest/gtest.h>

#include "platform/Log.h"
#include "platform/Settings.h"
#include "platform/win32.h"
#include "support/TestSupport.h"

using namespace platform;

TEST(Settings, DefaultsAreTheGamesOwnKeysAndLevels) {
    Settings s;
    EXPECT_EQ(s.keys[static_cast<int>(Action::Climb)], 'X');
    EXPECT_EQ(s.keys[static_cast<int>(Action::Weapon)], VK_RETURN);
    EXPECT_EQ(s.musicVolume, 30);
    EXPECT_EQ(s.shakePercent, 100);
    EXPECT_FALSE(s.reduceFlashing);
    // With the defaults every key is itself.
    for (int vk = 1; vk < 256; ++vk) EXPECT_EQ(MapKey(s, vk), std::vector<int>{vk}) << vk;
    EXPECT_EQ(JoyButtonFor(s, Action::Pause), 9);
}

TEST(Settings, TheWrittenDefaultsReadBackUnchanged) {
    std::vector<std::string> problems;
    Settings s;
    s.keys[static_cast<int>(Action::Fire)] = VK_SPACE;
    s.joyButtons[static_cast<int>(Action::Pause)] = -1;
    s.shakePercent = 25;
    Settings back = ParseSettings(FormatSettings(s), "settings.ini", &problems);
    EXPECT_TRUE(problems.empty()) << problems[0];
    EXPECT_EQ(back.keys[static_cast<int>(Action::Fire)], VK_SPACE);
    EXPECT_EQ(back.joyButtons[static_cast<int>(Action::Pause)], -1);
    EXPECT_EQ(back.shakePercent, 25);
    EXPECT_EQ(FormatSettings(back), FormatSettings(s));
}

TEST(Settings, BrokenLinesAreNamedAndTheFileIsNotApplied) {
    std::vector<std::string> problems;
    Settings s = ParseSettings(
        "# mine\n"
        "scale = 3\n"
        "climb = A\n"
        "scale = huge\n"
        "fire = NOPE\n"
        "colour = blue\n"
        "just words\n"
        "music_volume = 101\n"
        "joy_up = 2\n"
        "reduce_screen_shake = 40%\n"
        "reduce_flashing = yes\n",
        "s.ini", &problems);
    ASSERT_EQ(problems.size(), 6u);
    EXPECT_EQ(problems[0], "s.ini:4: scale must be 0 (automatic) to 16");
    EXPECT_EQ(problems[1], "s.ini:5: unknown key 'NOPE' for fire");
    EXPECT_EQ(problems[2], "s.ini:6: unknown setting 'colour'");
    EXPECT_EQ(problems[3], "s.ini:7: expected 'name = value'");
    EXPECT_EQ(problems[4], "s.ini:8: music_volume must be 0 to 100");
    EXPECT_EQ(problems[5], "s.ini:9: unknown setting 'joy_up'");  // directions use the stick
    // Not even the good lines around them count: half a file is never applied.
    EXPECT_EQ(FormatSettings(s), FormatSettings(Settings()));
    // The same good lines alone are applied.
    problems.clear();
    s = ParseSettings("scale = 3\nclimb = A\nreduce_screen_shake = 40%\nreduce_flashing = yes\n", "s.ini", &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(s.scale, 3);
    EXPECT_EQ(s.keys[static_cast<int>(Action::Climb)], 'A');
    EXPECT_EQ(s.shakePercent, 40);
    EXPECT_TRUE(s.reduceFlashing);
}

TEST(Settings, RebindingChangesWhatTheGameSees) {
    std::vector<std::string> problems;
    // Swap climb and fire; put pause on P.
    Settings s = ParseSettings("climb = C\nfire = X\npause = P\njoy_fire = 5\n", "s", &problems);
    ASSERT_TRUE(problems.empty());
    using Keys = std::vector<int>;
    EXPECT_EQ(MapKey(s, 'C'), Keys{'X'});
    EXPECT_EQ(MapKey(s, 'X'), Keys{'C'});
    EXPECT_EQ(MapKey(s, 'P'), Keys{VK_ESCAPE});
    // Escape no longer pauses; other keys are untouched.
    EXPECT_EQ(MapKey(s, VK_ESCAPE), Keys{});
    EXPECT_EQ(MapKey(s, VK_UP), Keys{VK_UP});
    EXPECT_EQ(MapKey(s, 'Q'), Keys{'Q'});
    EXPECT_EQ(JoyButtonFor(s, Action::Fire), 5);
    EXPECT_EQ(JoyButtonFor(s, Action::Pause), 9);
}

TEST(Settings, OneKeyOrButtonReachesEveryActionOnIt) {
    std::vector<std::string> problems;
    using Keys = std::vector<int>;
    // Jump is never read in play, so any action may share its key or button.
    Settings s = ParseSettings("climb = Z\njoy_climb = 4\nfire = SPACE\njump = SPACE\n", "s.ini", &problems);
    EXPECT_TRUE(problems.empty()) << problems[0];
    EXPECT_EQ(MapKey(s, 'Z'), (Keys{'X'}));
    EXPECT_EQ(MapKey(s, VK_SPACE), (Keys{'Z', 'C'}));
    EXPECT_EQ(MapKey(s, 'X'), Keys{});
    EXPECT_EQ(JoyButtonFor(s, Action::Climb), 4);
    EXPECT_EQ(JoyButtonFor(s, Action::Jump), 1);
    s = ParseSettings("weapon = Z\n", "s.ini", &problems);
    EXPECT_EQ(MapKey(s, 'Z'), (Keys{'Z', VK_RETURN}));
    // The default buttons: climb and jump share button 1.
    Settings d;
    EXPECT_EQ(JoyButtonFor(d, Action::Climb), JoyButtonFor(d, Action::Jump));
}

TEST(Settings, ActionsThatCannotShareAKeyAreReportedAtTheLaterLine) {
    std::vector<std::string> problems;
    Settings s = ParseSettings(
        "fire = ENTER\n"  // weapon's key: fire goes back to C
        "\n"
        "climb = C\n"  // then fire's key: climb goes back to X
        "up = W\n"
        "left = W\n"      // two directions on one key
        "joy_fire = 1\n"  // climb's button: fire goes back to button 0
        "joy_pause = none\n"
        "joy_weapon = none\n",
        "s.ini", &problems);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0], "s.ini:1: fire and weapon cannot share the key ENTER");
    EXPECT_EQ(problems[1], "s.ini:3: climb and fire cannot share the key C");
    EXPECT_EQ(problems[2], "s.ini:5: left and up cannot share the key W");
    EXPECT_EQ(problems[3], "s.ini:6: fire and climb cannot share joystick button 1");
    EXPECT_EQ(FormatSettings(s), FormatSettings(Settings()));
    // A swap written over two lines is no clash once both are read, nor are two unbound buttons.
    s = ParseSettings("climb = C\nfire = X\njoy_pause = none\njoy_weapon = none\n", "s.ini", &problems);
    EXPECT_EQ(problems.size(), 4u);
    EXPECT_EQ(s.keys[static_cast<int>(Action::Fire)], 'X');
    EXPECT_EQ(JoyButtonFor(s, Action::Pause), -1);
}

TEST(Settings, KeyNamesRoundTrip) {
    for (const char* n : {"A", "Z", "0", "9", "UP", "ENTER", "ESCAPE", "SPACE", "F1", "F12", "CTRL"})
        EXPECT_EQ(KeyName(KeyFromName(n)), n) << n;
    EXPECT_EQ(KeyFromName("enter"), VK_RETURN);
    EXPECT_EQ(KeyFromName("F13"), -1);
    EXPECT_EQ(KeyFromName(""), -1);
}

TEST(Settings, AMissingFileIsCreatedWithTheDefaults) {
    std::string dir = testsupport::MakeTempDir("settings");
    std::string path = dir + "/conf/brackmoor/settings.ini";
    Settings s = LoadSettings(path);
    EXPECT_EQ(s.effectsVolume, 30);
    std::string text = testsupport::ReadFile(path);
    EXPECT_EQ(text, FormatSettings(Settings()));
    // A broken file gives the defaults, named once at its first broken line, and is left as the
    // player wrote it.
    const std::string broken = "mute = yes\nmute = maybe\nscale = 99\n";
    testsupport::WriteText(path, broken);
    int before = MessageCount();
    s = LoadSettings(path);
    EXPECT_FALSE(s.mute);
    EXPECT_EQ(MessageCount(), before + 1);
    EXPECT_EQ(LastMessage(), path +
                                 ":2: mute must be yes or no (and 1 more); the default settings are used and the "
                                 "file is left as it is");
    EXPECT_EQ(testsupport::ReadFile(path), broken);
    // So is a file that is not text.
    testsupport::WriteText(path, std::string("mute = yes\n\0", 12));
    s = LoadSettings(path);
    EXPECT_FALSE(s.mute);
    EXPECT_EQ(LastMessage(), path + ":2: not a text file; the default settings are used and the file is left as it is");
}

TEST(Settings, AnOlderFileKeepsItsLoudness) {
    // Files without a format line come from a version whose music sounded no louder above 38.
    std::vector<std::string> problems;
    Settings s = ParseSettings("music_volume = 60\neffects_volume = 90\n", "s.ini", &problems);
    EXPECT_EQ(s.musicVolume, 38);
    EXPECT_EQ(s.effectsVolume, 90);
    s = ParseSettings("format = 2\nmusic_volume = 60\n", "s.ini", &problems);
    EXPECT_EQ(s.musicVolume, 60);
    EXPECT_TRUE(problems.empty());
    s = ParseSettings("format = 3\nmusic_volume = 60\n", "s.ini", &problems);
    EXPECT_EQ(s.musicVolume, 30) << "a broken format line breaks the file like any other";
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "s.ini:1: format must be 2");
    // Read from the player's file, which stays as it was, without a word.
    std::string path = testsupport::MakeTempDir("settings-old") + "/settings.ini";
    const std::string old = "# Brackmoor settings.\n\n[sound]\nmusic_volume = 75\nmute = yes\n";
    testsupport::WriteText(path, old);
    int before = MessageCount();
    s = LoadSettings(path);
    EXPECT_EQ(s.musicVolume, 38);
    EXPECT_TRUE(s.mute);
    EXPECT_EQ(MessageCount(), before);
    EXPECT_EQ(testsupport::ReadFile(path), old);
}
