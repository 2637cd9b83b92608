// The program's entry: options first, then the data folder, then the game.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "engine/Harness.h"
#include "game/autoplay/Autoplay.h"
#include "platform/Log.h"
#include "platform/Options.h"
#include "platform/Backend.h"
#include "platform/Paths.h"
#include "platform/Settings.h"

int main(int argc, char** argv) {
    platform::Options& o = platform::CurrentOptions();
    switch (platform::ParseOptions(argc, argv, &o)) {
        case platform::ParseResult::ExitOk: return 0;
        case platform::ParseResult::ExitError: return 2;
        case platform::ParseResult::Run: break;
    }
    platform::SetVerbose(o.verbose);
    bool headless = platform::Backend().headless;
    if (o.noRender && !platform::Backend().renderFreeRuns) {
        std::fprintf(stderr, "%s: --no-render is for brackmoor-headless; this game always draws its window\n",
                     argc > 0 ? argv[0] : "brackmoor");
        return 2;
    }
    platform::SetRenderFree(o.noRender);
    // The headless runner is for tests and tools: its runs must not depend on who runs it, so it
    // reads a settings file only when given one, and keeps no log.
    if (!headless) platform::SetLogFile(platform::DefaultLogPath());
    if (!o.settingsFile.empty()) {
        platform::CurrentSettings() = platform::LoadSettings(o.settingsFile);
    } else if (!headless) {
        platform::CurrentSettings() = platform::LoadSettings(platform::DefaultSettingsPath());
    }
    if (!o.settingsFile.empty() || !headless)
        platform::LogVerbose("settings: " + (o.settingsFile.empty() ? platform::DefaultSettingsPath() : o.settingsFile));
    else
        platform::LogVerbose("settings: none, the defaults (this runner reads settings only from --settings FILE)");

    std::string dataDir = o.dataDir;
    if (dataDir.empty()) {
        std::vector<std::string> searched;
        dataDir = platform::FindDataDir(platform::ExecutableDir(), &searched);
        if (dataDir.empty()) {
            std::string msg = "Could not find the game data. Searched:";
            for (const std::string& s : searched) msg += " " + s;
            msg += " (use --data DIR)";
            platform::LogMessage(msg);
            return 1;
        }
    } else if (!platform::IsDirectory(dataDir)) {
        platform::LogMessage("The data folder \"" + dataDir + "\" does not exist");
        return 1;
    }
    platform::SetDataDir(dataDir);
    platform::SetSaveDir(o.saveDir.empty() ? platform::DefaultSaveDir() : o.saveDir);
    platform::LogVerbose("data folder: " + platform::DataDir());
    platform::LogVerbose("save folder: " + platform::SaveDir());

    if (!harness::Prepare()) return 2;
    // Windowed it plays at the game's pace; render-free as fast as the frames run.
    autoplay::Autoplay player;
    if (o.autoplay) player.Start();

    std::vector<char> cmd(o.cmdLine.begin(), o.cmdLine.end());
    cmd.push_back(0);
    return WinMain(nullptr, nullptr, cmd.data(), 0);
}
