// The recorded bot run of the first level, played back by the headless executable from its key
// presses alone: the same seed and the same input must give the same game, frame by frame (the
// state trace recorded with the run names the first frame that differs), ending with the crab
// walker beaten and the screen unlocked; render-free and drawn alike. The recording and its trace are made by the bot
// test:
//   BRACKMOOR_BOT_RECORD=tests/game/bot/level1.replay <build>/tests/bot_level1_test
// and any change to the tower's files or the game's rules calls for a new one (the trace holds every
// entity of the tower, so the playback stops at frame 0 when the tower differs).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

// The value of "key" (its first occurrence after `from`), or -1e9 when it is missing.
double Number(const std::string& json, const std::string& key, size_t from = 0) {
    std::string k = "\"" + key + "\": ";
    size_t at = json.find(k, from);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << key << " in the dump";
        return -1e9;
    }
    std::string v = json.substr(at + k.size(), 24);
    if (v.compare(0, 4, "true") == 0) return 1;
    if (v.compare(0, 5, "false") == 0) return 0;
    return std::stod(v);
}

// Plays a whole recording against its trace (with `extra` options) and returns the state dump at
// the end, or "" after a failure. The recording's first line ("# seed N frames M [save ...]") gives
// the run its seed, length and starting progress; the test reads only M. `slack` more frames than
// recorded are allowed, so that a run that ends by the game's own quit shows it.
std::string PlayBack(const std::vector<std::string>& extra, long* frames, const std::string& file = BOT_REPLAY_FILE,
                     const std::string& traceFile = BOT_TRACE_FILE, long slack = 0) {
    std::string replay = testsupport::ReadFile(file);
    EXPECT_FALSE(replay.empty()) << file;
    unsigned seed = 0;
    *frames = 0;
    if (std::sscanf(replay.c_str(), "# seed %u frames %ld", &seed, frames) != 2 || *frames <= 0) {
        ADD_FAILURE() << file << ":1: expected \"# seed N frames M\"";
        return "";
    }
    std::string dir = testsupport::MakeTempDir("botreplay");
    EXPECT_FALSE(dir.empty());
    std::string dump = dir + "/state.json";
    std::vector<std::string> args = {"--replay",     file, "--data",        BRACKMOOR_DATA_DIR,
                                     "--dump-state", dump, "--check-trace", traceFile};
    if (slack > 0) args.insert(args.end(), {"--frames", std::to_string(*frames + slack)});
    args.insert(args.end(), extra.begin(), extra.end());
    testsupport::RunResult r = testsupport::RunHeadless(args);
    // A run that leaves the trace stops there with its file, line and frame.
    EXPECT_EQ(r.exitCode, 0) << r.output.substr(0, 2000);
    if (r.exitCode != 0) return "";
    std::string s = testsupport::ReadFile(dump);
    EXPECT_FALSE(s.empty()) << "no state dump";
    return s;
}

}  // namespace

// Render-free, as every whole-game check can afford to be: the same game frame for frame.
TEST(LevelOneReplay, TheRecordedRunBeatsTheCrabAgain) {
    long frames = 0;
    std::string s = PlayBack({"--no-render"}, &frames);
    ASSERT_FALSE(s.empty());
    ASSERT_GT(frames, 1000);

    EXPECT_EQ(Number(s, "frame"), frames);
    EXPECT_EQ(Number(s, "MainMenuOn"), 0) << "still in play";
    EXPECT_EQ(Number(s, "triggerCrabBoss"), 4) << "the crab came";
    EXPECT_EQ(Number(s, "lockScreen"), 0) << "the screen unlocked";
    EXPECT_EQ(s.find("\"CrabWalker\""), std::string::npos) << "the crab is gone";
    EXPECT_GE(Number(s, "Lives"), 0);
    size_t player = s.find("\"player\": {");
    ASSERT_NE(player, std::string::npos);
    EXPECT_LE(Number(s, "tY", player), -218) << "the player is up at the arena";
    EXPECT_EQ(Number(s, "dead", player), 0) << "and alive";
}

