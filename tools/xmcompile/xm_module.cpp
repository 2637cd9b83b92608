#include "xm_module.h"

#include <cctype>
#include <cstring>

namespace xm {

namespace {

const char* const kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};

void Put8(std::vector<uint8_t>& out, unsigned v) { out.push_back(static_cast<uint8_t>(v & 0xFF)); }
void Put16(std::vector<uint8_t>& out, unsigned v) {
    Put8(out, v);
    Put8(out, v >> 8);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutText(std::vector<uint8_t>& out, const std::string& s, size_t width, char pad) {
    for (size_t i = 0; i < width; ++i) out.push_back(i < s.size() ? static_cast<uint8_t>(s[i]) : pad);
}

// Bounds-checked little-endian cursor over a file image.
struct Cursor {
    const std::vector<uint8_t>& b;
    size_t pos = 0;
    bool ok = true;
    explicit Cursor(const std::vector<uint8_t>& bytes) : b(bytes) {}
    bool Has(size_t n) const { return ok && pos <= b.size() && b.size() - pos >= n; }
    unsigned U8() {
        if (!Has(1)) {
            ok = false;
            return 0;
        }
        return b[pos++];
    }
    unsigned U16() {
        unsigned lo = U8();
        return lo | (U8() << 8);
    }
    uint32_t U32() {
        uint32_t lo = U16();
        return lo | (static_cast<uint32_t>(U16()) << 16);
    }
    std::string Text(size_t n) {
        if (!Has(n)) {
            ok = false;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(&b[pos]), n);
        pos += n;
        while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
        return s;
    }
    void Skip(size_t n) {
        if (!Has(n))
            ok = false;
        else
            pos += n;
    }
};

}  // namespace

int NoteFromName(const std::string& name) {
    if (name.size() < 2 || name.size() > 3) return 0;
    static const int kBase[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    if (letter < 'a' || letter > 'g') return 0;
    int semitone = kBase[letter - 'a'];
    size_t i = 1;
    if (name.size() == 3) {
        char accidental = name[1];
        if (accidental == '#')
            semitone += 1;
        else if (accidental == 'b')
            semitone -= 1;
        else if (accidental != '-')
            return 0;
        i = 2;
    }
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    int octave = name[i] - '0';
    int note = octave * 12 + semitone + 1;
    return (note >= 1 && note <= kMaxNote) ? note : 0;
}

std::string NoteName(int note) {
    if (note == kKeyOff) return "===";
    if (note < 1 || note > kMaxNote) return "---";
    return std::string(kNames[(note - 1) % 12]) + static_cast<char>('0' + (note - 1) / 12);
}

int Module::TotalRows() const {
    int rows = 0;
    for (uint8_t p : order)
        if (p < patterns.size()) rows += patterns[p].rows;
    return rows;
}

double Module::LengthSeconds() const { return TotalRows() * speed * 2.5 / bpm; }

std::vector<uint8_t> DeltaEncode8(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    out.reserve(samples.size());
    int previous = 0;
    for (int16_t s : samples) {
        out.push_back(static_cast<uint8_t>((s - previous) & 0xFF));
        previous = s;
    }
    return out;
}

std::vector<int16_t> DeltaDecode8(const uint8_t* bytes, size_t count) {
    std::vector<int16_t> out;
    out.reserve(count);
    int8_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        value = static_cast<int8_t>(static_cast<uint8_t>(value + bytes[i]));
        out.push_back(value);
    }
    return out;
}

std::vector<uint8_t> DeltaEncode16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    out.reserve(samples.size() * 2);
    int previous = 0;
    for (int16_t s : samples) {
        Put16(out, static_cast<unsigned>((s - previous) & 0xFFFF));
        previous = s;
    }
    return out;
}

std::vector<int16_t> DeltaDecode16(const uint8_t* bytes, size_t frames) {
    std::vector<int16_t> out;
    out.reserve(frames);
    uint16_t value = 0;
    for (size_t i = 0; i < frames; ++i) {
        value = static_cast<uint16_t>(value + (bytes[2 * i] | (bytes[2 * i + 1] << 8)));
        out.push_back(static_cast<int16_t>(value));
    }
    return out;
}

