// clang-format off
// (the JavaScript inside EM_ASM and EM_JS must stay exactly as written)
// The browser page: a WebGL canvas through the emulated SDL 1.2 and OpenGL 1.1, driven by the
// browser's animation callback. Game frames are counted out of real time with an accumulator, so
// the game runs at its own 65 frames a second whatever the display's rate; a render-free run plays
// frame after frame until a slice of the callback's time is used up.
#include <SDL/SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/Settings.h"
#include "platform/web/WebKeys.h"

namespace platform {
namespace {
constexpr double kFrameMs = 1000.0 / 65.0;
// One game frame's step of the game clock: the frame loop runs a frame once 16 ms have passed.
constexpr DWORD kClockStep = 16;
// Real time beyond this per callback is dropped (a stalled or hidden tab), so the game never runs
// a burst of catch-up frames.
constexpr double kMaxCatchUpMs = 3 * kFrameMs;
// A render-free run gives back the browser's thread after this much work.
constexpr double kRenderFreeSliceMs = 30.0;

bool g_videoOpen = false;
DWORD g_clock = 0;
bool g_waiting = false;
double g_lastNow = -1;
double g_accumulator = 0;
int g_steps = 0;
// Set by tools that take pictures of late frames (the page's Module.stepFreely): drawn frames run
// back to back, as many as fit in a slice of each callback, instead of at 65 a second.
bool g_stepFreely = false;
double g_busyMs = 0;
bool (*g_turn)() = nullptr;
int (*g_finish)() = nullptr;

void Finish() {
    emscripten_cancel_main_loop();
    int status = g_finish();
    std::fflush(stdout);
    std::fflush(stderr);
    // The page writes the storage, prints "exit status N" and keeps the status on the page.
    std::exit(status);
}

void StepFrames(double now);

// Runs the loop's turns until the frame loop waits for the next frame (or, render-free, until the
// time slice is used). False once the game has quit.
bool TurnUntilWaiting(double deadline) {
    g_waiting = false;
    while (!g_waiting) {
        if (!g_turn()) return false;
        if (RenderFree() && emscripten_get_now() > deadline) break;
    }
    return true;
}

void AnimationFrame() {
    double now = emscripten_get_now();
    StepFrames(now);
    // Frames stepped and the program's own time in these callbacks so far, for a test that presses
    // keys at given frames and for the measurement of the time per frame.
    EM_ASM({
        Module.framesStepped = $0;
        Module.busyMs = $1;
    }, g_steps, g_busyMs += emscripten_get_now() - now);
}

void StepFrames(double now) {
    if (RenderFree()) {
        if (!TurnUntilWaiting(now + kRenderFreeSliceMs)) Finish();
        return;
    }
    if (g_stepFreely) {
        while (emscripten_get_now() < now + kRenderFreeSliceMs) {
            g_clock += kClockStep;
            ++g_steps;
            if (!TurnUntilWaiting(now)) return Finish();
        }
        return;
    }
    double dt = g_lastNow < 0 ? kFrameMs : now - g_lastNow;
    g_lastNow = now;
    g_accumulator += dt > kMaxCatchUpMs ? kMaxCatchUpMs : (dt < 0 ? 0 : dt);
    // Messages (keys, focus) are handled even when no frame is due.
    if (!TurnUntilWaiting(now)) return Finish();
    while (g_accumulator >= kFrameMs) {
        g_accumulator -= kFrameMs;
        g_clock += kClockStep;
        ++g_steps;
        if (!TurnUntilWaiting(now)) return Finish();
    }
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    // A hidden tab gets no animation callbacks, so the game stops; it is told as a minimised
    // window is, and pauses when the player's settings ask for it.
    WPARAM wp = e->hidden ? (static_cast<WPARAM>(1) << 16) : 1;
    PostMessageA(nullptr, WM_ACTIVATE, wp, 0);
    if (e->hidden) PostMessageA(nullptr, WM_KILLFOCUS, 0, 0);
    g_lastNow = -1;
    return EM_FALSE;
}
}  // namespace

const BackendInfo& Backend() {
    static BackendInfo info{"web", false, true};
    return info;
}

bool OpenVideo(const char* title, int width, int height, bool) {
    if (g_videoOpen) return true;
    InstallWebKeys();
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibility);
    if (RenderFree()) return true;
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        LogMessage(std::string("Could not start the video system: ") + SDL_GetError());
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // The canvas keeps the game's 640 x 480 pixels; the page blows it up by a whole factor.
    if (!SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) {
        LogMessage(std::string("Could not open the game's canvas (WebGL): ") + SDL_GetError());
        return false;
    }
    SDL_WM_SetCaption(title, "brackmoor");
    g_videoOpen = true;
    return true;
}

void CloseVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_videoOpen = false;
}

bool IsVideoOpen() { return g_videoOpen; }

bool InitAudioSubsystem() { return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0; }

void PumpEvents() {
    // The emulated SDL queues the page's events too; the keys come from WebKeys instead, so its
    // queue is only emptied.
    if (g_videoOpen) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }
    PostWebKeys();
}

// The browser shows the canvas after the callback returns.
void Present() {}

DWORD Milliseconds() { return g_clock; }

void WaitUntil(DWORD dueMs) {
    if (RenderFree()) {
        if (static_cast<int32_t>(dueMs - g_clock) > 0) g_clock = dueMs;
        else g_clock += 1;
        return;
    }
    g_waiting = true;
}

int RunFrameLoop(bool (*turn)(), int (*finish)()) {
    g_turn = turn;
    g_finish = finish;
    g_stepFreely = EM_ASM_INT({ return Module.stepFreely ? 1 : 0; }) != 0;
    // Never returns: the browser calls AnimationFrame from now on, and Finish ends the program.
    emscripten_set_main_loop(AnimationFrame, 0, 1);
    return 0;
}

void FileWritten() {
    EM_ASM({
        if (Module.persistSaves) Module.persistSaves();
    });
}

bool ToggleFullScreen() {
    EM_ASM({
        if (Module.toggleFullScreen) Module.toggleFullScreen();
    });
    return IsFullScreen();
}

bool IsFullScreen() { return EM_ASM_INT({ return document.fullscreenElement ? 1 : 0; }) != 0; }

void WindowSize(int* width, int* height) {
    *width = 640;
    *height = 480;
}

void ShowMouseCursor(bool) {}

}  // namespace platform
