#include "synth.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace sfx {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kOversample = 8;  // oscillator sub-samples per output sample
constexpr double kMaxSeconds = 10.0;

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

// '#' starts a comment at the start of a line or after a space, so note names such as C#5 survive.
std::string stripComment(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(s[i - 1])))) return s.substr(0, i);
    return s;
}

std::vector<std::string> split(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream ss(s);
    std::string w;
    while (ss >> w) out.push_back(w);
    return out;
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool toNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(begin, &end);
    if (end != begin + text.size() || errno == ERANGE || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// Reads the key/value lines of one source, keeping track of where we are for messages.
class Parser {
public:
    Parser(std::istream& in, const std::string& file) : in_(in), file_(file) {}

    Sound run() {
        std::string raw;
        while (std::getline(in_, raw)) {
            ++line_;
            std::string text = trim(stripComment(raw));
            if (text.empty()) continue;
            if (text.front() == '[') {
                section(text);
                continue;
            }
            entry(split(text));
        }
        if (in_.bad()) fail(line_, "read error");
        if (sound_.voices.empty()) fail(std::max(line_, 1), "no [voice] section: a sound needs at least one voice");
        for (auto& v : sound_.voices) {
            if (voiceSamples(v) == 0) fail(v.line, "voice lasts no time: attack + sustain + decay must be above 0");
            std::stable_sort(v.arp.begin(), v.arp.end(),
                             [](const ArpStep& a, const ArpStep& b) { return a.time < b.time; });
        }
        return sound_;
    }

private:
    [[noreturn]] void fail(int line, const std::string& reason) { throw ParseError(file_, line, reason); }
    [[noreturn]] void fail(const std::string& reason) { fail(line_, reason); }

    void section(const std::string& text) {
        if (text.back() != ']') fail("section header is missing its closing ']'");
        std::vector<std::string> words = split(text.substr(1, text.size() - 2));
        if (words.empty() || lower(words[0]) != "voice")
            fail("unknown section '" + text + "' (only [voice] or [voice NAME] is allowed)");
        if (words.size() > 2) fail("a voice name is one word: '" + text + "'");
        Voice v;
        v.line = line_;
        v.name = words.size() == 2 ? words[1] : std::string();
        v.seed = static_cast<std::uint32_t>(sound_.voices.size() + 1);
        sound_.voices.push_back(v);
        seen_.clear();
    }

    double number(const std::vector<std::string>& w, std::size_t i) {
        double v = 0;
        if (!toNumber(w[i], v)) fail("'" + w[0] + "' expects a number, got '" + w[i] + "'");
        return v;
    }

    double ranged(const std::vector<std::string>& w, double lo, double hi) {
        double v = number(w, 1);
        if (v < lo || v > hi) {
            std::ostringstream m;
            m << "'" << w[0] << "' must be between " << lo << " and " << hi << ", got " << w[1];
            fail(m.str());
        }
        return v;
    }

    // A frequency given either in Hz or as a note name; 0 is allowed where `allowZero`.
    double frequency(const std::vector<std::string>& w, bool allowZero) {
        double hz = 0;
        if (noteFrequency(w[1], hz)) return hz;
        if (!toNumber(w[1], hz))
            fail("'" + w[0] + "' expects a frequency in Hz or a note such as A4, got '" + w[1] + "'");
        if ((hz == 0 && allowZero) || (hz >= 1 && hz <= 20000)) return hz;
        fail("'" + w[0] + "' must be between 1 and 20000 Hz" + std::string(allowZero ? " (or 0 for off)" : "") +
             ", got " + w[1]);
    }

    void arity(const std::vector<std::string>& w, std::size_t n) {
        if (w.size() != n + 1) {
            std::ostringstream m;
            m << "'" << w[0] << "' expects " << n << (n == 1 ? " value" : " values") << ", got " << (w.size() - 1);
            fail(m.str());
        }
    }

    void entry(const std::vector<std::string>& w) {
        const std::string key = lower(w[0]);
        if (sound_.voices.empty()) {
            arity(w, 1);
            if (!seenGlobal_.insert(key).second) fail("'" + key + "' given twice");
            if (key == "gain")
                sound_.gain = ranged(w, 0, 8);
            else if (key == "normalize")
                sound_.normalize = ranged(w, 0, 1);
            else if (kVoiceKeys.count(key))
                fail("'" + key + "' belongs in a [voice] section; start one with [voice]");
            else
                fail("unknown setting '" + w[0] + "'");
            return;
        }
        if (!kVoiceKeys.count(key)) {
            if (key == "gain" || key == "normalize")
                fail("'" + key + "' applies to the whole sound; put it before the first [voice]");
            fail("unknown setting '" + w[0] + "'");
        }
        if (key != "arp" && !seen_.insert(key).second) fail("'" + key + "' given twice in this voice");

        Voice& v = sound_.voices.back();
        if (key == "arp") {
            arity(w, 2);
            ArpStep s;
            s.time = number(w, 1);
            s.semitones = number(w, 2);
            if (s.time < 0 || s.time > kMaxSeconds) fail("'arp' time must be between 0 and 10 seconds, got " + w[1]);
            if (s.semitones < -48 || s.semitones > 48)
                fail("'arp' step must be between -48 and 48 semitones, got " + w[2]);
            v.arp.push_back(s);
            return;
        }
        arity(w, 1);
        if (key == "wave") {
            const std::string n = lower(w[1]);
            if (n == "square")
                v.wave = Wave::Square;
            else if (n == "saw")
                v.wave = Wave::Saw;
            else if (n == "sine")
                v.wave = Wave::Sine;
            else if (n == "triangle")
                v.wave = Wave::Triangle;
            else if (n == "noise")
                v.wave = Wave::Noise;
            else
                fail("unknown wave '" + w[1] + "' (square, saw, sine, triangle or noise)");
        } else if (key == "duty")
            v.duty = ranged(w, 0, 1);
        else if (key == "duty_sweep")
            v.dutySweep = ranged(w, -100, 100);
        else if (key == "freq")
            v.freq = frequency(w, false);
        else if (key == "freq_min")
            v.freqMin = frequency(w, true);
        else if (key == "slide")
            v.slide = ranged(w, -200, 200);
        else if (key == "delta_slide")
            v.deltaSlide = ranged(w, -2000, 2000);
        else if (key == "vibrato_depth")
            v.vibratoDepth = ranged(w, 0, 24);
        else if (key == "vibrato_speed")
            v.vibratoSpeed = ranged(w, 0, 200);
        else if (key == "attack")
            v.attack = ranged(w, 0, kMaxSeconds);
        else if (key == "sustain")
            v.sustain = ranged(w, 0, kMaxSeconds);
        else if (key == "punch")
            v.punch = ranged(w, 0, 1);
        else if (key == "decay")
            v.decay = ranged(w, 0, kMaxSeconds);
        else if (key == "decay_shape")
            v.decayShape = ranged(w, 0.1, 10);
        else if (key == "lowpass")
            v.lowpass = frequency(w, true);
        else if (key == "lowpass_sweep")
            v.lowpassSweep = ranged(w, -50, 50);
        else if (key == "resonance")
            v.resonance = ranged(w, 0, 0.95);
        else if (key == "highpass")
            v.highpass = frequency(w, true);
        else if (key == "highpass_sweep")
            v.highpassSweep = ranged(w, -50, 50);
        else if (key == "repeat")
            v.repeat = ranged(w, 0, kMaxSeconds);
        else if (key == "crush") {
            double c = ranged(w, 0, kSampleRate);
            if (c != 0 && c < 100) fail("'crush' must be 0 (off) or at least 100 Hz, got " + w[1]);
            v.crush = c;
        } else if (key == "volume")
            v.volume = ranged(w, 0, 1);
        else if (key == "start")
            v.start = ranged(w, 0, kMaxSeconds);
        else if (key == "seed") {
            double s = number(w, 1);
            if (s < 0 || s > 4294967295.0 || s != std::floor(s))
                fail("'seed' must be a whole number from 0 to 4294967295, got " + w[1]);
            v.seed = static_cast<std::uint32_t>(s);
        }
    }

    static const std::set<std::string> kVoiceKeys;

    std::istream& in_;
    std::string file_;
    int line_ = 0;
    Sound sound_;
    std::set<std::string> seen_;
    std::set<std::string> seenGlobal_;
};

const std::set<std::string> Parser::kVoiceKeys = {
    "wave",          "duty",          "duty_sweep",    "freq",      "freq_min", "slide",          "delta_slide",
    "vibrato_depth", "vibrato_speed", "arp",           "attack",    "sustain",  "punch",          "decay",
    "decay_shape",   "lowpass",       "lowpass_sweep", "resonance", "highpass", "highpass_sweep", "repeat",
    "crush",         "volume",        "start",         "seed"};

// Zero-delay-feedback state-variable filter: stable at any cutoff below Nyquist.
struct Svf {
    double ic1 = 0, ic2 = 0;
    void process(double v0, double cutoff, double k, int sampleRate, double& low, double& high) {
        double g = std::tan(kPi * cutoff / sampleRate);
        double a1 = 1.0 / (1.0 + g * (g + k));
        double a2 = g * a1;
        double a3 = g * a2;
        double v3 = v0 - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        low = v2;
        high = v0 - k * v1 - v2;
    }
};

double sweptCutoff(double base, double octavesPerSecond, double t, int sampleRate) {
    double c = base * std::pow(2.0, std::clamp(octavesPerSecond * t, -30.0, 30.0));
    return std::clamp(c, 10.0, 0.45 * sampleRate);
}

}  // namespace

ParseError::ParseError(const std::string& file, int line, const std::string& reason)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + reason), line_(line), reason_(reason) {}

