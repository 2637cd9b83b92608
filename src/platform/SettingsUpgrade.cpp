// Bringing a settings file written by an older version up to the current format, changing as
// little of the player's text as it can.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "platform/Settings.h"

namespace platform {
namespace {
std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

// A music volume line whose value the old file could not sound: the line with the loudest it could.
bool LowerMusicVolume(std::string* line, std::string* note) {
    size_t hash = line->find('#');
    std::string body = line->substr(0, hash);
    size_t eq = body.find('=');
    if (eq == std::string::npos || Trim(body.substr(0, eq)) != "music_volume") return false;
    std::string value = Trim(body.substr(eq + 1));
    char* end = nullptr;
    long v = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != 0 || v <= kOldLoudestMusicVolume || v > 100) return false;
    std::string loudest = std::to_string(kOldLoudestMusicVolume);
    *line = line->substr(0, eq + 1) + " " + loudest + (hash == std::string::npos ? "" : " " + line->substr(hash));
    *note = "music_volume " + value + " is now " + loudest + ", as loud as before (the music now grows louder at " +
            "every step up to 100)";
    return true;
}
}  // namespace

std::string SettingsFormatLines() {
    return "# The file's format; a file without this line is from an older version and is brought up to date.\n"
           "format = " + std::to_string(kSettingsFormat) + "\n";
}

std::string UpgradeSettingsText(const std::string& text, std::vector<std::string>* changes) {
    std::istringstream in(text);
    std::string line, out, note;
    bool placed = false;
    int n = 0;  // lines written so far
    while (std::getline(in, line)) {
        std::string t = Trim(line);
        if (!placed && (t.empty() || t[0] != '#')) {
            std::string lines = SettingsFormatLines();
            out += lines;
            n += static_cast<int>(std::count(lines.begin(), lines.end(), '\n'));
            placed = true;
        }
        ++n;
        if (LowerMusicVolume(&line, &note) && changes) changes->push_back(std::to_string(n) + ": " + note);
        out += line + "\n";
    }
    if (!placed) out += SettingsFormatLines();
    return out;
}

}  // namespace platform
