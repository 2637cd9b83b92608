// Writer, reader, packing, delta coding and synthesis of extended modules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>

#include "synth.h"
#include "xm_module.h"

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
unsigned Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

// A small module touching every feature the writer stores.
xm::Module SampleModule() {
    xm::Module m;
    m.name = "unit";
    m.channels = 4;
    m.speed = 5;
    m.bpm = 150;
    m.restart = 1;
    for (int p = 0; p < 2; ++p) {
        xm::Pattern pat;
        pat.rows = p == 0 ? 16 : 7;
        pat.cells.resize(static_cast<size_t>(pat.rows) * m.channels);
        for (size_t i = 0; i < pat.cells.size(); i += 3) {
            xm::Cell& c = pat.cells[i];
            c.note = static_cast<uint8_t>(1 + (i * 7) % 97);
            c.instrument = static_cast<uint8_t>(i % 3);
            c.volume = (i % 2) ? static_cast<uint8_t>(0x10 + i % 65) : 0;
            c.effect = static_cast<uint8_t>(i % 5 == 0 ? 0 : 4);
            c.param = static_cast<uint8_t>(i % 4 == 0 ? 0 : 0x34);
        }
        m.patterns.push_back(pat);
    }
    m.order = {0, 1, 0, 1, 1};

    xm::Instrument a;
    a.name = "lead";
    a.volumeEnvelope.points = {{0, 64}, {4, 40}, {20, 32}, {40, 0}};
    a.volumeEnvelope.sustain = 2;
    a.fadeout = 1200;
    xm::WaveSettings ws;
    ws.duty = 25;
    a.samples.push_back(xm::Synthesize(ws));
    a.samples[0].name = "lead";
    a.samples[0].volume = 40;
    a.samples[0].panning = 90;
    m.instruments.push_back(a);

    xm::Instrument b;
    b.name = "kick16";
    b.volumeEnvelope.points = {{0, 10}, {3, 64}, {9, 20}};
    b.volumeEnvelope.loopStart = 0;
    b.volumeEnvelope.loopEnd = 2;
    xm::WaveSettings ks;
    ks.wave = xm::Wave::Kick;
    ks.sixteenBit = true;
    b.samples.push_back(xm::Synthesize(ks));
    b.samples[0].finetune = -20;
    b.samples[0].relativeNote = -3;
    m.instruments.push_back(b);
    return m;
}

TEST(XmNotes, NamesAndNumbers) {
    EXPECT_EQ(xm::NoteFromName("C-0"), 1);
    EXPECT_EQ(xm::NoteFromName("C-4"), 49);
    EXPECT_EQ(xm::NoteFromName("c4"), 49);
    EXPECT_EQ(xm::NoteFromName("A-4"), 58);
    EXPECT_EQ(xm::NoteFromName("B-7"), 96);
    EXPECT_EQ(xm::NoteFromName("c#4"), xm::NoteFromName("Db4"));
    EXPECT_EQ(xm::NoteFromName("e#3"), xm::NoteFromName("f3"));
    EXPECT_EQ(xm::NoteFromName("b#3"), xm::NoteFromName("c4"));  // crosses into the next octave
    // out of range or malformed
    EXPECT_EQ(xm::NoteFromName("cb0"), 0);
    EXPECT_EQ(xm::NoteFromName("c8"), 0);
    EXPECT_EQ(xm::NoteFromName("h4"), 0);
    EXPECT_EQ(xm::NoteFromName("c"), 0);
    EXPECT_EQ(xm::NoteFromName("c#"), 0);
    EXPECT_EQ(xm::NoteFromName("c*4"), 0);
    EXPECT_EQ(xm::NoteFromName("c-44"), 0);
    for (int n = 1; n <= xm::kMaxNote; ++n) EXPECT_EQ(xm::NoteFromName(xm::NoteName(n)), n) << n;
    EXPECT_EQ(xm::NoteName(xm::kKeyOff), "===");
    EXPECT_EQ(xm::NoteName(0), "---");
}

TEST(XmDelta, EightBitStoresDifferencesAndWraps) {
    std::vector<int16_t> s = {1, 3, 2, 127, -128, 0};
    std::vector<uint8_t> d = xm::DeltaEncode8(s);
    ASSERT_EQ(d.size(), s.size());
    EXPECT_EQ(d[0], 1);
    EXPECT_EQ(d[1], 2);
    EXPECT_EQ(d[2], 0xFF);  // -1
    EXPECT_EQ(d[4], 1);     // 127 -> -128 wraps by +1
    EXPECT_EQ(d[5], 0x80);  // -128 -> 0 is +128, stored as 0x80
    EXPECT_EQ(xm::DeltaDecode8(d.data(), d.size()), s);
}

