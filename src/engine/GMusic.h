// One music track (an ".xm" module).
#pragma once

#include <SDL/SDL_mixer.h>

#include "platform/win32.h"

class GMusic {
public:
    Mix_Music* data;
    char filename[256];

    static BOOL musicOn;

    explicit GMusic(const char* filename);
    ~GMusic();
    GMusic(const GMusic&) = delete;
    GMusic& operator=(const GMusic&) = delete;
};
