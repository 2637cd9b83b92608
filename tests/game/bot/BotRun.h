// What the in-process bot runs share: their environment switches, the keys a bot holds passed to
// the engine (and noted by the recorder when they change), and the recording with its trace.
#pragma once

#include <cstdlib>
#include <string>

#include "Bot.h"
#include "engine/GameEngine.h"
#include "engine/RunOptions.h"
#include "game/flow/MainFile.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "platform/Replay.h"
#include "support/TestSupport.h"

namespace botrun {

inline std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// BRACKMOOR_BOT_SEED, or the run's own seed.
inline unsigned SeedOr(unsigned fallback) {
    const std::string v = Env("BRACKMOOR_BOT_SEED");
    return v.empty() ? fallback : static_cast<unsigned>(std::atol(v.c_str()));
}

constexpr int kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'X', 'C', VK_RETURN};

// Holds the bot's keys for the next frame; each change is noted at `frame`.
inline void Press(const bot::Keys& keys, long frame, platform::ReplayRecorder* recorder) {
    for (int vk : kKeys) {
        if (gEngine.keys[vk] == keys.down[vk]) continue;
        gEngine.keys[vk] = keys.down[vk];
        recorder->Key(frame, vk, keys.down[vk]);
    }
}

// The trace of a recording FILE.replay is FILE.trace beside it; the run writes it frame by frame.
inline bool TraceBeside(const std::string& record) {
    platform::CurrentOptions().traceFile = record.substr(0, record.rfind(".replay")) + ".trace";
    return runoptions::Prepare();
}

// Writes the recorded keys under `head` and finishes the trace.
inline bool WriteRecording(const std::string& record, const std::string& head, const platform::ReplayRecorder& r) {
    const bool written = platform::WriteFileAtomically(record, head + platform::FormatReplay(r.Events()));
    const bool traced = runoptions::Finish(&gEngine);
    platform::CurrentOptions().traceFile.clear();
    return written && traced;
}

// Starts a game in this process as the headless runner would: the shipped data, a fresh progress
// folder made under `tag` (holding `unlock` as the unlocked level when above 0), the seed, the
// trace beside `record` when recording, and nothing drawn unless `drawn`. False when a step fails.
inline bool StartGame(const char* tag, unsigned seed, int unlock, const std::string& record, bool drawn) {
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    const std::string save = testsupport::MakeTempDir(tag);
    if (save.empty()) return false;
    if (unlock > 0 && !testsupport::WriteText(save + "/color.dat", std::to_string(unlock))) return false;
    platform::SetSaveDir(save);
    platform::CurrentOptions().haveSeed = true;
    platform::CurrentOptions().seed = seed;
    if (!record.empty() && !TraceBeside(record)) return false;
    if (!drawn) testsupport::UseRenderFree();
    GameEngine::gEngine = &gEngine;
    // The game's start-up claims this thread as the game's, before the sound device mixes on another.
    GameInit(&gEngine, nullptr);
    GameStart(&gEngine);
    return true;
}

}  // namespace botrun
