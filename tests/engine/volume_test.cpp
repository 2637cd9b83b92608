// The volume settings heard through SDL's disk audio driver: the game's music and an effect are
// played at a setting, the mix is written to a file, and its loudness is measured there.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <sys/stat.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "engine/MixerGain.h"
#include "platform/Settings.h"
#include "support/TestSupport.h"

namespace {
const long kWindow = 44100 * 2;  // one second of stereo samples, measured from the first sound
const std::string kMusic = std::string(BRACKMOOR_DATA_DIR) + "/music/title.xm";

struct Sources {
    GameEngine& engine;
    GMusic& music;
    GSound& effect;
};

class Volume : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = testsupport::MakeTempDir("volume");
        // A tone quiet enough that even the loudest setting does not clip it.
        ASSERT_TRUE(testsupport::WriteToneWav(dir + "/tone.wav", 22050 * 4, 6000));
        GSound::master_volume = 30;  // the game's own effects volume
        GMusic::musicOn = TRUE;
        GSound::SoundOn = TRUE;
    }

    // Opens the disk driver, starts what `start` starts, and returns the RMS (0 to 1) of one second
    // from the first sample that is not silence (0 when all is silence).
    static double Loudness(int music, int effects, const std::function<void(Sources&)>& start) {
        platform::CurrentSettings().musicVolume = music;
        platform::CurrentSettings().effectsVolume = effects;
        std::string file = dir + "/mix" + std::to_string(++captures) + ".raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        GameEngine engine;
        engine.SoundInit();
        int freq = 0, channels = 0;
        Uint16 format = 0;
        if (!Mix_QuerySpec(&freq, &format, &channels)) {
            ADD_FAILURE() << "the disk audio driver did not open: " << SDL_GetError();
            return -1;
        }
        EXPECT_EQ(format, AUDIO_S16SYS);
        {
            GMusic track(kMusic.c_str());
            GSound tone((dir + "/tone.wav").c_str());
            Sources s{engine, track, tone};
            // Everything written so far is silence; two seconds more hold the measured one.
            struct stat st {};
            SDL_LockAudio();  // all starts in the same mix
            long silence = stat(file.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
            start(s);
            SDL_UnlockAudio();
            for (int waited = 0; waited < 30000; ++waited) {
                if (stat(file.c_str(), &st) == 0 && st.st_size >= silence + 2 * kWindow * 2) break;
                SDL_Delay(1);
            }
            engine.MusicStop();
            Mix_HaltChannel(-1);
        }
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        std::string bytes = testsupport::ReadFile(file);
        std::remove(file.c_str());
        const Sint16* s = reinterpret_cast<const Sint16*>(bytes.data());
        long n = static_cast<long>(bytes.size() / 2), first = 0;
        while (first < n && s[first] == 0) ++first;
        if (first == n) return 0;
        EXPECT_GE(n - first, kWindow) << "too little was written to " << file;
        double sum = 0;
        for (long i = first; i < n && i < first + kWindow; ++i) sum += static_cast<double>(s[i]) * s[i];
        return std::sqrt(sum / kWindow) / 32768.0;
    }
    static double Music(int setting) {
        return Loudness(setting, 0, [](Sources& s) { s.engine.MusicLoop(&s.music); });
    }
    static double Effect(int setting) {
        return Loudness(0, setting, [](Sources& s) { s.effect.Play(); });
    }

    static std::string dir;
    static int captures;
};
std::string Volume::dir;
int Volume::captures = 0;

// Settings either side of the game's own level and of where the music used to stop growing.
const std::vector<int> kLadder = {0, 1, 2, 15, 29, 30, 31, 38, 39, 60, 77, 99, 100};

TEST_F(Volume, EveryStepUpIsLouderUpToOneHundred) {
    for (auto measure : {&Volume::Music, &Volume::Effect}) {
        std::vector<double> loud;
        for (int v : kLadder) loud.push_back(measure(v));
        const char* what = measure == &Volume::Music ? "the music" : "the effect";
        EXPECT_EQ(loud[0], 0.0) << what << " at 0 is heard";
        for (size_t i = 1; i < kLadder.size(); ++i)
            EXPECT_GT(loud[i], loud[i - 1])
                << what << " at " << kLadder[i] << " is no louder than at " << kLadder[i - 1];
        // Each step is a thirtieth of the game's own level: 60 is twice as loud as 30, 100 three and a third times.
        const double own = loud[5];
        EXPECT_NEAR(loud[9] / own, 2.0, 0.01) << what;
        EXPECT_NEAR(loud.back() / own, 100.0 / 30.0, 0.02) << what;
    }
}

TEST_F(Volume, TheDefaultIsTheGamesOwnLevelAndLoudMusicLeavesTheEffectsAlone) {
    // The game's own levels straight through the mixer, with no factor: the music at 100 of the
    // mixer's 128 steps, the effects at 30.
    auto raw = [](bool music) {
        return Loudness(0, 0, [music](Sources& s) {
            mixergain::SetMusicLevel(0);
            mixergain::SetEffectsLevel(0);
            if (music) {
                Mix_PlayMusic(s.music.data, -1);
                Mix_VolumeMusic(100);
            } else {
                Mix_VolumeChunk(s.effect.sound, 30);
                Mix_PlayChannel(-1, s.effect.sound, 0);
            }
        });
    };
    const double ownMusic = raw(true), ownEffect = raw(false);
    ASSERT_GT(ownMusic, 0.0);
    ASSERT_GT(ownEffect, 0.0);
    EXPECT_NEAR(Music(30) / ownMusic, 1.0, 0.001);
    // Music far beyond the mixer's range is made up on the whole mix, and the effects' channels
    // take that back out, alone or under the music (the tone and the music are unrelated, so their
    // powers add).
    const double loudMusic = Music(100);
    EXPECT_NEAR(Effect(30) / ownEffect, 1.0, 0.002);
    double both = Loudness(100, 30, [](Sources& s) {
        s.engine.MusicLoop(&s.music);
        s.effect.Play();
    });
    EXPECT_NEAR(both * both / (loudMusic * loudMusic + ownEffect * ownEffect), 1.0, 0.01);
}

}  // namespace
