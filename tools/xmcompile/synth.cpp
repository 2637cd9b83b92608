#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace xm {

namespace {

constexpr double kPi = 3.14159265358979323846;
// A sample played at C-4 with relative note 0 runs at this many frames per second.
constexpr double kC4Rate = 8363.0;

int16_t Scale(double v, const WaveSettings& s) {
    double full = s.sixteenBit ? 32767.0 : 127.0;
    double x = v * full * s.level / 100.0;
    long r = std::lround(x);
    if (r > full) r = static_cast<long>(full);
    if (r < -full - 1) r = static_cast<long>(-full - 1);
    return static_cast<int16_t>(r);
}

}  // namespace

bool WaveFromName(const std::string& name, Wave& wave) {
    if (name == "pulse" || name == "square")
        wave = Wave::Pulse;
    else if (name == "saw")
        wave = Wave::Saw;
    else if (name == "triangle")
        wave = Wave::Triangle;
    else if (name == "sine")
        wave = Wave::Sine;
    else if (name == "noise")
        wave = Wave::Noise;
    else if (name == "kick")
        wave = Wave::Kick;
    else
        return false;
    return true;
}

Sample Synthesize(const WaveSettings& s) {
    Sample out;
    out.sixteenBit = s.sixteenBit;
    switch (s.wave) {
        case Wave::Pulse:
        case Wave::Saw:
        case Wave::Triangle:
        case Wave::Sine: {
            const int n = kCycleFrames;
            const int high = std::max(1, std::min(n - 1, (n * s.duty + 50) / 100));
            for (int i = 0; i < n; ++i) {
                double phase = static_cast<double>(i) / n;
                double v = 0;
                if (s.wave == Wave::Pulse) {
                    // zero-mean: a narrow pulse has a tall high part and a shallow low part, so notes
                    // start and stop without a jump in the DC level
                    double d = static_cast<double>(high) / n;
                    double peak = std::max(d, 1.0 - d);
                    v = i < high ? (1.0 - d) / peak : -d / peak;
                } else if (s.wave == Wave::Saw)
                    v = 2.0 * phase - 1.0;
                else if (s.wave == Wave::Triangle)
                    v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
                else
                    v = std::sin(2.0 * kPi * phase);
                out.data.push_back(Scale(v, s));
            }
            out.loop = LoopType::Forward;
            out.loopStart = 0;
            out.loopLength = n;
            // 64 frames per cycle sound an octave low at the base rate; 8363/32 Hz is 2 cents under
            // middle C, which the finetune corrects.
            out.relativeNote = 12;
            out.finetune = 3;
            break;
        }
        case Wave::Noise: {
            uint16_t lfsr = 0x7FFF;  // fixed seed: the same score always gives the same file
            for (int i = 0; i < kNoiseFrames; ++i) {
                unsigned bit = (lfsr ^ (lfsr >> 1)) & 1u;
                lfsr = static_cast<uint16_t>((lfsr >> 1) | (bit << 14));
                out.data.push_back(Scale((lfsr & 1) ? 1.0 : -1.0, s));
            }
            out.loop = LoopType::Forward;
            out.loopStart = 0;
            out.loopLength = kNoiseFrames;
            out.relativeNote = 0;
            break;
        }
        case Wave::Kick: {
            // Rendered at twice the base rate (one octave up) for a cleaner attack: a sine that
            // falls from 160 Hz to 45 Hz while it dies away over a quarter of a second at C-4.
            const double rate = kC4Rate * 2.0;
            const int frames = static_cast<int>(rate * 0.25);
            double phase = 0;
            for (int i = 0; i < frames; ++i) {
                double t = i / rate;
                double freq = 45.0 + 115.0 * std::exp(-t * 28.0);
                phase += 2.0 * kPi * freq / rate;
                double amp = std::exp(-t * 11.0);
                if (i < 16) amp *= i / 16.0;
                out.data.push_back(Scale(std::sin(phase) * amp, s));
            }
            out.loop = LoopType::None;
            out.relativeNote = 12;
            break;
        }
    }
    return out;
}

}  // namespace xm
