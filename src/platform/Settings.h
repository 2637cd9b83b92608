// The player's settings, kept in $XDG_CONFIG_HOME/brackmoor/settings.ini (default
// ~/.config/brackmoor/settings.ini): display, volumes, key and joystick bindings, accessibility.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The file's format. Since format 2 every volume step up to 100 is louder than the one below; a
// file without a format line is older, its music volume sounded no louder above 38, and it is read
// so (the file itself is never changed by reading it).
const int kSettingsFormat = 2;
const int kOldLoudestMusicVolume = 38;

// The game's actions, each with the key the game itself listens for.
enum class Action { Up, Down, Left, Right, Pause, Jump, Climb, Fire, Weapon, Count };

struct Settings {
    bool fullscreen = false;
    int scale = 0;           // 0 = the largest that fits the desktop
    int musicVolume = 30;    // 0..100; 30 is the game's own level, each step a thirtieth of it
    int effectsVolume = 30;  // 0..100; 30 is the game's own level, each step a thirtieth of it
    bool mute = false;
    int keys[static_cast<int>(Action::Count)];        // virtual-key codes
    int joyButtons[static_cast<int>(Action::Count)];  // -1 = none (directions use the stick)
    int shakePercent = 100;                           // 0..100: scales every screen shake
    bool reduceFlashing = false;
    bool pauseOnFocusLoss = false;

    Settings();
};

const char* ActionName(Action a);
// The key the game reads for an action (what a binding of that action turns into).
int GameKeyFor(Action a);
int DefaultJoyButtonFor(Action a);

// Key names in the settings file ("X", "UP", "ENTER", "F5", "SPACE", …) and back.
int KeyFromName(const std::string& name);
std::string KeyName(int vk);

// Parses settings text; every broken line is reported as "FILE:LINE: reason" in `problems`, and
// text with any broken line gives the defaults: a file is applied whole or not at all.
Settings ParseSettings(const std::string& text, const std::string& fileName, std::vector<std::string>* problems);
std::string FormatSettings(const Settings& s);

std::string DefaultSettingsPath();
// Loads the settings file, writing one with the defaults when it is missing. A file that cannot be
// read or holds a broken line gives the defaults, is left as it is, and is named in one message
// with the line of its first problem.
Settings LoadSettings(const std::string& path);
bool SaveSettings(const std::string& path, const Settings& s);

// The settings of this run.
Settings& CurrentSettings();

// The keys the game reads for one physical key, following the bindings: the game key of every
// action bound to it (jump and climb may share one); none for an action's own game key that is now
// bound elsewhere; any other key is itself.
std::vector<int> MapKey(const Settings& s, int physicalVk);
// The physical joystick button of an action, or -1 (the directions use the stick).
int JoyButtonFor(const Settings& s, Action a);

}  // namespace platform