std::vector<uint8_t> PackPattern(const Pattern& p, int channels) {
    std::vector<uint8_t> out;
    for (int r = 0; r < p.rows; ++r) {
        for (int c = 0; c < channels; ++c) {
            const Cell& cell = p.cells[static_cast<size_t>(r) * channels + c];
            uint8_t mask = 0;
            if (cell.note) mask |= 1;
            if (cell.instrument) mask |= 2;
            if (cell.volume) mask |= 4;
            if (cell.effect) mask |= 8;
            if (cell.param) mask |= 16;
            if (mask == 31) {  // every field present: the plain five bytes are as short
                out.insert(out.end(), {cell.note, cell.instrument, cell.volume, cell.effect, cell.param});
                continue;
            }
            out.push_back(0x80 | mask);
            if (mask & 1) out.push_back(cell.note);
            if (mask & 2) out.push_back(cell.instrument);
            if (mask & 4) out.push_back(cell.volume);
            if (mask & 8) out.push_back(cell.effect);
            if (mask & 16) out.push_back(cell.param);
        }
    }
    return out;
}

bool UnpackPattern(const uint8_t* data, size_t size, int rows, int channels, Pattern& out, std::string& error) {
    out.rows = rows;
    out.cells.assign(static_cast<size_t>(rows) * channels, Cell{});
    if (size == 0) return true;  // an all-empty pattern may be stored without data
    size_t pos = 0;
    for (size_t i = 0; i < out.cells.size(); ++i) {
        if (pos >= size) {
            error =
                "pattern data ends after " + std::to_string(i) + " of " + std::to_string(out.cells.size()) + " cells";
            return false;
        }
        uint8_t fields[5] = {0, 0, 0, 0, 0};
        uint8_t first = data[pos];
        if (first & 0x80) {
            ++pos;
            for (int f = 0; f < 5; ++f) {
                if (!(first & (1 << f))) continue;
                if (pos >= size) {
                    error = "pattern data ends inside a cell";
                    return false;
                }
                fields[f] = data[pos++];
            }
        } else {
            if (size - pos < 5) {
                error = "pattern data ends inside a cell";
                return false;
            }
            std::memcpy(fields, data + pos, 5);
            pos += 5;
        }
        out.cells[i] = Cell{fields[0], fields[1], fields[2], fields[3], fields[4]};
    }
    if (pos != size) {
        error = "pattern data has " + std::to_string(size - pos) + " bytes beyond its last cell";
        return false;
    }
    return true;
}

std::string Validate(const Module& m) {
    if (m.channels < 1 || m.channels > 32) return "channel count must be 1..32";
    if (m.order.empty() || m.order.size() > 256) return "order list must hold 1..256 entries";
    if (m.patterns.empty() || m.patterns.size() > 256) return "module must hold 1..256 patterns";
    if (m.instruments.size() > 128) return "module holds more than 128 instruments";
    if (m.restart < 0 || static_cast<size_t>(m.restart) >= m.order.size())
        return "restart position is outside the order list";
    if (m.speed < 1 || m.speed > 31) return "speed must be 1..31";
    if (m.bpm < 32 || m.bpm > 255) return "BPM must be 32..255";
    for (uint8_t p : m.order)
        if (p >= m.patterns.size()) return "order list names pattern " + std::to_string(p) + " which does not exist";
    for (size_t i = 0; i < m.patterns.size(); ++i) {
        const Pattern& p = m.patterns[i];
        if (p.rows < 1 || p.rows > 256) return "pattern " + std::to_string(i) + " must have 1..256 rows";
        if (p.cells.size() != static_cast<size_t>(p.rows) * m.channels)
            return "pattern " + std::to_string(i) + " has the wrong number of cells";
        for (const Cell& c : p.cells) {
            if (c.note > kKeyOff) return "pattern " + std::to_string(i) + " holds an invalid note";
            if (c.instrument > m.instruments.size())
                return "pattern " + std::to_string(i) + " uses instrument " + std::to_string(c.instrument) +
                       " which does not exist";
            if (c.volume && (c.volume < 0x10 || c.volume > 0x50) && c.volume < 0x60)
                return "pattern " + std::to_string(i) + " holds an invalid volume";
        }
        if (PackPattern(p, m.channels).size() > 0xFFFF)
            return "pattern " + std::to_string(i) + " packs to more than 65535 bytes";
    }
    for (size_t i = 0; i < m.instruments.size(); ++i) {
        const Instrument& ins = m.instruments[i];
        std::string where = "instrument " + std::to_string(i + 1) + " (" + ins.name + ")";
        if (ins.samples.size() > 16) return where + " has more than 16 samples";
        const Envelope& e = ins.volumeEnvelope;
        if (e.points.size() > 12) return where + " has more than 12 envelope points";
        for (size_t k = 0; k < e.points.size(); ++k) {
            if (e.points[k].value > 64) return where + " has an envelope value above 64";
            if (k > 0 && e.points[k].tick <= e.points[k - 1].tick)
                return where + " has envelope ticks that do not increase";
        }
        if (!e.points.empty() && e.points[0].tick != 0) return where + " envelope must start at tick 0";
        int n = static_cast<int>(e.points.size());
        if (e.sustain >= n) return where + " sustain point is not an envelope point";
        if ((e.loopStart >= 0) != (e.loopEnd >= 0) || e.loopEnd >= n || e.loopStart > e.loopEnd)
            return where + " envelope loop is not a valid pair of points";
        if (ins.fadeout > 0xFFF) return where + " fadeout must be 0..4095";
        for (const Sample& s : ins.samples) {
            if (s.volume > 64) return where + " sample volume must be 0..64";
            if (!s.sixteenBit)
                for (int16_t v : s.data)
                    if (v < -128 || v > 127) return where + " 8-bit sample value out of range";
            if (s.loop != LoopType::None &&
                (s.loopLength == 0 || s.loopStart + static_cast<uint64_t>(s.loopLength) > s.data.size()))
                return where + " sample loop lies outside the sample";
        }
    }
    return {};
}