// The same recording drawn, every frame through the software renderer: drawing changes nothing in
// the game, so the drawn run follows the very trace the render-free one does. The first 3,000
// frames (the title, the first barrier, a corner turn, the flame thrower's notice) keep the check
// within a minute; BRACKMOOR_DRAWN_FRAMES=0 draws the whole run.
TEST(LevelOneReplay, DrawnPlaybackFollowsTheSameTrace) {
    const char* v = std::getenv("BRACKMOOR_DRAWN_FRAMES");
    const long limit = v ? std::atol(v) : 3000;
    long frames = 0;
    std::vector<std::string> extra;
    if (limit > 0) extra = {"--frames", std::to_string(limit)};
    std::string s = PlayBack(extra, &frames);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(Number(s, "frame"), limit > 0 && limit < frames ? limit : frames);
}

// Every other recording kept with its trace among the tests (name.replay beside name.trace) follows
// its trace render-free too, from its own first line alone: the level-2 run starts with level 2
// unlocked though the player's own progress (here a private one) has nothing unlocked, and that
// progress is neither read nor written by the playback.
TEST(RecordedRuns, EveryOtherRecordingFollowsItsTraceRenderFree) {
    namespace fs = std::filesystem;
    const std::string home = testsupport::MakeTempDir("player-home");
    ASSERT_FALSE(home.empty());
    ASSERT_TRUE(fs::create_directories(home + "/brackmoor"));
    ASSERT_TRUE(testsupport::WriteText(home + "/brackmoor/color.dat", "0"));
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string kept = old ? old : "";
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    int played = 0;
    for (const fs::directory_entry& f : fs::recursive_directory_iterator(BRACKMOOR_SOURCE_DIR "/tests")) {
        fs::path p = f.path();
        if (p.extension() != ".replay" || fs::equivalent(p, BOT_REPLAY_FILE) || fs::equivalent(p, BOT_REPLAY3_FILE))
            continue;
        fs::path trace = fs::path(p).replace_extension(".trace");
        if (!fs::exists(trace)) continue;
        SCOPED_TRACE(p.string());
        long frames = 0;
        EXPECT_FALSE(PlayBack({"--no-render"}, &frames, p.string(), trace.string()).empty());
        ++played;
    }
    if (old)
        setenv("XDG_DATA_HOME", kept.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    EXPECT_GE(played, 2) << "the whole game and level 2";
    EXPECT_EQ(testsupport::ReadFile(home + "/brackmoor/color.dat"), "0");
    EXPECT_FALSE(fs::exists(home + "/brackmoor/dist.dat"));
    std::error_code ec;
    fs::remove_all(home, ec);
}

// The level-3 bots' run: from the title's level choice (level 3 unlocked in the progress file)
// through the final boss and the credits; the game itself quits on the recorded key after them.
TEST(LevelThreeReplay, TheRecordedRunBeatsTheEyeAndQuitsAfterTheCredits) {
    long frames = 0;
    std::string s = PlayBack({"--no-render"}, &frames, BOT_REPLAY3_FILE, BOT_TRACE3_FILE, 500);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(Number(s, "frame"), frames) << "quit by the key after the credits";
    EXPECT_EQ(Number(s, "scenePhase"), 100);
    EXPECT_EQ(Number(s, "fadePerc"), 1);
    EXPECT_EQ(Number(s, "triggerBossFinal"), 2);
    EXPECT_GE(Number(s, "Lives"), 0);
}

// "Reduce flashing" changes only what the final boss's flicker looks like: the same recording
// follows the same trace with it on.
TEST(LevelThreeReplay, ReduceFlashingPlaysTheSameGame) {
    std::string dir = testsupport::MakeTempDir("flashing");
    ASSERT_FALSE(dir.empty());
    const std::string settings = dir + "/settings.ini";
    ASSERT_TRUE(testsupport::WriteText(settings, "reduce_flashing = yes\n"));
    long frames = 0;
    std::string s = PlayBack({"--no-render", "--settings", settings}, &frames, BOT_REPLAY3_FILE, BOT_TRACE3_FILE, 500);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(Number(s, "frame"), frames);
}
