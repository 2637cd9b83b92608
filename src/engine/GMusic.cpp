#include "engine/GMusic.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/BrowserEmulation.h"
#include "platform/Paths.h"

BOOL GMusic::musicOn = 1;

GMusic::GMusic(const char* sfilename) : data(nullptr) {
    std::snprintf(filename, sizeof(filename), "%s", sfilename ? sfilename : "");
    std::string path = platform::ResolvePath(filename);
#ifdef BRACKMOOR_BROWSER_EMULATION
    // The browser cannot play modules: the web data holds each track rendered to Ogg Vorbis.
    if (path.size() > 3 && path.compare(path.size() - 3, 3, ".xm") == 0)
        path = platform::ResolvePath(std::string(filename, std::strlen(filename) - 3) + ".ogg");
#endif
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
