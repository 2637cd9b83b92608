#include "platform/Settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "platform/win32.h"

namespace platform {
namespace {
const int kActions = static_cast<int>(Action::Count);
// A settings file is a few dozen lines; anything far larger is not one.
const long long kMaxSettingsBytes = 1024 * 1024;

const char* const kActionNames[kActions] = {"up", "down", "left", "right", "pause", "jump", "climb", "fire", "weapon"};
const int kGameKeys[kActions] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_ESCAPE, 'Z', 'X', 'C', VK_RETURN};
// Buttons the game reads: pause 9, jump and climb 1, fire 0, weapon 3; directions use the stick.
const int kGameButtons[kActions] = {-1, -1, -1, -1, 9, 1, 1, 0, 3};

struct NamedKey {
    const char* name;
    int vk;
};
const NamedKey kNamedKeys[] = {
    {"UP", VK_UP},         {"DOWN", VK_DOWN},   {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},    {"ENTER", VK_RETURN},
    {"ESCAPE", VK_ESCAPE}, {"SPACE", VK_SPACE}, {"TAB", VK_TAB},       {"BACKSPACE", VK_BACK}, {"SHIFT", VK_SHIFT},
    {"CTRL", VK_CONTROL},  {"ALT", VK_MENU},    {"PAUSE", VK_PAUSE},   {"PAGEUP", VK_PRIOR},   {"PAGEDOWN", VK_NEXT},
    {"HOME", VK_HOME},     {"END", VK_END},     {"INSERT", VK_INSERT}, {"DELETE", VK_DELETE},
};

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool ParseBool(const std::string& v, bool* out) {
    std::string u = Upper(v);
    if (u == "YES" || u == "TRUE" || u == "ON" || u == "1") return *out = true, true;
    if (u == "NO" || u == "FALSE" || u == "OFF" || u == "0") return *out = false, true;
    return false;
}

bool ParseInt(const std::string& v, int lo, int hi, int* out) {
    if (v.empty()) return false;
    char* end = nullptr;
    long n = std::strtol(v.c_str(), &end, 10);
    if (*end != 0 || n < lo || n > hi) return false;
    *out = static_cast<int>(n);
    return true;
}
// Two actions on one key or button cannot both work: climbing turns fire and weapon off, pause
// takes the key away from play, two directions cancel or make a diagonal. Only jump, which play
// never reads, shares freely. Of two such bindings the one written later is reported and
// ignored, its action going back to its own key; that may uncover the next clash, so repeat.
template <class Describe>
void SeparateClashes(int (&bound)[kActions], int (&line)[kActions], const int (&defaults)[kActions],
                     std::vector<std::pair<int, std::string>>* reports, Describe describe) {
    const int jump = static_cast<int>(Action::Jump);
    for (bool again = true; again;) {
        again = false;
        for (int a = 0; a < kActions && !again; ++a) {
            for (int b = a + 1; b < kActions && !again; ++b) {
                if (a == jump || b == jump || bound[a] < 0 || bound[a] != bound[b]) continue;
                int later = line[a] > line[b] ? a : b, other = later == a ? b : a;
                reports->emplace_back(line[later], std::string(kActionNames[later]) + " and " + kActionNames[other] +
                                                       " cannot share " + describe(bound[later]));
                bound[later] = defaults[later];
                line[later] = 0;
                again = true;
            }
        }
    }
}
}  // namespace

Settings::Settings() {
    for (int i = 0; i < kActions; ++i) {
        keys[i] = kGameKeys[i];
        joyButtons[i] = kGameButtons[i];
    }
}

const char* ActionName(Action a) { return kActionNames[static_cast<int>(a)]; }
int GameKeyFor(Action a) { return kGameKeys[static_cast<int>(a)]; }
int DefaultJoyButtonFor(Action a) { return kGameButtons[static_cast<int>(a)]; }

int KeyFromName(const std::string& name) {
    std::string u = Upper(Trim(name));
    if (u.size() == 1 && ((u[0] >= 'A' && u[0] <= 'Z') || (u[0] >= '0' && u[0] <= '9'))) return u[0];
    for (const NamedKey& k : kNamedKeys)
        if (u == k.name) return k.vk;
    if (u.size() >= 2 && u[0] == 'F') {
        int n;
        if (ParseInt(u.substr(1), 1, 12, &n)) return VK_F1 + n - 1;
    }
    return -1;
}

