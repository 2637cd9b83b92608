// The whole game played by keys through the game's own frame, render-free: from the title menu
// through the crab, the squid and the final boss to the end of the credits and the quit key, with
// the lives the game gives, on several seeds one after the other (a lost game would restart at the
// title, as the game does). One summary line per seed.
//
// BRACKMOOR_BOT_SEEDS=1,2,3  the seeds to play (default 1 to 5).
// BRACKMOOR_BOT_VERBOSE=1    prints what the bot is doing every 500 frames.
// BRACKMOOR_BOT_RECORD=FILE  writes the first seed's key presses as a replay and its state trace
//                            beside it (that game must be the first of the process).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "BotRun.h"
#include "GameBot.h"
#include "engine/GameEngine.h"

#include "game/entities/Blood.h"
#include "game/entities/Entity.h"
#include "game/world/Building.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "platform/Replay.h"
#include "support/TestSupport.h"

namespace platform {
void ResetMessageQueue();
bool QuitRequested();
}  // namespace platform

namespace {

const long kMaxFrames = 120000;

std::vector<unsigned> Seeds() {
    std::vector<unsigned> seeds;
    std::stringstream in(botrun::Env("BRACKMOOR_BOT_SEEDS"));
    std::string word;
    while (std::getline(in, word, ','))
        if (!word.empty()) seeds.push_back(static_cast<unsigned>(std::atol(word.c_str())));
    if (seeds.empty()) seeds = {1, 2, 3, 4, 5};
    return seeds;
}

// What stands near the player on its wall: the things a failure message should name.
std::string Nearby(Player* p) {
    if (!p) return "";
    std::string out;
    for (Entity* e : Entity::entList) {
        if (e == p || e->side != p->side || e->dead || dynamic_cast<Blood*>(e)) continue;
        int tx = static_cast<int>(std::floor(e->GetCenterX() / 64.0f));
        int ty = static_cast<int>(std::floor(e->GetCenterY() / 64.0f));
        if (std::abs(ty - p->tY) > 6) continue;
        out += "\n  " + std::string(e->ClassName()) + " at (" + std::to_string(tx) + ", " + std::to_string(ty) + ")" +
               (e->canHit ? "" : ", cannot be shot") + (e->hurtPlayer ? ", harmful" : "");
    }
    return out.empty() ? out : "\nnear it:" + out;
}

}  // namespace

TEST(WholeGameBot, WinsTheWholeGameFromTheTitleOnEverySeed) {
    const std::vector<unsigned> seeds = Seeds();
    const std::string record = botrun::Env("BRACKMOOR_BOT_RECORD");
    const bool verbose = !botrun::Env("BRACKMOOR_BOT_VERBOSE").empty();
    ASSERT_TRUE(botrun::StartGame("gamebot", seeds[0], 0, record, false));

    int wins = 0;
    for (size_t n = 0; n < seeds.size(); ++n) {
        const unsigned seed = seeds[n];
        SCOPED_TRACE("seed " + std::to_string(seed));
        if (n > 0) {
            // The next game: a fresh progress folder, the title again, the seed from here on.
            platform::SetSaveDir(testsupport::MakeTempDir("gamebot"));
            Building::BuildingUnlock = 0;
            Building::RestartGame();
            gEngine.fadePerc = 0;
            platform::ResetMessageQueue();
            std::srand(seed);
        }
        bot::GameBot player;
        bot::Keys keys;
        platform::ReplayRecorder recorder;
        const long start = gEngine.frameCount;
        long frame = 0;
        bool lost = false;
        for (; frame < kMaxFrames && !platform::QuitRequested(); ++frame) {
            player.Think(frame, &keys);
            botrun::Press(keys, gEngine.frameCount, &recorder);
            gEngine.RunFrame();
            if (verbose && frame % 500 == 0) std::printf("frame %ld: %s\n", frame, player.Status().c_str());
            Player* p = Player::Get();
            if (Player::Lives < 0 || player.Stuck() || (frame > 700 && Building::MainMenuOn)) {
                lost = true;
                ADD_FAILURE() << "lost at frame " << frame << ", level " << (p ? bot::GameBot::LevelOfRow(p->tY) : 0)
                              << ", side " << (p ? p->side : 0) << " tile (" << (p ? p->tX : 0) << ", "
                              << (p ? p->tY : 0) << "), lives " << Player::Lives << ": " << player.Status()
                              << Nearby(p);
                break;
            }
        }
        if (verbose || lost)
            for (const std::string& note : player.DeathNotes()) std::printf("  life lost: %s\n", note.c_str());
        const int* d = player.DeathsPerLevel();
        std::printf("whole game: seed %u, %s in %ld frames, lives left %d, deaths per level %d/%d/%d\n", seed,
                    lost ? "lost" : (platform::QuitRequested() ? "won" : "unfinished"), frame, Player::Lives, d[0],
                    d[1], d[2]);
        if (lost) break;
        ASSERT_TRUE(platform::QuitRequested()) << "not over after " << kMaxFrames << " frames: " << player.Status();
        EXPECT_EQ(Building::scenePhase, 100);
        ++wins;
        if (n == 0 && !record.empty()) {
            char head[256];
            std::snprintf(head, sizeof(head),
                          "# seed %u frames %ld\n"
                          "# the whole-game bot's run, made with BRACKMOOR_BOT_RECORD=<this file> bot_game_test\n",
                          seed, gEngine.frameCount - start);
            EXPECT_TRUE(botrun::WriteRecording(record, head, recorder)) << record;
        }
    }
    EXPECT_EQ(wins, static_cast<int>(seeds.size()));
}
