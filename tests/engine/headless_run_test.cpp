// The headless game as a player's tools see it: options, screenshots, state dumps, replays.
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "support/TestSupport.h"

using testsupport::RunHeadless;

class HeadlessRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempDir("run");
        ASSERT_FALSE(dir.empty());
    }
    std::vector<std::string> Base(const std::string& tag) {
        return {"--seed", "1", "--data", BRACKMOOR_DATA_DIR, "--save-dir", dir + "/save-" + tag};
    }
    std::string dir;
};

TEST_F(HeadlessRun, WritesTheScreenshotAndTheStateDump) {
    auto args = Base("a");
    // Broken settings and progress are each named once, and the game plays on with the defaults.
    ASSERT_TRUE(testsupport::WriteText(dir + "/settings.ini", "mute = yes\nvolume = 3\n"));
    ASSERT_EQ(mkdir((dir + "/save-a").c_str(), 0755), 0);
    ASSERT_TRUE(testsupport::WriteText(dir + "/save-a/color.dat", "9"));
    for (std::string a : {std::string("--settings"), dir + "/settings.ini"}) args.push_back(a);
    for (const char* a : {"--frames", "120", "--screenshot"}) args.push_back(a);
    args.push_back("119:" + dir + "/shot.png");
    args.push_back("--screenshot");
    args.push_back("500:" + dir + "/never.png");
    args.push_back("--dump-state");
    args.push_back(dir + "/state.json");
    auto r = RunHeadless(args);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    SDL_Surface* s = IMG_Load((dir + "/shot.png").c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 640);
    EXPECT_EQ(s->h, 480);
    SDL_FreeSurface(s);
    // A frame the run never reaches writes nothing.
    EXPECT_TRUE(testsupport::ReadFile(dir + "/never.png").empty());
    std::string json = testsupport::ReadFile(dir + "/state.json");
    EXPECT_NE(json.find("\"frame\": 120"), std::string::npos) << json;
    EXPECT_NE(json.find("\"seed\": 1"), std::string::npos) << json;
    for (const char* key : {"\"scrollY\"", "\"rotx\"", "\"fadePerc\"", "\"unlockFile\": 0"})
        EXPECT_NE(json.find(key), std::string::npos) << key;
    auto count = [&](const std::string& what) {
        int n = 0;
        for (size_t at = r.output.find(what); at != std::string::npos; at = r.output.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("settings.ini:2: unknown setting 'volume'"), 1) << r.output;
    EXPECT_EQ(count("color.dat:1: '9' is not an unlocked level"), 1) << r.output;
    EXPECT_EQ(testsupport::ReadFile(dir + "/save-a/color.dat"), "9");
}

TEST_F(HeadlessRun, SameSeedAndInputGiveTheSameRun) {
    std::string replay = dir + "/in.txt";
    testsupport::WriteText(replay, "5 ENTER down\n9 ENTER up\n40 UP down\n70 UP up\n80 X down\n90 X up\n");
    std::string dumps[2], shots[2];
    for (int i = 0; i < 2; ++i) {
        auto args = Base("same" + std::to_string(i));
        std::string n = std::to_string(i);
        for (std::string a :
             {std::string("--frames"), std::string("150"), std::string("--replay"), replay, std::string("--screenshot"),
              "149:" + dir + "/s" + n + ".png", std::string("--dump-state"), dir + "/d" + n + ".json"})
            args.push_back(a);
        auto r = RunHeadless(args);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        dumps[i] = testsupport::ReadFile(dir + "/d" + n + ".json");
        shots[i] = testsupport::ReadFile(dir + "/s" + n + ".png");
    }
    EXPECT_FALSE(dumps[0].empty());
    EXPECT_EQ(dumps[0], dumps[1]);
    EXPECT_EQ(shots[0], shots[1]);
}

TEST_F(HeadlessRun, AStateTraceNamesTheFirstFrameThatDiffers) {
    std::string replay = dir + "/in.txt";
    testsupport::WriteText(replay, "5 ENTER down\n9 ENTER up\n40 UP down\n70 UP up\n");
    auto run = [&](const std::string& tag, const std::string& seed, const std::vector<std::string>& more) {
        std::vector<std::string> args = {"--seed",       seed,
                                         "--data",       BRACKMOOR_DATA_DIR,
                                         "--save-dir",   dir + "/save-" + tag,
                                         "--frames",     "150",
                                         "--replay",     replay,
                                         "--dump-state", dir + "/" + tag + ".json"};
        args.insert(args.end(), more.begin(), more.end());
        return RunHeadless(args);
    };
    std::string trace = dir + "/run.trace";
    auto r = run("rec", "1", {"--trace", trace});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::string text = testsupport::ReadFile(trace);
    ASSERT_NE(text.find("\n149 "), std::string::npos) << "one line per frame";
    EXPECT_EQ(text.find("\n150 "), std::string::npos);

    r = run("same", "1", {"--check-trace", trace});
    EXPECT_EQ(r.exitCode, 0) << r.output;

    // Another seed differs from the first frame on.
    r = run("seed", "2", {"--check-trace", trace});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find(trace + ":2: the run diverged from the trace at frame 0"), std::string::npos) << r.output;

    // One frame's state changed in the trace: the run stops right after that frame.
    size_t at = text.find("\n100 ");
    ASSERT_NE(at, std::string::npos);
    text[at + 5] = text[at + 5] == '0' ? '1' : '0';
    std::string tampered = dir + "/tampered.trace";
    testsupport::WriteText(tampered, text);
    r = run("tampered", "1", {"--check-trace", tampered});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find(tampered + ":102: the run diverged from the trace at frame 100"), std::string::npos)
        << r.output;
    EXPECT_NE(testsupport::ReadFile(dir + "/tampered.json").find("\"frame\": 101"), std::string::npos);

    // A broken trace stops the run before its first frame, like a broken replay.
    testsupport::WriteText(tampered, "0 nothex\n");
    r = run("broken", "1", {"--check-trace", tampered});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find(tampered + ":1:"), std::string::npos) << r.output;
}

