// Shared set-up of the squid tests: the arena on side 3 with the camera pinned, the player standing
// below the squid's hiding place, and a frame that runs the entity pass and steps every sprite.
#pragma once

#include <vector>

#include "../player/PlayFixture.h"
#include "../support/EntityQueries.h"
#include "game/bosses/BossSquid.h"
#include "game/bosses/SquidArm.h"
#include "game/bosses/SquidTarget.h"
#include "game/world/Tower.h"

class SquidTest : public PlayTest {
protected:
    static constexpr int kArena = tower::kSquidArenaTop;  // scrollY of the fight
    static constexpr int kTopRow = kArena / 64;

    void SetUp() override {
        PlayTest::SetUp();
        Building::LockScreen(kArena, kArena);
        Building::scrollY = kArena;
        e->rotx = 450 - 90 * 3;
        p->side = 3;
        p->SetPosition(6, kTopRow + 5);
        p->Idle();
        srand(7);
    }

    BossSquid* Spawn() {
        auto* s = new BossSquid(3, 224, -29632);
        Entity::entList.push_back(s);
        return s;
    }

    // One play frame with an untouchable player: the entity pass, then the animation step every
    // sprite makes when it is drawn.
    void Tick() {
        p->invinceTimer = 1000;
        Building::UpdateEntities();
        for (Entity* x : Entity::entList)
            if (x->sprite) x->sprite->Step();
    }

    // Ticks until the squid reaches the phase (fails the test after `limit` frames).
    int RunToPhase(BossSquid* s, int phase, int limit = 2000) {
        int frames = 0;
        while (s->aiPhase != phase) {
            Tick();
            if (++frames > limit) {
                ADD_FAILURE() << "phase " << phase << " not reached; still in " << s->aiPhase;
                return frames;
            }
        }
        return frames;
    }
};
