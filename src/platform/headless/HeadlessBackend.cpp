// No window and no X server: an offscreen OSMesa context, and a virtual clock so frames run back
// to back.
#include <GL/osmesa.h>
#include <SDL/SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/Options.h"
#include "platform/Upscale.h"

namespace platform {
namespace {
OSMesaContext g_ctx = nullptr;
std::vector<unsigned char> g_buffer;
DWORD g_clock = 0;
int g_gameW = 640, g_gameH = 480, g_bufW = 640, g_bufH = 480;
}  // namespace

const BackendInfo& Backend() {
    static BackendInfo info{"headless", true, true};
    return info;
}

bool OpenVideo(const char*, int width, int height, bool) {
    if (g_ctx) return true;
    g_gameW = g_bufW = width;
    g_gameH = g_bufH = height;
    // Nothing is drawn: no context, no frame buffer.
    if (RenderFree()) return true;
    // The software renderer draws on this thread unless told otherwise: with its rasterizer
    // threads, the process can hang at exit in the renderer's own exit handler, joining a thread
    // that waits at a barrier (seen on a loaded machine).
    setenv("LP_NUM_THREADS", "0", 0);
    g_ctx = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (!g_ctx) {
        LogMessage("Could not create the offscreen OpenGL context");
        return false;
    }
    // --scale N renders into a buffer N times the size, as a scaled window would.
    int f = CurrentOptions().scale > 0 ? CurrentOptions().scale : 1;
    g_gameW = width;
    g_gameH = height;
    g_bufW = width * f;
    g_bufH = height * f;
    g_buffer.assign(static_cast<size_t>(g_bufW) * g_bufH * 4, 0);
    if (!OSMesaMakeCurrent(g_ctx, g_buffer.data(), GL_UNSIGNED_BYTE, g_bufW, g_bufH)) {
        LogMessage("Could not make the offscreen OpenGL context current");
        OSMesaDestroyContext(g_ctx);
        g_ctx = nullptr;
        return false;
    }
    return true;
}

void CloseVideo() {
    if (g_ctx) OSMesaDestroyContext(g_ctx);
    g_ctx = nullptr;
    g_buffer.clear();
}

bool IsVideoOpen() { return g_ctx != nullptr; }

bool InitAudioSubsystem() {
    // Sounds and music still load and "play", into a dummy device (unless a driver was chosen).
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

void PumpEvents() {}

void Present() {
    if (!g_ctx) return;
    UpscaleFrame(g_gameW, g_gameH, g_bufW, g_bufH);
    glFinish();
}

void WindowSize(int* width, int* height) {
    *width = g_bufW;
    *height = g_bufH;
}

DWORD Milliseconds() { return g_clock; }

void WaitUntil(DWORD dueMs) {
    // Jump straight to the moment the next frame is due.
    if (static_cast<int32_t>(dueMs - g_clock) > 0)
        g_clock = dueMs;
    else
        g_clock += 1;
}

int RunFrameLoop(bool (*turn)(), int (*finish)()) {
    while (turn()) {
    }
    return finish();
}

void FileWritten() {}

bool ToggleFullScreen() { return false; }
bool IsFullScreen() { return false; }
void ShowMouseCursor(bool) {}

}  // namespace platform
