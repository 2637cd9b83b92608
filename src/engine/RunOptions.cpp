#include "engine/RunOptions.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/FramePng.h"
#include "engine/GameEngine.h"
#include "engine/QuadBatch.h"
#include "engine/Random.h"
#include "platform/Log.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "platform/Replay.h"
#include "platform/ReplayHeader.h"
#include "platform/StateTrace.h"

namespace runoptions {
namespace {
std::unique_ptr<platform::ReplayPlayer> g_player;
platform::ReplayRecorder g_recorder;
bool g_programInput = false;  // the keys being dispatched are the replay's or the key source's
KeySource* g_source = nullptr;
bool g_failed = false;
std::string g_trace;  // the --trace lines written so far
std::unique_ptr<platform::TraceChecker> g_checker;
std::vector<std::pair<std::string, std::string>> g_startSave;  // the progress a recorded run started with

// GL work per drawn frame, for --verbose.
struct DrawTally {
    long frames = 0;
    DrawCounts sum, worst;
    void Add(const DrawCounts& c) {
        ++frames;
        sum.drawCalls += c.drawCalls;
        sum.stateChanges += c.stateChanges;
        sum.quads += c.quads;
        worst.drawCalls = std::max(worst.drawCalls, c.drawCalls);
        worst.stateChanges = std::max(worst.stateChanges, c.stateChanges);
        worst.quads = std::max(worst.quads, c.quads);
    }
    std::string Line(const char* what, long DrawCounts::*field) const {
        char buf[160];
        std::snprintf(buf, sizeof(buf), "%s per frame: mean %.1f, worst %ld", what,
                      frames ? static_cast<double>(sum.*field) / frames : 0.0, worst.*field);
        return buf;
    }
};
DrawTally g_draws;
DrawCounts g_lastDraws;

// Everything a replay must reproduce: the game's state as dumped, and where its random
// sequence stands.
unsigned long long StateHash(GameEngine* e) {
    unsigned long long r = GameRandomState();
    std::string rs(reinterpret_cast<const char*>(&r), sizeof(r));
    return platform::HashText(rs, platform::HashText(GameStateJson(e)));
}
}  // namespace

bool Prepare() {
    platform::Options& o = platform::CurrentOptions();
    g_player.reset();
    g_recorder = platform::ReplayRecorder();
    g_failed = false;
    g_trace.clear();
    g_checker.reset();
    g_startSave.clear();
    if (!o.recordFile.empty()) g_startSave = platform::ReadSaveWords(platform::SaveDir());
    g_draws = DrawTally();
    if (!o.traceFile.empty()) g_trace = "# brackmoor state trace: FRAME HASH of the game state after the frame\n";
    if (!o.checkTraceFile.empty()) {
        std::vector<platform::TraceEntry> entries;
        std::string error;
        if (!platform::LoadTraceFile(o.checkTraceFile, &entries, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        g_checker.reset(new platform::TraceChecker(o.checkTraceFile, std::move(entries)));
    }
    if (!o.replayFile.empty()) {
        std::vector<platform::ReplayEvent> events;
        std::string error;
        if (!platform::LoadReplayFile(o.replayFile, &events, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        g_player.reset(new platform::ReplayPlayer(std::move(events)));
    }
    return true;
}

void SetKeySource(KeySource* source) { g_source = source; }

KeySource* CurrentKeySource() { return g_source; }

void Press(GameEngine* e, int vk, bool down) {
    const bool was = g_programInput;
    g_programInput = true;
    MSG m{e->hwnd, static_cast<UINT>(down ? WM_KEYDOWN : WM_KEYUP), static_cast<WPARAM>(vk), 0, 0};
    DispatchMessageA(&m);
    g_programInput = was;
}

void BeforeInput(GameEngine* e) {
    if (g_player) g_player->ApplyFrame(e->frameCount, [&](int vk, bool down) { Press(e, vk, down); });
    if (g_source) g_source->BeforeInput(e);
}

void OnKey(GameEngine* e, int vk, bool down) {
    if (down && !g_programInput && g_source) g_source->PersonPressed(e, vk);
    if (platform::CurrentOptions().recordFile.empty()) return;
    g_recorder.Key(e->frameCount, vk, down);
}

DrawCounts LastFrameDrawCounts() { return g_lastDraws; }

bool DrawsFrame(long frame) {
    const platform::Options& o = platform::CurrentOptions();
    if (!o.drawShotsOnly) return true;
    for (const platform::ScreenshotRequest& r : o.screenshots)
        if (r.frame == frame) return true;
    return false;
}

void AfterDraw(GameEngine* e) {
    DrawCounts counts = QuadBatch::Shared().TakeCounts();
    if (e->DrawsPixels() && DrawsFrame(e->frameCount)) {
        g_draws.Add(counts);
        g_lastDraws = counts;
    }
    for (const platform::ScreenshotRequest& r : platform::CurrentOptions().screenshots) {
        if (r.frame != e->frameCount) continue;
        if (!SaveFramePng(r.file, 640, 480)) {
            platform::LogMessage("Could not write the screenshot \"" + r.file + "\"");
            g_failed = true;
        }
    }
}

void AfterFrame(GameEngine* e) {
    platform::Options& o = platform::CurrentOptions();
    if (!o.traceFile.empty() || g_checker) {
        unsigned long long hash = StateHash(e);
        if (!o.traceFile.empty()) g_trace += platform::FormatTraceLine(e->frameCount, hash);
        std::string error;
        if (g_checker && !g_failed && !g_checker->Check(e->frameCount, hash, &error)) {
            // Stop here, so a state dump shows the first frame that went astray.
            std::fprintf(stderr, "%s\n", error.c_str());
            g_failed = true;
            PostQuitMessage(0);
        }
    }
    ++e->frameCount;
    long limit = platform::CurrentOptions().frames;
    if (limit >= 0 && e->frameCount >= limit) PostQuitMessage(0);
}

std::string RecordingText() { return platform::FormatReplay(g_recorder.Events()); }

bool Finish(GameEngine* e) {
    platform::Options& o = platform::CurrentOptions();
    bool ok = !g_failed;
    if (g_draws.frames > 0) {
        platform::LogVerbose(g_draws.Line("GL draw calls", &DrawCounts::drawCalls) + " (" +
                             std::to_string(g_draws.frames) + " drawn frames)");
        platform::LogVerbose(g_draws.Line("GL state changes", &DrawCounts::stateChanges));
        platform::LogVerbose(g_draws.Line("quads", &DrawCounts::quads));
    }
    if (!o.recordFile.empty()) {
        platform::ReplayHeader head;
        head.seed = o.seed;
        head.frames = e->frameCount;
        head.save = g_startSave;
        const std::string text = platform::FormatReplayHeader(head) + platform::FormatReplay(g_recorder.Events());
        if (!platform::WriteFileAtomically(o.recordFile, text)) {
            platform::LogMessage("Could not write the recording \"" + o.recordFile + "\"");
            ok = false;
        }
    }
    if (!o.traceFile.empty()) {
        if (!platform::WriteFileAtomically(o.traceFile, g_trace)) {
            platform::LogMessage("Could not write the state trace \"" + o.traceFile + "\"");
            ok = false;
        }
    }
    if (!o.dumpStateFile.empty()) {
        if (!platform::WriteFileAtomically(o.dumpStateFile, GameStateJson(e))) {
            platform::LogMessage("Could not write the state dump \"" + o.dumpStateFile + "\"");
            ok = false;
        }
    }
    return ok;
}

}  // namespace runoptions
