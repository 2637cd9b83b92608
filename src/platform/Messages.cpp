// The message queue of the one game window, and message boxes.
#include <cstdio>
#include <deque>
#include <string>

#include "platform/Backend.h"
#include "platform/Log.h"
#include "platform/win32.h"

namespace {
std::deque<MSG> g_queue;
WNDPROC g_wndProc = nullptr;
HWND g_window = nullptr;
bool g_quitPosted = false;
int g_quitCode = 0;

struct PlatformWindowTag {};
PlatformWindowTag g_windowObject;
}  // namespace

namespace platform {
void ResetMessageQueue() {
    g_queue.clear();
    g_quitPosted = false;
    g_quitCode = 0;
}
bool QuitRequested() { return g_quitPosted; }
HWND MainWindow() { return g_window; }
}  // namespace platform

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m{hwnd, message, wParam, lParam, platform::Milliseconds()};
    g_queue.push_back(m);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    // The quit message is delivered after everything already queued, once.
    if (g_quitPosted) return;
    g_quitPosted = true;
    g_quitCode = exitCode;
    MSG m{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, platform::Milliseconds()};
    g_queue.push_back(m);
}

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT removeMsg) {
    if (g_queue.empty()) platform::PumpEvents();
    if (g_queue.empty()) return FALSE;
    *msg = g_queue.front();
    if (removeMsg & PM_REMOVE) g_queue.pop_front();
    return TRUE;
}

BOOL TranslateMessage(const MSG*) { return TRUE; }

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    if (g_wndProc) return g_wndProc(msg->hwnd ? msg->hwnd : g_window, msg->message, msg->wParam, msg->lParam);
    return DefWindowProcA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM, LPARAM) {
    // Closing the window destroys it, and the destroy message ends the game.
    if (message == WM_CLOSE) {
        PostMessageA(hwnd, WM_DESTROY, 0, 0);
    }
    return 0;
}

int MessageBoxA(HWND, const char* text, const char*, UINT) {
    // A modal box on Windows; here one line on stderr (and in the log), and the game goes on.
    std::string line = text ? text : "";
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    platform::LogMessage(line);
    return 1;  // IDOK
}

UINT RegisterClassA(const WNDCLASSA* wc) {
    if (!wc) return 0;
    g_wndProc = wc->lpfnWndProc;
    return 1;
}

BOOL AdjustWindowRect(RECT*, DWORD, BOOL) {
    // Our windows have no frame of their own to add: the client area is the rectangle.
    return TRUE;
}

HWND CreateWindowExA(DWORD, const char*, const char* windowName, DWORD style, int, int, int width, int height, HWND,
                     void*, HINSTANCE, void*) {
    bool fullscreen = !(style & WS_CAPTION);
    if (!platform::OpenVideo(windowName ? windowName : "", width, height, fullscreen)) return nullptr;
    g_window = reinterpret_cast<HWND>(&g_windowObject);
    return g_window;
}

BOOL DestroyWindow(HWND) {
    platform::CloseVideo();
    g_window = nullptr;
    return TRUE;
}

LONG ChangeDisplaySettingsA(DEVMODEA*, DWORD) {
    // The desktop's mode is never switched: full screen is a borderless window over it.
    return DISP_CHANGE_SUCCESSFUL;
}

LONG SetWindowLongA(HWND, int index, LONG value) {
    if (index == GWL_STYLE) {
        bool wantFull = !(static_cast<DWORD>(value) & WS_CAPTION);
        if (wantFull != platform::IsFullScreen()) platform::ToggleFullScreen();
    }
    return 0;
}

BOOL SetWindowPos(HWND, HWND, int, int, int, int, UINT) { return TRUE; }
BOOL ShowWindow(HWND, int) { return TRUE; }

int ShowCursor(BOOL show) {
    platform::ShowMouseCursor(show != 0);
    return show ? 0 : -1;
}

DWORD timeGetTime() { return platform::Milliseconds(); }
DWORD GetTickCount() { return platform::Milliseconds(); }
