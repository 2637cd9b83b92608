// The game's window: SDL 1.2 with an OpenGL context under X11.
#include <SDL/SDL.h>

#include <string>

#include "platform/Backend.h"
#include "platform/KeyMap.h"
#include "platform/Log.h"

namespace platform {
namespace {
SDL_Surface* g_screen = nullptr;
bool g_fullscreen = false;
int g_width = 640, g_height = 480;
}  // namespace

const BackendInfo& Backend() {
    static BackendInfo info{"window", false};
    return info;
}

bool OpenVideo(const char* title, int width, int height, bool fullscreen) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        LogMessage(std::string("Could not start the video system: ") + SDL_GetError());
        return false;
    }
    SDL_WM_SetCaption(title, "brackmoor");
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    g_width = width;
    g_height = height;
    Uint32 flags = SDL_OPENGL | (fullscreen ? SDL_FULLSCREEN : 0);
    g_screen = SDL_SetVideoMode(width, height, 0, flags);
    if (!g_screen && fullscreen) g_screen = SDL_SetVideoMode(width, height, 0, SDL_OPENGL);
    if (!g_screen) {
        LogMessage(std::string("Could not open the game window: ") + SDL_GetError());
        return false;
    }
    g_fullscreen = (g_screen->flags & SDL_FULLSCREEN) != 0;
    SDL_EnableUNICODE(0);
    return true;
}

void CloseVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_screen = nullptr;
}

bool IsVideoOpen() { return g_screen != nullptr; }

bool InitAudioSubsystem() {
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

void PumpEvents() {
    if (!g_screen) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                bool down = e.type == SDL_KEYDOWN;
                // Alt+Enter and F11 switch full screen; the game never sees them.
                if (down && (e.key.keysym.sym == SDLK_F11 ||
                             (e.key.keysym.sym == SDLK_RETURN && (e.key.keysym.mod & KMOD_ALT)))) {
                    ToggleFullScreen();
                    break;
                }
                int vk = SdlKeyToVk(e.key.keysym.sym);
                if (vk > 0) PostMessageA(nullptr, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk), 0);
                break;
            }
            case SDL_ACTIVEEVENT:
                if (e.active.state & SDL_APPACTIVE) {
                    // High word of wParam set = minimised.
                    WPARAM wp = e.active.gain ? 1 : (static_cast<WPARAM>(1) << 16);
                    PostMessageA(nullptr, WM_ACTIVATE, wp, 0);
                }
                break;
            case SDL_QUIT:
                PostMessageA(nullptr, WM_CLOSE, 0, 0);
                break;
            default:
                break;
        }
    }
}

void Present() { SDL_GL_SwapBuffers(); }

DWORD Milliseconds() { return static_cast<DWORD>(SDL_GetTicks()); }

void WaitUntil(DWORD dueMs) {
    DWORD now = Milliseconds();
    int32_t left = static_cast<int32_t>(dueMs - now);
    if (left > 0) SDL_Delay(static_cast<Uint32>(left > 20 ? 20 : left));
}

bool ToggleFullScreen() {
    if (g_screen && SDL_WM_ToggleFullScreen(g_screen)) {
        g_fullscreen = !g_fullscreen;
    }
    return g_fullscreen;
}

bool IsFullScreen() { return g_fullscreen; }

void ShowMouseCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace platform

// The GL context comes with the SDL video mode; the Win32 context calls only report success.
struct PlatformDC {};
struct PlatformGLContext {};
namespace {
PlatformDC g_dc;
PlatformGLContext g_rc;
}  // namespace
HDC GetDC(HWND) { return &g_dc; }
int ReleaseDC(HWND, HDC) { return 1; }
int ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR*) { return 1; }
BOOL SetPixelFormat(HDC, int, const PIXELFORMATDESCRIPTOR*) { return TRUE; }
HGLRC wglCreateContext(HDC) { return platform::IsVideoOpen() ? &g_rc : nullptr; }
BOOL wglMakeCurrent(HDC, HGLRC) { return TRUE; }
BOOL wglDeleteContext(HGLRC) { return TRUE; }
BOOL SwapBuffers(HDC) {
    platform::Present();
    return TRUE;
}
