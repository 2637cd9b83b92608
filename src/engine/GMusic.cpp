#include "engine/GMusic.h"

#include <cstdio>
#include <string>

#include "platform/Paths.h"

BOOL GMusic::musicOn = 1;

GMusic::GMusic(const char* sfilename) : data(nullptr) {
    std::snprintf(filename, sizeof(filename), "%s", sfilename ? sfilename : "");
    std::string path = platform::ResolvePath(filename);
    if (!platform::FileExists(path)) {
        std::string msg = std::string("Could not load music \"") + filename + "\"";
        MessageBoxA(nullptr, msg.c_str(), "", MB_OK);
        return;
    }
    int freq;
    Uint16 format;
    int channels;
    if (Mix_QuerySpec(&freq, &format, &channels) == 0) return;  // silent run
    data = Mix_LoadMUS(path.c_str());
    if (!data) {
        std::string msg = std::string("Could not load music \"") + filename + "\": " + Mix_GetError();
        MessageBoxA(nullptr, msg.c_str(), "", MB_OK);
    }
}

GMusic::~GMusic() {
    if (data) Mix_FreeMusic(data);
}
