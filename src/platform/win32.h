// The small slice of the Windows API the game is written against, implemented on Linux by our
// own platform layer. The message queue, message boxes and the window procedure dispatch live in
// the core library; the window, GL context, clock and events come from one of two backends
// (SDL window or headless OSMesa) chosen when an executable is linked.
#pragma once

#include <cstdint>

typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int BOOL;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uint16_t WORD;
typedef int32_t LONG;

struct PlatformWindow;
struct PlatformDC;
struct PlatformGLContext;
typedef PlatformWindow* HWND;
typedef PlatformDC* HDC;
typedef PlatformGLContext* HGLRC;
typedef void* HINSTANCE;
typedef void* HICON;
typedef void* HCURSOR;
typedef void* HBRUSH;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define CALLBACK

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
};

struct RECT {
    LONG left, top, right, bottom;
};

struct JOYINFO {
    UINT wXpos, wYpos, wZpos, wButtons;
};

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct DEVMODEA {
    DWORD dmSize;
    DWORD dmFields;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    uint8_t iPixelType;
    uint8_t cColorBits;
    uint8_t cDepthBits;
    uint8_t iLayerType;
};

// Messages.
#define WM_DESTROY 0x0002
#define WM_ACTIVATE 0x0006
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_KILLFOCUS 0x0008

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xffff))

// Window styles and the rest of the constants the engine passes along.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define WS_POPUP 0x80000000u
#define WS_VISIBLE 0x10000000u
#define WS_CLIPSIBLINGS 0x04000000u
#define WS_CLIPCHILDREN 0x02000000u
#define WS_CAPTION 0x00C00000u
#define WS_SYSMENU 0x00080000u
#define GWL_STYLE (-16)
#define SWP_NOZORDER 0x0004
#define SWP_FRAMECHANGED 0x0020
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_RESTORE 9
#define CDS_FULLSCREEN 0x00000004
#define DISP_CHANGE_SUCCESSFUL 0
#define DM_BITSPERPEL 0x00040000
#define DM_PELSWIDTH 0x00080000
#define DM_PELSHEIGHT 0x00100000
#define MB_OK 0x00000000
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

// Virtual-key codes (the ones the game reads; letters and digits are their ASCII codes).
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F11 0x7A
#define VK_F12 0x7B

// Message queue and window procedure (core library).
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// Window management (core library, forwarding to the backend).
UINT RegisterClassA(const WNDCLASSA* wc);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, void* menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND hwnd);
LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);
BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags);
BOOL ShowWindow(HWND hwnd, int cmdShow);
int ShowCursor(BOOL show);

// GL context (backend).
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd);
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC rc);
BOOL wglDeleteContext(HGLRC rc);
BOOL SwapBuffers(HDC dc);

// Clock (backend): milliseconds, wrapping at 2^32.
DWORD timeGetTime();
DWORD GetTickCount();
