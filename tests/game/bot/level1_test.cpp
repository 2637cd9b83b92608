// The automatic player plays the first level through the game's own frame, from the title menu to
// the fallen crab walker, seeded. On failure it says what it was doing and what stood near.
//
// BRACKMOOR_BOT_SEED=N       plays with another seed (the recorded run uses the default).
// BRACKMOOR_BOT_RECORD=FILE  writes the run's key presses as a replay, and the state trace of
//                            every frame beside it (FILE with .trace for .replay); the recorded
//                            run beside this file is made this way: see level1.replay.
// BRACKMOOR_BOT_SHOTS=DIR    saves DIR/level1.png during the climb and DIR/crab.png in the fight
//                            (the run is drawn then; otherwise it is render-free).
// BRACKMOOR_BOT_VERBOSE=1    prints what the player is doing every 500 frames.
#include <gtest/gtest.h>

#include "BotRun.h"
#include "game/autoplay/Danger.h"
#include "game/bosses/CrabWalker.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

TEST(LevelOneBot, StartsFromTheTitleClimbsToTheArenaAndBeatsTheCrab) {
    const unsigned seed = botrun::SeedOr(1);
    const std::string shots = botrun::Env("BRACKMOOR_BOT_SHOTS");
    const std::string record = botrun::Env("BRACKMOOR_BOT_RECORD");
    // Only the screenshots need pixels; the game is the same either way.
    ASSERT_TRUE(botrun::StartGame("bot", seed, 0, record, !shots.empty()));

    autoplay::Autoplay player(1);
    long playStart = -1, arenaAt = -1, crabAt = -1, crabGoneAt = -1;
    bool level1Shot = false, crabShot = false;
    const long frames = botrun::Play(&player, 40000, [&](long frame) {
        Player* p = Player::Get();
        EXPECT_FALSE(platform::QuitRequested());
        if (!p || Player::Lives < 0 || player.Bot().Stuck() || (playStart >= 0 && Building::MainMenuOn)) {
            ADD_FAILURE() << "lost at frame " << frame << ": " << botrun::Situation(player);
            return false;
        }
        if (playStart < 0 && !Building::MainMenuOn) playStart = frame;
        if (arenaAt < 0 && Building::lockScreen) arenaAt = frame;
        CrabWalker* c = autoplay::danger::FindCrab();
        if (crabAt < 0 && c) crabAt = frame;
        // Pictures for the README, taken of the next frame: the climb, and the crab at home.
        if (!shots.empty() && !level1Shot && playStart >= 0 && p->tY <= -30 && !p->dead && !Building::showNewWeapon) {
            platform::CurrentOptions().screenshots.push_back({frame + 1, shots + "/level1.png"});
            level1Shot = true;
        }
        if (!shots.empty() && !crabShot && c && frame - crabAt >= 400 && c->aiPhase == CrabWalker::kPhaseLineUp &&
            !c->dead) {
            platform::CurrentOptions().screenshots.push_back({frame + 1, shots + "/crab.png"});
            crabShot = true;
        }
        if (crabAt >= 0 && !c && !Building::lockScreen) crabGoneAt = frame;
        return crabGoneAt < 0;
    });
    std::printf("level 1: seed %u, play from frame %ld, arena at %ld, crab at %ld, beaten at %ld, lives %d\n", seed,
                playStart, arenaAt, crabAt, crabGoneAt, Player::Lives);
    ASSERT_GE(crabGoneAt, 0) << "the crab was not beaten: " << botrun::Situation(player);
    EXPECT_GT(arenaAt, playStart);
    EXPECT_GT(crabAt, arenaAt);
    EXPECT_EQ(Building::triggerCrabBoss, 4);
    EXPECT_GE(Player::Lives, 0);
    EXPECT_LE(Player::Get()->tY, tower::kCrabArenaRow + 4) << "still in the arena";
    if (!shots.empty()) {
        EXPECT_TRUE(level1Shot && crabShot) << "screenshots not taken";
    }
    if (!record.empty()) {
        // The playback runs exactly as many frames as this run did.
        char head[256];
        std::snprintf(head, sizeof(head),
                      "# seed %u frames %ld\n"
                      "# the level-1 bot's run, made with BRACKMOOR_BOT_RECORD=<this file> bot_level1_test\n",
                      seed, frames);
        EXPECT_TRUE(botrun::WriteRecording(head)) << record;
    }
}
