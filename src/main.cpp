// The program's entry: options first, then the data folder, then the game.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "engine/RunOptions.h"
#include "game/autoplay/Autoplay.h"
#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "platform/ReplayHeader.h"
#include "platform/Settings.h"
#include "platform/TextFile.h"

namespace {

// A recording played back brings its own seed, length and starting progress (each unless given on
// the command line). Without --save-dir it plays on a scratch copy of that progress, so the
// player's own progress files are never read or written; *scratch names that folder. False (after
// saying why) when the recording or the scratch folder is unusable.
bool TakeReplayHeader(platform::Options* o, std::string* scratch) {
    if (o->replayFile.empty()) return true;
    std::string text, error;
    platform::ReplayHeader h;
    if (!platform::ReadTextFile(o->replayFile, "replay file", 64LL * 1024 * 1024, &text, &error) ||
        !platform::ParseReplayHeader(text, o->replayFile, &h, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (!o->haveSeed && h.haveSeed) {
        o->haveSeed = true;
        o->seed = h.seed;
    }
    if (o->frames < 0 && h.frames >= 0) o->frames = h.frames;
    if (!o->saveDir.empty()) return true;
    *scratch = platform::MakeScratchSaveDir(h.save);
    if (scratch->empty()) {
        std::fprintf(stderr, "%s: could not make a scratch progress folder to play it on\n", o->replayFile.c_str());
        return false;
    }
    o->saveDir = *scratch;
    return true;
}

// Plays the game; the scratch progress folder of a replay goes with the run.
int RunGame(const platform::Options& o, const std::string& scratch) {
    std::vector<char> cmd(o.cmdLine.begin(), o.cmdLine.end());
    cmd.push_back(0);
    int status = WinMain(nullptr, nullptr, cmd.data(), 0);
    platform::RemoveScratchSaveDir(scratch);
    return status;
}

}  // namespace

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
        platform::LogVerbose("settings: " +
                             (o.settingsFile.empty() ? platform::DefaultSettingsPath() : o.settingsFile));
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
    std::string scratch;
    if (!TakeReplayHeader(&o, &scratch)) return 2;
    // The seed is chosen here, so that a recording can name it.
    if (!o.haveSeed) {
        o.haveSeed = true;
        o.seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    platform::SetSaveDir(o.saveDir.empty() ? platform::DefaultSaveDir() : o.saveDir);
    platform::LogVerbose("data folder: " + platform::DataDir());
    platform::LogVerbose("save folder: " + platform::SaveDir());

    if (!runoptions::Prepare()) {
        platform::RemoveScratchSaveDir(scratch);
        return 2;
    }
    // Windowed it plays at the game's pace; render-free as fast as the frames run.
    autoplay::Autoplay player;
    if (o.autoplay) player.Start();
    return RunGame(o, scratch);
}
