// Every sound effect the game loads is generated, loads through SDL_mixer the way the
// game opens audio, and is a real, usable sound: audible, not clipped to noise, short,
// starting at once and ending quietly.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
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
    "menu/titlecrush.wav",   "menu/titleland.wav",   "menu/tallowland.wav",   "menu/boxland.wav",
    "menu/select.wav",       "menu/enter.wav",       "menu/narrator.wav",     "menu/flameget.wav",
    "menu/bazookaget.wav",   "player/fire.wav",      "player/fire2.wav",      "player/climb.wav",
    "player/climb2.wav",     "player/scream.wav",    "player/bazooka.wav",    "enemy/kill.wav",
    "enemy/slugdie.wav",     "enemy/squish.wav",     "enemy/wallDie.wav",     "enemy/blockbreak.wav",
    "enemy/blockhit.wav",    "enemy/rescue.wav",     "enemy/flamer.wav",      "enemy/crawl.wav",
    "enemy/bouncerFlip.wav", "enemy/Explosion.wav",  "enemy/fireShot.wav",    "enemy/crabShoot.wav",
    "enemy/squidShoot.wav",  "enemy/squidSplat.wav", "enemy/squidArm.wav",    "enemy/squidArmDie.wav",
    "enemy/barferdie.wav",   "enemy/Gendie.wav",     "enemy/AllGendie.wav",   "enemy/EBTeleport.wav",
    "enemy/EBLasers.wav",    "enemy/EBGoo.wav",      "enemy/EBMegaBlast.wav", "enemy/EBHit.wav",
    "enemy/stomp.wav",
};

// Sounds that repeat many times a second in play must be short.
const std::map<std::string, double> kMaxSeconds = {
    {"player/fire2.wav", 0.2}, {"player/climb.wav", 0.12}, {"player/climb2.wav", 0.12},
    {"enemy/flamer.wav", 0.3}, {"menu/select.wav", 0.15},  {"enemy/blockhit.wav", 0.15},
};

std::string dataPath(const std::string& rel) { return std::string(BRACKMOOR_DATA_DIR) + "/" + rel; }

std::vector<std::uint8_t> readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// Levels of a chunk as the mixer holds it: signed 16-bit, interleaved stereo.
struct Levels {
    double seconds = 0;
    double peak = 0;      // 0..1
    double rms = 0;       // 0..1
    double clipped = 0;   // fraction of samples at full scale
    double onset = 0;     // seconds until the level first passes 5% of full scale
    double tailPeak = 0;  // peak of the last 5 ms
};

Levels measure(const Mix_Chunk* c, int channels, int rate) {
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
    static void SetUpTestSuite() {
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
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        SDL_Quit();
    }
    static int rate_;
    static int channels_;
};
int SoundFiles::rate_ = 0;
int SoundFiles::channels_ = 0;

