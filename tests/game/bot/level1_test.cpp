// The bot plays the first level through the game's own frame, from the title menu to the fallen
// crab walker, seeded. On failure it says at which frame, where the player was and what stopped
// it.
//
// BRACKMOOR_BOT_SEED=N       plays with another seed (the recorded run uses the default).
// BRACKMOOR_BOT_RECORD=FILE  writes the run's key presses as a replay, and the state trace of
//                            every frame beside it (FILE with .trace for .replay); the recorded
//                            run beside this file is made this way: see level1.replay.
// BRACKMOOR_BOT_SHOTS=DIR    saves DIR/level1.png during the climb and DIR/crab.png in the fight
//                            (the run is drawn then; otherwise it is render-free).
// BRACKMOOR_BOT_VERBOSE=1    prints what the bot is doing every 250 frames.
// BRACKMOOR_BOT_PLAYBACK=FILE presses the keys of a recording instead of the bot's, in this
//                            process, to tell a game that differs between runs from a bot that does.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../support/Danger.h"
#include "Bot.h"
#include "BotRun.h"
#include "engine/GameEngine.h"
#include "game/bosses/CrabWalker.h"
#include "game/entities/Entity.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "platform/Options.h"
#include "platform/Replay.h"

namespace platform {
void ResetMessageQueue();
bool QuitRequested();
}  // namespace platform

namespace {

const unsigned kDefaultSeed = 1;
const long kMaxFrames = 40000;
using botrun::Env;
using danger::FindCrab;

}  // namespace

TEST(LevelOneBot, StartsFromTheTitleClimbsToTheArenaAndBeatsTheCrab) {
    const unsigned seed = botrun::SeedOr(kDefaultSeed);
    const std::string shots = Env("BRACKMOOR_BOT_SHOTS");
    const std::string record = Env("BRACKMOOR_BOT_RECORD");
    const bool verbose = !Env("BRACKMOOR_BOT_VERBOSE").empty();

    // Only the screenshots need pixels; the game is the same either way.
    ASSERT_TRUE(botrun::StartGame("bot", seed, 0, record, !shots.empty()));

    std::unique_ptr<platform::ReplayPlayer> playback;
    if (!Env("BRACKMOOR_BOT_PLAYBACK").empty()) {
        std::vector<platform::ReplayEvent> events;
        std::string error;
        ASSERT_TRUE(platform::LoadReplayFile(Env("BRACKMOOR_BOT_PLAYBACK"), &events, &error)) << error;
        playback.reset(new platform::ReplayPlayer(std::move(events)));
    }
    bot::LevelBot player;
    bot::Keys keys;
    platform::ReplayRecorder recorder;
    long playStart = -1, arenaAt = -1, crabAt = -1, crabGoneAt = -1;
    int livesAtArena = -1;
    bool level1Shot = false, crabShot = false;
    long frame = 0;
    for (; frame < kMaxFrames; ++frame) {
        ASSERT_EQ(gEngine.frameCount, frame);
        if (playback) {
            // Recorded keys instead of the bot's (the bot still thinks, for its status line).
            bot::Keys ignored;
            player.Think(frame, &ignored);
            playback->ApplyFrame(frame, [&](int vk, bool down) { keys.down[vk] = down; });
        } else {
            player.Think(frame, &keys);
        }
        botrun::Press(keys, frame, &recorder);
        if (!shots.empty()) {
            Player* p = Player::Get();
            if (!level1Shot && playStart >= 0 && p && p->tY <= -30 && !p->dead && !Building::showNewWeapon) {
                platform::CurrentOptions().screenshots.push_back({frame, shots + "/level1.png"});
                level1Shot = true;
            }
            CrabWalker* c = FindCrab();
            if (!crabShot && c && crabAt >= 0 && frame - crabAt >= 400 && c->aiPhase == 0 && !c->dead) {
                platform::CurrentOptions().screenshots.push_back({frame, shots + "/crab.png"});
                crabShot = true;
            }
        }
        if (verbose && frame % 250 == 0) std::printf("%s\n", player.Status().c_str());
        gEngine.RunFrame();
        ASSERT_FALSE(platform::QuitRequested()) << "the game asked to quit; " << player.Status();

        Player* p = Player::Get();
        ASSERT_NE(p, nullptr) << player.Status();
        if (playStart < 0 && !Building::MainMenuOn) playStart = frame;
        ASSERT_FALSE(playStart >= 0 && Building::MainMenuOn) << "the game went back to the title; " << player.Status();
        ASSERT_GE(Player::Lives, 0) << "the last life was lost; " << player.Status();
        ASSERT_FALSE(player.Stuck()) << player.Status();
        if (arenaAt < 0 && Building::lockScreen) {
            arenaAt = frame;
            livesAtArena = Player::Lives;
        }
        CrabWalker* c = FindCrab();
        if (crabAt < 0 && c) crabAt = frame;
        if (crabAt >= 0 && !c && !Building::lockScreen) {
            crabGoneAt = frame;
            break;
        }
    }
    std::printf("bot: seed %u, play from frame %ld, arena at %ld (lives %d), crab at %ld, beaten at %ld, "
                "lives %d, flame %s, %d aimed shots, %d dodges, %d detours\n",
                seed, playStart, arenaAt, livesAtArena, crabAt, crabGoneAt, Player::Lives,
                player.TookFlame() ? "taken" : "not taken", player.Shots(), player.Dodges(), player.Replans());

    for (const std::string& d : player.Deaths()) std::printf("bot: %s\n", d.c_str());
    ASSERT_GE(playStart, 0) << "never left the title; " << player.Status();
    ASSERT_GE(arenaAt, 0) << "never reached the arena; " << player.Status();
    ASSERT_GE(crabAt, 0) << "the crab never came; " << player.Status();
    ASSERT_GE(crabGoneAt, 0) << "the crab was not beaten in " << kMaxFrames << " frames; " << player.Status();
    EXPECT_EQ(Building::triggerCrabBoss, 4);
    EXPECT_FALSE(Building::lockScreen);
    EXPECT_GE(Player::Lives, 0);
    EXPECT_LE(Player::Get()->tY, -218) << "still in the arena";
    if (!shots.empty()) {
        EXPECT_TRUE(level1Shot && crabShot) << "screenshots not taken";
    }
    if (!record.empty()) {
        // The playback runs exactly as many frames as this run did.
        char head[256];
        std::snprintf(head, sizeof(head),
                      "# seed %u frames %ld\n"
                      "# the level-1 bot's run, made with BRACKMOOR_BOT_RECORD=<this file> bot_level1_test\n",
                      seed, frame + 1);
        EXPECT_TRUE(botrun::WriteRecording(record, head, recorder)) << record;
    }
}
