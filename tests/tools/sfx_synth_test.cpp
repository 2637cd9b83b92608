#include "synth.h"
#include "wav.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using sfx::ParseError;
using sfx::Sound;
using sfx::Voice;

namespace {

Sound parseText(const std::string& text, const std::string& name = "test.sfx") {
    std::istringstream in(text);
    return sfx::parse(in, name);
}

// Counts sign changes from negative to positive in [from, to): one per period of a clean tone.
int upCrossings(const std::vector<float>& s, std::size_t from, std::size_t to) {
    int n = 0;
    for (std::size_t i = std::max<std::size_t>(from, 1); i < to && i < s.size(); ++i)
        if (s[i - 1] < 0 && s[i] >= 0) ++n;
    return n;
}

double rms(const std::vector<float>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    to = std::min(to, s.size());
    for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

double peak(const std::vector<float>& s, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    double p = 0;
    to = std::min(to, s.size());
    for (std::size_t i = from; i < to; ++i) p = std::max(p, double(std::fabs(s[i])));
    return p;
}

fs::path scratchDir(const std::string& name) {
    fs::path d = fs::path(BRACKMOOR_BINARY_DIR) / "tests" / "sfx_scratch" / name;
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

}  // namespace

// ---------------------------------------------------------------- parsing

TEST(SfxParse, ReadsEverySettingIntoItsVoice) {
    Sound s = parseText(
        "# header comment\n"
        "gain 0.5\n"
        "normalize 0.8\n"
        "[voice lead]\n"
        "WAVE saw        # keys are case-insensitive\n"
        "#freq 100 (a comment at the start of a line)\n"
        "freq C#5\n"
        "slide -2.5\n"
        "arp 0.2 7\n"
        "arp 0.1 4\n"
        "attack 0.01\nsustain 0.2\ndecay 0.3\npunch 0.5\n"
        "lowpass 1200\nresonance 0.5\nstart 0.25\nseed 99\n"
        "[voice]\n"
        "wave noise\n"
        "freq 300\n");
    EXPECT_DOUBLE_EQ(s.gain, 0.5);
    EXPECT_DOUBLE_EQ(s.normalize, 0.8);
    ASSERT_EQ(s.voices.size(), 2u);
    const Voice& a = s.voices[0];
    EXPECT_EQ(a.name, "lead");
    EXPECT_EQ(a.line, 4);
    EXPECT_EQ(s.voices[1].line, 19);
    EXPECT_EQ(a.wave, sfx::Wave::Saw);
    EXPECT_NEAR(a.freq, 554.365, 0.01);
    EXPECT_DOUBLE_EQ(a.slide, -2.5);
    ASSERT_EQ(a.arp.size(), 2u);
    EXPECT_DOUBLE_EQ(a.arp[0].time, 0.1);  // steps are put in time order
    EXPECT_DOUBLE_EQ(a.arp[1].semitones, 7);
    EXPECT_DOUBLE_EQ(a.punch, 0.5);
    EXPECT_DOUBLE_EQ(a.lowpass, 1200);
    EXPECT_DOUBLE_EQ(a.start, 0.25);
    EXPECT_EQ(a.seed, 99u);
    // the second voice keeps the defaults it was not given, and its own seed
    const Voice& b = s.voices[1];
    EXPECT_EQ(b.wave, sfx::Wave::Noise);
    EXPECT_DOUBLE_EQ(b.sustain, 0.1);
    EXPECT_DOUBLE_EQ(b.volume, 1.0);
    EXPECT_EQ(b.seed, 2u);
}

struct BadSource {
    const char* text;
    int line;
    const char* reason;  // a piece of the expected reason
};

// How a case reads in the test log.
void PrintTo(const BadSource& b, std::ostream* os) {
    *os << "line " << b.line << " of \"";
    for (const char* c = b.text; *c; ++c) *os << (*c == '\n' ? std::string("\\n") : std::string(1, *c));
    *os << "\" should say \"" << b.reason << "\"";
}

class SfxParseErrors : public ::testing::TestWithParam<BadSource> {};

TEST_P(SfxParseErrors, NameTheFileAndLine) {
    const BadSource& b = GetParam();
    try {
        parseText(b.text, "sounds/bad.sfx");
        FAIL() << "accepted: " << b.text;
    } catch (const ParseError& e) {
        EXPECT_EQ(e.line(), b.line) << e.what();
        EXPECT_NE(e.reason().find(b.reason), std::string::npos) << e.what();
        const std::string prefix = "sounds/bad.sfx:" + std::to_string(b.line) + ": ";
        EXPECT_EQ(std::string(e.what()).rfind(prefix, 0), 0u) << e.what();
    }
}

// The case's number and the words of its expected reason, e.g. "case3_unknown_wave".
std::string badSourceName(const ::testing::TestParamInfo<BadSource>& i) {
    std::string name = "case" + std::to_string(i.index) + "_";
    for (const char* c = i.param.reason; *c; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c)))
            name += *c;
        else if (name.back() != '_')
            name += '_';
    }
    if (name.back() == '_') name.pop_back();
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, SfxParseErrors,
    ::testing::Values(
        BadSource{"", 1, "no [voice]"}, BadSource{"# only a comment\n\ngain 1\n", 3, "no [voice]"},
        BadSource{"freq 440\n[voice]\n", 1, "belongs in a [voice]"},
        BadSource{"[voice]\nwave sqare\n", 2, "unknown wave"},
        BadSource{"[voice]\n\n# note\nduty 1.5\n", 4, "between 0 and 1"},
        BadSource{"[voice]\nfreq abc\n", 2, "frequency"}, BadSource{"[voice]\nfreq 25000\n", 2, "between 1 and 20000"},
        BadSource{"[voice]\nfreq 440\nfreq 220\n", 3, "twice"},
        BadSource{"[voice]\nattack 0\nsustain 0\ndecay 0\n", 1, "lasts no time"},
        BadSource{"[voice]\nsustain 0.1\n[voice]\nsustain 0\ndecay 0\n", 3, "lasts no time"},
        BadSource{"[sound]\n", 1, "unknown section"}, BadSource{"[voice\n", 1, "closing ']'"},
        BadSource{"[voice a b]\n", 1, "one word"}, BadSource{"[voice]\narp 0.1\n", 2, "expects 2 values"},
        BadSource{"[voice]\nsustain\n", 2, "expects 1 value"},
        BadSource{"[voice]\nsustain 0.1 0.2\n", 2, "expects 1 value"},
        BadSource{"[voice]\nbogus 1\n", 2, "unknown setting"}, BadSource{"[voice]\ngain 2\n", 2, "whole sound"},
        BadSource{"normalize 0.5\nnormalize 0.6\n[voice]\n", 2, "twice"},
        BadSource{"[voice]\ncrush 50\n", 2, "at least 100"}, BadSource{"[voice]\nseed 1.5\n", 2, "whole number"},
        BadSource{"[voice]\nvolume 1e999\n", 2, "expects a number"},
        BadSource{"[voice]\nvolume nan\n", 2, "expects a number"},
        BadSource{"[voice]\nattack -1\n", 2, "between 0 and 10"}, BadSource{"[voice]\narp -0.5 3\n", 2, "'arp' time"},
        BadSource{"[voice]\nfreq 440#loud\n", 2, "frequency"}),
    badSourceName);