TEST_P(SoundFiles, LoadsAndSoundsRight) {
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

TEST_P(SoundFiles, IsMono16Bit44100Pcm) {
    const auto b = readAll(dataPath(GetParam()));
    ASSERT_GE(b.size(), 44u);
    auto u16 = [&](std::size_t o) { return b[o] | b[o + 1] << 8; };
    auto u32 = [&](std::size_t o) { return std::uint32_t(b[o] | b[o + 1] << 8 | b[o + 2] << 16 | b[o + 3] << 24); };
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    EXPECT_EQ(u16(20), 1);  // PCM
    EXPECT_EQ(u16(22), 1);  // mono
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

TEST(SoundFolder, HoldsExactlyTheGameSoundsAndNoLeftovers) {
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
    EXPECT_EQ(found, want);  // also catches half-written ".wav.tmp…" files left behind
}

TEST(SoundFolder, EverySoundIsItsOwn) {
    // two game sounds rendered from one source by mistake would be byte-identical
    std::map<std::vector<std::uint8_t>, std::string> seen;
    for (const auto& rel : kSounds) {
        auto bytes = readAll(dataPath(rel));
        auto [it, fresh] = seen.emplace(std::move(bytes), rel);
        EXPECT_TRUE(fresh) << rel << " is identical to " << it->second;
    }
}

TEST(SoundFolder, NarrationIsAVoiceLengthAnnouncement) {
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

// ---------------------------------------------------------------- the narration recipe

struct ToolRun {
    int status;
    std::string output;
};

ToolRun run(const std::string& cmd) {
    ToolRun r{-1, ""};
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[512];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    // cmake wraps its messages; fold every run of white space into one space
    std::string flat;
    for (char ch : r.output) {
        const bool space = std::isspace(static_cast<unsigned char>(ch));
        if (!space)
            flat += ch;
        else if (!flat.empty() && flat.back() != ' ')
            flat += ' ';
    }
    r.output = flat;
    return r;
}

// Runs the narration script on `recipe`, writing `out`; `env` goes before the command.
ToolRun narrate(const fs::path& recipe, const fs::path& out, const fs::path& work, const std::string& env = "") {
    const std::string src = SOUNDS_SOURCE_DIR;
    return run(env + " '" SOUNDS_CMAKE_COMMAND "' -DRECIPE='" + recipe.string() + "' -DFALLBACK='" + src +
               "/menu/narrator_fallback.sfx' -DSFXCOMPILE='" + std::string(BRACKMOOR_BINARY_DIR) +
               "/sfxcompile' -DOUTPUT='" + out.string() + "' -DWORK_DIR='" + work.string() + "' -P '" + src +
               "/narrator.cmake'");
}

fs::path scratch(const std::string& name) {
    fs::path d = fs::path(BRACKMOOR_BINARY_DIR) / "tests" / "sounds_scratch" / name;
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

TEST(NarrationRecipe, WithoutSpeechProgramsTheFanfareStandsIn) {
    const fs::path d = scratch("fallback");
    const fs::path out = d / "menu" / "narrator.wav";
    // an empty PATH hides espeak-ng and sox; the script is run through its absolute path
    const ToolRun r =
        narrate(fs::path(SOUNDS_SOURCE_DIR) / "menu" / "narrator.say", out, d / "work", "env PATH=/nonexistent");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("espeak-ng is not installed"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("narrator_fallback.sfx"), std::string::npos) << r.output;
    // the fanfare is exactly what the synthesiser makes of the fallback source
    const fs::path direct = d / "direct.wav";
    ASSERT_EQ(run(std::string(BRACKMOOR_BINARY_DIR) +
                  "/sfxcompile '" SOUNDS_SOURCE_DIR "/menu/narrator_fallback.sfx' '" + direct.string() + "'")
                  .status,
              0);
    EXPECT_EQ(readAll(out.string()), readAll(direct.string()));
    int entries = 0;
    for (const auto& e : fs::directory_iterator(out.parent_path())) (void)e, ++entries;
    EXPECT_EQ(entries, 1);  // no temporary left beside it
}

TEST(NarrationRecipe, MistakesNameTheLineAndWriteNothing) {
    struct Case {
        const char* text;
        const char* where;
        const char* what;
    };
    const Case cases[] = {
        {"text Hi\nvoice en\nspeed fast\npitch 50\neffects norm\n", ":3:", "whole number"},
        {"text Hi\n# comment\nloudness 3\n", ":3:", "unknown setting 'loudness'"},
        {"text Hi\nvoice en\nspeed 100\npitch 50\n", ":4:", "no 'effects' line"},
        {"text Hi\n=oops\n", ":2:", "expected 'key value'"},
    };
    int i = 0;
    for (const Case& c : cases) {
        const fs::path d = scratch("bad" + std::to_string(i++));
        const fs::path recipe = d / "bad.say";
        std::ofstream(recipe) << c.text;
        const fs::path out = d / "out" / "narrator.wav";
        const ToolRun r = narrate(recipe, out, d / "work");
        EXPECT_NE(r.status, 0) << c.text;
        EXPECT_NE(r.output.find(recipe.string() + c.where), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(c.what), std::string::npos) << r.output;
        EXPECT_FALSE(fs::exists(out)) << c.text;
    }
}

}  // namespace
