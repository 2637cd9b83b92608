// One frame of 400 wall tiles and 300 small sprites through the engine's primitives, against a bare
// OpenGL loop drawing the same quads in immediate mode. The engine's frame reports its GL draw calls,
// state changes and quads per frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "engine/GImage.h"
#include "engine/GameEngine.h"
#include "engine/QuadBatch.h"
#include "platform/Backend.h"
#include "platform/Paths.h"

namespace {
GImage* g_sheet = nullptr;

void Setup() {
    if (g_sheet) return;
    platform::OpenVideo("bench", 640, 480, false);
    GameEngine::gEngine = &gEngine;
    HDC dc;
    HGLRC rc;
    gEngine.EnableOpenGL(nullptr, &dc, &rc);
    gEngine.SetScreenProjection();
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    g_sheet = GImage::CreateNew("data/building/tiles.png");
    if (!g_sheet->loaded) std::abort();
}

void EngineFrame(benchmark::State& state) {
    Setup();
    gEngine.rotx = 360;
    QuadBatch::Shared().TakeCounts();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int i = 0; i < 400; ++i)
            gEngine.DrawImagePart(1, g_sheet, 64 + (i % 8) * 64, -64 + (i / 8 % 10) * 64, (i % 4) * 32, 0, 32, 32, 1, 0,
                                  1, 1);
        for (int i = 0; i < 300; ++i)
            gEngine.DrawImagePart(0, g_sheet, (i * 37) % 620, (i * 53) % 460, 0, 32, 16, 16, 1, 0, 1, 1);
        gEngine.FlushQuads();
        glFinish();
    }
    DrawCounts c = QuadBatch::Shared().TakeCounts();
    double frames = static_cast<double>(state.iterations());
    state.counters["draw_calls"] = c.drawCalls / frames;
    state.counters["state_changes"] = c.stateChanges / frames;
    state.counters["quads"] = c.quads / frames;
}
BENCHMARK(EngineFrame)->Unit(benchmark::kMicrosecond);

void BareGLFrame(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glBindTexture(GL_TEXTURE_2D, g_sheet->data);
        glBegin(GL_QUADS);
        for (int i = 0; i < 700; ++i) {
            float x = i < 400 ? 64 + (i % 8) * 64 : (i * 37) % 620;
            float y = i < 400 ? -64 + (i / 8 % 10) * 64 : (i * 53) % 460;
            float s = i < 400 ? 64 : 32;
            glTexCoord2f(0, 0);
            glVertex3f(x, y, 1);
            glTexCoord2f(0.1f, 0);
            glVertex3f(x + s, y, 1);
            glTexCoord2f(0.1f, 0.1f);
            glVertex3f(x + s, y + s, 1);
            glTexCoord2f(0, 0.1f);
            glVertex3f(x, y + s, 1);
        }
        glEnd();
        glFinish();
    }
}
BENCHMARK(BareGLFrame)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
