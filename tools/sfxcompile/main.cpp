// sfxcompile SOURCE OUTPUT.wav
// Renders a sound-effect source into a 44100 Hz mono 16-bit WAV file.
#include "synth.h"
#include "wav.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sfxcompile SOURCE OUTPUT.wav\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    try {
        const sfx::Sound sound = sfx::parseFile(source);
        const auto samples = sfx::toPcm16(sfx::render(sound));
        std::string error;
        if (!sfx::writeFileAtomic(output, sfx::wavBytes(samples, sfx::kSampleRate), error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