TEST_F(HeadlessRun, ABadReplayStopsBeforeTheFirstFrame) {
    std::string replay = dir + "/bad.txt";
    testsupport::WriteText(replay, "0 UP down\n\n3 JUMP down\n");
    auto args = Base("bad");
    for (std::string a : {std::string("--replay"), replay, std::string("--dump-state"), dir + "/never.json"})
        args.push_back(a);
    auto r = RunHeadless(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find(replay + ":3: unknown key 'JUMP'"), std::string::npos) << r.output;
    EXPECT_TRUE(testsupport::ReadFile(dir + "/never.json").empty());
}

// A recording starts with what the run started from (seed, length, progress), so that it plays
// back the same game with nothing else given, on a scratch copy of that progress.
TEST_F(HeadlessRun, ARecordingCarriesItsStartAndPlaysBackAlone) {
    std::string replay = dir + "/in.txt";
    testsupport::WriteText(replay, "2 LEFT down\n6 LEFT up\n");
    auto args = Base("rec");
    ASSERT_EQ(mkdir((dir + "/save-rec").c_str(), 0700), 0);
    ASSERT_TRUE(testsupport::WriteText(dir + "/save-rec/color.dat", "1"));
    for (std::string a : {std::string("--frames"), std::string("10"), std::string("--replay"), replay,
                          std::string("--record"), dir + "/out.txt", std::string("--trace"), dir + "/out.trace"})
        args.push_back(a);
    auto r = RunHeadless(args);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::string rec = testsupport::ReadFile(dir + "/out.txt");
    EXPECT_EQ(rec.compare(0, 36, "# seed 1 frames 10 save color.dat=1\n"), 0) << rec;
    EXPECT_NE(rec.find("2 LEFT down\n6 LEFT up\n"), std::string::npos) << rec;
    r = RunHeadless({"--data", BRACKMOOR_DATA_DIR, "--replay", dir + "/out.txt", "--check-trace", dir + "/out.trace",
                     "--dump-state", dir + "/back.json"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(testsupport::ReadFile(dir + "/back.json").find("\"frame\": 10,"), std::string::npos);
    // A header that is not one stops the run before its first frame.
    testsupport::WriteText(replay, "# seed 1 save ../x=1\n");
    r = RunHeadless({"--data", BRACKMOOR_DATA_DIR, "--replay", replay});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find(replay + ":1:"), std::string::npos) << r.output;
}

TEST_F(HeadlessRun, MissingDataFolderAndBadOptionsFailClearly) {
    auto r = RunHeadless({"--data", dir + "/nowhere", "--frames", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("nowhere"), std::string::npos) << r.output;
    r = RunHeadless({"--frames"});
    EXPECT_EQ(r.exitCode, 2);
    r = RunHeadless({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.output.find("--dump-state"), std::string::npos);
}

TEST_F(HeadlessRun, WithoutAnAudioDeviceTheGameRunsSilently) {
    auto args = Base("mute");
    for (std::string a : {std::string("--frames"), std::string("30"), std::string("--dump-state"), dir + "/m.json"})
        args.push_back(a);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    auto r = RunHeadless(args);
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Could Not Open SDL_Mixer!"), std::string::npos) << r.output;
    // Every sound and track is silent, without a message for each.
    EXPECT_EQ(r.output.find("Could not load sound"), std::string::npos) << r.output;
    EXPECT_NE(testsupport::ReadFile(dir + "/m.json").find("\"frame\": 30"), std::string::npos);
}

// --draw-shots-only draws just the saved frames, and --verbose tells the GL work of the frames
// drawn: a frame of the first level (a few hundred tiles, sprites and glyphs) takes a few dozen
// draw calls, not one per quad.
TEST_F(HeadlessRun, DrawnFramesAreCountedAndBatched) {
    auto args = Base("v");
    for (const char* a : {"--replay", BRACKMOOR_SOURCE_DIR "/scripts/first_corner.replay", "--frames", "1051",
                          "--draw-shots-only", "--verbose", "--screenshot"})
        args.push_back(a);
    args.push_back("1000:" + dir + "/a.png");
    args.push_back("--screenshot");
    args.push_back("1050:" + dir + "/b.png");
    auto r = RunHeadless(args);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_FALSE(testsupport::ReadFile(dir + "/a.png").empty());
    EXPECT_FALSE(testsupport::ReadFile(dir + "/b.png").empty());
    double drawMean = 0, quadMean = 0;
    long drawWorst = 0, quadWorst = 0, frames = 0;
    size_t d = r.output.find("GL draw calls per frame:");
    size_t q = r.output.find("quads per frame:");
    ASSERT_NE(d, std::string::npos) << r.output;
    ASSERT_NE(q, std::string::npos) << r.output;
    ASSERT_EQ(std::sscanf(r.output.c_str() + d, "GL draw calls per frame: mean %lf, worst %ld (%ld drawn frames)",
                          &drawMean, &drawWorst, &frames),
              3)
        << r.output;
    ASSERT_EQ(std::sscanf(r.output.c_str() + q, "quads per frame: mean %lf, worst %ld", &quadMean, &quadWorst), 2);
    EXPECT_EQ(frames, 2) << "only the saved frames are drawn";
    EXPECT_GT(quadMean, 200);
    EXPECT_GT(drawWorst, 0);
    EXPECT_LT(drawWorst * 5, quadWorst) << r.output;
}
