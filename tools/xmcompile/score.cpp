#include "score.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "synth.h"

namespace xm {

namespace {

struct Failure {
    int line;
    std::string reason;
};

struct Token {
    std::string text;
    int line;
};

// One event of a channel stream after phrases and repeats are expanded.
struct Event {
    enum Kind { Note, Hold, Off } kind = Hold;
    int note = 0;
    int rows = 1;
    int instrument = 0;
    int volume = -1;                       // -1 = leave the volume column empty
    int effect = -1, param = 0;            // repeated on every row of the event
    int firstEffect = -1, firstParam = 0;  // on the first row only
    bool portamento = false;
    int line = 0;
};

struct ChannelText {
    std::vector<Token> tokens;
    int line = 0;
};

struct PatternText {
    std::string name;
    int rows = 64;
    int line = 0;
    std::map<int, ChannelText> channels;  // keyed by channel number, 1-based
};

[[noreturn]] void Fail(int line, const std::string& reason) { throw Failure{line, reason}; }

bool ParseInt(const std::string& s, int& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    long r = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || r < -100000 || r > 100000) return false;
    v = static_cast<int>(r);
    return true;
}

int IntArg(const std::string& s, int lo, int hi, int line, const std::string& what) {
    int v = 0;
    if (!ParseInt(s, v)) Fail(line, what + " must be a whole number, not \"" + s + "\"");
    if (v < lo || v > hi)
        Fail(line, what + " must be " + std::to_string(lo) + ".." + std::to_string(hi) + ", not " + s);
    return v;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsIdentifier(const std::string& s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

// Splits "[c4", "e4]3" and the like so that brackets become tokens of their own.
void AddChannelTokens(const std::vector<std::string>& words, size_t from, int line, std::vector<Token>& out) {
    for (size_t i = from; i < words.size(); ++i) {
        std::string w = words[i];
        while (!w.empty() && w[0] == '[') {
            out.push_back({"[", line});
            w.erase(0, 1);
        }
        // "e5]2]3" closes two groups: "e5", "]2", "]3"
        size_t close = w.find(']');
        if (close == std::string::npos) {
            if (!w.empty()) out.push_back({w, line});
            continue;
        }
        if (close > 0) out.push_back({w.substr(0, close), line});
        while (close != std::string::npos) {
            size_t next = w.find(']', close + 1);
            out.push_back({w.substr(close, next == std::string::npos ? std::string::npos : next - close), line});
            close = next;
        }
    }
}

class Compiler {
public:
    Module module;

    void Run(const std::string& text) {
        std::istringstream in(text);
        std::string raw;
        int lineNo = 0;
        PatternText* current = nullptr;
        while (std::getline(in, raw)) {
            ++lineNo;
            // a comment starts with '#' at the start of a word, so sharps such as f#5 stay notes
            for (size_t h = 0; h < raw.size(); ++h) {
                if (raw[h] == '#' && (h == 0 || std::isspace(static_cast<unsigned char>(raw[h - 1])))) {
                    raw.erase(h);
                    break;
                }
            }
            std::vector<std::string> w = SplitWords(raw);
            if (w.empty()) continue;
            const std::string& key = w[0];
            if (std::isdigit(static_cast<unsigned char>(key[0]))) {
                if (!current) Fail(lineNo, "channel line outside a pattern");
                int ch = IntArg(key, 1, module.channels, lineNo, "channel number");
                auto& chText = current->channels[ch];
                if (chText.line < current->line) {  // first line in this pattern replaces a copied channel
                    chText.tokens.clear();
                    chText.line = lineNo;
                }
                AddChannelTokens(w, 1, lineNo, chText.tokens);
                continue;
            }
            current = nullptr;
            if (key == "title") {
                size_t q1 = raw.find('"'), q2 = raw.rfind('"');
                if (q1 == std::string::npos || q2 == q1) Fail(lineNo, "title needs a quoted name");
                module.name = raw.substr(q1 + 1, q2 - q1 - 1);
                if (module.name.size() > 20) Fail(lineNo, "title is longer than 20 characters");
            } else if (key == "speed") {
                NeedArgs(w, 2, lineNo);
                module.speed = IntArg(w[1], 1, 31, lineNo, "speed");
            } else if (key == "bpm") {
                NeedArgs(w, 2, lineNo);
                module.bpm = IntArg(w[1], 32, 255, lineNo, "bpm");
            } else if (key == "channels") {
                NeedArgs(w, 2, lineNo);
                if (!patterns_.empty()) Fail(lineNo, "channels must be set before the first pattern");
                module.channels = IntArg(w[1], 1, 32, lineNo, "channels");
            } else if (key == "restart") {
                NeedArgs(w, 2, lineNo);
                module.restart = IntArg(w[1], 0, 255, lineNo, "restart");
                restartLine_ = lineNo;
            } else if (key == "instrument") {
                Instrument(w, lineNo);
            } else if (key == "phrase") {
                if (w.size() < 2 || !IsIdentifier(w[1])) Fail(lineNo, "phrase needs a name");
                if (phrases_.count(w[1])) Fail(lineNo, "phrase \"" + w[1] + "\" is defined twice");
                std::vector<Token> tokens;
                AddChannelTokens(w, 2, lineNo, tokens);
                phrases_[w[1]] = tokens;
            } else if (key == "pattern") {
                current = Pattern(w, lineNo);
            } else if (key == "order") {
                if (orderLine_) Fail(lineNo, "the order list is given twice");
                orderLine_ = lineNo;
                std::vector<Token> tokens;
                AddChannelTokens(w, 1, lineNo, tokens);
                size_t pos = 0;
                Order(tokens, pos, 0);
            } else {
                Fail(lineNo, "unknown keyword \"" + key + "\"");
            }
        }
        Finish(lineNo);
    }

private:
    std::map<std::string, int> instrumentIds_;
    std::map<std::string, std::vector<Token>> phrases_;
    std::vector<PatternText> patterns_;
    std::map<std::string, int> patternIds_;
    int orderLine_ = 0;
    int restartLine_ = 0;

    static void NeedArgs(const std::vector<std::string>& w, size_t n, int line) {
        if (w.size() != n) Fail(line, "\"" + w[0] + "\" takes " + std::to_string(n - 1) + " value(s)");
    }

    void Instrument(const std::vector<std::string>& w, int line) {
        if (w.size() < 2 || !IsIdentifier(w[1])) Fail(line, "instrument needs a name");
        if (instrumentIds_.count(w[1])) Fail(line, "instrument \"" + w[1] + "\" is defined twice");
        if (module.instruments.size() >= 128) Fail(line, "more than 128 instruments");
        WaveSettings ws;
        bool haveWave = false;
        xm::Instrument ins;
        ins.name = w[1].substr(0, 22);
        int volume = 64, pan = 128, transpose = 0, finetune = 0;
        bool haveFinetune = false;
        for (size_t i = 2; i < w.size(); ++i) {
            size_t eq = w[i].find('=');
            if (eq == std::string::npos) Fail(line, "expected key=value, not \"" + w[i] + "\"");
            std::string k = w[i].substr(0, eq), v = w[i].substr(eq + 1);
            if (k == "wave") {
                if (!WaveFromName(v, ws.wave))
                    Fail(line, "unknown wave \"" + v + "\" (pulse, saw, triangle, sine, noise, kick)");
                haveWave = true;
            } else if (k == "duty") {
                ws.duty = IntArg(v, 1, 99, line, "duty");
            } else if (k == "bits") {
                int b = IntArg(v, 8, 16, line, "bits");
                if (b != 8 && b != 16) Fail(line, "bits must be 8 or 16");
                ws.sixteenBit = b == 16;
            } else if (k == "level") {
                ws.level = IntArg(v, 1, 100, line, "level");
            } else if (k == "volume") {
                volume = IntArg(v, 0, 64, line, "volume");
            } else if (k == "pan") {
                pan = IntArg(v, 0, 255, line, "pan");
            } else if (k == "transpose") {
                transpose = IntArg(v, -48, 48, line, "transpose");
            } else if (k == "finetune") {
                finetune = IntArg(v, -128, 127, line, "finetune");
                haveFinetune = true;
            } else if (k == "fadeout") {
                ins.fadeout = static_cast<uint16_t>(IntArg(v, 0, 4095, line, "fadeout"));
            } else if (k == "envelope") {
                ins.volumeEnvelope.points.clear();
                std::stringstream ss(v);
                std::string pt;
                while (std::getline(ss, pt, ',')) {
                    size_t colon = pt.find(':');
                    if (colon == std::string::npos) Fail(line, "envelope points are tick:value, not \"" + pt + "\"");
                    EnvelopePoint p;
                    p.tick = static_cast<uint16_t>(IntArg(pt.substr(0, colon), 0, 65535, line, "envelope tick"));
                    p.value = static_cast<uint16_t>(IntArg(pt.substr(colon + 1), 0, 64, line, "envelope value"));
                    auto& pts = ins.volumeEnvelope.points;
                    if (pts.empty() && p.tick != 0) Fail(line, "the envelope must start at tick 0");
                    if (!pts.empty() && p.tick <= pts.back().tick) Fail(line, "envelope ticks must increase");
                    pts.push_back(p);
                }
                if (ins.volumeEnvelope.points.size() > 12) Fail(line, "an envelope holds at most 12 points");
            } else if (k == "sustain") {
                ins.volumeEnvelope.sustain = IntArg(v, 0, 11, line, "sustain point");
            } else if (k == "loop") {
                size_t dash = v.find('-');
                if (dash == std::string::npos) Fail(line, "loop is first-last point, e.g. loop=1-3");
                ins.volumeEnvelope.loopStart = IntArg(v.substr(0, dash), 0, 11, line, "loop start point");
                ins.volumeEnvelope.loopEnd = IntArg(v.substr(dash + 1), 0, 11, line, "loop end point");
                if (ins.volumeEnvelope.loopEnd < ins.volumeEnvelope.loopStart) Fail(line, "loop ends before it starts");
            } else {
                Fail(line, "unknown instrument setting \"" + k + "\"");
            }
        }
        if (!haveWave) Fail(line, "instrument \"" + w[1] + "\" needs wave=...");
        int points = static_cast<int>(ins.volumeEnvelope.points.size());
        if (ins.volumeEnvelope.sustain >= points && ins.volumeEnvelope.sustain >= 0)
            Fail(line, "sustain names a point the envelope does not have");
        if (ins.volumeEnvelope.loopEnd >= points) Fail(line, "loop names a point the envelope does not have");
        Sample s = Synthesize(ws);
        s.name = w[1].substr(0, 22);
        s.volume = static_cast<uint8_t>(volume);
        s.panning = static_cast<uint8_t>(pan);
        int rel = s.relativeNote + transpose;
        if (rel < -96 || rel > 95) Fail(line, "transpose takes the sample out of range");
        s.relativeNote = static_cast<int8_t>(rel);
        if (haveFinetune) s.finetune = static_cast<int8_t>(finetune);
        ins.samples.push_back(std::move(s));
        module.instruments.push_back(std::move(ins));
        instrumentIds_[w[1]] = static_cast<int>(module.instruments.size());
    }

    PatternText* Pattern(const std::vector<std::string>& w, int line) {
        if (w.size() < 2 || !IsIdentifier(w[1])) Fail(line, "pattern needs a name");
        if (patternIds_.count(w[1])) Fail(line, "pattern \"" + w[1] + "\" is defined twice");
        if (patterns_.size() >= 256) Fail(line, "more than 256 patterns");
        PatternText p;
        p.name = w[1];
        p.line = line;
        size_t i = 2;
        if (i < w.size() && w[i] != "like") p.rows = IntArg(w[i++], 1, 256, line, "pattern rows");
        if (i < w.size()) {
            if (w[i] != "like" || i + 2 != w.size()) Fail(line, "expected: pattern NAME [ROWS] [like OTHER]");
            auto it = patternIds_.find(w[i + 1]);
            if (it == patternIds_.end()) Fail(line, "pattern \"" + w[i + 1] + "\" is not defined (yet)");
            const PatternText& base = patterns_[it->second];
            p.channels = base.channels;
            if (i == 2) p.rows = base.rows;
        }
        patternIds_[p.name] = static_cast<int>(patterns_.size());
        patterns_.push_back(std::move(p));
        return &patterns_.back();
    }

    void Order(const std::vector<Token>& tokens, size_t& pos, int depth) {
        while (pos < tokens.size()) {
            const Token& t = tokens[pos++];
            if (t.text == "|") continue;
            if (t.text == "[") {
                size_t start = module.order.size();
                Order(tokens, pos, depth + 1);
                const Token& close = tokens[pos - 1];
                int n = IntArg(close.text.substr(1), 1, 256, t.line, "repeat count");
                std::vector<uint8_t> group(module.order.begin() + start, module.order.end());
                for (int k = 1; k < n; ++k) module.order.insert(module.order.end(), group.begin(), group.end());
                if (module.order.size() > 256) Fail(t.line, "the order list is longer than 256 entries");
                continue;
            }
            if (t.text[0] == ']') {
                if (depth == 0) Fail(t.line, "\"]\" without \"[\"");
                return;
            }
            auto it = patternIds_.find(t.text);
            if (it == patternIds_.end()) Fail(t.line, "order names pattern \"" + t.text + "\" which is not defined");
            module.order.push_back(static_cast<uint8_t>(it->second));
            if (module.order.size() > 256) Fail(t.line, "the order list is longer than 256 entries");
        }
        if (depth > 0) Fail(tokens.empty() ? 0 : tokens.back().line, "\"[\" without \"]\"");
    }

    struct StreamState {
        int length = 1;
        int instrument = 0;
        int volume = -1;
    };

    // Reads one effect suffix such as "~34" starting at s[i]; returns the new position.
    static size_t Modifier(const std::string& s, size_t i, Event& e, int line) {
        char m = s[i++];
        auto hex2 = [&](const char* what) {
            if (i + 2 > s.size() || HexDigit(s[i]) < 0 || HexDigit(s[i + 1]) < 0)
                Fail(line, std::string(what) + " needs two hex digits in \"" + s + "\"");
            int v = HexDigit(s[i]) * 16 + HexDigit(s[i + 1]);
            i += 2;
            return v;
        };
        auto hex1 = [&](const char* what) {
            if (i + 1 > s.size() || HexDigit(s[i]) < 0)
                Fail(line, std::string(what) + " needs a hex digit in \"" + s + "\"");
            return HexDigit(s[i++]);
        };
        auto every = [&](int effect, int param) {
            if (e.effect >= 0) Fail(line, "two effects on one note in \"" + s + "\"");
            e.effect = effect;
            e.param = param;
        };
        auto first = [&](int effect, int param) {
            if (e.firstEffect >= 0) Fail(line, "two effects on one note in \"" + s + "\"");
            e.firstEffect = effect;
            e.firstParam = param;
        };
        switch (m) {
            case ':': {
                size_t j = i;
                while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
                e.rows = IntArg(s.substr(i, j - i), 1, 256, line, "length");
                return j;
            }
            case 'v': {
                size_t j = i;
                while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
                e.volume = IntArg(s.substr(i, j - i), 0, 64, line, "volume");
                return j;
            }
            case '~': every(0x4, hex2("vibrato")); break;
            case 'a': {
                int p = hex2("arpeggio");
                if (p == 0) Fail(line, "arpeggio 00 does nothing in \"" + s + "\"");
                every(0x0, p);
                break;
            }
            case '>':
                every(0x3, hex2("portamento"));
                e.portamento = true;
                break;
            case '\\': every(0xA, hex1("volume slide")); break;
            case '/': every(0xA, hex1("volume slide") << 4); break;
            case 'x': first(0xE, 0xC0 | hex1("note cut")); break;
            case 'd': first(0xE, 0xD0 | hex1("note delay")); break;
            default: Fail(line, std::string("unknown modifier '") + m + "' in \"" + s + "\"");
        }
        return i;
    }

    void Expand(const std::vector<Token>& tokens, size_t& pos, int transpose, StreamState& st, std::vector<Event>& out,
                int depth, std::vector<std::string>& stack) {
        while (pos < tokens.size()) {
            const Token& t = tokens[pos++];
            const std::string& s = t.text;
            if (s == "|") continue;
            if (s == "[") {
                size_t start = out.size();
                Expand(tokens, pos, transpose, st, out, depth + 1, stack);
                if (pos == 0 || tokens[pos - 1].text[0] != ']') Fail(t.line, "\"[\" without \"]\"");
                int n = IntArg(tokens[pos - 1].text.substr(1), 1, 256, tokens[pos - 1].line, "repeat count");
                std::vector<Event> group(out.begin() + start, out.end());
                for (int k = 1; k < n; ++k) out.insert(out.end(), group.begin(), group.end());
                continue;
            }
            if (s[0] == ']') {
                if (depth == 0) Fail(t.line, "\"]\" without \"[\"");
                return;
            }
            if (s[0] == '$') {
                size_t sign = s.find_first_of("+-", 1);
                std::string name = s.substr(1, sign == std::string::npos ? std::string::npos : sign - 1);
                int shift = 0;
                if (sign != std::string::npos) shift = IntArg(s.substr(sign), -96, 96, t.line, "transposition");
                auto it = phrases_.find(name);
                if (it == phrases_.end()) Fail(t.line, "phrase \"" + name + "\" is not defined");
                for (const std::string& open : stack)
                    if (open == name) Fail(t.line, "phrase \"" + name + "\" uses itself");
                if (stack.size() > 32) Fail(t.line, "phrases nest too deeply");
                stack.push_back(name);
                size_t inner = 0;
                Expand(it->second, inner, transpose + shift, st, out, 0, stack);
                stack.pop_back();
                continue;
            }
            if (s[0] == '@') {
                auto it = instrumentIds_.find(s.substr(1));
                if (it == instrumentIds_.end()) Fail(t.line, "instrument \"" + s.substr(1) + "\" is not defined");
                st.instrument = it->second;
                continue;
            }
            if (s[0] == 'L' && s.size() > 1) {
                st.length = IntArg(s.substr(1), 1, 256, t.line, "default length");
                continue;
            }
            if (s[0] == 'V' && s.size() > 1) {
                st.volume = IntArg(s.substr(1), 0, 64, t.line, "default volume");
                continue;
            }
            Event e;
            e.line = t.line;
            e.rows = st.length;
            size_t i = 0;
            if (s[0] == '.') {
                e.kind = Event::Hold;
                i = 1;
            } else if (s[0] == '^') {
                e.kind = Event::Off;
                i = 1;
            } else {
                // note name: letter, optional # b or -, octave digit
                size_t j = 1;
                if (j < s.size() && (s[j] == '#' || s[j] == 'b' || s[j] == '-')) ++j;
                if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
                int note = NoteFromName(s.substr(0, j));
                if (note == 0) Fail(t.line, "\"" + s + "\" is not a note, rest or command");
                note += transpose;
                if (note < 1 || note > kMaxNote) Fail(t.line, "\"" + s + "\" transposed falls outside C-0..B-7");
                if (st.instrument == 0) Fail(t.line, "note \"" + s + "\" comes before any @instrument");
                e.kind = Event::Note;
                e.note = note;
                e.instrument = st.instrument;
                e.volume = st.volume;
                i = j;
            }
            while (i < s.size()) i = Modifier(s, i, e, t.line);
            if (e.kind == Event::Off && (e.effect >= 0 || e.firstEffect >= 0))
                Fail(t.line, "a key-off takes no effects");
            out.push_back(e);
        }
        if (depth > 0) Fail(tokens.empty() ? 0 : tokens.back().line, "\"[\" without \"]\"");
    }

    void Finish(int lastLine) {
        if (patterns_.empty()) Fail(lastLine, "the score has no pattern");
        if (!orderLine_) Fail(lastLine, "the score has no order list");
        if (module.order.empty()) Fail(orderLine_, "the order list is empty");
        if (static_cast<size_t>(module.restart) >= module.order.size())
            Fail(restartLine_, "restart lies beyond the end of the order list");
        for (const PatternText& pt : patterns_) {
            xm::Pattern p;
            p.rows = pt.rows;
            p.cells.assign(static_cast<size_t>(pt.rows) * module.channels, Cell{});
            for (const auto& [ch, text] : pt.channels) {
                if (ch > module.channels)
                    Fail(text.line, "channel " + std::to_string(ch) + " is beyond the channel count");
                StreamState st;
                std::vector<Event> events;
                std::vector<std::string> stack;
                size_t pos = 0;
                Expand(text.tokens, pos, 0, st, events, 0, stack);
                int row = 0;
                for (const Event& e : events) {
                    if (row + e.rows > pt.rows)
                        Fail(e.line, "pattern \"" + pt.name + "\" channel " + std::to_string(ch) + " runs past row " +
                                         std::to_string(pt.rows));
                    for (int r = 0; r < e.rows; ++r) {
                        Cell& c = p.cells[static_cast<size_t>(row + r) * module.channels + (ch - 1)];
                        if (r == 0) {
                            if (e.kind == Event::Note) {
                                c.note = static_cast<uint8_t>(e.note);
                                if (!e.portamento) c.instrument = static_cast<uint8_t>(e.instrument);
                            } else if (e.kind == Event::Off) {
                                c.note = kKeyOff;
                            }
                            if (e.volume >= 0) c.volume = static_cast<uint8_t>(0x10 + e.volume);
                            if (e.firstEffect >= 0) {
                                if (e.effect >= 0) Fail(e.line, "two effects on the first row of one note");
                                c.effect = static_cast<uint8_t>(e.firstEffect);
                                c.param = static_cast<uint8_t>(e.firstParam);
                                continue;
                            }
                        }
                        if (e.effect >= 0) {
                            c.effect = static_cast<uint8_t>(e.effect);
                            c.param = static_cast<uint8_t>(e.param);
                        }
                    }
                    row += e.rows;
                }
                if (row != pt.rows)
                    Fail(text.line, "pattern \"" + pt.name + "\" channel " + std::to_string(ch) + " fills " +
                                        std::to_string(row) + " of " + std::to_string(pt.rows) + " rows");
            }
            module.patterns.push_back(std::move(p));
        }
        std::string why = Validate(module);
        if (!why.empty()) Fail(0, why);
    }
};

}  // namespace

bool CompileScore(const std::string& text, const std::string& file, Module& out, ScoreError& error) {
    Compiler c;
    try {
        c.Run(text);
    } catch (const Failure& f) {
        error = ScoreError{file, f.line, f.reason};
        return false;
    }
    out = std::move(c.module);
    return true;
}

}  // namespace xm
