// The Win32 device-context and WGL calls the engine makes. Both backends create the GL context
// together with their video surface, so these only report whether one exists and present frames.
#include "platform/Backend.h"
#include "platform/win32.h"

struct PlatformDC {};
struct PlatformGLContext {};

namespace {
PlatformDC g_dc;
PlatformGLContext g_rc;
bool g_renderFree = false;
}  // namespace

namespace platform {
void SetRenderFree(bool on) { g_renderFree = on; }
bool RenderFree() { return g_renderFree; }
}  // namespace platform

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
