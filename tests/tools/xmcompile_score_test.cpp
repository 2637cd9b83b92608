// The score language: what lands in which cell, and where faults are reported.
#include <gtest/gtest.h>

#include "score.h"

namespace {

const char* kHeader =
    "speed 6\n"
    "bpm 125\n"
    "channels 4\n"
    "instrument lead wave=pulse duty=25 volume=40\n"
    "instrument drum wave=noise envelope=0:64,4:0\n";

xm::Module Compile(const std::string& body) {
    xm::Module m;
    xm::ScoreError err;
    EXPECT_TRUE(xm::CompileScore(std::string(kHeader) + body, "t.song", m, err)) << err.Message();
    return m;
}

// Compiles a faulty score and returns "LINE: reason".
std::string Fault(const std::string& body) {
    xm::Module m;
    xm::ScoreError err;
    EXPECT_FALSE(xm::CompileScore(std::string(kHeader) + body, "t.song", m, err)) << body;
    EXPECT_EQ(err.file, "t.song");
    return std::to_string(err.line) + ": " + err.reason;
}

int LineOf(const std::string& fault) { return std::stoi(fault.substr(0, fault.find(':'))); }

const xm::Cell& At(const xm::Module& m, int pattern, int row, int channel) {
    static const xm::Cell kNone{0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // never matches: the score failed
    if (static_cast<size_t>(pattern) >= m.patterns.size()) return kNone;
    return m.patterns[pattern].cells[static_cast<size_t>(row) * m.channels + (channel - 1)];
}

TEST(Score, NotesLengthsRestsAndKeyOffs) {
    xm::Module m = Compile(
        "pattern a 16\n"
        "1 @lead c4:4 L2 e4 g4 | .:2 ^ c#5:4\n"
        "order a\n");
    ASSERT_EQ(m.patterns.size(), 1u);
    EXPECT_EQ(At(m, 0, 0, 1).note, 49);
    EXPECT_EQ(At(m, 0, 0, 1).instrument, 1);
    for (int r : {1, 2, 3, 5, 7, 8, 9, 11, 13, 14, 15}) EXPECT_TRUE(At(m, 0, r, 1).Empty()) << r;
    EXPECT_EQ(At(m, 0, 4, 1).note, 53);  // E-4 after four rows
    EXPECT_EQ(At(m, 0, 6, 1).note, 56);  // G-4, default length 2
    EXPECT_EQ(At(m, 0, 10, 1).note, xm::kKeyOff);
    EXPECT_EQ(At(m, 0, 10, 1).instrument, 0);
    EXPECT_EQ(At(m, 0, 12, 1).note, 62);  // C#5
    for (int ch = 2; ch <= 4; ++ch)
        for (int r = 0; r < 16; ++r) EXPECT_TRUE(At(m, 0, r, ch).Empty());
}

TEST(Score, EffectsAndVolumes) {
    xm::Module m = Compile(
        "pattern a 16\n"
        "1 @lead c4:3~34v20 V50 d4:2a37 e4x3 f4:2>1c g4d2 ^:7\n"
        "2 @drum c6:4\\4 .:4~25 c6:8/2\n"
        "order a\n");
    // vibrato on every row of the note, volume only on the first
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(At(m, 0, r, 1).effect, 4);
        EXPECT_EQ(At(m, 0, r, 1).param, 0x34);
    }
    EXPECT_EQ(At(m, 0, 0, 1).volume, 0x10 + 20);
    EXPECT_EQ(At(m, 0, 1, 1).volume, 0);
    // arpeggio on both rows, default volume from V50
    EXPECT_EQ(At(m, 0, 3, 1).note, 51);
    EXPECT_EQ(At(m, 0, 3, 1).volume, 0x10 + 50);
    EXPECT_EQ(At(m, 0, 4, 1).effect, 0);
    EXPECT_EQ(At(m, 0, 4, 1).param, 0x37);
    // note cut on the first row only
    EXPECT_EQ(At(m, 0, 5, 1).effect, 0xE);
    EXPECT_EQ(At(m, 0, 5, 1).param, 0xC3);
    // tone portamento slides the playing note: no instrument, so it is not retriggered
    EXPECT_EQ(At(m, 0, 6, 1).note, 54);
    EXPECT_EQ(At(m, 0, 6, 1).instrument, 0);
    EXPECT_EQ(At(m, 0, 6, 1).effect, 3);
    EXPECT_EQ(At(m, 0, 7, 1).param, 0x1C);
    EXPECT_EQ(At(m, 0, 8, 1).effect, 0xE);
    EXPECT_EQ(At(m, 0, 8, 1).param, 0xD2);
    EXPECT_EQ(At(m, 0, 9, 1).note, xm::kKeyOff);
    EXPECT_EQ(At(m, 0, 9, 1).volume, 0);  // the default volume is for notes, not key-offs
    // slides down and up, and vibrato on held rows
    EXPECT_EQ(At(m, 0, 3, 2).effect, 0xA);
    EXPECT_EQ(At(m, 0, 3, 2).param, 0x04);
    EXPECT_EQ(At(m, 0, 4, 2).note, 0);
    EXPECT_EQ(At(m, 0, 4, 2).param, 0x25);
    EXPECT_EQ(At(m, 0, 15, 2).param, 0x20);
}

TEST(Score, PhrasesRepeatsAndTransposition) {
    xm::Module m = Compile(
        "phrase up c4 e4\n"
        "phrase twice [$up]2\n"
        "pattern a 16\n"
        "1 @lead $twice+2 [g4:2 $up-12]2 .:4\n"
        "2 @drum [c5 [d5 e5]2]2 c5\n"
        "   \n"
        "2 f5 f5 f5 f5 f5\n"
        "order a\n");
    const int expect1[] = {51, 55, 51, 55, 56, 0, 37, 41, 56, 0, 37, 41, 0, 0, 0, 0};
    for (int r = 0; r < 16; ++r) EXPECT_EQ(At(m, 0, r, 1).note, expect1[r]) << r;
    const int expect2[] = {61, 63, 65, 63, 65, 61, 63, 65, 63, 65, 61, 66, 66, 66, 66, 66};
    for (int r = 0; r < 16; ++r) EXPECT_EQ(At(m, 0, r, 2).note, expect2[r]) << r;
}

TEST(Score, PatternCopiesAndOrderList) {
    xm::Module m = Compile(
        "pattern a 8\n"
        "1 @lead c4:8\n"
        "2 @drum [c6:2]4\n"
        "pattern b like a\n"
        "1 @lead d4:8\n"
        "restart 2\n"
        "order a [b a]2 b\n");
    ASSERT_EQ(m.patterns.size(), 2u);
    EXPECT_EQ(m.patterns[1].rows, 8);
    EXPECT_EQ(At(m, 1, 0, 1).note, 51);  // replaced
    EXPECT_EQ(At(m, 1, 2, 2).note, 73);  // copied
    EXPECT_EQ(At(m, 0, 0, 1).note, 49);  // the original is untouched
    std::vector<uint8_t> order = {0, 1, 0, 1, 0, 1};
    EXPECT_EQ(m.order, order);
    EXPECT_EQ(m.restart, 2);
    EXPECT_EQ(m.TotalRows(), 48);
    EXPECT_DOUBLE_EQ(m.LengthSeconds(), 48 * 6 * 2.5 / 125);
    // pattern c copies a's channels but only has 4 rows: its channels no longer fit
    xm::ScoreError err;
    xm::Module bad;
    EXPECT_FALSE(xm::CompileScore(std::string(kHeader) + "pattern a 8\n1 @lead c4:8\npattern c 4 like a\norder c\n",
                                  "t.song", bad, err));
}

TEST(Score, SharpsAreNotComments) {
    xm::Module m = Compile("pattern a 2  # two rows\n1 @lead f#4 c#5 # a comment\norder a\n");
    EXPECT_EQ(At(m, 0, 0, 1).note, 55);
    EXPECT_EQ(At(m, 0, 1, 1).note, 62);
}

TEST(Score, InstrumentSettings) {
    xm::Module m = Compile(
        "instrument pad wave=saw bits=16 volume=33 pan=10 transpose=-12 finetune=5 "
        "envelope=0:0,10:64,20:32,30:0 sustain=2 loop=1-2 fadeout=99\n"
        "pattern a 1\n1 @pad c4\norder a\n");
    ASSERT_EQ(m.instruments.size(), 3u);
    const xm::Instrument& pad = m.instruments[2];
    EXPECT_EQ(At(m, 0, 0, 1).instrument, 3);
    EXPECT_EQ(pad.volumeEnvelope.points.size(), 4u);
    EXPECT_EQ(pad.volumeEnvelope.sustain, 2);
    EXPECT_EQ(pad.volumeEnvelope.loopStart, 1);
    EXPECT_EQ(pad.volumeEnvelope.loopEnd, 2);
    EXPECT_EQ(pad.fadeout, 99);
    const xm::Sample& s = pad.samples[0];
    EXPECT_TRUE(s.sixteenBit);
    EXPECT_EQ(s.volume, 33);
    EXPECT_EQ(s.panning, 10);
    EXPECT_EQ(s.finetune, 5);
    EXPECT_EQ(s.relativeNote, m.instruments[0].samples[0].relativeNote - 12);
    EXPECT_GT(*std::max_element(s.data.begin(), s.data.end()), 127);
}

TEST(Score, FaultsNameTheRightLine) {
    // header is 5 lines, so the body starts on line 6
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:2\norder a\n")), 7);          // fills 2 of 4
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:2\n1 d4:4\norder a\n")), 8);  // runs past the end
    EXPECT_EQ(LineOf(Fault("tempo 5\n")), 6);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 c4:4\norder a\n")), 7);  // no instrument yet
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @nope c4:4\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n\n1 @lead h4:4\norder a\n")), 8);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4q\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4~3\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4~34a37\norder a\n")), 7);  // two effects
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4v65\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4a00\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead [c4:2\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4]2\norder a\n")), 7);
    // the loop is reported where it closes
    EXPECT_EQ(LineOf(Fault("phrase p c4 $q\nphrase q $p\npattern a 4\n1 @lead $p c4:2\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("phrase p c4\npattern a 4\n1 @lead $p+90 c4:3\norder a\n")), 6);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead $nothing\norder a\n")), 7);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n5 @lead c4:4\norder a\n")), 7);  // only 4 channels
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4\norder a b\n")), 8);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4\norder a\norder a\n")), 9);
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4\npattern a 4\norder a\n")), 8);
    EXPECT_EQ(LineOf(Fault("restart 3\npattern a 4\n1 @lead c4:4\norder a a\n")), 6);
    EXPECT_EQ(LineOf(Fault("1 @lead c4\n")), 6);  // channel line outside a pattern
    EXPECT_EQ(LineOf(Fault("instrument x wave=organ\n")), 6);
    EXPECT_EQ(LineOf(Fault("instrument x wave=sine envelope=0:64,0:10\n")), 6);
    EXPECT_EQ(LineOf(Fault("instrument x wave=sine envelope=5:64\n")), 6);
    EXPECT_EQ(LineOf(Fault("instrument x wave=sine envelope=0:64 sustain=3\n")), 6);
    EXPECT_EQ(LineOf(Fault("instrument x duty=20\n")), 6);       // no wave
    EXPECT_EQ(LineOf(Fault("instrument lead wave=sine\n")), 6);  // defined twice
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead ^:4x1\norder a\n")), 7);
    EXPECT_NE(Fault("pattern a 4\n1 @lead c4:2\norder a\n").find("fills 2 of 4"), std::string::npos);
    // faults that belong to the whole file still name the last line
    EXPECT_EQ(LineOf(Fault("pattern a 4\n1 @lead c4:4\n")), 7);  // no order list
    EXPECT_EQ(LineOf(Fault("")), 5);                             // no pattern
}

TEST(Score, ErrorMessageFormat) {
    xm::ScoreError e{"music/x.song", 12, "bad thing"};
    EXPECT_EQ(e.Message(), "music/x.song:12: bad thing");
}

}  // namespace