TEST(SfxParse, CommentsAndBlankLinesAreIgnoredWhereverTheyAre) {
    Sound s = parseText("\n   \n[voice]   # the only voice\n  freq 220   # low\n\n");
    ASSERT_EQ(s.voices.size(), 1u);
    EXPECT_DOUBLE_EQ(s.voices[0].freq, 220);
    EXPECT_EQ(s.voices[0].line, 3);
}

TEST(SfxParse, MissingFileIsReportedWithItsName) {
    try {
        sfx::parseFile("/nonexistent/dir/x.sfx");
        FAIL();
    } catch (const ParseError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/dir/x.sfx"), std::string::npos);
    }
}

TEST(SfxNotes, NamesMapToEqualTemperament) {
    double hz = 0;
    ASSERT_TRUE(sfx::noteFrequency("A4", hz));
    EXPECT_DOUBLE_EQ(hz, 440.0);
    ASSERT_TRUE(sfx::noteFrequency("C4", hz));
    EXPECT_NEAR(hz, 261.626, 0.001);
    ASSERT_TRUE(sfx::noteFrequency("A5", hz));
    EXPECT_DOUBLE_EQ(hz, 880.0);
    ASSERT_TRUE(sfx::noteFrequency("Eb3", hz));
    EXPECT_NEAR(hz, 155.563, 0.001);
    ASSERT_TRUE(sfx::noteFrequency("D#3", hz));
    EXPECT_NEAR(hz, 155.563, 0.001);
    for (const char* bad : {"H4", "A", "A44", "#4", "Ab", "440", "A4x"})
        EXPECT_FALSE(sfx::noteFrequency(bad, hz)) << bad;
}

