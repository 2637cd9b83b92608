// What the in-process bot runs share: their environment switches, the keys a bot holds passed to
// the engine (and noted by the recorder when they change), and the recording with its trace.
#pragma once

#include <cstdlib>
#include <string>

#include "Bot.h"
#include "engine/GameEngine.h"
#include "engine/Harness.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "platform/Replay.h"

namespace botrun {

inline std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
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
    return harness::Prepare();
}

// Writes the recorded keys under `head` and finishes the trace.
inline bool WriteRecording(const std::string& record, const std::string& head, const platform::ReplayRecorder& r) {
    const bool written = platform::WriteFileAtomically(record, head + platform::FormatReplay(r.Events()));
    const bool traced = harness::Finish(&gEngine);
    platform::CurrentOptions().traceFile.clear();
    return written && traced;
}

}  // namespace botrun
