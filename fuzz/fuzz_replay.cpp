// Feeds arbitrary bytes to the recording reader as a file: a refused file gives one message
// naming it and a line, and no events at all; an accepted one reads back the same after writing
// and plays every event once, in frame order. Its first line, read as the recording's header (seed,
// length, starting progress), is refused the same way or reads back the same after writing.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Replay.h"
#include "platform/ReplayHeader.h"

using namespace fuzzsupport;
using platform::ReplayEvent;

namespace {
void CheckHeader(const std::string& text, const std::string& path) {
    platform::ReplayHeader h, back;
    std::string error;
    if (!platform::ParseReplayHeader(text, path, &h, &error)) {
        CheckMessage(error, path, text);
        return;
    }
    if (!h.haveSeed) return;
    if (!platform::ParseReplayHeader(platform::FormatReplayHeader(h), "again", &back, &error) || back.seed != h.seed ||
        back.frames != (h.frames < 0 ? 0 : h.frames) || back.save != h.save)
        Fail("recording header write/read round trip");
}

bool Same(const std::vector<ReplayEvent>& a, const std::vector<ReplayEvent>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].frame != b[i].frame || a[i].vk != b[i].vk || a[i].down != b[i].down) return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = ScratchDir() + "/fuzz.replay";
    WriteFile(path, text);

    CheckHeader(text, path);
    std::vector<ReplayEvent> events;
    std::string error;
    if (!platform::LoadReplayFile(path, &events, &error)) {
        CheckMessage(error, path, text);
        if (!events.empty()) Fail("a refused recording left events behind");
        return 0;
    }
    if (!error.empty()) Fail("an accepted recording came with a message");
    std::vector<ReplayEvent> back;
    if (!platform::ParseReplayText(platform::FormatReplay(events), "again", &back, &error) || !Same(back, events))
        Fail("recording write/read round trip");

    platform::ReplayPlayer player(events);
    size_t applied = 0;
    long last = events.empty() ? 0 : events.back().frame;
    // Frames are played up to the last event's; a frame far away is reached in one step.
    for (long frame : {0L, last / 2, last}) {
        player.ApplyFrame(frame, [&](int vk, bool down) {
            const ReplayEvent& e = events[applied++];
            if (e.frame > frame || e.vk != vk || e.down != down) Fail("an event played out of turn");
        });
    }
    if (applied != events.size() || !player.Finished()) Fail("events lost in play");
    return 0;
}
