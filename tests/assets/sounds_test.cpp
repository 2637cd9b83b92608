// Every sound effect the game loads is generated, loads through SDL_mixer the way the
// game opens audio, and is a real, usable sound: audible, not clipped to noise, short,
// starting at once and ending quietly.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The paths the game opens, relative to its data folder (case matters).
const std::vector<std::string> kSounds = {
    "menu/titlecrush.wav",  "menu/titleland.wav",  "menu/tallowland.wav", "menu/boxland.wav",
    "menu/select.wav",      "menu/enter.wav",      "menu/narrator.wav",   "menu/flameget.wav",
    "menu/bazookaget.wav",  "player/fire.wav",     "player/fire2.wav",    "player/climb.wav",
    "player/climb2.wav",    "player/scream.wav",   "player/bazooka.wav",  "enemy/kill.wav",
    "enemy/slugdie.wav",    "enemy/squish.wav",    "enemy/wallDie.wav",   "enemy/blockbreak.wav",
    "enemy/blockhit.wav",   "enemy/rescue.wav",    "enemy/flamer.wav",    "enemy/crawl.wav",
    "enemy/bouncerFlip.wav", "enemy/Explosion.wav", "enemy/fireShot.wav", "enemy/crabShoot.wav",
    "enemy/squidShoot.wav", "enemy/squidSplat.wav", "enemy/squidArm.wav", "enemy/squidArmDie.wav",
    "enemy/barferdie.wav",  "enemy/Gendie.wav",    "enemy/AllGendie.wav", "enemy/EBTeleport.wav",
    "enemy/EBLasers.wav",   "enemy/EBGoo.wav",     "enemy/EBMegaBlast.wav", "enemy/EBHit.wav",
    "enemy/stomp.wav",
};

// Sounds that repeat many times a second in play must be short.
const std::map<std::string, double> kMaxSeconds = {
    {"player/fire2.wav", 0.2}, {"player/climb.wav", 0.12}, {"player/climb2.wav", 0.12},
    {"enemy/flamer.wav", 0.3}, {"menu/select.wav", 0.15},  {"enemy/blockhit.wav", 0.15},
};

std::string dataPath(const std::string& rel)
{
    return std::string(BRACKMOOR_DATA_DIR) + "/" + rel;
}

std::vector<std::uint8_t> readAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// Levels of a chunk as the mixer holds it: signed 16-bit, interleaved stereo.
struct Levels {
    double seconds = 0;
    double peak = 0;       // 0..1
    double rms = 0;        // 0..1
    double clipped = 0;    // fraction of samples at full scale
    double onset = 0;      // seconds until the level first passes 5% of full scale
    double tailPeak = 0;   // peak of the last 5 ms
};

Levels measure(const Mix_Chunk* c, int channels, int rate)
{
    Levels l;
    const auto* s = reinterpret_cast<const std::int16_t*>(c->abuf);
    const std::size_t n = c->alen / 2;
    const std::size_t frames = n / channels;
    l.seconds = double(frames) / rate;
    double sum = 0;
    std::size_t clip = 0, onset = n;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = std::fabs(s[i] / 32768.0);
        l.peak = std::max(l.peak, x);
        sum += x * x;
        if (x >= 32767.0 / 32768.0) ++clip;
        if (x > 0.05 && onset == n) onset = i;
    }
    l.rms = n ? std::sqrt(sum / n) : 0;
    l.clipped = n ? double(clip) / n : 0;
    l.onset = double(onset / channels) / rate;
    const std::size_t tail = std::min<std::size_t>(n, std::size_t(rate / 200) * channels);
    for (std::size_t i = n - tail; i < n; ++i) l.tailPeak = std::max(l.tailPeak, std::fabs(s[i] / 32768.0));
    return l;
}

class SoundFiles : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        // the game's own settings: 44100 Hz, signed 16-bit little-endian, stereo
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
        int freq = 0, chans = 0;
        Uint16 fmt = 0;
        ASSERT_NE(Mix_QuerySpec(&freq, &fmt, &chans), 0);
        ASSERT_EQ(fmt, AUDIO_S16LSB);
        rate_ = freq;
        channels_ = chans;
    }
    static void TearDownTestSuite()
    {
        Mix_CloseAudio();
        SDL_Quit();
    }
    static int rate_;
    static int channels_;
};
int SoundFiles::rate_ = 0;
int SoundFiles::channels_ = 0;