Sound parse(std::istream& in, const std::string& fileName) { return Parser(in, fileName).run(); }

Sound parseFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw ParseError(path, 0, "cannot open the file");
    return parse(f, path);
}

bool noteFrequency(const std::string& text, double& hz) {
    if (text.size() < 2 || text.size() > 4) return false;
    static const std::map<char, int> names = {{'C', -9}, {'D', -7}, {'E', -5}, {'F', -4},
                                              {'G', -2}, {'A', 0},  {'B', 2}};
    auto it = names.find(static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))));
    if (it == names.end()) return false;
    int semis = it->second;
    std::size_t i = 1;
    if (text[i] == '#') {
        ++semis;
        ++i;
    } else if (text[i] == 'b') {
        --semis;
        ++i;
    }
    if (i >= text.size()) return false;
    int octave = 0;
    bool neg = false;
    if (text[i] == '-') {
        neg = true;
        ++i;
    }
    if (i != text.size() - 1 || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    octave = (text[i] - '0') * (neg ? -1 : 1);
    double f = 440.0 * std::pow(2.0, (semis + 12.0 * (octave - 4)) / 12.0);
    if (f < 1 || f > 20000) return false;
    hz = f;
    return true;
}

std::size_t voiceSamples(const Voice& v, int sampleRate) {
    return static_cast<std::size_t>(std::llround((v.attack + v.sustain + v.decay) * sampleRate));
}

