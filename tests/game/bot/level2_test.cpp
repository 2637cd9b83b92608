// The second level played by the automatic player through the game's own frame: with level 2
// unlocked it starts it from the title menu, climbs to the squid's arena, beats the squid, and the
// run ends once the beaten squid has let the screen go. Render-free.
//
// BRACKMOOR_BOT_SEED=N       plays with another seed.
// BRACKMOOR_BOT_RECORD=FILE  writes the key presses as a replay and the state trace beside it.
// BRACKMOOR_BOT_VERBOSE=1    prints what the player is doing every 500 frames.
#include <gtest/gtest.h>

#include "BotRun.h"
#include "game/autoplay/SquidFighter.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

TEST(LevelTwoBot, StartsLevelTwoFromTheMenuClimbsToTheSquidAndBeatsIt) {
    const unsigned seed = botrun::SeedOr(2);
    const std::string record = botrun::Env("BRACKMOOR_BOT_RECORD");
    ASSERT_TRUE(botrun::StartGame("bot2", seed, 1, record, false));

    autoplay::Autoplay player(2);
    long playAt = -1, squidAt = -1, beatenAt = -1;
    const long frames = botrun::Play(&player, 40000, [&](long frame) {
        Player* p = Player::Get();
        if (!p || platform::QuitRequested() || Player::Lives < 0 || player.Bot().Stuck() ||
            (playAt >= 0 && Building::MainMenuOn)) {
            ADD_FAILURE() << "lost at frame " << frame << ": " << botrun::Situation(player);
            return false;
        }
        if (playAt < 0 && !Building::MainMenuOn) {
            playAt = frame;
            const tower::LevelStart& start = tower::kLevelStarts[1];
            EXPECT_EQ(p->tY, tower::RowAtHeight(start.height));
            EXPECT_EQ(p->side, start.side);
        }
        if (squidAt < 0 && autoplay::FindSquid()) squidAt = frame;
        if (squidAt >= 0 && !autoplay::FindSquid() && !Building::lockScreen) beatenAt = frame;
        return beatenAt < 0;
    });
    const int* d = player.Bot().DeathsPerLevel();
    std::printf("level 2: seed %u, play from frame %ld, squid at %ld, beaten at %ld, lives %d, deaths %d\n", seed,
                playAt, squidAt, beatenAt, Player::Lives, d[1]);
    ASSERT_GE(beatenAt, 0) << "the squid was not beaten: " << botrun::Situation(player);
    EXPECT_GT(squidAt, playAt);
    EXPECT_EQ(d[0], 0) << "no life is lost below the level-2 start";
    EXPECT_LE(Player::Get()->tY, tower::kSquidRow + 8) << "up at the squid's arena";
    if (!record.empty()) {
        // The playback runs exactly as many frames as this run did; the progress file unlocks the
        // level-2 start of the title menu.
        char head[256];
        std::snprintf(head, sizeof(head),
                      "# seed %u frames %ld save color.dat=1\n"
                      "# the level-2 bots' run, made with BRACKMOOR_BOT_RECORD=<this file> bot_level2_test\n",
                      seed, frames);
        EXPECT_TRUE(botrun::WriteRecording(head)) << record;
    }
}
