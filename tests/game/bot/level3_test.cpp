// The last level played by the automatic player through the game's own frame: with level 3
// unlocked it starts it from the title menu, climbs to the top, beats the final boss, and the run
// ends with the quit key after the credits. Render-free, or with pixels only on the frames pictures
// are taken of (the draw pass always runs, so the game is the same either way).
//
// BRACKMOOR_BOT_SEED=N       plays with another seed.
// BRACKMOOR_BOT_RECORD=FILE  writes the key presses as a replay and the state trace beside it.
// BRACKMOOR_BOT_SHOTS=DIR    saves pictures of the three forms and a credit card into DIR.
// BRACKMOOR_BOT_FRAMES=A:B:N with BRACKMOOR_BOT_SHOTS saves every Nth frame from A to B as
//                            DIR/fFRAME.png too (scripts/autoplay_gif.sh makes the README's GIF so).
// BRACKMOOR_BOT_VERBOSE=1    prints what the player is doing every 500 frames.
#include <gtest/gtest.h>

#include "BotRun.h"
#include "game/bosses/FinalBoss.h"
#include "game/world/Building.h"

TEST(LevelThreeBot, StartsLevelThreeFromTheMenuBeatsTheEyeAndQuitsAfterTheCredits) {
    const unsigned seed = botrun::SeedOr(3);
    const std::string record = botrun::Env("BRACKMOOR_BOT_RECORD");
    const std::string shots = botrun::Env("BRACKMOOR_BOT_SHOTS");
    // Render-free unless pictures are wanted (a drawn run is the same game, only slower).
    ASSERT_TRUE(botrun::StartGame("bot3", seed, 2, record, !shots.empty()));
    gEngine.pixelsOff = 1;

    long firstFrame = -1, lastFrame = -1, everyFrame = 1;
    std::sscanf(botrun::Env("BRACKMOOR_BOT_FRAMES").c_str(), "%ld:%ld:%ld", &firstFrame, &lastFrame, &everyFrame);
    autoplay::Autoplay player(3);
    long bossAt = -1, endAt = -1;
    bool shotForm[3] = {false, false, false}, shotCard = false;
    const long frames = botrun::Play(&player, 60000, [&](long frame) {
        if (Player::Lives < 0 || player.Bot().Stuck()) {
            ADD_FAILURE() << "lost at frame " << frame << ": " << botrun::Situation(player);
            return false;
        }
        FinalBoss* b = FinalBoss::debug_boss;
        if (bossAt < 0 && b) bossAt = frame;
        if (endAt < 0 && Building::scenePhase != Building::kSceneNone) endAt = frame;
        // Pictures for the README, of the next frame: each form a while after it arrives, and the
        // first credit card.
        bool shoot = false;
        if (!shots.empty() && b) {
            const int f = b->aiTargetArea;
            if (b->InFormFight() && b->aiPhaseTimer == 1200 && !shotForm[f]) {
                static const char* kName[3] = {"final_fly.png", "final_small.png", "final_crawlers.png"};
                platform::CurrentOptions().screenshots.push_back({frame + 1, shots + "/" + kName[f]});
                shotForm[f] = shoot = true;
            }
            if (Building::scenePhase == Building::kSceneFirstCard + 2 && Building::sceneTimer == 220 && !shotCard) {
                platform::CurrentOptions().screenshots.push_back({frame + 1, shots + "/credits.png"});
                shotCard = shoot = true;
            }
        }
        const long next = frame + 1;
        if (!shots.empty() && next >= firstFrame && next <= lastFrame && (next - firstFrame) % everyFrame == 0) {
            char name[32];
            std::snprintf(name, sizeof(name), "/f%06ld.png", next);
            platform::CurrentOptions().screenshots.push_back({next, shots + name});
            shoot = true;
        }
        gEngine.pixelsOff = shoot ? 0 : 1;
        return !platform::QuitRequested();
    });
    gEngine.pixelsOff = 0;
    std::printf("level 3: seed %u, boss at frame %ld, ending at %ld, quit at %ld, lives %d\n", seed, bossAt, endAt,
                frames, Player::Lives);
    ASSERT_GE(endAt, 0) << "the eye was not beaten: " << botrun::Situation(player);
    EXPECT_GT(endAt, bossAt);
    EXPECT_TRUE(platform::QuitRequested()) << "no quit after the credits";
    EXPECT_EQ(Building::scenePhase, Building::kSceneVeilCloses);
    if (!record.empty()) {
        char head[256];
        std::snprintf(head, sizeof(head),
                      "# seed %u frames %ld save color.dat=2\n"
                      "# the level-3 bots' run, made with BRACKMOOR_BOT_RECORD=<this file> bot_level3_test\n",
                      seed, frames);
        EXPECT_TRUE(botrun::WriteRecording(head)) << record;
    }
}
