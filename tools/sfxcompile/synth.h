// Sound-effect synthesiser: a readable text source describes one or more layered
// voices (oscillator + pitch movement + envelope + filters); rendering mixes them
// into mono floating-point samples. See assets/sounds/README.md for the format.
#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sfx {

constexpr int kSampleRate = 44100;

enum class Wave { Square, Saw, Sine, Triangle, Noise };

// One pitch step of an arpeggio: from `time` seconds after the voice (or its
// current repeat) starts, the pitch is `semitones` away from the sliding base.
struct ArpStep {
    double time = 0.0;
    double semitones = 0.0;
};

struct Voice {
    std::string name;  // optional label from the section header
    int line = 0;      // source line of the section header
    Wave wave = Wave::Square;
    double duty = 0.5;           // square wave high fraction, 0..1
    double dutySweep = 0.0;      // change of duty per second
    double freq = 440.0;         // start frequency, Hz
    double freqMin = 0.0;        // the voice falls silent when the slide takes it below this (0: never)
    double slide = 0.0;          // octaves per second (negative slides down)
    double deltaSlide = 0.0;     // change of slide, octaves per second per second
    double vibratoDepth = 0.0;   // semitones
    double vibratoSpeed = 0.0;   // Hz
    std::vector<ArpStep> arp;    // sorted by time
    double attack = 0.0;         // seconds
    double sustain = 0.1;        // seconds
    double punch = 0.0;          // extra loudness at the start of the sustain, 0..1
    double decay = 0.1;          // seconds
    double decayShape = 1.0;     // 1 linear, >1 falls faster at first, <1 holds longer
    double lowpass = 0.0;        // cutoff Hz (0: off)
    double lowpassSweep = 0.0;   // octaves per second
    double resonance = 0.0;      // 0..0.95
    double highpass = 0.0;       // cutoff Hz (0: off)
    double highpassSweep = 0.0;  // octaves per second
    double repeat = 0.0;         // seconds between restarts of pitch and arpeggio (0: off)
    double crush = 0.0;          // sample-and-hold rate in Hz (0: off)
    double volume = 1.0;         // 0..1
    double start = 0.0;          // offset of this voice in the sound, seconds
    std::uint32_t seed = 0;      // noise seed
};

struct Sound {
    std::vector<Voice> voices;
    double gain = 1.0;       // applied to the mix
    double normalize = 0.0;  // when > 0, the mix is scaled so its peak is this value
};

// A malformed source. what() is "FILE:LINE: reason".
class ParseError : public std::runtime_error {
public:
    ParseError(const std::string& file, int line, const std::string& reason);
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

private:
    int line_;
    std::string reason_;
};

// Parses a source. `fileName` is used in error messages only.
Sound parse(std::istream& in, const std::string& fileName);
Sound parseFile(const std::string& path);  // throws ParseError (line 0 when the file cannot be read)

// Number of samples a voice lasts (attack + sustain + decay), not counting its start offset.
std::size_t voiceSamples(const Voice& v, int sampleRate = kSampleRate);
// First sample of the voice in the mix.
std::size_t voiceOffset(const Voice& v, int sampleRate = kSampleRate);

// Frequency of the voice (Hz) at `t` seconds after it starts, without vibrato.
double baseFrequency(const Voice& v, double t);
// Envelope level at `t` seconds after the voice starts (0 outside the voice).
double envelope(const Voice& v, double t);

std::vector<float> renderVoice(const Voice& v, int sampleRate = kSampleRate);
std::vector<float> render(const Sound& s, int sampleRate = kSampleRate);

// Clamps to -1..1 and rounds to signed 16-bit.
std::vector<std::int16_t> toPcm16(const std::vector<float>& samples);

// Parses a note name such as "A4", "C#5" or "Eb3" into Hz (A4 = 440). Returns false if it is not one.
bool noteFrequency(const std::string& text, double& hz);

}  // namespace sfx