std::size_t voiceOffset(const Voice& v, int sampleRate) {
    return static_cast<std::size_t>(std::llround(v.start * sampleRate));
}

double baseFrequency(const Voice& v, double t) {
    double tr = v.repeat > 0 ? std::fmod(t, v.repeat) : t;
    double octaves = v.slide * tr + 0.5 * v.deltaSlide * tr * tr;
    double semis = 0;
    for (const ArpStep& s : v.arp)
        if (s.time <= tr) semis = s.semitones;
    octaves = std::clamp(octaves + semis / 12.0, -30.0, 30.0);
    return v.freq * std::pow(2.0, octaves);
}

double envelope(const Voice& v, double t) {
    if (t < 0) return 0;
    const double peak = 1.0 + v.punch;
    if (t < v.attack) return peak * t / v.attack;
    t -= v.attack;
    if (t < v.sustain) return peak - v.punch * t / v.sustain;
    t -= v.sustain;
    if (t < v.decay) return std::pow(1.0 - t / v.decay, v.decayShape);
    return 0;
}

std::vector<float> renderVoice(const Voice& v, int sampleRate) {
    const std::size_t n = voiceSamples(v, sampleRate);
    std::vector<float> out(n, 0.0f);

    std::uint32_t rng = v.seed * 2654435761u ^ 0x9E3779B9u;
    if (rng == 0) rng = 1;
    auto nextNoise = [&rng]() {
        rng ^= rng << 13;
        rng ^= rng >> 17;
        rng ^= rng << 5;
        return static_cast<double>(rng) / 2147483647.5 - 1.0;
    };

    double phase = 0, noisePhase = 0, noise = nextNoise();
    double held = 0, holdPhase = 1.0;
    Svf lp, hp;
    const double lpK = 2.0 - 2.0 * v.resonance;
    const double hpK = std::sqrt(2.0);
    const double subRate = static_cast<double>(sampleRate) * kOversample;
    const double maxFreq = 0.45 * subRate;

    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double f = baseFrequency(v, t);
        double s = 0;
        if (!(v.freqMin > 0 && f < v.freqMin)) {
            if (v.vibratoDepth > 0) f *= std::pow(2.0, v.vibratoDepth * std::sin(2 * kPi * v.vibratoSpeed * t) / 12.0);
            f = std::min(f, maxFreq);
            const double duty = std::clamp(v.duty + v.dutySweep * t, 0.01, 0.99);
            const double step = f / subRate;
            double acc = 0;
            for (int k = 0; k < kOversample; ++k) {
                phase += step;
                if (phase >= 1.0) phase -= std::floor(phase);
                switch (v.wave) {
                    case Wave::Square: acc += phase < duty ? 1.0 : -1.0; break;
                    case Wave::Saw: acc += 1.0 - 2.0 * phase; break;
                    case Wave::Sine: acc += std::sin(2 * kPi * phase); break;
                    case Wave::Triangle: acc += phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase; break;
                    case Wave::Noise:
                        // a fresh random level 32 times per period: the frequency sets the noise's colour
                        noisePhase += step * 32.0;
                        if (noisePhase >= 1.0) {
                            noisePhase -= std::floor(noisePhase);
                            noise = nextNoise();
                        }
                        acc += noise;
                        break;
                }
            }
            s = acc / kOversample;
        }
        double low = 0, high = 0;
        if (v.lowpass > 0) {
            lp.process(s, sweptCutoff(v.lowpass, v.lowpassSweep, t, sampleRate), lpK, sampleRate, low, high);
            s = low;
        }
        if (v.highpass > 0) {
            hp.process(s, sweptCutoff(v.highpass, v.highpassSweep, t, sampleRate), hpK, sampleRate, low, high);
            s = high;
        }
        if (v.crush > 0) {
            holdPhase += v.crush / sampleRate;
            if (holdPhase >= 1.0) {
                holdPhase -= std::floor(holdPhase);
                held = s;
            }
            s = held;
        }
        out[i] = static_cast<float>(s * envelope(v, t) * v.volume);
    }
    return out;
}

