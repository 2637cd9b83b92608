// Feeds arbitrary bytes to the settings reader, as text and as the player's file: a file with any
// fault gives exactly the defaults and one message naming it and a line; a file without one reads
// back the same after writing; the file itself is never changed by reading it.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Log.h"
#include "platform/Settings.h"

using namespace fuzzsupport;
using platform::Settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string defaults = platform::FormatSettings(Settings());

    std::vector<std::string> problems;
    const Settings parsed = platform::ParseSettings(text, "fuzz.ini", &problems);
    const std::string written = platform::FormatSettings(parsed);
    if (!problems.empty()) {
        for (const std::string& p : problems) CheckMessage(p, "fuzz.ini", text);
        if (written != defaults) Fail("a broken settings file was partly applied");
    } else {
        std::vector<std::string> again;
        Settings back = platform::ParseSettings(written, "again.ini", &again);
        if (!again.empty()) Fail("the written settings are refused: " + again[0]);
        if (platform::FormatSettings(back) != written) Fail("settings write/read round trip");
    }

    const std::string path = ScratchDir() + "/settings.ini";
    WriteFile(path, text);
    const int before = platform::MessageCount();
    Settings loaded;
    {
        QuietStderr quiet;
        loaded = platform::LoadSettings(path);
    }
    const bool refused = !problems.empty() || text.find('\0') != std::string::npos;
    if (platform::MessageCount() - before != (refused ? 1 : 0)) Fail("not exactly one message for a broken file");
    if (refused) CheckMessage(platform::LastMessage(), path, text);
    if (platform::FormatSettings(loaded) != (refused ? defaults : written)) Fail("the loaded settings differ");
    if (ReadFile(path) != text) Fail("reading the settings changed the file");
    return 0;
}
