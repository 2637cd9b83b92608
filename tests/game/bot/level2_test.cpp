// The second level played by keys through the game's own frame: with level 2 unlocked the title
// menu starts it, the level bot climbs to the squid's arena, the squid fighter beats the squid, and
// the run ends once the beaten squid has let the screen go. Render-free.
//
// BRACKMOOR_BOT_SEED=N       plays with another seed.
// BRACKMOOR_BOT_RECORD=FILE  writes the key presses as a replay and the state trace beside it.
// BRACKMOOR_BOT_VERBOSE=1    prints what the bots are doing every 500 frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BotRun.h"
#include "GameBot.h"
#include "engine/GameEngine.h"

#include "game/world/Building.h"
#include "platform/Options.h"
#include "platform/Replay.h"

namespace platform {
bool QuitRequested();
}  // namespace platform

TEST(LevelTwoBot, StartsLevelTwoFromTheMenuClimbsToTheSquidAndBeatsIt) {
    const unsigned seed = botrun::SeedOr(2);
    const std::string record = botrun::Env("BRACKMOOR_BOT_RECORD");
    const bool verbose = !botrun::Env("BRACKMOOR_BOT_VERBOSE").empty();

    ASSERT_TRUE(botrun::StartGame("bot2", seed, 1, record, false));

    bot::GameBot player(2);
    bot::Keys keys;
    platform::ReplayRecorder recorder;
    long frame = 0, playAt = -1, squidAt = -1, beatenAt = -1;
    int livesAtStart = -1;
    for (; frame < 40000; ++frame) {
        ASSERT_EQ(gEngine.frameCount, frame);
        player.Think(frame, &keys);
        botrun::Press(keys, frame, &recorder);
        gEngine.RunFrame();
        if (verbose && frame % 500 == 0) std::printf("frame %ld: %s\n", frame, player.Status().c_str());
        ASSERT_FALSE(platform::QuitRequested()) << player.Status();
        ASSERT_GE(Player::Lives, 0) << "the last life was lost at frame " << frame << "; " << player.Status();
        ASSERT_FALSE(player.Stuck()) << player.Status();
        Player* p = Player::Get();
        ASSERT_NE(p, nullptr);
        if (playAt < 0 && !Building::MainMenuOn) {
            playAt = frame;
            livesAtStart = Player::Lives;
            // The level-2 start: the roof of the crab's terrace.
            EXPECT_EQ(p->tY, -243);
        }
        ASSERT_FALSE(playAt >= 0 && Building::MainMenuOn) << "back at the title at frame " << frame;
        BossSquid* s = fight::FindSquid();
        if (squidAt < 0 && s) squidAt = frame;
        if (squidAt >= 0 && !s && !Building::lockScreen) {
            beatenAt = frame;
            break;
        }
    }
    const int* d = player.DeathsPerLevel();
    std::printf("level 2 bot: seed %u, play from frame %ld (lives %d), squid at %ld, beaten at %ld, lives %d, "
                "deaths %d\n",
                seed, playAt, livesAtStart, squidAt, beatenAt, Player::Lives, d[1]);
    ASSERT_GE(playAt, 0) << "never left the title";
    ASSERT_GE(squidAt, 0) << "never reached the squid; " << player.Status();
    ASSERT_GE(beatenAt, 0) << "the squid was not beaten; " << player.Status();
    EXPECT_EQ(d[0], 0) << "no life is lost below the level-2 start";
    EXPECT_LE(Player::Get()->tY, -453) << "up at the squid's arena";
    if (!record.empty()) {
        // The playback runs exactly as many frames as this run did; the progress file unlocks the
        // level-2 start of the title menu.
        char head[256];
        std::snprintf(head, sizeof(head),
                      "# seed %u frames %ld save color.dat=1\n"
                      "# the level-2 bots' run, made with BRACKMOOR_BOT_RECORD=<this file> bot_level2_test\n",
                      seed, frame + 1);
        EXPECT_TRUE(botrun::WriteRecording(record, head, recorder)) << record;
    }
}
