// Sound start-up and the one background music track with its frame-counted fade.
#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "platform/Backend.h"
#include "platform/Settings.h"

static int ScaleVolume(int v, int setting) {
    const platform::Settings& s = platform::CurrentSettings();
    if (s.mute) return 0;
    long scaled = static_cast<long>(v) * setting / 30;
    return scaled < 0 ? 0 : (scaled > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : static_cast<int>(scaled));
}

int EffectsVolume(int gameVolume) { return ScaleVolume(gameVolume, platform::CurrentSettings().effectsVolume); }
int MusicVolume(int gameVolume) { return ScaleVolume(gameVolume, platform::CurrentSettings().musicVolume); }

void GameEngine::SoundInit() {
    platform::InitAudioSubsystem();
    if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) != 0) {
        MessageBoxA(nullptr, "Could Not Open SDL_Mixer!", "", MB_OK);
    }
}

static void SetMusicVolume(int v) {
    int freq;
    Uint16 format;
    int channels;
    if (Mix_QuerySpec(&freq, &format, &channels)) Mix_VolumeMusic(MusicVolume(v));
}

void GameEngine::MusicLoop(GMusic* smusic) {
    if (smusic == music || !GMusic::musicOn) return;
    music = smusic;
    if (smusic && smusic->data) Mix_PlayMusic(smusic->data, -1);
    SetMusicVolume(GSound::master_volume + 70);
    musFade = 0;
}

void GameEngine::MusicPlay(GMusic* smusic, int stimes) {
    music = smusic;
    if (smusic && smusic->data) Mix_PlayMusic(smusic->data, stimes);
    SetMusicVolume(GSound::master_volume + 70);
    musFade = 0;
}

void GameEngine::MusicFade(int fadeTime) {
    musFade = fadeTime;
    musFadeMax = fadeTime;
}

void GameEngine::MusicStop() {
    if (music) {
        int freq;
        Uint16 format;
        int channels;
        if (Mix_QuerySpec(&freq, &format, &channels)) Mix_HaltMusic();
        music = nullptr;
    }
}

bool GameEngine::IsMusicPlaying() { return music != nullptr; }

void GameEngine::MusicFrame() {
    if (musFade != 0) {
        // musFadeMax is never 0 while a fade runs (a fade of 0 frames is no fade).
        int full = GSound::master_volume + 70;
        SetMusicVolume(musFadeMax != 0 ? static_cast<int>(static_cast<long>(full) * musFade / musFadeMax) : full);
        if (musFade > 0) {
            --musFade;
            if (musFade == 1) {
                MusicStop();
                musFade = 0;
            }
        }
    }
    if (musFade == 0) SetMusicVolume(GSound::master_volume + 70);
}