// ---------------------------------------------------------------- pitch

TEST(SfxPitch, SlideIsInOctavesPerSecondWithArpAndRepeat) {
    Voice v;
    v.freq = 440;
    v.slide = 1;
    EXPECT_NEAR(sfx::baseFrequency(v, 0.0), 440, 1e-9);
    EXPECT_NEAR(sfx::baseFrequency(v, 1.0), 880, 1e-9);
    v.slide = -2;
    EXPECT_NEAR(sfx::baseFrequency(v, 0.5), 220, 1e-9);

    // delta slide bends the slide: after 1 s with slide 0 and delta 2 we are one octave up
    v.slide = 0;
    v.deltaSlide = 2;
    EXPECT_NEAR(sfx::baseFrequency(v, 1.0), 880, 1e-9);
    v.deltaSlide = 0;

    // the latest arp step reached wins, steps are relative to the base pitch
    v.arp = {{0.1, 12}, {0.2, 7}};
    EXPECT_NEAR(sfx::baseFrequency(v, 0.05), 440, 1e-9);
    EXPECT_NEAR(sfx::baseFrequency(v, 0.15), 880, 1e-9);
    EXPECT_NEAR(sfx::baseFrequency(v, 0.25), 440 * std::pow(2.0, 7.0 / 12), 1e-9);

    // repeat starts slide and arp over
    v.arp = {{0.1, 12}};
    v.slide = 1;
    v.repeat = 0.3;
    EXPECT_NEAR(sfx::baseFrequency(v, 0.35), sfx::baseFrequency(v, 0.05), 1e-6);
    EXPECT_NEAR(sfx::baseFrequency(v, 0.45), sfx::baseFrequency(v, 0.15), 1e-6);
}

TEST(SfxPitch, RenderedToneHasTheRequestedFrequency) {
    for (sfx::Wave w : {sfx::Wave::Sine, sfx::Wave::Square, sfx::Wave::Saw, sfx::Wave::Triangle}) {
        Voice v;
        v.wave = w;
        v.freq = 441;  // a whole number of periods per 0.1 s window
        v.attack = 0;
        v.sustain = 1.0;
        v.decay = 0;
        // one upward zero crossing per period for every shape (the saw crosses on its jump)
        const std::vector<float> s = sfx::renderVoice(v);
        int n = upCrossings(s, 0, s.size());
        EXPECT_NEAR(n, 441, 2) << "wave " << int(w);
    }
}

TEST(SfxPitch, SlideDirectionIsAudible) {
    auto cyclesAtEnds = [](double slide) {
        Voice v;
        v.wave = sfx::Wave::Sine;
        v.freq = 600;
        v.slide = slide;
        v.attack = 0;
        v.sustain = 0.5;
        v.decay = 0;
        auto s = sfx::renderVoice(v);
        const std::size_t w = sfx::kSampleRate / 10;
        return std::make_pair(upCrossings(s, 0, w), upCrossings(s, s.size() - w, s.size()));
    };
    auto up = cyclesAtEnds(+2);
    EXPECT_GT(up.second, up.first * 1.5);
    auto down = cyclesAtEnds(-2);
    EXPECT_LT(down.second * 1.5, down.first);
}

TEST(SfxPitch, FreqMinSilencesTheVoiceOnceTheSlidePassesIt) {
    Voice v;
    v.wave = sfx::Wave::Square;
    v.freq = 800;
    v.slide = -4;  // two octaves in 0.5 s: 200 Hz at 0.5 s
    v.freqMin = 200;
    v.attack = 0;
    v.sustain = 1.0;
    v.decay = 0;
    auto s = sfx::renderVoice(v);
    const std::size_t cross = sfx::kSampleRate / 2;
    EXPECT_GT(peak(s, 0, cross - 100), 0.9);
    EXPECT_EQ(peak(s, cross + 100), 0.0);
}

// ---------------------------------------------------------------- envelope and length