std::vector<float> render(const Sound& s, int sampleRate) {
    std::size_t total = 0;
    for (const Voice& v : s.voices) total = std::max(total, voiceOffset(v, sampleRate) + voiceSamples(v, sampleRate));
    std::vector<double> mix(total, 0.0);
    for (const Voice& v : s.voices) {
        const std::vector<float> one = renderVoice(v, sampleRate);
        const std::size_t off = voiceOffset(v, sampleRate);
        for (std::size_t i = 0; i < one.size(); ++i) mix[off + i] += one[i];
    }
    double peak = 0;
    for (double& x : mix) {
        x *= s.gain;
        peak = std::max(peak, std::fabs(x));
    }
    const double scale = (s.normalize > 0 && peak > 0) ? s.normalize / peak : 1.0;
    std::vector<float> out(total);
    for (std::size_t i = 0; i < total; ++i) out[i] = static_cast<float>(mix[i] * scale);
    return out;
}

std::vector<std::int16_t> toPcm16(const std::vector<float>& samples) {
    std::vector<std::int16_t> out(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double x = std::clamp(static_cast<double>(samples[i]), -1.0, 1.0);
        out[i] = static_cast<std::int16_t>(std::lround(x * 32767.0));
    }
    return out;
}

}  // namespace sfx
