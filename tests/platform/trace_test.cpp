#include <gtest/gtest.h>

#include <cstdio>

#include "platform/StateTrace.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {
std::string ParseError(const std::string& text) {
    std::vector<TraceEntry> entries;
    std::string err;
    EXPECT_FALSE(ParseTraceText(text, "t.trace", &entries, &err)) << text;
    EXPECT_TRUE(entries.empty()) << "a broken trace is not half loaded";
    return err;
}
}  // namespace

TEST(StateTrace, ReadsWhatItWritesWithCommentsAndWindowsLineEnds) {
    std::string text = "# header\n" + FormatTraceLine(0, 0) + FormatTraceLine(1, 0xFFFFFFFFFFFFFFFFULL) + "\n" +
                       "  # indented comment\r\n" + "7 00000000000000aB\r\n";
    std::vector<TraceEntry> e;
    std::string err;
    ASSERT_TRUE(ParseTraceText(text, "t", &e, &err)) << err;
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[1].frame, 1);
    EXPECT_EQ(e[1].hash, 0xFFFFFFFFFFFFFFFFULL) << "all 64 bits survive the round trip";
    EXPECT_EQ(e[1].line, 3);
    EXPECT_EQ(e[2].frame, 7);
    EXPECT_EQ(e[2].hash, 0xABu);
    EXPECT_EQ(e[2].line, 6);
}

TEST(StateTrace, BadLinesNameFileAndLine) {
    EXPECT_EQ(ParseError(FormatTraceLine(0, 1) + "1\n"), "t.trace:2: expected FRAME HASH, got '1'");
    EXPECT_EQ(ParseError("-1 ab\n"), "t.trace:1: '-1' is not a frame number");
    EXPECT_EQ(ParseError("1 0x12345678901234\n"), "t.trace:1: '0x12345678901234' is not a hash of 16 hex digits");
    EXPECT_EQ(ParseError("1 123456789012345\n"), "t.trace:1: '123456789012345' is not a hash of 16 hex digits");
    EXPECT_EQ(ParseError("1 11112222333344445\n"), "t.trace:1: '11112222333344445' is not a hash of 16 hex digits");
    EXPECT_EQ(ParseError("1 000000000000000a cd\n"), "t.trace:1: unexpected 'cd' after the hash");
    EXPECT_EQ(ParseError(FormatTraceLine(5, 1) + FormatTraceLine(5, 2)),
              "t.trace:2: frame 5 does not come after frame 5");
    EXPECT_EQ(ParseError(FormatTraceLine(5, 1) + FormatTraceLine(4, 2)),
              "t.trace:2: frame 4 does not come after frame 5");
    EXPECT_EQ(ParseError("99999999999999 000000000000000a\n"), "t.trace:1: '99999999999999' is not a frame number");
}

TEST(StateTrace, FilesThatAreNotTracesAreRefused) {
    std::string dir = testsupport::MakeTempDir("trace");
    ASSERT_FALSE(dir.empty());
    std::vector<TraceEntry> e;
    std::string err;
    EXPECT_FALSE(LoadTraceFile(dir + "/missing.trace", &e, &err));
    EXPECT_EQ(err, dir + "/missing.trace:0: cannot open the trace file");

    testsupport::WriteText(dir + "/binary.trace", std::string("0 1\n\0\x01\x02", 7));
    EXPECT_FALSE(LoadTraceFile(dir + "/binary.trace", &e, &err));
    EXPECT_EQ(err, dir + "/binary.trace:2: not a text file") << "the line of the first NUL";

    // Cut short in the middle of a hash.
    std::string good = FormatTraceLine(0, 0x1234) + FormatTraceLine(1, 0x5678);
    testsupport::WriteText(dir + "/cut.trace", good.substr(0, good.size() - 3));
    EXPECT_FALSE(LoadTraceFile(dir + "/cut.trace", &e, &err));
    EXPECT_EQ(err, dir + "/cut.trace:2: '00000000000056' is not a hash of 16 hex digits");
    testsupport::WriteText(dir + "/whole.trace", good);
    ASSERT_TRUE(LoadTraceFile(dir + "/whole.trace", &e, &err)) << err;
    EXPECT_EQ(e.size(), 2u);

    std::string huge(65L * 1024 * 1024, '#');
    testsupport::WriteText(dir + "/huge.trace", huge);
    EXPECT_FALSE(LoadTraceFile(dir + "/huge.trace", &e, &err));
    EXPECT_EQ(err, dir + "/huge.trace:0: too large for a trace file");
    std::remove((dir + "/huge.trace").c_str());
}

TEST(StateTrace, TheCheckerStopsAtTheFirstDifferentFrameAndSkipsFramesItDoesNotHold) {
    std::vector<TraceEntry> e;
    std::string err;
    std::string text = "# h\n";
    for (long f : {0, 1, 3, 4}) text += FormatTraceLine(f, static_cast<unsigned long long>(0xa + f));
    ASSERT_TRUE(ParseTraceText(text, "t", &e, &err)) << err;
    TraceChecker c("t", e);
    EXPECT_TRUE(c.Check(0, 0xa, &err));
    EXPECT_TRUE(c.Check(1, 0xb, &err));
    EXPECT_TRUE(c.Check(2, 0x999, &err)) << "frame 2 is not in the trace";
    EXPECT_FALSE(c.Check(4, 0xf, &err)) << "frame 3 was never reached, frame 4 differs";
    EXPECT_EQ(err, "t:5: the run diverged from the trace at frame 4 (expected 000000000000000e, got 000000000000000f)");
    EXPECT_TRUE(c.Check(5, 0x1, &err)) << "past the end of the trace nothing is compared";
    EXPECT_EQ(c.Compared(), 3);
}

TEST(StateTrace, TheHashSeesEveryByteAndItsOrder) {
    EXPECT_NE(HashText("ab"), HashText("ba"));
    EXPECT_NE(HashText(std::string("a\0", 2)), HashText("a"));
    EXPECT_EQ(HashText("b", HashText("a")), HashText("ab"));
}