std::string KeyName(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    for (const NamedKey& k : kNamedKeys)
        if (vk == k.vk) return k.name;
    if (vk >= VK_F1 && vk <= VK_F12) return "F" + std::to_string(vk - VK_F1 + 1);
    return "?";
}

Settings ParseSettings(const std::string& text, const std::string& fileName, std::vector<std::string>* problems) {
    Settings s;
    std::istringstream in(text);
    std::string line;
    int n = 0;
    int keyLine[kActions] = {}, joyLine[kActions] = {};  // the line that set each binding, 0 = default
    bool sawFormat = false;
    int broken = 0;
    auto bad = [&](const std::string& why) {
        ++broken;
        if (problems) problems->push_back(fileName + ":" + std::to_string(n) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++n;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        line = Trim(line);
        if (line.empty() || line[0] == '[') continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            bad("expected 'name = value'");
            continue;
        }
        std::string key = Trim(line.substr(0, eq));
        std::string value = Trim(line.substr(eq + 1));
        int iv;
        bool bv;
        if (key == "format") {
            sawFormat = true;
            if (!ParseInt(value, kSettingsFormat, kSettingsFormat, &iv))
                bad("format must be " + std::to_string(kSettingsFormat));
        } else if (key == "fullscreen") {
            if (ParseBool(value, &bv))
                s.fullscreen = bv;
            else
                bad("fullscreen must be yes or no");
        } else if (key == "scale") {
            if (ParseInt(value, 0, 16, &iv))
                s.scale = iv;
            else
                bad("scale must be 0 (automatic) to 16");
        } else if (key == "music_volume" || key == "effects_volume") {
            if (ParseInt(value, 0, 100, &iv))
                (key == "music_volume" ? s.musicVolume : s.effectsVolume) = iv;
            else
                bad(key + " must be 0 to 100");
        } else if (key == "mute") {
            if (ParseBool(value, &bv))
                s.mute = bv;
            else
                bad("mute must be yes or no");
        } else if (key == "reduce_screen_shake") {
            // Given as the share of shake kept, 0 to 100 percent.
            std::string v = value;
            if (!v.empty() && v.back() == '%') v.pop_back();
            if (ParseInt(Trim(v), 0, 100, &iv))
                s.shakePercent = iv;
            else
                bad("reduce_screen_shake must be 0 to 100 (percent of shake kept)");
        } else if (key == "reduce_flashing") {
            if (ParseBool(value, &bv))
                s.reduceFlashing = bv;
            else
                bad("reduce_flashing must be yes or no");
        } else if (key == "pause_on_focus_loss") {
            if (ParseBool(value, &bv))
                s.pauseOnFocusLoss = bv;
            else
                bad("pause_on_focus_loss must be yes or no");
        } else {
            bool found = false;
            for (int a = 0; a < kActions && !found; ++a) {
                if (key == kActionNames[a]) {
                    found = true;
                    int vk = KeyFromName(value);
                    if (vk > 0)
                        s.keys[a] = vk, keyLine[a] = n;
                    else
                        bad("unknown key '" + value + "' for " + key);
                } else if (key == std::string("joy_") + kActionNames[a] && kGameButtons[a] >= 0) {
                    found = true;
                    if (Upper(value) == "NONE")
                        s.joyButtons[a] = -1, joyLine[a] = n;
                    else if (ParseInt(value, 0, 31, &iv))
                        s.joyButtons[a] = iv, joyLine[a] = n;
                    else
                        bad(key + " must be a button number 0 to 31 or none");
                }
            }
            if (!found) bad("unknown setting '" + key + "'");
        }
    }
    if (!sawFormat) {
        // An older file: what sounded loudest there is as loud here.
        s.musicVolume = std::min(s.musicVolume, kOldLoudestMusicVolume);
    }
    std::vector<std::pair<int, std::string>> clashes;
    SeparateClashes(s.keys, keyLine, kGameKeys, &clashes, [](int vk) { return "the key " + KeyName(vk); });
    SeparateClashes(s.joyButtons, joyLine, kGameButtons, &clashes,
                    [](int b) { return "joystick button " + std::to_string(b); });
    std::stable_sort(
        clashes.begin(), clashes.end(),
        [](const std::pair<int, std::string>& a, const std::pair<int, std::string>& b) { return a.first < b.first; });
    for (const auto& c : clashes) {
        n = c.first;
        bad(c.second);
    }
    // A file with any broken line is not applied at all: half a file's bindings could leave
    // actions on keys the player never meant.
    return broken ? Settings() : s;
}