TEST(XmDelta, SixteenBitRoundTripsExtremes) {
    std::vector<int16_t> s = {0, 32767, -32768, -1, 1, 12345, -20000, 32767};
    std::vector<uint8_t> d = xm::DeltaEncode16(s);
    ASSERT_EQ(d.size(), s.size() * 2);
    EXPECT_EQ(d[2], 0xFF);  // +32767, little endian
    EXPECT_EQ(d[3], 0x7F);
    EXPECT_EQ(xm::DeltaDecode16(d.data(), s.size()), s);
}

TEST(XmPacking, CellEncodings) {
    xm::Pattern p;
    p.rows = 1;
    p.cells.resize(4);
    p.cells[1] = {49, 1, 0, 0, 0};
    p.cells[2] = {49, 1, 0x50, 4, 0x34};
    p.cells[3] = {0, 0, 0, 0xE, 0xC3};
    std::vector<uint8_t> packed = xm::PackPattern(p, 4);
    std::vector<uint8_t> expect = {0x80, 0x83, 49, 1, 49, 1, 0x50, 4, 0x34, 0x98, 0xE, 0xC3};
    EXPECT_EQ(packed, expect);
}

TEST(XmPacking, RoundTripAndDamagedData) {
    xm::Module m = SampleModule();
    for (const xm::Pattern& p : m.patterns) {
        std::vector<uint8_t> packed = xm::PackPattern(p, m.channels);
        xm::Pattern back;
        std::string err;
        ASSERT_TRUE(xm::UnpackPattern(packed.data(), packed.size(), p.rows, m.channels, back, err)) << err;
        EXPECT_EQ(back.cells, p.cells);
        // one byte short: the last cell is cut off
        EXPECT_FALSE(xm::UnpackPattern(packed.data(), packed.size() - 1, p.rows, m.channels, back, err));
        // a stray byte after the last cell
        packed.push_back(0x80);
        EXPECT_FALSE(xm::UnpackPattern(packed.data(), packed.size(), p.rows, m.channels, back, err));
    }
}

TEST(XmFile, HeaderLayoutAndSizes) {
    xm::Module m = SampleModule();
    ASSERT_EQ(xm::Validate(m), "");
    std::vector<uint8_t> f = xm::Write(m);
    ASSERT_GT(f.size(), 336u);
    EXPECT_EQ(std::string(f.begin(), f.begin() + 17), "Extended Module: ");
    EXPECT_EQ(f[37], 0x1A);
    EXPECT_EQ(Le16(f, 58), 0x0104u);
    EXPECT_EQ(Le32(f, 60), 276u);
    EXPECT_EQ(Le16(f, 64), 5u);  // order length
    EXPECT_EQ(Le16(f, 66), 1u);  // restart
    EXPECT_EQ(Le16(f, 68), 4u);  // channels
    EXPECT_EQ(Le16(f, 70), 2u);  // patterns
    EXPECT_EQ(Le16(f, 72), 2u);  // instruments
    EXPECT_EQ(Le16(f, 74), 1u);  // linear frequencies
    EXPECT_EQ(Le16(f, 76), 5u);
    EXPECT_EQ(Le16(f, 78), 150u);
    EXPECT_EQ(f[80 + 3], 1);  // fourth order entry
    EXPECT_EQ(f[80 + 5], 0);  // unused order entries are zero

    // walk the file by the sizes it declares and land exactly on its end
    size_t pos = 60 + 276;
    for (const xm::Pattern& p : m.patterns) {
        EXPECT_EQ(Le32(f, pos), 9u);
        EXPECT_EQ(Le16(f, pos + 5), static_cast<unsigned>(p.rows));
        pos += 9 + Le16(f, pos + 7);
    }
    for (const xm::Instrument& ins : m.instruments) {
        EXPECT_EQ(Le32(f, pos), 263u);
        EXPECT_EQ(Le16(f, pos + 27), 1u);
        EXPECT_EQ(Le32(f, pos + 29), 40u);
        size_t sample = pos + 263;
        uint32_t bytes = Le32(f, sample);
        size_t unit = ins.samples[0].sixteenBit ? 2 : 1;
        EXPECT_EQ(bytes, ins.samples[0].data.size() * unit);
        EXPECT_EQ((f[sample + 14] & 0x10) != 0, ins.samples[0].sixteenBit);
        pos = sample + 40 + bytes;
    }
    EXPECT_EQ(pos, f.size());
}