std::vector<uint8_t> Write(const Module& m) {
    std::vector<uint8_t> out;
    PutText(out, "Extended Module: ", 17, ' ');
    PutText(out, m.name, 20, ' ');
    Put8(out, 0x1A);
    PutText(out, m.tracker, 20, ' ');
    Put16(out, 0x0104);
    Put32(out, kHeaderSize);
    Put16(out, static_cast<unsigned>(m.order.size()));
    Put16(out, static_cast<unsigned>(m.restart));
    Put16(out, static_cast<unsigned>(m.channels));
    Put16(out, static_cast<unsigned>(m.patterns.size()));
    Put16(out, static_cast<unsigned>(m.instruments.size()));
    Put16(out, m.linearFrequencies ? 1 : 0);
    Put16(out, static_cast<unsigned>(m.speed));
    Put16(out, static_cast<unsigned>(m.bpm));
    for (size_t i = 0; i < 256; ++i) Put8(out, i < m.order.size() ? m.order[i] : 0);

    for (const Pattern& p : m.patterns) {
        std::vector<uint8_t> packed = PackPattern(p, m.channels);
        Put32(out, kPatternHeaderSize);
        Put8(out, 0);
        Put16(out, static_cast<unsigned>(p.rows));
        Put16(out, static_cast<unsigned>(packed.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }

    for (const Instrument& ins : m.instruments) {
        size_t start = out.size();
        Put32(out, ins.samples.empty() ? 29 : kInstrumentHeaderSize);
        PutText(out, ins.name, 22, '\0');
        Put8(out, 0);
        Put16(out, static_cast<unsigned>(ins.samples.size()));
        if (ins.samples.empty()) continue;
        Put32(out, kSampleHeaderSize);
        for (int k = 0; k < 96; ++k) Put8(out, 0);  // every note plays sample 0
        const Envelope& e = ins.volumeEnvelope;
        for (size_t k = 0; k < 12; ++k) {
            Put16(out, k < e.points.size() ? e.points[k].tick : 0);
            Put16(out, k < e.points.size() ? e.points[k].value : 0);
        }
        for (int k = 0; k < 12; ++k) Put32(out, 0);  // no panning envelope
        Put8(out, static_cast<unsigned>(e.points.size()));
        Put8(out, 0);
        Put8(out, e.sustain >= 0 ? e.sustain : 0);
        Put8(out, e.loopStart >= 0 ? e.loopStart : 0);
        Put8(out, e.loopEnd >= 0 ? e.loopEnd : 0);
        Put8(out, 0);
        Put8(out, 0);
        Put8(out, 0);
        unsigned type = 0;
        if (!e.points.empty()) {
            type |= 1;
            if (e.sustain >= 0) type |= 2;
            if (e.loopStart >= 0) type |= 4;
        }
        Put8(out, type);
        Put8(out, 0);
        Put8(out, ins.vibratoType);
        Put8(out, ins.vibratoSweep);
        Put8(out, ins.vibratoDepth);
        Put8(out, ins.vibratoRate);
        Put16(out, ins.fadeout);
        while (out.size() - start < kInstrumentHeaderSize) Put8(out, 0);  // reserved

        for (const Sample& s : ins.samples) {
            uint32_t unit = s.sixteenBit ? 2 : 1;
            Put32(out, static_cast<uint32_t>(s.data.size()) * unit);
            Put32(out, s.loop == LoopType::None ? 0 : s.loopStart * unit);
            Put32(out, s.loop == LoopType::None ? 0 : s.loopLength * unit);
            Put8(out, s.volume);
            Put8(out, static_cast<uint8_t>(s.finetune));
            Put8(out, static_cast<unsigned>(s.loop) | (s.sixteenBit ? 0x10 : 0));
            Put8(out, s.panning);
            Put8(out, static_cast<uint8_t>(s.relativeNote));
            Put8(out, 0);
            PutText(out, s.name, 22, '\0');
        }
        for (const Sample& s : ins.samples) {
            std::vector<uint8_t> d = s.sixteenBit ? DeltaEncode16(s.data) : DeltaEncode8(s.data);
            out.insert(out.end(), d.begin(), d.end());
        }
    }
    return out;
}

namespace {

// Reads a module's parts in file order: the song header, the patterns, the instruments with their
// samples. Each step returns false with `error` set at the first thing it cannot use.
class ModuleReader {
public:
    ModuleReader(const std::vector<uint8_t>& bytes, Module& out, std::string& error)
        : bytes_(bytes), c_(bytes), out_(out), error_(error) {}

    bool Run() {
        unsigned patternCount = 0, instrumentCount = 0;
        if (!SongHeader(&patternCount, &instrumentCount)) return false;
        for (unsigned i = 0; i < patternCount; ++i)
            if (!ReadPattern(i)) return false;
        for (unsigned i = 0; i < instrumentCount; ++i)
            if (!ReadInstrument(i)) return false;
        return true;
    }

private:
    bool Fail(const std::string& why) {
        error_ = why;
        return false;
    }

    bool SongHeader(unsigned* patternCount, unsigned* instrumentCount) {
        if (c_.Text(17) != "Extended Module:") return Fail("not an extended module (bad signature)");
        out_.name = c_.Text(20);
        if (c_.U8() != 0x1A) return Fail("missing 0x1A marker after the module name");
        out_.tracker = c_.Text(20);
        unsigned version = c_.U16();
        if (!c_.ok || version != 0x0104) return Fail("unsupported version");
        size_t headerStart = c_.pos;
        uint32_t headerSize = c_.U32();
        unsigned orderLength = c_.U16();
        out_.restart = static_cast<int>(c_.U16());
        out_.channels = static_cast<int>(c_.U16());
        *patternCount = c_.U16();
        *instrumentCount = c_.U16();
        out_.linearFrequencies = (c_.U16() & 1) != 0;
        out_.speed = static_cast<int>(c_.U16());
        out_.bpm = static_cast<int>(c_.U16());
        if (!c_.ok || headerSize < kHeaderSize) return Fail("song header is truncated");
        if (orderLength > 256 || *patternCount > 256 || *instrumentCount > 128 || out_.channels < 1 ||
            out_.channels > 32)
            return Fail("song header counts are out of range");
        for (unsigned i = 0; i < 256; ++i) {
            unsigned p = c_.U8();
            if (i < orderLength) out_.order.push_back(static_cast<uint8_t>(p));
        }
        c_.pos = headerStart;
        c_.Skip(headerSize);
        if (!c_.ok) return Fail("song header is truncated");
        return true;
    }

    bool ReadPattern(unsigned i) {
        size_t start = c_.pos;
        uint32_t length = c_.U32();
        c_.U8();
        int rows = static_cast<int>(c_.U16());
        unsigned packedSize = c_.U16();
        if (!c_.ok || length < kPatternHeaderSize) return Fail("pattern " + std::to_string(i) + " header is truncated");
        c_.pos = start;
        c_.Skip(length);
        if (!c_.Has(packedSize)) return Fail("pattern " + std::to_string(i) + " data is truncated");
        Pattern p;
        std::string why;
        if (!UnpackPattern(bytes_.data() + c_.pos, packedSize, rows, out_.channels, p, why))
            return Fail("pattern " + std::to_string(i) + ": " + why);
        c_.pos += packedSize;
        out_.patterns.push_back(std::move(p));
        return true;
    }

    bool ReadInstrument(unsigned i) {
        std::string where = "instrument " + std::to_string(i + 1);
        size_t start = c_.pos;
        uint32_t headerLength = c_.U32();
        Instrument ins;
        ins.name = c_.Text(22);
        c_.U8();
        unsigned sampleCount = c_.U16();
        if (!c_.ok || headerLength < 29 || sampleCount > 16) return Fail(where + " header is truncated or invalid");
        uint32_t sampleHeaderSize = 0;
        if (sampleCount > 0 && !InstrumentDetails(ins, where, &sampleHeaderSize)) return false;
        c_.pos = start;
        c_.Skip(headerLength);
        std::vector<uint32_t> lengths;
        for (unsigned s = 0; s < sampleCount; ++s)
            if (!SampleHeader(ins, sampleHeaderSize, where, &lengths)) return false;
        if (!SampleData(ins, lengths, where)) return false;
        if (!c_.ok) return Fail(where + " is truncated");
        out_.instruments.push_back(std::move(ins));
        return true;
    }

    // The rest of the header of an instrument that has samples: the sample header size, the volume
    // envelope, vibrato and fadeout.
    bool InstrumentDetails(Instrument& ins, const std::string& where, uint32_t* sampleHeaderSize) {
        *sampleHeaderSize = c_.U32();
        c_.Skip(96);
        std::vector<EnvelopePoint> points(12);
        for (auto& pt : points) {
            pt.tick = static_cast<uint16_t>(c_.U16());
            pt.value = static_cast<uint16_t>(c_.U16());
        }
        c_.Skip(48);
        unsigned numPoints = c_.U8();
        c_.U8();
        int sustain = static_cast<int>(c_.U8());
        int loopStart = static_cast<int>(c_.U8());
        int loopEnd = static_cast<int>(c_.U8());
        c_.Skip(3);
        unsigned type = c_.U8();
        c_.U8();
        ins.vibratoType = static_cast<uint8_t>(c_.U8());
        ins.vibratoSweep = static_cast<uint8_t>(c_.U8());
        ins.vibratoDepth = static_cast<uint8_t>(c_.U8());
        ins.vibratoRate = static_cast<uint8_t>(c_.U8());
        ins.fadeout = static_cast<uint16_t>(c_.U16());
        if (!c_.ok || numPoints > 12 || *sampleHeaderSize < kSampleHeaderSize)
            return Fail(where + " header is invalid");
        if (type & 1) {
            ins.volumeEnvelope.points.assign(points.begin(), points.begin() + numPoints);
            if (type & 2) ins.volumeEnvelope.sustain = sustain;
            if (type & 4) {
                ins.volumeEnvelope.loopStart = loopStart;
                ins.volumeEnvelope.loopEnd = loopEnd;
            }
        }
        return true;
    }

    // One sample's header; its data length in bytes goes to `lengths`.
    bool SampleHeader(Instrument& ins, uint32_t sampleHeaderSize, const std::string& where,
                      std::vector<uint32_t>* lengths) {
        size_t sampleStart = c_.pos;
        Sample smp;
        uint32_t length = c_.U32();
        uint32_t loopStartBytes = c_.U32();
        uint32_t loopLengthBytes = c_.U32();
        smp.volume = static_cast<uint8_t>(c_.U8());
        smp.finetune = static_cast<int8_t>(c_.U8());
        unsigned stype = c_.U8();
        smp.panning = static_cast<uint8_t>(c_.U8());
        smp.relativeNote = static_cast<int8_t>(c_.U8());
        c_.U8();
        smp.name = c_.Text(22);
        if (!c_.ok) return Fail(where + " sample header is truncated");
        smp.sixteenBit = (stype & 0x10) != 0;
        smp.loop = static_cast<LoopType>(stype & 3);
        uint32_t unit = smp.sixteenBit ? 2 : 1;
        smp.loopStart = loopStartBytes / unit;
        smp.loopLength = loopLengthBytes / unit;
        lengths->push_back(length);
        ins.samples.push_back(smp);
        c_.pos = sampleStart;
        c_.Skip(sampleHeaderSize);
        return true;
    }

    // The samples' data, one after another, after the instrument's sample headers.
    bool SampleData(Instrument& ins, const std::vector<uint32_t>& lengths, const std::string& where) {
        for (unsigned s = 0; s < ins.samples.size(); ++s) {
            Sample& smp = ins.samples[s];
            if (!c_.Has(lengths[s])) return Fail(where + " sample data is truncated");
            smp.data = smp.sixteenBit ? DeltaDecode16(bytes_.data() + c_.pos, lengths[s] / 2)
                                      : DeltaDecode8(bytes_.data() + c_.pos, lengths[s]);
            c_.pos += lengths[s];
        }
        return true;
    }

    const std::vector<uint8_t>& bytes_;
    Cursor c_;
    Module& out_;
    std::string& error_;
};

}  // namespace

bool Read(const std::vector<uint8_t>& bytes, Module& out, std::string& error) {
    out = Module{};
    return ModuleReader(bytes, out, error).Run();
}

}  // namespace xm
