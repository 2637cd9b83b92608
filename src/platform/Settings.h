// The player's settings, kept in $XDG_CONFIG_HOME/brackmoor/settings.ini (default
// ~/.config/brackmoor/settings.ini): display, volumes, key and joystick bindings, accessibility.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The game's actions, each with the key the game itself listens for.
enum class Action { Up, Down, Left, Right, Pause, Jump, Climb, Fire, Weapon, Count };

struct Settings {
    bool fullscreen = false;
    int scale = 0;            // 0 = the largest that fits the desktop
    int musicVolume = 30;     // 0..100; 30 is the game's own level
    int effectsVolume = 30;   // 0..100; 30 is the game's own level
    bool mute = false;
    int keys[static_cast<int>(Action::Count)];         // virtual-key codes
    int joyButtons[static_cast<int>(Action::Count)];   // -1 = none (directions use the stick)
    int shakePercent = 100;   // 0..100: scales every screen shake
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

// Parses settings text; every broken line is reported as "FILE:LINE: reason" in `problems` and
// otherwise ignored.
Settings ParseSettings(const std::string& text, const std::string& fileName, std::vector<std::string>* problems);
std::string FormatSettings(const Settings& s);

std::string DefaultSettingsPath();
// Loads the settings file, writing one with the defaults when it is missing; problems are logged.
Settings LoadSettings(const std::string& path);
bool SaveSettings(const std::string& path, const Settings& s);

// The settings of this run.
Settings& CurrentSettings();

// Turns a physical key into the key the game reads, following the bindings: a key bound to an
// action becomes that action's game key; an action's own game key, rebound elsewhere, is then
// unbound (0); every other key is itself.
int MapKey(const Settings& s, int physicalVk);
// The physical joystick button for the game's button number (the design's buttons 0, 1, 3, 9).
int MapJoyButton(const Settings& s, int gameButton);

}  // namespace platform