TEST_P(SoundFiles, LoadsAndSoundsRight)
{
    const std::string rel = GetParam();
    const std::string path = dataPath(rel);
    ASSERT_TRUE(fs::is_regular_file(path)) << path << " was not generated";

    Mix_Chunk* c = Mix_LoadWAV(path.c_str());
    ASSERT_NE(c, nullptr) << path << ": " << Mix_GetError();
    const Levels l = measure(c, channels_, rate_);
    Mix_FreeChunk(c);

    EXPECT_GT(l.peak, 0.3) << rel << " is nearly silent";
    EXPECT_GT(l.rms, 0.02) << rel << " is too quiet overall";
    EXPECT_LT(l.rms, 0.6) << rel << " is a wall of sound";
    EXPECT_LT(l.clipped, 0.001) << rel << " is clipped";
    EXPECT_GT(l.seconds, 0.04) << rel;
    auto limit = kMaxSeconds.find(rel);
    EXPECT_LT(l.seconds, limit != kMaxSeconds.end() ? limit->second : 2.5) << rel << " is too long";
    EXPECT_LT(l.onset, 0.15) << rel << " starts late";
    EXPECT_LT(l.tailPeak, 0.1) << rel << " ends with a click";
}

TEST_P(SoundFiles, IsMono16Bit44100Pcm)
{
    const auto b = readAll(dataPath(GetParam()));
    ASSERT_GE(b.size(), 44u);
    auto u16 = [&](std::size_t o) { return b[o] | b[o + 1] << 8; };
    auto u32 = [&](std::size_t o) { return std::uint32_t(b[o] | b[o + 1] << 8 | b[o + 2] << 16 | b[o + 3] << 24); };
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    EXPECT_EQ(u16(20), 1);        // PCM
    EXPECT_EQ(u16(22), 1);        // mono
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u16(34), 16);
}

INSTANTIATE_TEST_SUITE_P(All, SoundFiles, ::testing::ValuesIn(kSounds),
                         [](const ::testing::TestParamInfo<std::string>& i) {
                             std::string n = i.param;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

TEST(SoundFolder, HoldsExactlyTheGameSoundsAndNoLeftovers)
{
    std::set<std::string> want(kSounds.begin(), kSounds.end());
    std::set<std::string> found;
    for (const char* dir : {"menu", "player", "enemy"}) {
        const fs::path d = fs::path(BRACKMOOR_DATA_DIR) / dir;
        ASSERT_TRUE(fs::is_directory(d)) << d;
        for (const auto& e : fs::directory_iterator(d)) {
            const std::string name = e.path().filename().string();
            // other kinds of asset share these folders; only sound files concern us
            if (name.find(".wav") == std::string::npos) continue;
            found.insert(std::string(dir) + "/" + name);
        }
    }
    EXPECT_EQ(found, want); // also catches half-written ".wav.tmp…" files left behind
}

TEST(SoundFolder, EverySoundIsItsOwn)
{
    // two game sounds rendered from one source by mistake would be byte-identical
    std::map<std::vector<std::uint8_t>, std::string> seen;
    for (const auto& rel : kSounds) {
        auto bytes = readAll(dataPath(rel));
        auto [it, fresh] = seen.emplace(std::move(bytes), rel);
        EXPECT_TRUE(fresh) << rel << " is identical to " << it->second;
    }
}

TEST(SoundFolder, NarrationIsAVoiceLengthAnnouncement)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    Mix_Chunk* c = Mix_LoadWAV(dataPath("menu/narrator.wav").c_str());
    ASSERT_NE(c, nullptr) << Mix_GetError();
    int freq = 0, chans = 0;
    Uint16 fmt = 0;
    Mix_QuerySpec(&freq, &fmt, &chans);
    const Levels l = measure(c, chans, freq);
    Mix_FreeChunk(c);
    Mix_CloseAudio();
    SDL_Quit();
    // a spoken word (or the fanfare standing in for it) takes a good part of a second
    EXPECT_GT(l.seconds, 0.5);
    EXPECT_LT(l.seconds, 4.0);
}

} // namespace
