// A recorded run played back drawn in this process, with every frame of a stretch of it timed
// (processor time of the process; the software renderer draws on this thread): the worst frame
// against the 15.4 ms a frame may take at 65 frames per second, and the GL work per frame. The
// frames before the stretch are played without drawing, but for the last kWarmUp, drawn untimed so
// that the renderer has compiled the shaders the stretch needs. Reported: the mean, the worst and the
// 99th-percentile frame (the worst may still be a shader compiled the first time something appears).
//   CrabFight: the level-1 recording's crab walker, from its arrival to its death.
//   FinalBoss: the level-3 recording's final boss, all its forms, flickers and its death.
// The game starts once per process: run one of them at a time (--benchmark_filter=CrabFight).
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "engine/QuadBatch.h"
#include "engine/RunOptions.h"
#include "platform/Options.h"
#include "platform/Paths.h"

namespace {

double CpuMicros() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

// Starts the game on `recording` with its seed and unlocked level; false when another recording
// was started before in this process.
bool Start(const char* recording, unsigned seed, int unlock) {
    static std::string started;
    if (!started.empty()) return started == recording;
    started = recording;
    setenv("LP_NUM_THREADS", "0", 1);
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    char save[] = "/tmp/brackmoor-playback-XXXXXX";
    if (!mkdtemp(save)) return false;
    if (unlock > 0) {
        std::string file = std::string(save) + "/color.dat";
        FILE* f = std::fopen(file.c_str(), "w");
        if (!f) return false;
        std::fprintf(f, "%d", unlock);
        std::fclose(f);
    }
    platform::SetSaveDir(save);
    platform::Options& o = platform::CurrentOptions();
    o.haveSeed = true;
    o.seed = seed;
    o.replayFile = std::string(BRACKMOOR_SOURCE_DIR) + "/tests/game/bot/" + recording;
    if (!runoptions::Prepare()) return false;
    GameEngine::gEngine = &gEngine;
    GameInit(&gEngine, nullptr);
    GameStart(&gEngine);
    return true;
}

const long kWarmUp = 120;

void Play(benchmark::State& state, const char* recording, unsigned seed, int unlock, long from, long to) {
    if (!Start(recording, seed, unlock)) {
        state.SkipWithError("one playback per process (use --benchmark_filter)");
        return;
    }
    double worst = 0, sum = 0;
    long frames = 0, worstFrame = -1;
    std::vector<double> times;
    DrawCounts work, worstWork;
    for (auto _ : state) {
        while (gEngine.frameCount < to) {
            const bool timed = gEngine.frameCount >= from;
            PixelsOff skip(&gEngine, gEngine.frameCount < from - kWarmUp);
            double t0 = CpuMicros();
            gEngine.RunFrame();
            double t = CpuMicros() - t0;
            DrawCounts c = runoptions::LastFrameDrawCounts();
            if (!timed) continue;
            sum += t;
            ++frames;
            times.push_back(t);
            if (t > worst) {
                worst = t;
                worstFrame = gEngine.frameCount - 1;
            }
            work.drawCalls += c.drawCalls;
            work.stateChanges += c.stateChanges;
            worstWork.drawCalls = std::max(worstWork.drawCalls, c.drawCalls);
            worstWork.stateChanges = std::max(worstWork.stateChanges, c.stateChanges);
        }
    }
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["frame_mean_us"] = sum / std::max(1L, frames);
    state.counters["worst_frame_us"] = worst;
    state.counters["worst_frame_at"] = static_cast<double>(worstFrame);
    std::sort(times.begin(), times.end());
    if (!times.empty()) state.counters["p99_frame_us"] = times[times.size() * 99 / 100];
    state.counters["budget_us"] = 1000.0 / 65.0 * 1000.0;
    state.counters["draw_calls_mean"] = static_cast<double>(work.drawCalls) / std::max(1L, frames);
    state.counters["draw_calls_worst"] = static_cast<double>(worstWork.drawCalls);
    state.counters["state_changes_mean"] = static_cast<double>(work.stateChanges) / std::max(1L, frames);
    state.counters["state_changes_worst"] = static_cast<double>(worstWork.stateChanges);
}

void CrabFight(benchmark::State& state) { Play(state, "level1.replay", 1, 0, 8000, 9700); }
BENCHMARK(CrabFight)->Unit(benchmark::kMillisecond)->Iterations(1);

void FinalBoss(benchmark::State& state) { Play(state, "level3.replay", 3, 2, 10000, 15200); }
BENCHMARK(FinalBoss)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
