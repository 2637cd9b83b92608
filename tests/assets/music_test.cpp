// Every music track in the data folder: structure, loading through SDL_mixer, and a render
// by an outside player (xmp or openmpt123) checked for length and loudness.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <sys/stat.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "xm_module.h"

namespace {

const std::vector<std::string> kTracks = {"title", "level_1", "level_2", "level_3", "boss_1", "boss_final", "end"};

std::string TrackPath(const std::string& name) { return std::string(BRACKMOOR_DATA_DIR) + "/music/" + name + ".xm"; }

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

bool HaveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct Pcm {
    bool ok = false;
    double seconds = 0;
    double rms = 0;             // over the whole render, full scale = 1
    double quietestSecond = 1;  // RMS of the quietest whole second
};

// Reads a 16-bit PCM WAV file (any channel count and rate).
Pcm ReadWav(const std::string& path) {
    Pcm r;
    std::vector<uint8_t> b = ReadBytes(path);
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF") return r;
    size_t pos = 12;
    unsigned channels = 0, rate = 0, bits = 0;
    while (pos + 8 <= b.size()) {
        std::string id(b.begin() + pos, b.begin() + pos + 4);
        uint32_t size = b[pos + 4] | (b[pos + 5] << 8) | (b[pos + 6] << 16) | (static_cast<uint32_t>(b[pos + 7]) << 24);
        size_t body = pos + 8;
        if (id == "fmt " && body + 16 <= b.size()) {
            channels = b[body + 2] | (b[body + 3] << 8);
            rate = b[body + 4] | (b[body + 5] << 8) | (b[body + 6] << 16) | (static_cast<uint32_t>(b[body + 7]) << 24);
            bits = b[body + 14] | (b[body + 15] << 8);
        } else if (id == "data") {
            if (channels == 0 || rate == 0 || bits != 16) return r;
            size_t bytes = std::min<size_t>(size, b.size() - body);
            size_t frames = bytes / (2 * channels);
            r.seconds = static_cast<double>(frames) / rate;
            double total = 0, second = 0;
            size_t inSecond = 0;
            for (size_t f = 0; f < frames; ++f) {
                double s = 0;
                for (unsigned c = 0; c < channels; ++c) {
                    size_t at = body + (f * channels + c) * 2;
                    s += static_cast<int16_t>(b[at] | (b[at + 1] << 8)) / 32768.0;
                }
                s /= channels;
                total += s * s;
                second += s * s;
                if (++inSecond == rate) {
                    r.quietestSecond = std::min(r.quietestSecond, std::sqrt(second / rate));
                    second = 0;
                    inSecond = 0;
                }
            }
            r.rms = frames ? std::sqrt(total / frames) : 0;
            r.ok = frames > 0;
            return r;
        }
        pos = body + size + (size & 1);
    }
    return r;
}

class MusicTrack : public ::testing::TestWithParam<std::string> {};

TEST_P(MusicTrack, IsAFourChannelPieceOfAtLeast45Seconds) {
    std::vector<uint8_t> bytes = ReadBytes(TrackPath(GetParam()));
    ASSERT_FALSE(bytes.empty()) << TrackPath(GetParam()) << " is missing";
    xm::Module m;
    std::string err;
    ASSERT_TRUE(xm::Read(bytes, m, err)) << err;
    EXPECT_EQ(m.channels, 4);
    EXPECT_GE(m.LengthSeconds(), 45.0);
    EXPECT_LT(static_cast<size_t>(m.restart), m.order.size());
    // melody, harmony, bass and percussion: every channel plays notes, with more than one pitch
    // on the tonal channels and more than one instrument overall
    std::vector<std::set<int>> pitches(4);
    std::set<int> instruments;
    for (uint8_t p : m.order)
        for (int r = 0; r < m.patterns[p].rows; ++r)
            for (int c = 0; c < 4; ++c) {
                const xm::Cell& cell = m.patterns[p].cells[static_cast<size_t>(r) * 4 + c];
                if (cell.note >= 1 && cell.note <= xm::kMaxNote) pitches[c].insert(cell.note);
                if (cell.instrument) instruments.insert(cell.instrument);
            }
    for (int c = 0; c < 3; ++c) EXPECT_GE(pitches[c].size(), 4u) << "channel " << c + 1;
    EXPECT_FALSE(pitches[3].empty());
    EXPECT_GE(instruments.size(), 4u);
    // a piece has sections: the order list reuses patterns but is not one pattern over and over
    std::set<uint8_t> distinct(m.order.begin(), m.order.end());
    EXPECT_GE(distinct.size(), 4u);
}

TEST_P(MusicTrack, LoadsInSdlMixer) {
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    Mix_Music* music = Mix_LoadMUS(TrackPath(GetParam()).c_str());
    EXPECT_NE(music, nullptr) << Mix_GetError();
    if (music) {
        EXPECT_EQ(Mix_PlayMusic(music, -1), 0) << Mix_GetError();
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    SDL_Quit();
}

TEST_P(MusicTrack, RendersToSoundOfTheScoredLength) {
    std::string path = TrackPath(GetParam());
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty()) << path << " is missing";
    xm::Module m;
    std::string err;
    ASSERT_TRUE(xm::Read(bytes, m, err)) << err;
    // one pass through the order list: rows x ticks per row x 2.5 / BPM seconds
    double expected = m.TotalRows() * m.speed * 2.5 / m.bpm;

    std::string dir = std::string(BRACKMOOR_BINARY_DIR) + "/tests/music_render";
    mkdir(dir.c_str(), 0755);
    int players = 0;
    if (HaveProgram("xmp")) {
        ++players;
        std::string wav = dir + "/" + GetParam() + ".xmp.wav";
        std::remove(wav.c_str());
        std::string cmd = "xmp --norc --nocmd -q -d wav -o '" + wav + "' '" + path + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        Pcm pcm = ReadWav(wav);
        ASSERT_TRUE(pcm.ok) << wav;
        EXPECT_NEAR(pcm.seconds, expected, 0.01 * expected + 0.3) << "xmp";
        EXPECT_GT(pcm.rms, 0.05) << "xmp render is nearly silent";
        EXPECT_GT(pcm.quietestSecond, 0.005) << "xmp render has a silent second";
        std::remove(wav.c_str());
    }
    if (HaveProgram("openmpt123")) {
        ++players;
        std::string copy = dir + "/" + GetParam() + ".xm";
        {
            std::ofstream out(copy, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        std::string wav = copy + ".wav";  // openmpt123 writes its render beside the module
        std::remove(wav.c_str());
        std::string cmd = "openmpt123 --render --force --no-float --repeat 0 -q '" + copy + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        Pcm pcm = ReadWav(wav);
        ASSERT_TRUE(pcm.ok) << wav;
        EXPECT_NEAR(pcm.seconds, expected, 0.01 * expected + 0.3) << "openmpt123";
        EXPECT_GT(pcm.rms, 0.05) << "openmpt123 render is nearly silent";
        std::remove(wav.c_str());
        std::remove(copy.c_str());
    }
    if (players == 0) GTEST_SKIP() << "neither xmp nor openmpt123 is installed; cannot render the music";
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

TEST_P(MusicTrack, PlaysThroughSdlMixerForItsScoredLength) {
    std::string path = TrackPath(GetParam());
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty()) << path << " is missing";
    xm::Module m;
    std::string err;
    ASSERT_TRUE(xm::Read(bytes, m, err)) << err;
    double expected = m.TotalRows() * m.speed * 2.5 / m.bpm;

    // SDL's disk audio driver writes the game's own mix to a file, as fast as it is computed
    std::string dir = std::string(BRACKMOOR_BINARY_DIR) + "/tests/music_render";
    mkdir(dir.c_str(), 0755);
    std::string raw = dir + "/" + GetParam() + ".sdl.raw";
    std::remove(raw.c_str());
    int rate = 0, channels = 0;
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", raw), delay("SDL_DISKAUDIODELAY", "0");
        if (SDL_Init(SDL_INIT_AUDIO) != 0) GTEST_SKIP() << "SDL has no disk audio driver: " << SDL_GetError();
        if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) != 0) {
            SDL_Quit();
            GTEST_SKIP() << "the disk audio driver does not open: " << Mix_GetError();
        }
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        bool played = music && format == AUDIO_S16LSB && Mix_PlayMusic(music, 0) == 0;  // once through
        for (int waited = 0; played && Mix_PlayingMusic() && waited < 60000; waited += 5) SDL_Delay(5);
        bool finished = played && !Mix_PlayingMusic();
        if (music) {
            Mix_HaltMusic();
            Mix_FreeMusic(music);
        }
        Mix_CloseAudio();
        SDL_Quit();
        ASSERT_NE(music, nullptr);
        ASSERT_TRUE(played);
        ASSERT_TRUE(finished) << "the track did not end within a minute of mixing";
    }
    std::vector<uint8_t> pcm = ReadBytes(raw);
    ASSERT_GT(channels, 0);
    ASSERT_GT(rate, 0);
    size_t frames = pcm.size() / (2 * static_cast<size_t>(channels));
    auto sample = [&](size_t f, int c) {
        size_t at = (f * channels + c) * 2;
        return static_cast<int16_t>(pcm[at] | (pcm[at + 1] << 8)) / 32768.0;
    };
    // the driver mixes silence from the moment audio opens, so the music is the span between
    // the first and the last sounding frame
    auto sounding = [&](size_t f) {
        for (int c = 0; c < channels; ++c)
            if (std::fabs(sample(f, c)) > 0.002) return true;
        return false;
    };
    size_t first = 0, last = frames;
    while (first < frames && !sounding(first)) ++first;
    while (last > first && !sounding(last - 1)) --last;
    ASSERT_LT(first, last) << "SDL_mixer produced only silence";
    double seconds = static_cast<double>(last - first) / rate;
    // the music stops at the end of the order list, not before and not much after
    EXPECT_GE(seconds, expected - 1.5) << "SDL_mixer stopped early";
    EXPECT_LE(seconds, expected + 1.0) << "SDL_mixer played on past the end";
    // and there is sound in every second of it
    for (size_t from = first; from + rate <= last; from += rate) {
        double sum = 0;
        for (size_t f = from; f < from + static_cast<size_t>(rate); ++f)
            for (int c = 0; c < channels; ++c) sum += sample(f, c) * sample(f, c);
        EXPECT_GT(std::sqrt(sum / (static_cast<double>(rate) * channels)), 0.005)
            << "silent second at " << (from - first) / rate << " s";
    }
    std::printf("%s: scored %.2f s, SDL_mixer sounded %.2f s\n", GetParam().c_str(), expected, seconds);
    std::remove(raw.c_str());
}

INSTANTIATE_TEST_SUITE_P(AllTracks, MusicTrack, ::testing::ValuesIn(kTracks),
                         [](const ::testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