std::string FormatSettings(const Settings& s) {
    std::ostringstream o;
    o << "# Brackmoor settings. Lines are 'name = value'; '#' starts a comment.\n"
      << "# The file's format; without this line the music volume reads as it did before: no louder above 38.\n"
      << "format = " << kSettingsFormat << "\n\n"
      << "[display]\n"
      << "fullscreen = " << (s.fullscreen ? "yes" : "no") << "\n"
      << "# Window size as a multiple of 640 x 480; 0 picks the largest that fits the desktop.\n"
      << "scale = " << s.scale << "\n\n"
      << "[sound]\n"
      << "# 0 (silent) to 100 (loudest); 30 is the game's own level, and each step adds or takes\n"
      << "# a thirtieth of it.\n"
      << "music_volume = " << s.musicVolume << "\n"
      << "effects_volume = " << s.effectsVolume << "\n"
      << "mute = " << (s.mute ? "yes" : "no") << "\n\n"
      << "[keys]\n"
      << "# Key names: A-Z, 0-9, UP DOWN LEFT RIGHT ENTER ESCAPE SPACE TAB BACKSPACE SHIFT CTRL ALT, F1-F12, ...\n"
      << "# Only jump may share its key (or button) with another action.\n";
    for (int a = 0; a < kActions; ++a) o << kActionNames[a] << " = " << KeyName(s.keys[a]) << "\n";
    o << "\n[joystick]\n# Button numbers, or none; directions use the stick.\n";
    for (int a = 0; a < kActions; ++a) {
        if (kGameButtons[a] < 0) continue;
        o << "joy_" << kActionNames[a] << " = ";
        if (s.joyButtons[a] < 0)
            o << "none\n";
        else
            o << s.joyButtons[a] << "\n";
    }
    o << "\n[accessibility]\n"
      << "# Percent of every screen shake kept: 100 = full shake, 0 = none.\n"
      << "reduce_screen_shake = " << s.shakePercent << "\n"
      << "# Replace the final boss's rapid black flicker with a steady dim veil.\n"
      << "reduce_flashing = " << (s.reduceFlashing ? "yes" : "no") << "\n"
      << "# Pause the game when its window loses focus.\n"
      << "pause_on_focus_loss = " << (s.pauseOnFocusLoss ? "yes" : "no") << "\n";
    return o.str();
}

std::string DefaultSettingsPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/brackmoor/settings.ini";
    const char* home = std::getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.config/brackmoor/settings.ini";
    return "settings.ini";
}

Settings LoadSettings(const std::string& path) {
    if (!FileExists(path)) {
        Settings s;
        if (!SaveSettings(path, s)) LogMessage("Could not write the settings file \"" + path + "\"");
        return s;
    }
    const char* kUsingDefaults = "; the default settings are used and the file is left as it is";
    std::string text, error;
    if (!ReadTextFile(path, "settings file", kMaxSettingsBytes, &text, &error)) {
        LogMessage(error + kUsingDefaults);
        return Settings();
    }
    std::vector<std::string> problems;
    Settings s = ParseSettings(text, path, &problems);
    if (!problems.empty()) {
        std::string more = problems.size() > 1 ? " (and " + std::to_string(problems.size() - 1) + " more)" : "";
        LogMessage(problems[0] + more + kUsingDefaults);
    }
    return s;
}

bool SaveSettings(const std::string& path, const Settings& s) { return WriteFileAtomically(path, FormatSettings(s)); }

Settings& CurrentSettings() {
    static Settings s;
    return s;
}

std::vector<int> MapKey(const Settings& s, int vk) {
    std::vector<int> out;
    bool gameKey = false;
    for (int a = 0; a < kActions; ++a) {
        if (s.keys[a] == vk) out.push_back(kGameKeys[a]);
        if (kGameKeys[a] == vk) gameKey = true;
    }
    // A key bound to nothing is itself, unless it is the game's key of an action now bound elsewhere.
    if (out.empty() && !gameKey) out.push_back(vk);
    return out;
}

int JoyButtonFor(const Settings& s, Action a) { return s.joyButtons[static_cast<int>(a)]; }

}  // namespace platform
