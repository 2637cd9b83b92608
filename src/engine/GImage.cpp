#include "engine/GImage.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/BrowserEmulation.h"
#include "engine/GameEngine.h"
#include "engine/QuadBatch.h"
#include "platform/Paths.h"

std::list<GImage*>& GImage::loadedList = *new std::list<GImage*>();
BOOL GImage::justCalled = FALSE;

TranslatedColor translate_color(unsigned int int_color) {
    TranslatedColor c;
    c.r = static_cast<unsigned char>(int_color & 0xFF);
    c.g = static_cast<unsigned char>((int_color >> 8) & 0xFF);
    c.b = static_cast<unsigned char>((int_color >> 16) & 0xFF);
    return c;
}

#ifdef BRACKMOOR_BROWSER_EMULATION
namespace {
int MaskShift(Uint32 mask) {
    int s = 0;
    while (mask && !(mask & 1u)) mask >>= 1, ++s;
    return s;
}

// The browser's loaded pictures cannot be blitted or locked, but their pixels can be read: copied
// here into w x h RGBA texels (red in the low byte, as the blit onto the texture surface gives).
std::vector<Uint32> CopyLoadedPicture(SDL_Surface* picture, int w, int h) {
    std::vector<Uint32> texels(static_cast<size_t>(w) * h, 0);
    const SDL_PixelFormat* f = picture->format;
    const int bytes = f->BytesPerPixel;
    const unsigned char* src = static_cast<const unsigned char*>(picture->pixels);
    if (!src || (bytes != 3 && bytes != 4)) return texels;
    const Uint32 masks[4] = {f->Rmask, f->Gmask, f->Bmask, f->Amask};
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            const unsigned char* p = src + y * picture->pitch + x * bytes;
            Uint32 v = p[0] | (p[1] << 8) | (p[2] << 16) | (bytes == 4 ? static_cast<Uint32>(p[3]) << 24 : 0u);
            Uint32 out = 0;
            for (int c = 0; c < 4; ++c) {
                Uint32 channel = masks[c] ? (v & masks[c]) >> MaskShift(masks[c]) : 255u;
                out |= (channel & 0xFFu) << (8 * c);
            }
            texels[static_cast<size_t>(y) * w + x] = out;
        }
    }
    return texels;
}
}  // namespace
#endif

int getNextPowerOfTwo(int n) {
    int v = 2;
    while (v < n) v *= 2;
    return v;
}

GImage* GImage::CreateNew(const char* sfilename) {
    // One full turn of the list: each entry moves from the front to the back; a match stops the
    // turn, so a found picture ends up last and the others keep their circular order.
    size_t count = loadedList.size();
    for (size_t i = 0; i < count; ++i) {
        GImage* img = loadedList.front();
        loadedList.pop_front();
        loadedList.push_back(img);
        if (img && std::strcmp(img->filename, sfilename) == 0) return img;
    }
    justCalled = TRUE;
    GImage* img = new GImage(sfilename);
    loadedList.push_back(img);
    return img;
}

void GImage::ClearCache() {
    for (GImage* img : loadedList) delete img;
    loadedList.clear();
    if (GameEngine::gEngine) GameEngine::gEngine->curImage = nullptr;
}

GImage::GImage(const char* sfilename) : oW(0), oH(0), w(2), h(2), data(0), hasTransparent(FALSE), loaded(false) {
    if (!justCalled) {
        MessageBoxA(nullptr, "\"new\" used for GImage init instead of GImage::CreateNew(...)!", "", MB_OK);
    }
    justCalled = FALSE;
    std::snprintf(filename, sizeof(filename), "%s", sfilename ? sfilename : "");
    Load(true);
}

void GImage::ReloadAll() {
    for (GImage* img : loadedList) {
        if (!img || !img->loaded) continue;
        // Whether the old context survived or not, the old name is given back first.
        if (img->data) {
            QuadBatch::Shared().Flush();
            glDeleteTextures(1, &img->data);
        }
        img->data = 0;
        img->loaded = false;
        img->Load(false);
    }
    if (GameEngine::gEngine) GameEngine::gEngine->curImage = nullptr;
}

void GImage::Load(bool report) {
    std::string path = platform::ResolvePath(filename);
    SDL_Surface* picture = IMG_Load(path.c_str());
    if (!picture) {
        if (!report) return;
        char msg[300];
        std::snprintf(msg, sizeof(msg), "Error Loading File: %s", filename);
        MessageBoxA(nullptr, msg, "", MB_OK);
        PostQuitMessage(0);
        // The picture stays empty: it has no texture and every primitive skips it.
        return;
    }
    oW = picture->w;
    oH = picture->h;
    w = getNextPowerOfTwo(oW);
    h = getNextPowerOfTwo(oH);

#ifdef BRACKMOOR_BROWSER_EMULATION
    std::vector<Uint32> texels = CopyLoadedPicture(picture, w, h);
    Uint32* pixels = texels.data();
    const int stride = w;
    const int bitsPerPixel = 32;
#else
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (!surface) {
        SDL_FreeSurface(picture);
        char msg[300];
        std::snprintf(msg, sizeof(msg), "Error Loading File: %s", filename);
        MessageBoxA(nullptr, msg, "", MB_OK);
        PostQuitMessage(0);
        return;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 0));
    // Copy the pixels, alpha included, without blending them onto the empty surface.
    SDL_SetAlpha(picture, 0, 255);
    SDL_BlitSurface(picture, nullptr, surface, nullptr);

    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    Uint32* pixels = static_cast<Uint32*>(surface->pixels);
    int stride = surface->pitch / 4;
    const int bitsPerPixel = surface->format->BitsPerPixel;
#endif
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Uint32& texel = pixels[y * stride + x];
            TranslatedColor c = translate_color(texel);
            if (c.r == 255 && c.b == 255 && c.g == 0) {
                hasTransparent = TRUE;
                texel = 0;
            }
        }
    }

    // A render-free run keeps the picture's sizes (sprites cut their frames by them) but uploads
    // no texture: there is no GL context.
    const bool upload = !GameEngine::RenderFree();
    if (upload) {
        QuadBatch::Shared().Flush();  // the quads gathered so far are drawn with the texture bound now
        glGenTextures(1, &data);
        glBindTexture(GL_TEXTURE_2D, data);
    }
    if (GameEngine::gEngine) GameEngine::gEngine->curImage = this;
    if (bitsPerPixel == 32) {
        hasTransparent = TRUE;
        if (upload) glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    } else if (bitsPerPixel == 24) {
        if (upload) glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    } else {
        MessageBoxA(nullptr, "non true color! this will break!", "", MB_OK);
    }
    if (upload) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
#ifndef BRACKMOOR_BROWSER_EMULATION
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
#endif
    SDL_FreeSurface(picture);
    loaded = true;
}

GImage::~GImage() {
    if (!data) return;
    // Gathered quads may still use this texture; and its name may come back for another picture.
    QuadBatch::Shared().Flush();
    glDeleteTextures(1, &data);
    if (GameEngine::gEngine && GameEngine::gEngine->curImage == this) GameEngine::gEngine->curImage = nullptr;
}
