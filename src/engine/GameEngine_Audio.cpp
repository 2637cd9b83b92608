// Sound start-up and the one background music track with its frame-counted fade.
#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "engine/MixerGain.h"
#include "platform/Backend.h"
#include "platform/Settings.h"

// The player's volume settings scale the game's own volume by the setting over 30: 30 keeps the
// game's level, every step up or down changes it by a thirtieth, 100 is three and a third times as
// loud and 0 or mute is silence. The levels go to the mixer in thirtieths of its volume steps.
static long Level(int gameVolume, int setting) {
    if (platform::CurrentSettings().mute || gameVolume <= 0 || setting <= 0) return 0;
    return static_cast<long>(gameVolume) * setting;
}

int EffectsVolume(int gameVolume) {
    return mixergain::SetEffectsLevel(Level(gameVolume, platform::CurrentSettings().effectsVolume));
}

void GameEngine::SoundInit() {
    platform::InitAudioSubsystem();
    if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) != 0) {
        MessageBoxA(nullptr, "Could Not Open SDL_Mixer!", "", MB_OK);
        return;
    }
    mixergain::AttachToMix();
}

static void SetMusicVolume(int v) { mixergain::SetMusicLevel(Level(v, platform::CurrentSettings().musicVolume)); }

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
