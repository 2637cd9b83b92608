// What a platform backend provides. Exactly one backend is linked into each executable:
// the SDL window backend (the game) or the headless OSMesa backend (the headless runner and tests).
#pragma once

#include <string>

#include "platform/win32.h"

namespace platform {

struct BackendInfo {
    const char* name;  // "window", "headless" or "web"
    bool headless;
    bool renderFreeRuns;  // takes --no-render (the headless runner and the web page)
};

const BackendInfo& Backend();

// A render-free run: the game plays every rule as usual but makes no GL context and no GL call, so
// nothing is drawn (the headless runner and the web page). Set it before the video opens; it holds for the
// whole run.
void SetRenderFree(bool on);
bool RenderFree();

// Opens the window (or offscreen buffer) with a current OpenGL context of width x height. In a
// render-free run it succeeds with no context.
bool OpenVideo(const char* title, int width, int height, bool fullscreen);
void CloseVideo();
// True while a GL context exists (never in a render-free run).
bool IsVideoOpen();

// Brings up SDL's audio subsystem (and whatever else the backend needs besides video).
bool InitAudioSubsystem();

// Moves native events into the message queue (PostMessageA).
void PumpEvents();

// Presents the finished frame.
void Present();

// Milliseconds since start; the headless backend runs a virtual clock.
DWORD Milliseconds();

// Called by the frame loop when no frame is due yet: the window backend sleeps until the next
// frame is due (never a busy wait); the headless backend advances its virtual clock to it.
void WaitUntil(DWORD dueMs);

// Runs the frame loop: turn() until it returns false, then finish() gives the exit status. The
// window and headless backends loop right here and return it; the web backend calls turn() from
// the browser's animation callback and ends the program with that status itself.
int RunFrameLoop(bool (*turn)(), int (*finish)());

// Called after a file was written in full (settings, progress): the web backend copies the save
// folders into the browser's storage; the others have nothing to do.
void FileWritten();

// Full-screen switch; returns the new state.
bool ToggleFullScreen();
bool IsFullScreen();

// The size of the window's drawable area (the game draws its 640 x 480 picture into its lower-left
// corner, and Present blows it up to fill the window).
void WindowSize(int* width, int* height);

// Called after the video mode changed, when the GL context may have been replaced: the engine
// restores its render state and uploads its textures again.
void SetVideoResetHandler(void (*handler)());
void NotifyVideoReset();
void ShowMouseCursor(bool show);

}  // namespace platform
