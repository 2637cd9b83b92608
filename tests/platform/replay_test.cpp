#include <gtest/gtest.h>

#include "platform/Replay.h"
#include "platform/ReplayHeader.h"
#include "platform/win32.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {
std::string ParseError(const std::string& text) {
    std::vector<ReplayEvent> ev;
    std::string err;
    EXPECT_FALSE(ParseReplayText(text, "r.txt", &ev, &err)) << text;
    EXPECT_TRUE(ev.empty()) << "events before the fault are dropped too: " << text;
    return err;
}
}  // namespace

TEST(Replay, ParsesKeysCommentsAndBlankLines) {
    std::vector<ReplayEvent> ev;
    std::string err;
    // Comments, blank lines and Windows line ends are allowed; lower-case letters are not key names.
    EXPECT_FALSE(
        ParseReplayText("# start\n\n0 ENTER down\n3 ENTER up # let go\r\n3 X down\n10 z up\n", "r", &ev, &err));
    EXPECT_EQ(err, "r:6: unknown key 'z'");
    ev.clear();
    err.clear();
    ASSERT_TRUE(ParseReplayText("# start\n0 ENTER down\r\n3 ENTER up # let go\n3 X down\n\n9 LEFT down\n9 7 up\n", "r",
                                &ev, &err))
        << err;
    ASSERT_EQ(ev.size(), 5u);
    EXPECT_EQ(ev[0].vk, VK_RETURN);
    EXPECT_TRUE(ev[0].down);
    EXPECT_EQ(ev[2].vk, 'X');
    EXPECT_EQ(ev[3].vk, VK_LEFT);
    EXPECT_EQ(ev[4].vk, '7');
    EXPECT_FALSE(ev[4].down);
}

TEST(Replay, BadLinesNameFileAndLine) {
    EXPECT_EQ(ParseError("0 ENTER down\n1 ENTER\n"), "r.txt:2: expected 'FRAME KEY down|up'");
    EXPECT_EQ(ParseError("x ENTER down\n"), "r.txt:1: frame 'x' is not a number of frames");
    EXPECT_EQ(ParseError("-1 ENTER down\n"), "r.txt:1: frame '-1' is not a number of frames");
    EXPECT_EQ(ParseError("5 UP down\n4 UP up\n"), "r.txt:2: frame 4 comes before frame 5");
    EXPECT_EQ(ParseError("1 SPACE down\n"), "r.txt:1: unknown key 'SPACE'");
    EXPECT_EQ(ParseError("1 UP pressed\n"), "r.txt:1: key state must be 'down' or 'up', not 'pressed'");
    EXPECT_EQ(ParseError("1 UP down now\n"), "r.txt:1: unexpected 'now' after the key state");
    EXPECT_EQ(ParseError("99999999999999999999 UP down\n"),
              "r.txt:1: frame '99999999999999999999' is not a number of frames");
}

TEST(Replay, MissingAndBinaryFilesAreErrors) {
    std::vector<ReplayEvent> ev;
    std::string err;
    EXPECT_FALSE(LoadReplayFile("/nonexistent/replay.txt", &ev, &err));
    EXPECT_EQ(err, "/nonexistent/replay.txt:0: cannot open the replay file");
    std::string dir = testsupport::MakeTempDir("replay");
    std::string bin = dir + "/bin.txt";
    testsupport::WriteText(bin, std::string("0 UP down\n\0\x01\x02", 13));
    EXPECT_FALSE(LoadReplayFile(bin, &ev, &err));
    EXPECT_EQ(err, bin + ":2: not a text file");
}

TEST(Replay, PlayerAppliesEachFramesEventsOnce) {
    ReplayPlayer p({{0, 'X', true}, {2, 'X', false}, {2, VK_UP, true}, {5, VK_UP, false}});
    std::vector<std::pair<long, int>> seen;
    for (long f = 0; f < 8; ++f) p.ApplyFrame(f, [&](int vk, bool) { seen.push_back({f, vk}); });
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], std::make_pair(0L, int('X')));
    EXPECT_EQ(seen[1], std::make_pair(2L, int('X')));
    EXPECT_EQ(seen[2], std::make_pair(2L, VK_UP));
    EXPECT_EQ(seen[3], std::make_pair(5L, VK_UP));
    EXPECT_TRUE(p.Finished());
}

TEST(Replay, RecorderDropsAutoRepeatAndRoundTrips) {
    ReplayRecorder r;
    r.Key(0, VK_RIGHT, true);
    r.Key(1, VK_RIGHT, true);  // auto-repeat
    r.Key(4, VK_RIGHT, false);
    r.Key(4, VK_F11, true);  // not a game key
    r.Key(6, 'C', false);    // a release never pressed
    r.Key(7, 'C', true);
    ASSERT_EQ(r.Events().size(), 3u);
    std::string text = FormatReplay(r.Events());
    std::vector<ReplayEvent> back;
    std::string err;
    ASSERT_TRUE(ParseReplayText(text, "rec", &back, &err)) << err;
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].frame, r.Events()[i].frame);
        EXPECT_EQ(back[i].vk, r.Events()[i].vk);
        EXPECT_EQ(back[i].down, r.Events()[i].down);
    }
}

// A recording's first line names its seed, length and starting progress; it round-trips, and a
// header that names anything else (another file, a path, text a progress file cannot hold) is
// refused with the file and line, so a shared recording can only ever write the two progress files.
TEST(Replay, TheHeaderNamesSeedFramesAndProgressAndNothingElse) {
    ReplayHeader h;
    std::string err;
    ASSERT_TRUE(
        ParseReplayHeader("# seed 3 frames 19842 save color.dat=2 save dist.dat=4,3\n0 X down\n", "r", &h, &err))
        << err;
    EXPECT_TRUE(h.haveSeed);
    EXPECT_EQ(h.seed, 3u);
    EXPECT_EQ(h.frames, 19842);
    ASSERT_EQ(h.save.size(), 2u);
    EXPECT_EQ(h.save[1].second, "4,3");
    EXPECT_EQ(FormatReplayHeader(h), "# seed 3 frames 19842 save color.dat=2 save dist.dat=4,3\n");
    ASSERT_TRUE(ParseReplayHeader("# a plain comment\n", "r", &h, &err));
    EXPECT_FALSE(h.haveSeed) << "an older recording names nothing";
    EXPECT_EQ(h.frames, -1);
    for (const char* bad : {"# seed x frames 1", "# seed 1 frames -4", "# seed 1 frames", "# seed 1 colour 2",
                            "# seed 1 save ../color.dat=1", "# seed 1 save settings.ini=1", "# seed 1 save color.dat=a",
                            "# seed 99999999999 frames 1"}) {
        EXPECT_FALSE(ParseReplayHeader(bad, "r", &h, &err)) << bad;
        EXPECT_EQ(err.compare(0, 4, "r:1:"), 0) << err;
    }
    // The scratch progress folder holds the named files, line breaks restored, and goes away.
    const std::string dir = MakeScratchSaveDir({{"color.dat", "2"}, {"dist.dat", "4,3"}});
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(testsupport::ReadFile(dir + "/dist.dat"), "4\n3");
    EXPECT_EQ(ReadSaveWords(dir),
              (std::vector<std::pair<std::string, std::string>>{{"color.dat", "2"}, {"dist.dat", "4,3"}}));
    RemoveScratchSaveDir(dir);
    EXPECT_FALSE(testsupport::WriteText(dir + "/x", "")) << "the folder is gone";
}