TEST(SfxEnvelope, ShapeThroughAttackSustainDecay) {
    Voice v;
    v.attack = 0.1;
    v.sustain = 0.2;
    v.decay = 0.4;
    v.punch = 0.5;
    EXPECT_DOUBLE_EQ(sfx::envelope(v, -0.01), 0.0);
    EXPECT_DOUBLE_EQ(sfx::envelope(v, 0.0), 0.0);
    EXPECT_NEAR(sfx::envelope(v, 0.05), 0.75, 1e-12);  // halfway up to the punched peak
    EXPECT_NEAR(sfx::envelope(v, 0.1), 1.5, 1e-12);    // the punch at the start of the sustain
    EXPECT_NEAR(sfx::envelope(v, 0.2), 1.25, 1e-12);
    EXPECT_NEAR(sfx::envelope(v, 0.2999999), 1.0, 1e-6);
    EXPECT_NEAR(sfx::envelope(v, 0.5), 0.5, 1e-12);  // straight decay
    EXPECT_NEAR(sfx::envelope(v, 0.7), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(sfx::envelope(v, 0.71), 0.0);
    v.decayShape = 2;
    EXPECT_NEAR(sfx::envelope(v, 0.5), 0.25, 1e-12);
    v.attack = 0;
    EXPECT_NEAR(sfx::envelope(v, 0.0), 1.5, 1e-12);  // no attack: starts at full level
}

TEST(SfxEnvelope, RenderedLengthIsTheEnvelopeInSamples) {
    Sound s = parseText("[voice]\nattack 0.01\nsustain 0.02\ndecay 0.03\n");
    EXPECT_EQ(sfx::voiceSamples(s.voices[0]), 2646u);
    EXPECT_EQ(sfx::renderVoice(s.voices[0]).size(), 2646u);
    EXPECT_EQ(sfx::render(s).size(), 2646u);

    // the sound ends with its last voice, wherever that starts
    s = parseText("[voice]\nsustain 0.5\ndecay 0\n[voice]\nstart 0.4\nsustain 0.2\ndecay 0.1\n");
    EXPECT_EQ(sfx::render(s).size(), std::size_t(std::lround(0.7 * sfx::kSampleRate)));
}

TEST(SfxEnvelope, RenderedLevelFollowsTheEnvelope) {
    Voice v;
    v.wave = sfx::Wave::Square;
    v.freq = 441;
    v.attack = 0.1;
    v.sustain = 0.1;
    v.decay = 0.2;
    auto s = sfx::renderVoice(v);
    const std::size_t ms10 = sfx::kSampleRate / 100;
    EXPECT_LT(peak(s, 0, ms10), 0.15);                      // just started rising
    EXPECT_NEAR(peak(s, 15 * ms10, 16 * ms10), 1.0, 0.02);  // full level in the sustain
    EXPECT_NEAR(peak(s, 30 * ms10, 31 * ms10), 0.5, 0.05);  // halfway down the decay
    EXPECT_LT(peak(s, s.size() - 20), 0.01);                // and silent at the very end
}

TEST(SfxMix, StartOffsetDelaysTheVoiceExactly) {
    Sound s = parseText("[voice]\nattack 0\nwave square\nfreq 300\nsustain 0.1\ndecay 0\nstart 0.1\n");
    auto out = sfx::render(s);
    ASSERT_EQ(out.size(), 8820u);
    EXPECT_EQ(peak(out, 0, 4410), 0.0);
    EXPECT_GT(std::fabs(out[4410]), 0.5);
}

TEST(SfxMix, NormalizeSetsThePeakAndGainScales) {
    const std::string voice = "[voice]\nwave sine\nfreq 300\nsustain 0.1\ndecay 0.05\nvolume 0.3\n";
    auto plain = sfx::render(parseText(voice));
    EXPECT_NEAR(peak(plain), 0.3, 0.01);
    auto doubled = sfx::render(parseText("gain 2\n" + voice));
    EXPECT_NEAR(peak(doubled), 0.6, 0.02);
    auto norm = sfx::render(parseText("normalize 0.9\n" + voice));
    EXPECT_NEAR(peak(norm), 0.9, 1e-6);
    // voices add up in the mix
    auto two = sfx::render(parseText(voice + voice));
    EXPECT_NEAR(peak(two), 0.6, 0.02);
}

// ---------------------------------------------------------------- noise, filters, determinism

TEST(SfxNoise, OutputIsRepeatableAndTheSeedMatters) {
    const std::string src = "[voice]\nwave noise\nfreq 1000\nsustain 0.1\n";
    auto a = sfx::render(parseText(src));
    auto b = sfx::render(parseText(src));
    EXPECT_EQ(a, b);
    auto c = sfx::render(parseText(src + "seed 12345\n"));
    ASSERT_EQ(a.size(), c.size());
    EXPECT_NE(a, c);
    // two voices with default seeds are different noises, so they do not simply double
    Sound two = parseText(src + src);
    auto v1 = sfx::renderVoice(two.voices[0]);
    auto v2 = sfx::renderVoice(two.voices[1]);
    EXPECT_NE(v1, v2);
    // the noise is centred and fills the range
    double sum = 0;
    for (float x : v1) sum += x;
    EXPECT_LT(std::fabs(sum / v1.size()), 0.05);
    EXPECT_GT(peak(v1), 0.9);
}

TEST(SfxNoise, FrequencySetsTheColour) {
    auto crossingsFor = [](double freq) {
        Voice v;
        v.wave = sfx::Wave::Noise;
        v.freq = freq;
        v.attack = 0;
        v.sustain = 0.5;
        v.decay = 0;
        auto s = sfx::renderVoice(v);
        return upCrossings(s, 0, s.size());
    };
    EXPECT_GT(crossingsFor(800), 3 * crossingsFor(50));
}

TEST(SfxFilter, LowPassAndHighPassRemoveTheirBands) {
    auto level = [](const std::string& extra, double freq, sfx::Wave w) {
        Voice v;
        v.wave = w;
        v.freq = freq;
        v.attack = 0;
        v.sustain = 0.3;
        v.decay = 0;
        std::istringstream in("[voice]\n" + extra);
        Voice f = sfx::parse(in, "f").voices[0];
        v.lowpass = f.lowpass;
        v.lowpassSweep = f.lowpassSweep;
        v.highpass = f.highpass;
        auto s = sfx::renderVoice(v);
        return rms(s, s.size() / 3, s.size());  // skip the filter's settling
    };
    const double hiSine = level("", 5000, sfx::Wave::Sine);
    EXPECT_LT(level("lowpass 300\n", 5000, sfx::Wave::Sine), hiSine * 0.05);
    EXPECT_GT(level("lowpass 15000\n", 5000, sfx::Wave::Sine), hiSine * 0.8);
    const double loSine = level("", 100, sfx::Wave::Sine);
    EXPECT_LT(level("highpass 3000\n", 100, sfx::Wave::Sine), loSine * 0.05);
    EXPECT_GT(level("highpass 20\n", 100, sfx::Wave::Sine), loSine * 0.8);
}

TEST(SfxFilter, SweptCutoffOpensUpOverTime) {
    Voice v;
    v.wave = sfx::Wave::Sine;
    v.freq = 4000;
    v.attack = 0;
    v.sustain = 1.0;
    v.decay = 0;
    v.lowpass = 200;
    v.lowpassSweep = 6;  // 200 Hz to 12.8 kHz over the second
    auto s = sfx::renderVoice(v);
    const std::size_t w = sfx::kSampleRate / 10;
    EXPECT_GT(rms(s, s.size() - w, s.size()), 10 * rms(s, w, 2 * w));
}

TEST(SfxFilter, StrongResonanceStaysBounded) {
    Sound s = parseText("[voice]\nwave saw\nfreq 80\nsustain 0.5\nlowpass 20000\nlowpass_sweep -12\nresonance 0.95\n");
    auto out = sfx::render(s);
    for (float x : out) ASSERT_TRUE(std::isfinite(x));
    EXPECT_LT(peak(out), 20.0);
}

TEST(SfxCrush, HoldsSamplesAtTheReducedRate) {
    Voice v;
    v.wave = sfx::Wave::Noise;
    v.freq = 5000;
    v.attack = 0;
    v.sustain = 0.1;
    v.decay = 0;
    v.crush = 4410;  // every tenth output sample is a new value
    auto s = sfx::renderVoice(v);
    int changes = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        if (s[i] != s[i - 1]) ++changes;
    EXPECT_NEAR(changes, int(s.size() / 10), 2);
}

// ---------------------------------------------------------------- output

TEST(SfxPcm, ConvertsAndClamps) {
    auto p = sfx::toPcm16({0.0f, 0.5f, -0.5f, 1.0f, -1.0f, 3.0f, -7.0f});
    std::vector<std::int16_t> want = {0, 16384, -16384, 32767, -32767, 32767, -32767};
    EXPECT_EQ(p, want);
}

TEST(SfxWav, HeaderDescribesMono16BitPcm) {
    std::vector<std::int16_t> samples = {1, -2, 300, -32768, 32767};
    auto b = sfx::wavBytes(samples, 44100);
    ASSERT_EQ(b.size(), 44u + 10u);
    auto u32 = [&](std::size_t o) { return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | uint32_t(b[o + 3]) << 24; };
    auto u16 = [&](std::size_t o) { return uint16_t(b[o] | b[o + 1] << 8); };
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1);  // PCM
    EXPECT_EQ(u16(22), 1);  // mono
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 88200u);
    EXPECT_EQ(u16(32), 2);
    EXPECT_EQ(u16(34), 16);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(u32(40), 10u);
    for (std::size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(int16_t(u16(44 + 2 * i)), samples[i]);
}