TEST(XmFile, WriteReadRoundTrip) {
    xm::Module m = SampleModule();
    std::vector<uint8_t> f = xm::Write(m);
    xm::Module r;
    std::string err;
    ASSERT_TRUE(xm::Read(f, r, err)) << err;
    EXPECT_EQ(r.name, m.name);
    EXPECT_EQ(r.channels, m.channels);
    EXPECT_EQ(r.speed, m.speed);
    EXPECT_EQ(r.bpm, m.bpm);
    EXPECT_EQ(r.restart, m.restart);
    EXPECT_EQ(r.order, m.order);
    ASSERT_EQ(r.patterns.size(), m.patterns.size());
    for (size_t i = 0; i < m.patterns.size(); ++i) {
        EXPECT_EQ(r.patterns[i].rows, m.patterns[i].rows);
        EXPECT_EQ(r.patterns[i].cells, m.patterns[i].cells);
    }
    ASSERT_EQ(r.instruments.size(), m.instruments.size());
    for (size_t i = 0; i < m.instruments.size(); ++i) {
        const xm::Instrument &a = m.instruments[i], &b = r.instruments[i];
        EXPECT_EQ(b.name, a.name);
        EXPECT_EQ(b.fadeout, a.fadeout);
        ASSERT_EQ(b.volumeEnvelope.points.size(), a.volumeEnvelope.points.size());
        for (size_t k = 0; k < a.volumeEnvelope.points.size(); ++k) {
            EXPECT_EQ(b.volumeEnvelope.points[k].tick, a.volumeEnvelope.points[k].tick);
            EXPECT_EQ(b.volumeEnvelope.points[k].value, a.volumeEnvelope.points[k].value);
        }
        EXPECT_EQ(b.volumeEnvelope.sustain, a.volumeEnvelope.sustain);
        EXPECT_EQ(b.volumeEnvelope.loopStart, a.volumeEnvelope.loopStart);
        EXPECT_EQ(b.volumeEnvelope.loopEnd, a.volumeEnvelope.loopEnd);
        ASSERT_EQ(b.samples.size(), 1u);
        const xm::Sample &s = a.samples[0], &t = b.samples[0];
        EXPECT_EQ(t.data, s.data);
        EXPECT_EQ(t.sixteenBit, s.sixteenBit);
        EXPECT_EQ(t.loop, s.loop);
        EXPECT_EQ(t.loopStart, s.loop == xm::LoopType::None ? 0u : s.loopStart);
        EXPECT_EQ(t.loopLength, s.loop == xm::LoopType::None ? 0u : s.loopLength);
        EXPECT_EQ(t.volume, s.volume);
        EXPECT_EQ(t.finetune, s.finetune);
        EXPECT_EQ(t.relativeNote, s.relativeNote);
        EXPECT_EQ(t.panning, s.panning);
    }
}

TEST(XmFile, ReaderRejectsTruncatedAndForeignFiles) {
    std::vector<uint8_t> f = xm::Write(SampleModule());
    xm::Module r;
    std::string err;
    // every cut inside the headers or pattern data, and a few inside sample data
    for (size_t cut = 0; cut < f.size(); cut += (cut < 2000 ? 1 : 997)) {
        std::vector<uint8_t> part(f.begin(), f.begin() + cut);
        EXPECT_FALSE(xm::Read(part, r, err)) << "accepted a file cut at " << cut;
    }
    std::vector<uint8_t> foreign = f;
    foreign[9] = 'm';
    EXPECT_FALSE(xm::Read(foreign, r, err));
    std::vector<uint8_t> old = f;
    old[58] = 0x03;
    EXPECT_FALSE(xm::Read(old, r, err));
}

TEST(XmValidate, CatchesBrokenModules) {
    xm::Module m = SampleModule();
    EXPECT_EQ(xm::Validate(m), "");
    {
        xm::Module b = m;
        b.order.push_back(2);
        EXPECT_NE(xm::Validate(b), "");
    }
    {
        xm::Module b = m;
        b.restart = 5;
        EXPECT_NE(xm::Validate(b), "");
    }
    {
        xm::Module b = m;
        b.instruments[0].samples[0].loopLength = 65;  // one past the end of a 64-frame cycle
        EXPECT_NE(xm::Validate(b), "");
    }
    {
        xm::Module b = m;
        b.instruments[0].volumeEnvelope.points[2].tick = 4;  // not increasing
        EXPECT_NE(xm::Validate(b), "");
    }
    {
        xm::Module b = m;
        b.patterns[0].cells[0].instrument = 3;
        EXPECT_NE(xm::Validate(b), "");
    }
    {
        xm::Module b = m;
        b.instruments[0].samples[0].data[0] = 200;  // does not fit 8 bits
        EXPECT_NE(xm::Validate(b), "");
    }
    {
        xm::Module b = m;
        b.patterns[1].cells.pop_back();
        EXPECT_NE(xm::Validate(b), "");
    }
}

