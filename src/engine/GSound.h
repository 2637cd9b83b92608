// One sound effect (a WAV chunk) played on any free mixer channel.
#pragma once

#include <SDL/SDL_mixer.h>

#include "platform/win32.h"

enum SOUNDPLAYER { SSDLMIXER = 0, SOPENAL = 1 };

class GSound {
public:
    Mix_Chunk* sound;
    int playChannel;

    static int master_volume;
    static BOOL SoundOn;
    static SOUNDPLAYER Sdevice;

    explicit GSound(const char* filename);
    ~GSound();
    GSound(const GSound&) = delete;
    GSound& operator=(const GSound&) = delete;

    void Play();
    void PlayIfNot();
    void Loop();
    void Stop();
    bool isPlaying();
};
