// The world's share of a frame with the whole tower loaded: the segment choice, the occupancy
// marking of two segments and the entity pass over 200 climbing creatures; and the drawing of
// the background and all fourteen segments. The frame budget at 65 frames a second is 15.4 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "engine/GameEngine.h"
#include "game/entities/Climber.h"
#include "game/entities/Entity.h"
#include "game/world/Building.h"
#include "game/world/World.h"
#include "platform/Backend.h"
#include "platform/Paths.h"

namespace {

Climber* g_player = nullptr;
std::vector<Climber*> g_crowd;

void Setup() {
    if (g_player) return;
    platform::OpenVideo("bench", 640, 480, false);
    GameEngine::gEngine = &gEngine;
    HDC dc;
    HGLRC rc;
    gEngine.EnableOpenGL(nullptr, &dc, &rc);
    gEngine.SetScreenProjection();
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    Building::Init();
    BuildTower();
    for (int i = 0; i < levelCount; ++i)
        if (!Building::b[i]) std::abort();

    g_player = new Climber;
    g_player->cw = g_player->ch = 64;
    g_player->side = 1;
    g_player->SetPosition(4, -40);
    Entity::entList.insert(Entity::entList.begin(), g_player);
    // 200 creatures on all four sides, from well below the player to the next segment up.
    std::srand(7);
    for (int i = 0; i < 200; ++i) {
        Climber* c = new Climber;
        c->cw = c->ch = 64;
        c->side = 1 + i % 4;
        c->SetPosition(1 + std::rand() % 8, -70 + std::rand() % 60);
        Entity::entList.push_back(c);
        g_crowd.push_back(c);
    }
}

void WorldFrame(benchmark::State& state) {
    Setup();
    gEngine.rotx = 360;
    int frame = 0;
    for (auto _ : state) {
        int idx = ChooseSegment(g_player->tY);
        if (!TurnTower(&gEngine)) {
            MarkOccupied(idx);
            // Every creature asks for a step now and then, as the wall creatures' AI does.
            for (size_t i = 0; i < g_crowd.size(); ++i) {
                if ((frame + static_cast<int>(i)) % 16 == 0)
                    g_crowd[i]->Climb(std::rand() % 3 - 1, std::rand() % 3 - 1);
            }
            Entity::UpdateAll();
        }
        ++frame;
    }
    state.counters["entities"] = static_cast<double>(Entity::entList.size());
}
BENCHMARK(WorldFrame)->Unit(benchmark::kMicrosecond);

void OccupancyOnly(benchmark::State& state) {
    Setup();
    for (auto _ : state) MarkOccupied(0);
}
BENCHMARK(OccupancyOnly)->Unit(benchmark::kMicrosecond);

void TowerDraw(benchmark::State& state) {
    Setup();
    gEngine.rotx = 360;
    Building::scrollY = -40 * 64.0f - 192;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawWorld(&gEngine, 1);
        gEngine.FlushQuads();
        glFinish();
    }
}
BENCHMARK(TowerDraw)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
