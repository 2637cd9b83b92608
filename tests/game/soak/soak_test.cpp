// A seeded random-input player runs the whole game from the title menu for many frames, with the
// engine's own frame (input, update, draw): nothing may crash or trip the sanitizers, and the number
// of live entities must stay bounded. BRACKMOOR_SOAK_FRAMES sets the length; the run is render-free,
// so the default is a long one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/GameEngine.h"
#include "game/entities/Entity.h"
#include "game/world/Building.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

namespace platform {
void ResetMessageQueue();
}

namespace {
// A small generator of our own, so the player's choices never disturb the game's rand().
struct Lcg {
    unsigned long long s;
    unsigned Next() {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(s >> 33);
    }
    bool Chance(unsigned percent) { return Next() % 100 < percent; }
};

long SoakFrames() {
    const char* v = std::getenv("BRACKMOOR_SOAK_FRAMES");
    long n = v ? std::atol(v) : 0;
    return n > 0 ? n : 20000;
}
}  // namespace

TEST(Soak, RandomInputForManyFramesStaysSoundAndBounded) {
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    platform::SetSaveDir(testsupport::MakeTempDir("soak"));
    platform::CurrentOptions().haveSeed = true;
    platform::CurrentOptions().seed = 7;
    // Render-free: every rule and draw pass as in a drawn run, at a fraction of the cost.
    testsupport::UseRenderFree();
    GameEngine::gEngine = &gEngine;
    GameInit(&gEngine, nullptr);
    GameStart(&gEngine);

    Lcg rng{12345};
    const long frames = SoakFrames();
    size_t most = 0;
    long played = 0, restarts = 0;
    bool wasMenu = true;
    const int keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'X', 'C', VK_RETURN};
    for (long f = 0; f < frames; ++f) {
        // Drain what the game posted (a quit request from the title is ignored: the soak goes on).
        platform::ResetMessageQueue();
        if (f % 12 == 0) {
            for (int k : keys) gEngine.keys[k] = false;
            bool menu = Building::MainMenuOn != 0;
            if (menu) {
                gEngine.keys[VK_RETURN] = rng.Chance(50);
                gEngine.keys[VK_DOWN] = rng.Chance(5);
            } else {
                gEngine.keys['X'] = rng.Chance(60);
                gEngine.keys[VK_UP] = rng.Chance(55);
                gEngine.keys[VK_DOWN] = rng.Chance(15);
                gEngine.keys[VK_LEFT] = rng.Chance(25);
                gEngine.keys[VK_RIGHT] = rng.Chance(25);
                gEngine.keys['C'] = rng.Chance(50);
                gEngine.keys[VK_RETURN] = rng.Chance(8);
            }
            // Now and then a pause, pressed and released.
            gEngine.keys[VK_ESCAPE] = !menu && rng.Chance(2);
        } else if (f % 12 == 3) {
            gEngine.keys[VK_ESCAPE] = false;
            if (Building::pauseOn) gEngine.keys[VK_ESCAPE] = true;  // resume next round
        }
        gEngine.RunFrame();
        bool menu = Building::MainMenuOn != 0;
        if (menu && !wasMenu) ++restarts;
        if (!menu) ++played;
        wasMenu = menu;
        most = std::max(most, Entity::entList.size());
        ASSERT_LT(Entity::entList.size(), 5000u) << "entities pile up at frame " << f;
        ASSERT_FALSE(Entity::entList.empty()) << "the player is gone at frame " << f;
    }
    RecordProperty("frames", std::to_string(frames));
    RecordProperty("most_entities", std::to_string(most));
    std::printf("soak: %ld frames, %ld in play, %ld returns to the title, at most %zu entities\n", frames, played,
                restarts, most);
    EXPECT_GT(played, frames / 3) << "the random player hardly ever got into the game";
}