TEST(XmModule, LengthFromRowsSpeedAndBpm) {
    xm::Module m = SampleModule();
    EXPECT_EQ(m.TotalRows(), 16 + 7 + 16 + 7 + 7);
    EXPECT_DOUBLE_EQ(m.LengthSeconds(), 53 * 5 * 2.5 / 150);
}

double Mean(const std::vector<int16_t>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

TEST(XmSynth, PulseDutyAndBalance) {
    for (int duty : {12, 25, 50, 75}) {
        xm::WaveSettings ws;
        ws.duty = duty;
        xm::Sample s = xm::Synthesize(ws);
        ASSERT_EQ(s.data.size(), static_cast<size_t>(xm::kCycleFrames));
        int high = 0;
        for (int16_t v : s.data) high += v > 0;
        EXPECT_NEAR(100.0 * high / xm::kCycleFrames, duty, 1.0) << duty;
        EXPECT_NEAR(Mean(s.data), 0.0, 1.5) << duty;  // no DC step when a note starts
        int peak = 0;
        for (int16_t v : s.data) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GE(peak, 120);
        EXPECT_LE(peak, 127);
        EXPECT_EQ(s.loop, xm::LoopType::Forward);
        EXPECT_EQ(s.loopLength, static_cast<uint32_t>(xm::kCycleFrames));
    }
}

TEST(XmSynth, TonalWavesAreTunedToMiddleC) {
    for (xm::Wave w : {xm::Wave::Pulse, xm::Wave::Saw, xm::Wave::Triangle, xm::Wave::Sine}) {
        xm::WaveSettings ws;
        ws.wave = w;
        xm::Sample s = xm::Synthesize(ws);
        // linear frequency table: C-4 plus the relative note and finetune, over one cycle
        double semis = s.relativeNote + s.finetune / 128.0;
        double hz = 8363.0 * std::pow(2.0, semis / 12.0) / static_cast<double>(s.loopLength);
        EXPECT_NEAR(1200.0 * std::log2(hz / 261.6256), 0.0, 2.0);
    }
}

TEST(XmSynth, WaveShapes) {
    xm::WaveSettings ws;
    ws.wave = xm::Wave::Triangle;
    xm::Sample tri = xm::Synthesize(ws);
    EXPECT_EQ(*std::max_element(tri.data.begin(), tri.data.end()), 127);
    EXPECT_EQ(tri.data[0], -127);  // starts at the bottom and climbs
    EXPECT_LT(tri.data[8], tri.data[16]);
    ws.wave = xm::Wave::Sine;
    ws.sixteenBit = true;
    ws.level = 50;
    xm::Sample sine = xm::Synthesize(ws);
    EXPECT_NEAR(sine.data[16], 16384, 2);  // a quarter cycle in, at half level
    EXPECT_NEAR(sine.data[48], -16384, 2);
    ws.wave = xm::Wave::Noise;
    ws.sixteenBit = false;
    ws.level = 100;
    xm::Sample noise = xm::Synthesize(ws);
    EXPECT_EQ(noise.data.size(), static_cast<size_t>(xm::kNoiseFrames));
    EXPECT_NEAR(Mean(noise.data), 0.0, 8.0);
    EXPECT_EQ(noise.data, xm::Synthesize(ws).data);  // the same every time
    int changes = 0;
    for (size_t i = 1; i < noise.data.size(); ++i) changes += noise.data[i] != noise.data[i - 1];
    EXPECT_GT(changes, xm::kNoiseFrames / 3);
}

TEST(XmSynth, KickIsAOneShotThatDiesAway) {
    xm::WaveSettings ws;
    ws.wave = xm::Wave::Kick;
    xm::Sample k = xm::Synthesize(ws);
    EXPECT_EQ(k.loop, xm::LoopType::None);
    ASSERT_GT(k.data.size(), 1000u);
    auto energy = [&](size_t from, size_t to) {
        double e = 0;
        for (size_t i = from; i < to; ++i) e += k.data[i] * k.data[i];
        return e;
    };
    size_t q = k.data.size() / 4;
    EXPECT_GT(energy(0, q), 4 * energy(3 * q, 4 * q));
    EXPECT_LT(std::abs(k.data.back()), 20);
}

}  // namespace
