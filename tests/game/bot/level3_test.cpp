// The last level played by keys through the game's own frame: with level 3 unlocked the title menu
// starts it, the level bot climbs to the top, the final-boss fighter takes over when the eye comes,
// and the run ends with the quit key after the credits. Render-free, or with pixels only on the
// frames pictures are taken of (the draw pass always runs, so the game is the same either way).
//
// BRACKMOOR_BOT_SEED=N       plays with another seed.
// BRACKMOOR_BOT_RECORD=FILE  writes the key presses as a replay and the state trace beside it.
// BRACKMOOR_BOT_SHOTS=DIR    saves pictures of the three forms and a credit card into DIR.
// BRACKMOOR_BOT_VERBOSE=1    prints what the bots are doing every 500 frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../bosses/FinalFighter.h"
#include "Bot.h"
#include "BotRun.h"
#include "engine/GameEngine.h"

#include "game/world/Building.h"
#include "platform/Options.h"
#include "platform/Replay.h"

namespace platform {
bool QuitRequested();
}  // namespace platform

TEST(LevelThreeBot, StartsLevelThreeFromTheMenuBeatsTheEyeAndQuitsAfterTheCredits) {
    const unsigned seed = botrun::SeedOr(3);
    const std::string record = botrun::Env("BRACKMOOR_BOT_RECORD");
    const std::string shots = botrun::Env("BRACKMOOR_BOT_SHOTS");
    const bool verbose = !botrun::Env("BRACKMOOR_BOT_VERBOSE").empty();

    // Render-free unless pictures are wanted (a drawn run is the same game, only slower).
    ASSERT_TRUE(botrun::StartGame("bot3", seed, 2, record, !shots.empty()));
    gEngine.pixelsOff = 1;

    bot::LevelBot climber(-673, 3);
    fight::FinalFighter fighter;
    bot::Keys keys;
    platform::ReplayRecorder recorder;
    long frame = 0, bossAt = -1, endAt = -1;
    int livesAtBoss = -1;
    bool shotForm[3] = {false, false, false}, shotCard = false;
    for (; frame < 60000 && !platform::QuitRequested(); ++frame) {
        ASSERT_EQ(gEngine.frameCount, frame);
        FinalBoss* b = FinalBoss::debug_boss;
        if (Building::scenePhase == 100 && gEngine.fadePerc >= 1.0f) {
            keys.Clear();
            keys.down['C'] = true;
        } else if (Building::scenePhase > 0) {
            keys.Clear();
        } else if (Building::triggerBossFinal >= 1 && b) {
            fighter.Think(&keys);
        } else {
            climber.Think(frame, &keys);
        }
        botrun::Press(keys, frame, &recorder);
        // Pictures for the README: each form a while after it arrives, and the first card.
        bool shoot = false;
        if (!shots.empty() && b) {
            const int f = b->aiTargetArea;
            if (b->aiPhase > 99 && b->aiPhaseTimer == 1200 && !shotForm[f]) {
                static const char* kName[3] = {"final_fly.png", "final_small.png", "final_crawlers.png"};
                platform::CurrentOptions().screenshots.push_back({frame, shots + "/" + kName[f]});
                shotForm[f] = shoot = true;
            }
            if (Building::scenePhase == 17 && Building::sceneTimer == 220 && !shotCard) {
                platform::CurrentOptions().screenshots.push_back({frame, shots + "/credits.png"});
                shotCard = shoot = true;
            }
        }
        gEngine.pixelsOff = shoot ? 0 : 1;
        gEngine.RunFrame();
        if (verbose && frame % 500 == 0)
            std::printf("frame %ld: %s; boss HP %d phase %d\n", frame, climber.Status().c_str(), b ? b->HP : -1,
                        b ? b->aiPhase : -99);
        ASSERT_GE(Player::Lives, 0) << "the last life was lost at frame " << frame << "; " << climber.Status()
                                    << (b ? "; boss HP " + std::to_string(b->HP) : std::string());
        ASSERT_FALSE(climber.Stuck()) << climber.Status();
        if (bossAt < 0 && FinalBoss::debug_boss) {
            bossAt = frame;
            livesAtBoss = Player::Lives;
        }
        if (endAt < 0 && Building::scenePhase > 0) endAt = frame;
    }
    gEngine.pixelsOff = 0;
    std::printf("level 3 bot: seed %u, boss at frame %ld (lives %d), ending at %ld, quit at %ld, lives %d\n", seed,
                bossAt, livesAtBoss, endAt, frame, Player::Lives);
    ASSERT_GE(bossAt, 0) << "never reached the eye; " << climber.Status();
    ASSERT_GE(endAt, 0) << "the eye was not beaten";
    EXPECT_TRUE(platform::QuitRequested()) << "no quit after the credits";
    EXPECT_EQ(Building::scenePhase, 100);
    if (!record.empty()) {
        char head[256];
        std::snprintf(head, sizeof(head),
                      "# seed %u frames %ld save color.dat=2\n"
                      "# the level-3 bots' run, made with BRACKMOOR_BOT_RECORD=<this file> bot_level3_test\n",
                      seed, frame);
        EXPECT_TRUE(botrun::WriteRecording(record, head, recorder)) << record;
    }
}