TEST(SfxWav, AtomicWriteCreatesFoldersAndLeavesNoTemporaries) {
    fs::path d = scratchDir("atomic");
    fs::path target = d / "a" / "b" / "out.wav";
    std::string err;
    ASSERT_TRUE(sfx::writeFileAtomic(target.string(), {1, 2, 3}, err)) << err;
    EXPECT_EQ(fs::file_size(target), 3u);
    ASSERT_TRUE(sfx::writeFileAtomic(target.string(), {9, 9}, err)) << err;  // replaces
    EXPECT_EQ(fs::file_size(target), 2u);
    int entries = 0;
    for (auto& e : fs::directory_iterator(target.parent_path())) (void)e, ++entries;
    EXPECT_EQ(entries, 1);

    // a folder in the way: the write fails, names the file and leaves nothing beside it
    fs::path blocked = d / "blocked.wav";
    fs::create_directories(blocked / "inside");
    EXPECT_FALSE(sfx::writeFileAtomic(blocked.string(), {1}, err));
    EXPECT_NE(err.find("blocked.wav"), std::string::npos) << err;
    entries = 0;
    for (auto& e : fs::directory_iterator(d)) (void)e, ++entries;
    EXPECT_EQ(entries, 2);  // "a" and "blocked.wav" only
}

