// A picture loaded once and uploaded as an RGBA texture padded to powers of two, with pure magenta
// keyed out. Always obtained through GImage::CreateNew, which keeps every picture ever loaded.
#pragma once

#include <list>

#include "engine/GL.h"
#include "platform/win32.h"

struct TranslatedColor {
    unsigned char r, g, b;
};

class GImage {
public:
    int oW;
    int oH;
    int w;
    int h;
    char filename[256];
    GLuint data;
    BOOL hasTransparent;
    // False when the file could not be loaded: the image then has no texture and draws nothing.
    bool loaded;

    // Every picture ever loaded; never destroyed, as pictures live until the program ends.
    static std::list<GImage*>& loadedList;
    static BOOL justCalled;

    static GImage* CreateNew(const char* sfilename);
    explicit GImage(const char* sfilename);
    ~GImage();

    // Forgets every cached picture (tests and shutdown).
    static void ClearCache();
    // Uploads every cached picture again (after the GL context was replaced).
    static void ReloadAll();

private:
    void Load(bool report);
};

TranslatedColor translate_color(unsigned int int_color);
int getNextPowerOfTwo(int n);
