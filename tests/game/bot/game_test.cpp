// The whole game played by the automatic player through the game's own frame, render-free: from
// the title menu through the crab, the squid and the final boss to the end of the credits and the
// quit key, with the lives the game gives, on several seeds one after the other. One summary line
// per seed.
//
// BRACKMOOR_BOT_SEEDS=1,2,3  the seeds to play (default 1 to 5).
// BRACKMOOR_BOT_VERBOSE=1    prints what the player is doing every 500 frames.
// BRACKMOOR_BOT_RECORD=FILE  writes the first seed's key presses as a replay and its state trace
//                            beside it (that game must be the first of the process).
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "BotRun.h"
#include "game/world/Building.h"

namespace {

std::vector<unsigned> Seeds() {
    std::vector<unsigned> seeds;
    std::stringstream in(botrun::Env("BRACKMOOR_BOT_SEEDS"));
    std::string word;
    while (std::getline(in, word, ','))
        if (!word.empty()) seeds.push_back(static_cast<unsigned>(std::atol(word.c_str())));
    if (seeds.empty()) seeds = {1, 2, 3, 4, 5};
    return seeds;
}

}  // namespace

TEST(WholeGameBot, WinsTheWholeGameFromTheTitleOnEverySeed) {
    const std::vector<unsigned> seeds = Seeds();
    const std::string record = botrun::Env("BRACKMOOR_BOT_RECORD");
    ASSERT_TRUE(botrun::StartGame("gamebot", seeds[0], 0, record, false));

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
        autoplay::Autoplay player(1);
        bool lost = false;
        const long start = gEngine.frameCount;
        const long frames = botrun::Play(&player, 120000, [&](long frame) {
            lost = Player::Lives < 0 || player.Bot().Stuck() || (frame > 700 && Building::MainMenuOn);
            return !lost && !platform::QuitRequested();
        });
        const int* d = player.Bot().DeathsPerLevel();
        std::printf("whole game: seed %u, %s in %ld frames, lives left %d, deaths per level %d/%d/%d\n", seed,
                    lost ? "lost" : (platform::QuitRequested() ? "won" : "unfinished"), frames, Player::Lives, d[0],
                    d[1], d[2]);
        ASSERT_FALSE(lost) << botrun::Situation(player);
        ASSERT_TRUE(platform::QuitRequested())
            << "not over after " << frames << " frames: " << botrun::Situation(player);
        EXPECT_EQ(Building::scenePhase, Building::kSceneVeilCloses);
        if (n == 0 && !record.empty()) {
            char head[256];
            std::snprintf(head, sizeof(head),
                          "# seed %u frames %ld\n"
                          "# the whole-game bot's run, made with BRACKMOOR_BOT_RECORD=<this file> bot_game_test\n",
                          seed, gEngine.frameCount - start);
            EXPECT_TRUE(botrun::WriteRecording(head)) << record;
        }
    }
}
