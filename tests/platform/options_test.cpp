#include <gtest/gtest.h>

#include "platform/Options.h"

using namespace platform;

namespace {
ParseResult Parse(std::vector<std::string> args, Options* o) {
    std::vector<char*> argv;
    static std::vector<std::string> keep;
    keep = args;
    keep.insert(keep.begin(), "brackmoor");
    for (std::string& s : keep) argv.push_back(&s[0]);
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), o);
}
}  // namespace

TEST(Options, EveryOptionLandsInItsField) {
    Options o;
    ASSERT_EQ(Parse({"--seed",       "42",        "--frames",          "120",          "--replay",
                     "r.txt",        "--record",  "out.txt",           "--screenshot", "119:shot.png",
                     "--screenshot", "5:a:b.png", "--draw-shots-only", "--dump-state", "s.json",
                     "--data",       "d",         "--save-dir",        "sv",           "215"},
                    &o),
              ParseResult::Run);
    EXPECT_TRUE(o.haveSeed);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.frames, 120);
    EXPECT_EQ(o.replayFile, "r.txt");
    EXPECT_EQ(o.recordFile, "out.txt");
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(o.screenshots[0].frame, 119);
    EXPECT_EQ(o.screenshots[0].file, "shot.png");
    // Only the first colon separates the frame from the file name.
    EXPECT_EQ(o.screenshots[1].file, "a:b.png");
    EXPECT_TRUE(o.drawShotsOnly);
    EXPECT_EQ(o.dumpStateFile, "s.json");
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_EQ(o.saveDir, "sv");
    EXPECT_EQ(o.cmdLine, "215");
}

TEST(Options, BadValuesAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--seed"},
        {"--seed", "x"},
        {"--seed", "-1"},
        {"--frames", "-3"},
        {"--frames", "12a"},
        {"--screenshot", "12"},
        {"--screenshot", ":a"},
        {"--screenshot", "3:"},
        {"--scale", "0"},
        {"--bogus"},
        {"215", "216"},
        {"--draw-shots-only"},
        // One source of keys at a time.
        {"--autoplay", "--replay", "r.txt"},
        {"--replay", "r.txt", "--autoplay"},
    };
    for (const auto& args : bad) {
        Options o;
        EXPECT_EQ(Parse(args, &o), ParseResult::ExitError) << args[0];
    }
}

TEST(Options, NoRenderRunsButRefusesScreenshotsInEitherOrder) {
    Options o;
    ASSERT_EQ(Parse({"--no-render", "--replay", "r.txt"}, &o), ParseResult::Run);
    EXPECT_TRUE(o.noRender);
    EXPECT_FALSE(o.autoplay);
    Options a;
    ASSERT_EQ(Parse({"--autoplay", "--no-render"}, &a), ParseResult::Run);
    EXPECT_TRUE(a.autoplay);
    EXPECT_FALSE(Options().noRender);
    for (const auto& args : std::vector<std::vector<std::string>>{{"--no-render", "--screenshot", "3:a.png"},
                                                                  {"--screenshot", "3:a.png", "--no-render"}}) {
        Options r;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Parse(args, &r), ParseResult::ExitError) << args[0];
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("--screenshot cannot be used with --no-render"), std::string::npos) << err;
    }
}

TEST(Options, HelpAndVersionExitCleanly) {
    Options o;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Parse({"--help"}, &o), ParseResult::ExitOk);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("--screenshot"), std::string::npos);
    EXPECT_NE(out.find("--no-render"), std::string::npos);
    EXPECT_NE(out.find("--autoplay"), std::string::npos);
    testing::internal::CaptureStdout();
    EXPECT_EQ(Parse({"--version"}, &o), ParseResult::ExitOk);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("brackmoor"), std::string::npos);
}

TEST(Options, StartArgumentIsCutToTheEnginesBuffer) {
    Options o;
    ASSERT_EQ(Parse({std::string(400, '1')}, &o), ParseResult::Run);
    EXPECT_EQ(o.cmdLine.size(), 255u);
}
