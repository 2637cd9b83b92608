// Screen shake, and copies of the frame buffer written as BMP files (single shots and movies).
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/BrowserEmulation.h"
#include "engine/DetMath.h"
#include "engine/GameEngine.h"
#include "engine/QuadBatch.h"
#include "platform/Paths.h"
#include "platform/Settings.h"

BOOL GameEngine::takeScreen = 0;
BOOL GameEngine::recordMovie = 0;
int GameEngine::recordDelay = 2;
char GameEngine::screenFName[256] = "";
int GameEngine::recordX = 0;
int GameEngine::recordY = 0;
int GameEngine::recordW = 640;
int GameEngine::recordH = 480;

void GameEngine::Shake(float ampX, float ampY, float speed, float dur) {
    if (ShakeTimer <= 0) {
        ShakeX = 0;
        ShakeY = 0;
        ShakeCounter = 0;
    }
    // The player may turn shaking down; only the picture moves less, the game is unchanged.
    float keep = platform::CurrentSettings().shakePercent / 100.0f;
    ShakeAmpX = ampX * keep;
    ShakeAmpY = ampY * keep;
    ShakeSpeed = speed;
    ShakeTimer = dur;
}

void GameEngine::ShakeUpd() {
    if (ShakeTimer <= 0) {
        ShakeX = 0;
        ShakeY = 0;
        return;
    }
    ShakeX = static_cast<float>(detmath::Sin(ShakeCounter) * ShakeAmpX);
    ShakeY = static_cast<float>(detmath::Sin(ShakeCounter) * ShakeAmpY);
    // A speed of 0 would never advance the phase; it holds still instead of dividing by zero.
    if (ShakeSpeed != 0) ShakeCounter = static_cast<float>(ShakeCounter + 3.14 / ShakeSpeed);
    if (ShakeCounter > 6.28) ShakeCounter = 0;
    ShakeTimer -= 1;
}

void GameEngine::TakeScreenShot(const char* filename) {
    std::snprintf(screenFName, sizeof(screenFName), "%s", filename ? filename : "");
    takeScreen = 1;
}

void GameEngine::StartMovie(const char* filename) {
    recordMovie = 1;
    std::snprintf(screenFName, sizeof(screenFName), "%s", filename ? filename : "");
    takeScreen = 1;
}

void GameEngine::EndMovie() { recordMovie = 0; }

void GameEngine::SetRecordBox(int sx, int sy, int sw, int sh) {
    recordX = sx;
    recordY = sy;
    recordW = sw;
    recordH = sh;
}

void GameEngine::ScreenShot(const char* filename) {
    // A render-free run has no frame buffer to copy (the capture's counting still goes on).
    if (recordW <= 0 || recordH <= 0 || RenderFree()) return;
#ifdef BRACKMOOR_BROWSER_EMULATION
    // The browser's SDL writes no BMP files: the page takes no such pictures.
    (void)filename;
    return;
#endif
    SDL_Surface* s =
        SDL_CreateRGBSurface(SDL_SWSURFACE, recordW, recordH, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (!s) return;
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 0, 0, 0, 0));
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    QuadBatch::Shared().Flush();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, s->pitch / 4);
    glReadPixels(recordX, recordY, recordW, recordH, GL_RGBA, GL_UNSIGNED_BYTE, s->pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    // OpenGL's rows run bottom to top: flip so the file is upright.
    Uint32* px = static_cast<Uint32*>(s->pixels);
    int stride = s->pitch / 4;
    for (int y = 0; y < recordH / 2; ++y) {
        for (int x = 0; x < recordW; ++x) {
            Uint32 t = px[y * stride + x];
            px[y * stride + x] = px[(recordH - 1 - y) * stride + x];
            px[(recordH - 1 - y) * stride + x] = t;
        }
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    std::string path = platform::ResolveWritePath(filename ? filename : "");
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "wb");
    if (rw) SDL_SaveBMP_RW(s, rw, 1);
    SDL_FreeSurface(s);
}

void GameEngine::CaptureFrame() {
    static int rDelay = 0;
    static int snC = 0;
    if (!takeScreen) return;
    if (!recordMovie) {
        takeScreen = 0;
        ScreenShot(screenFName);
        return;
    }
    if (rDelay == recordDelay) {
        char name[300];
        std::snprintf(name, sizeof(name), "screenshot/video/%s_%d.bmp", screenFName, snC);
        ScreenShot(name);
        ++snC;
        rDelay = 0;
    } else {
        ++rDelay;
    }
}
