// A seeded random-input player runs the whole game from the title menu for many frames, with the
// engine's own frame (input, update, draw), starting each game at any of the three levels (all are
// unlocked): nothing may crash or trip the sanitizers, the number of live entities stays bounded,
// the player stays on the wall's grid (or is turning a corner, or falling dead) and the camera never
// rises above its limit. BRACKMOOR_SOAK_FRAMES sets the length (CI's sanitizer pass runs 200,000);
// the run is render-free.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/GameEngine.h"
#include "game/entities/Entity.h"
#include "game/player/Player.h"
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
    const std::string save = testsupport::MakeTempDir("soak");
    ASSERT_TRUE(testsupport::WriteText(save + "/color.dat", "2"));
    platform::SetSaveDir(save);
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
    long levelFrames[3] = {0, 0, 0};
    long sinceStart = 0;
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
                gEngine.keys[VK_DOWN] = rng.Chance(30);
                gEngine.keys[VK_UP] = !gEngine.keys[VK_DOWN] && rng.Chance(30);
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
        // A long game is given up from the pause menu's restart, so every level gets its turn.
        if (!Building::MainMenuOn && ++sinceStart > 2500) {
            Building::RestartGame();
            sinceStart = 0;
        }
        gEngine.RunFrame();
        bool menu = Building::MainMenuOn != 0;
        if (menu && !wasMenu) {
            ++restarts;
            sinceStart = 0;
        }
        if (!menu) ++played;
        wasMenu = menu;
        most = std::max(most, Entity::entList.size());
        // In play the camera never rises above its limit (the title may show the tower from anywhere).
        if (!Building::MainMenuOn)
            ASSERT_LE(Building::scrollY, -32.0f) << "the camera rose above its limit at frame " << f;
        Player* p = Player::Get();
        ASSERT_NE(p, nullptr);
        const bool turning = static_cast<int>(gEngine.rotx) % 90 != 0;
        if (!menu && !turning && !p->dead) {
            ASSERT_GE(p->tX, 1) << "off the wall at frame " << f << ": tX " << p->tX << " tY " << p->tY << " side "
                                << p->side << " rotx " << gEngine.rotx << " pause " << Building::pauseOn << " notice "
                                << Building::showNewWeapon;
            ASSERT_LE(p->tX, 8) << "off the wall at frame " << f << ": tX " << p->tX << " tY " << p->tY << " side "
                                << p->side << " rotx " << gEngine.rotx << " pause " << Building::pauseOn
                                << " weapon notice " << Building::showNewWeapon << " lock " << Building::lockScreen;
            ASSERT_LE(std::fabs(p->x - p->TargetX()), 64.0f) << "off its tile at frame " << f;
            ASSERT_LE(std::fabs(p->y - p->TargetY()), 64.0f) << "off its tile at frame " << f;
        }
        if (!menu) {
            const int level = p->tY > -240 ? 0 : (p->tY > -480 ? 1 : 2);
            levelFrames[level] += 1;
        }
        ASSERT_LT(Entity::entList.size(), 5000u) << "entities pile up at frame " << f;
        ASSERT_FALSE(Entity::entList.empty()) << "the player is gone at frame " << f;
    }
    RecordProperty("frames", std::to_string(frames));
    RecordProperty("most_entities", std::to_string(most));
    std::printf(
        "soak: %ld frames, %ld in play (%ld / %ld / %ld on levels 1 / 2 / 3), %ld returns to the title, "
        "at most %zu entities\n",
        frames, played, levelFrames[0], levelFrames[1], levelFrames[2], restarts, most);
    if (frames >= 100000) {
        for (long n : levelFrames) EXPECT_GT(n, 0) << "every level was played";
    }
    EXPECT_GT(played, frames / 3) << "the random player hardly ever got into the game";
}
