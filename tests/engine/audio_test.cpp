// Effects through the mixer's dummy device: they load, play, overlap and stop like on a sound card.
#include <gtest/gtest.h>

#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

class Audio : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = testsupport::MakeTempDir("audio");
        platform::SetDataDir(dir);
        ASSERT_TRUE(testsupport::WriteToneWav(dir + "/long.wav", 22050 * 20, 8000));
        ASSERT_TRUE(testsupport::WriteToneWav(dir + "/other.wav", 22050 * 20, 8000));
        GameEngine e;
        e.SoundInit();
        int f, c;
        Uint16 fmt;
        open = Mix_QuerySpec(&f, &fmt, &c) != 0;
    }
    void SetUp() override {
        platform::SetDataDir(dir);
        if (!open) GTEST_SKIP() << "no audio device, not even the dummy one";
        Mix_AllocateChannels(2);
        Mix_HaltChannel(-1);
        GSound::SoundOn = TRUE;
    }
    static std::string dir;
    static bool open;
};
std::string Audio::dir;
bool Audio::open = false;

TEST_F(Audio, PlayOverlapsPlayIfNotAndLoopDoNot) {
    GSound s("data/long.wav");
    ASSERT_NE(s.sound, nullptr);
    EXPECT_FALSE(s.isPlaying());
    s.Play();
    int first = s.playChannel;
    EXPECT_TRUE(s.isPlaying());
    s.PlayIfNot();
    EXPECT_EQ(s.playChannel, first);
    s.Loop();
    EXPECT_EQ(s.playChannel, first);
    s.Play();  // a second copy on the other channel
    EXPECT_NE(s.playChannel, first);
    EXPECT_EQ(Mix_Playing(-1), 2);
    s.Stop();
    EXPECT_FALSE(s.isPlaying());
}

TEST_F(Audio, AChannelTakenByAnotherEffectNoLongerCounts) {
    GSound a("data/long.wav");
    GSound b("data/other.wav");
    Mix_AllocateChannels(1);
    a.Play();
    ASSERT_EQ(a.playChannel, 0);
    // No free channel: nothing sounds and the sound does not claim to play.
    b.Play();
    EXPECT_EQ(b.playChannel, -1);
    EXPECT_FALSE(b.isPlaying());
    Mix_HaltChannel(0);
    b.Play();
    ASSERT_EQ(b.playChannel, 0);
    EXPECT_FALSE(a.isPlaying());
    Mix_HaltChannel(0);
    a.PlayIfNot();
    EXPECT_TRUE(a.isPlaying());
}

TEST_F(Audio, SwitchedOffSoundsDoNotStart) {
    GSound s("data/long.wav");
    GSound::SoundOn = FALSE;
    s.Play();
    s.Loop();
    EXPECT_FALSE(s.isPlaying());
    GSound::SoundOn = TRUE;
}

TEST(AudioFiles, MissingSoundsAndMusicAreNamedAndSilent) {
    std::string dir = testsupport::MakeTempDir("audio-missing");
    platform::SetDataDir(dir);
    GSound s("data/enemy/none.wav");
    EXPECT_EQ(platform::LastMessage(), "Could not load sound \"data/enemy/none.wav\"");
    EXPECT_EQ(s.sound, nullptr);
    s.Play();
    s.PlayIfNot();
    s.Loop();
    s.Stop();
    EXPECT_FALSE(s.isPlaying());
    GMusic m("Data/music/none.xm");
    EXPECT_EQ(platform::LastMessage(), "Could not load music \"Data/music/none.xm\"");
    EXPECT_EQ(m.data, nullptr);
    GameEngine e;
    e.MusicLoop(&m);  // recorded as the current track, nothing heard
    EXPECT_EQ(e.music, &m);
    e.MusicStop();
    EXPECT_EQ(e.music, nullptr);
}