// ---------------------------------------------------------------- the command-line tool

namespace {

struct RunResult {
    int status;
    std::string output;
};

RunResult runTool(const std::string& args) {
    const std::string cmd = std::string(BRACKMOOR_BINARY_DIR) + "/sfxcompile " + args + " 2>&1";
    RunResult r{-1, ""};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[512];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

void writeText(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }

}  // namespace

TEST(SfxTool, MalformedSourceStopsWithFileLineAndWritesNothing) {
    fs::path d = scratchDir("tool_bad");
    writeText(d / "bad.sfx", "# a broken sound\n[voice]\nfreq 440\nwave kazoo\n");
    fs::path out = d / "bad.wav";
    RunResult r = runTool((d / "bad.sfx").string() + " " + out.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find((d / "bad.sfx").string() + ":4: unknown wave 'kazoo'"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(out));
    // an older good output is left untouched rather than half-replaced
    writeText(d / "good.sfx", "[voice]\nsustain 0.05\n");
    ASSERT_EQ(runTool((d / "good.sfx").string() + " " + out.string()).status, 0);
    const auto before = fs::file_size(out);
    EXPECT_EQ(runTool((d / "bad.sfx").string() + " " + out.string()).status, 1);
    EXPECT_EQ(fs::file_size(out), before);
    int entries = 0;
    for (auto& e : fs::directory_iterator(d)) (void)e, ++entries;
    EXPECT_EQ(entries, 3);
}

TEST(SfxTool, WritesTheRenderedSoundAndReportsMissingSources) {
    fs::path d = scratchDir("tool_good");
    writeText(d / "s.sfx", "[voice]\nattack 0.01\nsustain 0.02\ndecay 0.02\n");
    fs::path out = d / "deep" / "s.wav";
    RunResult r = runTool((d / "s.sfx").string() + " " + out.string());
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(fs::file_size(out), 44u + 2u * 2205u);

    r = runTool((d / "missing.sfx").string() + " " + (d / "m.wav").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("missing.sfx"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(d / "m.wav"));

    r = runTool("only-one-argument");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("usage"), std::string::npos);
}
