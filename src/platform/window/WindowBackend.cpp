// The game's window: SDL 1.2 with an OpenGL context under X11. The 640 x 480 picture is blown up
// by a whole factor into a bigger window, or letterboxed on the desktop in full screen.
#include <SDL/SDL.h>

#include <cstdlib>
#include <string>

#include "platform/Backend.h"
#include "platform/KeyMap.h"
#include "platform/Log.h"
#include "platform/Options.h"
#include "platform/Settings.h"
#include "platform/Upscale.h"

namespace platform {
namespace {
SDL_Surface* g_screen = nullptr;
bool g_fullscreen = false;
int g_gameW = 640, g_gameH = 480;
int g_desktopW = 0, g_desktopH = 0;
int g_windowW = 640, g_windowH = 480;

int ChosenScale() {
    const Options& o = CurrentOptions();
    int s = o.scale > 0 ? o.scale : CurrentSettings().scale;
    if (s > 0) return s;
    // The largest factor whose window still fits the desktop with room for panels and a title bar.
    if (g_desktopW <= 0 || g_desktopH <= 0) return 1;
    return FitPicture(g_gameW, g_gameH, g_desktopW, g_desktopH - 80).factor;
}

bool SetMode(bool fullscreen) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Surface* s = nullptr;
    if (fullscreen && g_desktopW > 0) {
        // Full screen at the desktop's own resolution: the display mode is never switched.
        s = SDL_SetVideoMode(g_desktopW, g_desktopH, 0, SDL_OPENGL | SDL_FULLSCREEN);
        if (!s) LogMessage(std::string("Could not switch to full screen: ") + SDL_GetError());
    }
    if (!s) {
        fullscreen = false;
        int f = ChosenScale();
        s = SDL_SetVideoMode(g_gameW * f, g_gameH * f, 0, SDL_OPENGL);
        if (!s && f > 1) s = SDL_SetVideoMode(g_gameW, g_gameH, 0, SDL_OPENGL);
    }
    if (!s) {
        LogMessage(std::string("Could not open the game window: ") + SDL_GetError());
        return false;
    }
    g_screen = s;
    g_fullscreen = fullscreen;
    g_windowW = s->w;
    g_windowH = s->h;
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    return true;
}
}  // namespace

const BackendInfo& Backend() {
    static BackendInfo info{"window", false, false};
    return info;
}

bool OpenVideo(const char* title, int width, int height, bool fullscreen) {
    // Desktops group the window with its launcher by this class.
    setenv("SDL_VIDEO_X11_WMCLASS", "brackmoor", 0);
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        LogMessage(std::string("Could not start the video system: ") + SDL_GetError());
        return false;
    }
    if (g_desktopW == 0) {
        const SDL_VideoInfo* vi = SDL_GetVideoInfo();
        if (vi) {
            g_desktopW = vi->current_w;
            g_desktopH = vi->current_h;
        }
    }
    SDL_WM_SetCaption(title, "brackmoor");
    g_gameW = width;
    g_gameH = height;
    const Options& o = CurrentOptions();
    bool full = fullscreen || (CurrentSettings().fullscreen && !o.windowed) || o.fullscreen;
    if (!SetMode(full)) return false;
    LogVerbose("window " + std::to_string(g_windowW) + "x" + std::to_string(g_windowH) +
               (g_fullscreen ? " full screen" : ""));
    return true;
}

void CloseVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_screen = nullptr;
}

bool IsVideoOpen() { return g_screen != nullptr; }

bool InitAudioSubsystem() { return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0; }

void PumpEvents() {
    if (!g_screen) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                bool down = e.type == SDL_KEYDOWN;
                // Alt+Enter and F11 switch full screen; the game never sees them.
                if (e.key.keysym.sym == SDLK_F11 ||
                    (e.key.keysym.sym == SDLK_RETURN && (e.key.keysym.mod & KMOD_ALT))) {
                    if (down) ToggleFullScreen();
                    break;
                }
                // One physical key reaches every action bound to it.
                for (int vk : MapKey(CurrentSettings(), SdlKeyToVk(e.key.keysym.sym)))
                    if (vk > 0) PostMessageA(nullptr, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk), 0);
                break;
            }
            case SDL_ACTIVEEVENT:
                if (e.active.state & SDL_APPACTIVE) {
                    // High word of wParam set = minimised.
                    WPARAM wp = e.active.gain ? 1 : (static_cast<WPARAM>(1) << 16);
                    PostMessageA(nullptr, WM_ACTIVATE, wp, 0);
                }
                if ((e.active.state & SDL_APPINPUTFOCUS) && !e.active.gain) {
                    PostMessageA(nullptr, WM_KILLFOCUS, 0, 0);
                }
                break;
            case SDL_QUIT: PostMessageA(nullptr, WM_CLOSE, 0, 0); break;
            case SDL_VIDEOEXPOSE: break;
            default: break;
        }
    }
}

void Present() {
    UpscaleFrame(g_gameW, g_gameH, g_windowW, g_windowH);
    SDL_GL_SwapBuffers();
}

DWORD Milliseconds() { return static_cast<DWORD>(SDL_GetTicks()); }

void WaitUntil(DWORD dueMs) {
    DWORD now = Milliseconds();
    int32_t left = static_cast<int32_t>(dueMs - now);
    if (left > 0) SDL_Delay(static_cast<Uint32>(left > 20 ? 20 : left));
}

int RunFrameLoop(bool (*turn)(), int (*finish)()) {
    while (turn()) {
    }
    return finish();
}

void FileWritten() {}

bool ToggleFullScreen() {
    if (!g_screen) return false;
    bool want = !g_fullscreen;
    if (SetMode(want)) NotifyVideoReset();
    return g_fullscreen;
}

bool IsFullScreen() { return g_fullscreen; }

void WindowSize(int* width, int* height) {
    *width = g_windowW;
    *height = g_windowH;
}

void ShowMouseCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace platform
