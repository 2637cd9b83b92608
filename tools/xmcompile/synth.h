// Waveforms synthesised into module samples.
#pragma once

#include <string>

#include "xm_module.h"

namespace xm {

enum class Wave { Pulse, Saw, Triangle, Sine, Noise, Kick };

struct WaveSettings {
    Wave wave = Wave::Pulse;
    int duty = 50;  // pulse: percentage of the cycle spent high, 1..99
    bool sixteenBit = false;
    int level = 100;  // peak amplitude as a percentage of full scale, 1..100
};

// Parses "pulse", "saw", ... ; returns false for an unknown name.
bool WaveFromName(const std::string& name, Wave& wave);

// Tonal waves are one looped cycle of kCycleFrames frames tuned so that C-4 sounds at about 261.6 Hz.
// Noise is a long looped stretch of a shift-register sequence; the kick is a one-shot thump.
constexpr int kCycleFrames = 64;
constexpr int kNoiseFrames = 16384;

Sample Synthesize(const WaveSettings& settings);

}  // namespace xm
