// Shared set-up of the final boss tests: the arena at the top of the tower with the camera pinned,
// the player on the home wall below the eye, and frames that run as the game's own loop does
// (input, update, shake, and the draw pass, which steps every sprite; the run draws no pixels
// unless BRACKMOOR_FINAL_SHOTS asks for pictures).
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "../player/PlayFixture.h"
#include "../support/EntityQueries.h"
#include "engine/GameEngine.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/EyeCrawler.h"
#include "game/enemies/LaserBeam.h"
#include "game/enemies/LaserClimber.h"
#include "game/enemies/Pickup.h"

class FinalTest : public PlayTest {
protected:
    static constexpr int kArena = FinalBoss::kArenaScroll;

    // BRACKMOOR_FINAL_SHOTS=DIR: the folder the fights save their pictures in; empty when unset.
    static std::string ShotsDir() {
        const char* v = std::getenv("BRACKMOOR_FINAL_SHOTS");
        return v ? v : "";
    }

    static void SetUpTestSuite() {
        // The fights read no pixels: render-free, the same fight at a fraction of the cost. Only
        // a run asked for pictures draws.
        if (ShotsDir().empty()) testsupport::UseRenderFree();
        PlayTest::SetUpTestSuite();
        static bool loaded = false;
        if (!loaded) {
            Pickup::Init();
            LaserClimber::Init();
            EyeCrawler::Init();
            loaded = true;
        }
    }

    void SetUp() override {
        PlayTest::SetUp();
        Building::LockScreen(kArena, kArena);
        Building::MovePlayerToPosition(3, 4, 681);
        Building::scrollY = kArena;
        Building::sceneTimer = 0;
        Building::triggerBossFinal = 2;  // the level script has brought the camera up
        FinalBoss::debug_boss = nullptr;
        p->Idle();
        srand(11);
    }

    FinalBoss* Spawn() {
        auto* b = new FinalBoss(3, FinalBoss::kHomeX, FinalBoss::kHomeY);
        Entity::entList.push_back(b);
        FinalBoss::debug_boss = b;
        return b;
    }

    // One frame as the game loop runs it.
    void Tick(bool untouchable = true) {
        if (untouchable && Player::Get()) Player::Get()->invinceTimer = 1000;
        HandleKeys(e);
        GameLoop(e);
        e->ShakeUpd();
        GameDraw(e);
    }

    // Ticks until the boss reaches the phase; returns the frames it took (fails after `limit`).
    int RunToPhase(FinalBoss* b, int phase, int limit = 4000, bool untouchable = true) {
        int frames = 0;
        while (b->aiPhase != phase) {
            Tick(untouchable);
            if (++frames > limit) {
                ADD_FAILURE() << "phase " << phase << " not reached; still in " << b->aiPhase;
                return frames;
            }
        }
        return frames;
    }

    template <class T>
    static int Count() {
        int n = 0;
        for (Entity* x : Entity::entList)
            if (dynamic_cast<T*>(x) && x->alive) ++n;
        return n;
    }
};
