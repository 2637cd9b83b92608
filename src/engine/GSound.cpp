#include "engine/GSound.h"

#include <cstdio>
#include <string>

#include "engine/GameEngine.h"
#include "engine/MixerGain.h"
#include "platform/Paths.h"

int GSound::master_volume = 50;
BOOL GSound::SoundOn = 1;
SOUNDPLAYER GSound::Sdevice = SSDLMIXER;

namespace {
bool AudioOpen() {
    int freq;
    Uint16 format;
    int channels;
    return Mix_QuerySpec(&freq, &format, &channels) != 0;
}
}  // namespace

GSound::GSound(const char* filename) : sound(nullptr), playChannel(-1) {
    std::string path = platform::ResolvePath(filename ? filename : "");
    if (!platform::FileExists(path)) {
        // A missing effect stays silent; the game calls it like any other.
        std::string msg = std::string("Could not load sound \"") + (filename ? filename : "") + "\"";
        MessageBoxA(nullptr, msg.c_str(), "", MB_OK);
        return;
    }
    // With no audio device every effect is silent, and that was reported once already.
    if (!AudioOpen()) return;
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (rw) sound = Mix_LoadWAV_RW(rw, 1);
    if (!sound) {
        std::string msg = std::string("Could not load sound \"") + filename + "\": " + Mix_GetError();
        MessageBoxA(nullptr, msg.c_str(), "", MB_OK);
        return;
    }
    Mix_VolumeChunk(sound, EffectsVolume(master_volume));
}

GSound::~GSound() {
    if (sound && AudioOpen()) {
        Stop();
        Mix_FreeChunk(sound);
    }
}

void GSound::Play() {
    if (!SoundOn || !sound) return;
    Mix_VolumeChunk(sound, EffectsVolume(master_volume));
    playChannel = mixergain::PlayEffect(sound, 0);
}

void GSound::PlayIfNot() {
    if (!SoundOn || isPlaying()) return;
    Play();
}

void GSound::Loop() {
    if (!SoundOn || !sound || isPlaying()) return;
    Mix_VolumeChunk(sound, EffectsVolume(master_volume));
    playChannel = mixergain::PlayEffect(sound, -1);
}

void GSound::Stop() {
    if (isPlaying()) Mix_HaltChannel(playChannel);
}

bool GSound::isPlaying() {
    if (playChannel == -1 || !sound) return false;
    if (Mix_Playing(playChannel) == 0) return false;
    // A channel since taken by another effect does not count.
    return Mix_GetChunk(playChannel) == sound;
}
