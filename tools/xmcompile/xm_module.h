// In-memory model of an extended module (".xm", version 0x0104) and its binary writer/reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xm {

// Note values as stored in a pattern cell: 0 = none, 1..96 = C-0..B-7, 97 = key off.
constexpr int kNoNote = 0;
constexpr int kKeyOff = 97;
constexpr int kMaxNote = 96;

// Parses a note name such as "C-4", "C#4", "c4", "Db3", "e#2"; returns 1..96, or 0 if invalid.
int NoteFromName(const std::string& name);
// "C-4" style three-character name of 1..96, "===" for key off, "---" otherwise.
std::string NoteName(int note);

struct Cell {
    uint8_t note = 0;        // 0, 1..96, 97
    uint8_t instrument = 0;  // 0 = none, 1..128
    uint8_t volume = 0;      // volume column byte: 0 = none, 0x10..0x50 = set volume 0..64
    uint8_t effect = 0;      // effect type 0..35
    uint8_t param = 0;       // effect parameter
    bool operator==(const Cell& o) const {
        return note == o.note && instrument == o.instrument && volume == o.volume && effect == o.effect &&
               param == o.param;
    }
    bool operator!=(const Cell& o) const { return !(*this == o); }
    bool Empty() const { return note == 0 && instrument == 0 && volume == 0 && effect == 0 && param == 0; }
};

struct Pattern {
    int rows = 64;
    std::vector<Cell> cells;  // rows * channels, row-major
};

struct EnvelopePoint {
    uint16_t tick = 0;
    uint16_t value = 0;  // 0..64
};

struct Envelope {
    std::vector<EnvelopePoint> points;  // at most 12; empty = envelope off
    int sustain = -1;                   // point index, -1 = none
    int loopStart = -1, loopEnd = -1;   // point indices, -1 = no loop
};

enum class LoopType : uint8_t { None = 0, Forward = 1, PingPong = 2 };

struct Sample {
    std::string name;
    bool sixteenBit = false;
    std::vector<int16_t> data;  // one value per sample frame (8-bit samples use -128..127)
    uint32_t loopStart = 0;     // in sample frames
    uint32_t loopLength = 0;    // in sample frames
    LoopType loop = LoopType::None;
    uint8_t volume = 64;  // 0..64
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relativeNote = 0;
};

struct Instrument {
    std::string name;
    Envelope volumeEnvelope;
    uint16_t fadeout = 0;  // 0..0xFFF
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
    std::vector<Sample> samples;  // every note maps to sample 0
};

struct Module {
    std::string name;
    std::string tracker = "xmcompile";
    int channels = 4;
    int restart = 0;  // order index the song loops back to
    bool linearFrequencies = true;
    int speed = 6;  // ticks per row
    int bpm = 125;  // one tick lasts 2.5 / bpm seconds
    std::vector<uint8_t> order;
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;

    // Playing time of one pass through the order list with the initial speed and BPM.
    double LengthSeconds() const;
    int TotalRows() const;
};

// Delta encoding used for sample data on disk: each stored value is the difference from the previous.
std::vector<uint8_t> DeltaEncode8(const std::vector<int16_t>& samples);
std::vector<int16_t> DeltaDecode8(const uint8_t* bytes, size_t count);
std::vector<uint8_t> DeltaEncode16(const std::vector<int16_t>& samples);  // little endian
std::vector<int16_t> DeltaDecode16(const uint8_t* bytes, size_t frames);

// Pattern packing: one byte mask (0x80 | which fields follow) or a full 5-byte cell.
std::vector<uint8_t> PackPattern(const Pattern& p, int channels);
// Unpacks `rows` x `channels` cells; returns false (with a reason) on truncated or overlong data.
bool UnpackPattern(const uint8_t* data, size_t size, int rows, int channels, Pattern& out, std::string& error);

// Checks that the module fits the format's limits; returns an empty string when it does.
std::string Validate(const Module& m);
// Serialises a valid module (call Validate first).
std::vector<uint8_t> Write(const Module& m);
// Parses a file image; on failure returns false with a reason.
bool Read(const std::vector<uint8_t>& bytes, Module& out, std::string& error);

// Sizes of the fixed parts of the file.
constexpr size_t kHeaderSize = 276;  // song header, counted from its size field
constexpr size_t kPatternHeaderSize = 9;
constexpr size_t kInstrumentHeaderSize = 263;  // with at least one sample
constexpr size_t kSampleHeaderSize = 40;

}  // namespace xm
