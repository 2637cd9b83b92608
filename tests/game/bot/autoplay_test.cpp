// --autoplay as a player meets it: the headless executable's automatic player presses the very keys
// of the recorded whole-game run of the same seed, its own recording plays back along its trace,
// it refuses a replay beside it, it carries on after the game pauses itself, and a key pressed by a
// person hands the game back on the title.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "BotRun.h"
#include "game/world/Building.h"

namespace {

const long kFrames = 3000;  // the title, the first storeys and the first barrier

// The event lines of a recording (comments left out) before frame `limit`.
std::string EventsBefore(const std::string& text, long limit) {
    std::stringstream in(text);
    std::string line, out;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#' && std::atol(line.c_str()) < limit) out += line + "\n";
    return out;
}

}  // namespace

TEST(Autoplay, TheExecutablePlaysTheRecordedKeysAndItsRecordingPlaysBack) {
    const std::string dir = testsupport::MakeTempDir("autoplay");
    ASSERT_FALSE(dir.empty());
    const std::string replay = dir + "/run.replay", trace = dir + "/run.trace";
    const std::vector<std::string> common = {"--seed",      "1",      "--frames",        std::to_string(kFrames),
                                             "--no-render", "--data", BRACKMOOR_DATA_DIR};
    auto run = [&](std::vector<std::string> args, const std::string& save) {
        args.insert(args.end(), common.begin(), common.end());
        args.insert(args.end(), {"--save-dir", testsupport::MakeTempDir(save)});
        return testsupport::RunHeadless(args);
    };
    testsupport::RunResult r = run({"--autoplay", "--record", replay, "--trace", trace}, "autoplay-run");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::string recorded = EventsBefore(testsupport::ReadFile(replay), kFrames);
    EXPECT_GT(std::count(recorded.begin(), recorded.end(), '\n'), 50) << "it climbs and shoots";
    EXPECT_EQ(recorded, EventsBefore(testsupport::ReadFile(BOT_GAME_REPLAY), kFrames));

    r = run({"--replay", replay, "--check-trace", trace}, "autoplay-replay");
    EXPECT_EQ(r.exitCode, 0) << r.output.substr(0, 2000);

    r = run({"--autoplay", "--replay", replay}, "autoplay-both");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find("--autoplay cannot be used with --replay"), std::string::npos) << r.output;
}

TEST(Autoplay, ItCarriesOnAfterAPauseAndAPersonsKeyHandsTheGameBackOnTheTitle) {
    ASSERT_TRUE(botrun::StartGame("handback", 1, 0, "", false));
    autoplay::Autoplay player(1);
    // Into the climb, holding keys.
    botrun::Play(&player, 2000, [&](long) { return Building::MainMenuOn || !gEngine.keys['X']; });
    ASSERT_FALSE(Building::MainMenuOn);
    ASSERT_TRUE(gEngine.keys['X']) << player.Bot().Status();
    // The window loses the focus and the game pauses itself: the player carries on.
    Building::pauseOn = 1;
    for (int i = 0; i < 3; ++i) gEngine.RunFrame();
    EXPECT_FALSE(Building::pauseOn);
    EXPECT_TRUE(player.Playing());

    MSG m{gEngine.hwnd, WM_KEYDOWN, static_cast<WPARAM>('Z'), 0, 0};
    DispatchMessageA(&m);
    gEngine.RunFrame();
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(runoptions::CurrentKeySource(), nullptr);
    EXPECT_TRUE(Building::MainMenuOn);
    EXPECT_EQ(Player::Lives, Player::StartingLives);
    for (int vk : autoplay::kPlayerKeys) EXPECT_FALSE(gEngine.keys[vk]) << vk << " still held";
    EXPECT_TRUE(gEngine.keys['Z']) << "the person's own key stays held";
    // Nobody plays now: the title stays.
    for (int i = 0; i < 600; ++i) gEngine.RunFrame();
    EXPECT_TRUE(Building::MainMenuOn);
}
