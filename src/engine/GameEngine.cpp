#include "engine/GameEngine.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <SDL/SDL_mixer.h>

#include "engine/BrowserEmulation.h"
#include "engine/DetMath.h"
#include "engine/GFont.h"
#include "engine/GImage.h"
#include "engine/QuadBatch.h"
#include "engine/Random.h"
#include "engine/RunOptions.h"
#include "platform/Backend.h"
#include "platform/Settings.h"

GameEngine* GameEngine::gEngine = nullptr;
GameEngine gEngine;

GameEngine::GameEngine() {
    hwnd = nullptr;
    hDC = nullptr;
    hRC = nullptr;
    w = 640;
    h = 480;
    fontDefault = nullptr;
    curFont = nullptr;
    joyStick = nullptr;
    curImage = nullptr;
    cmdLine[0] = 0;
    pixelsOff = 0;
    fontbase = 0;
    fontW = 8;
    fontH = 12;
    fadePerc = 0;
    errText[0] = 0;
    rotx = 0;
    roty = 0;
    rotxdir = 1;
    std::memset(keys, 0, sizeof(keys));
    windowactive = false;
    music = nullptr;
    musFade = 0;
    musFadeMax = 100;
    textScale = 1.0f;
    bfps = 1;
    efps = 0;
    framelimit = 60;
    fps = 0;
    joyXcenter = joyYcenter = 0;
    std::memset(&jInfo, 0, sizeof(jInfo));
    ShakeX = ShakeY = ShakeAmpX = ShakeAmpY = ShakeCounter = ShakeTimer = 0;
    ShakeSpeed = 0;
    frameCount = 0;
    onFocusLost = nullptr;
    clearColor = GColor(0, 0, 0, 0.5f);
}

// After a change of video mode the context may be new: restore what the game set up once.
static void OnVideoReset() {
    GameEngine* e = GameEngine::gEngine;
    if (!e) return;
    e->ApplyRenderState();
    glViewport(0, 0, e->w, e->h);
    GImage::ReloadAll();
    if (e->fontbase != 0) {
        e->FreeWinFont();
        e->LoadWinFont("system", 0, 8);
    }
    e->curImage = nullptr;
}

bool FrameDue(DWORD efps, DWORD bfps, DWORD framelimit) {
    // Unsigned 32-bit arithmetic, so a wrapping clock still gives a frame.
    DWORD product = static_cast<DWORD>((efps - bfps) * framelimit);
    return product > 1000;
}

static void PerspectiveProjection(double fovy, double aspect, double zNear, double zFar) {
    double fh = detmath::Tan(fovy / 360.0 * 3.14159265358979323846) * zNear;
    double fw = fh * aspect;
    glFrustum(-fw, fw, -fh, fh, zNear, zFar);
}

void GameEngine::Init(HINSTANCE hInstance, const char* windowName, int swidth, int sheight, bool windowed) {
    fadePerc = 0;
    windowactive = false;
    fontH = 12;
    fontW = 8;
    music = nullptr;
    w = swidth;
    h = sheight;
    fontbase = 0;
    textScale = 1.0f;
    ShakeX = ShakeY = ShakeAmpX = ShakeAmpY = ShakeCounter = ShakeTimer = 0;
    musFade = 0;
    musFadeMax = 100;
    curImage = nullptr;
    rotxdir = 1;
    rotx = 0;
    roty = 0;
    errText[0] = 0;
    joyStick = nullptr;
    bfps = efps = framelimit = 0;
    fps = 0;
    std::memset(keys, 0, sizeof(keys));

    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "GameWindow";
    RegisterClassA(&wc);

    DWORD style = windowed ? (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU)
                           : (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rect{0, 0, swidth, sheight};
    AdjustWindowRect(&rect, style, FALSE);
    if (!windowed) {
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        mode.dmBitsPerPel = 32;
        mode.dmPelsWidth = static_cast<DWORD>(swidth);
        mode.dmPelsHeight = static_cast<DWORD>(sheight);
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
        ShowCursor(FALSE);
    }
    hwnd = CreateWindowExA(0, "GameWindow", windowName, style, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                           nullptr, nullptr, hInstance, nullptr);
    if (!hwnd) {
        // Without a window there is nothing to play on.
        MessageBoxA(nullptr, "Could not open the game window", "", MB_OK);
        PostQuitMessage(1);
    }
    EnableOpenGL(hwnd, &hDC, &hRC);

    if (!RenderFree()) {
        glViewport(0, 0, swidth, sheight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        PerspectiveProjection(45.0, static_cast<double>(swidth) / sheight, 0.1, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    fontDefault = new GFont("data/font/font.cff", 1.0f);
    SelectFont(fontDefault);

    SoundInit();
    EnableJoyStick();
    LoadWinFont("system", 0, 8);
}

void GameEngine::EnableOpenGL(HWND hWnd, HDC* dc, HGLRC* rc) {
    *dc = GetDC(hWnd);
    static PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = 40;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    int format = ChoosePixelFormat(*dc, &pfd);
    SetPixelFormat(*dc, format, &pfd);
    *rc = wglCreateContext(*dc);
    wglMakeCurrent(*dc, *rc);
    if (!*rc) return;
    ApplyRenderState();
    platform::SetVideoResetHandler(OnVideoReset);
}

bool GameEngine::RenderFree() { return platform::RenderFree(); }

void GameEngine::SetDepthTest(bool on) {
    if (RenderFree()) return;
    QuadBatch::Shared().Flush();
    QuadBatch::Shared().CountStateChange();
    if (on)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
}

void GameEngine::ApplyRenderState() {
    if (RenderFree()) return;
    QuadBatch::Shared().ForgetGLState();
    glEnable(GL_TEXTURE_2D);
#ifndef BRACKMOOR_BROWSER_EMULATION  // the browser's GL has no shading model to choose
    glShadeModel(GL_SMOOTH);
#endif
    glClearColor(clearColor.r, clearColor.g, clearColor.b, clearColor.a);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
#ifndef BRACKMOOR_BROWSER_EMULATION  // the browser's GL refuses this hint
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
#endif
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
}

void GameEngine::DisableOpenGL() {
    FreeWinFont();
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(hRC);
    ReleaseDC(hwnd, hDC);
    hRC = nullptr;
    hDC = nullptr;
}

void GameEngine::ShutDown() {
    DisableOpenGL();
    DestroyWindow(hwnd);
    hwnd = nullptr;
    DisableJoyStick();
    Mix_CloseAudio();
    SDL_Quit();
}

void GameEngine::SetClearColor(GColor c) {
    clearColor = c;
    if (!RenderFree()) glClearColor(c.r, c.g, c.b, c.a);
}

void GameEngine::MessageBoxD(int d, const char* cap) {
    char buf[256];
    std::snprintf(buf, sizeof(buf), "%s : %d", cap ? cap : "", d);
    MessageBoxA(nullptr, buf, "", MB_OK);
}

void GameEngine::MessageBoxF(float f, const char* cap) {
    char buf[256];
    std::snprintf(buf, sizeof(buf), "%s : %f", cap ? cap : "", f);
    MessageBoxA(nullptr, buf, "", MB_OK);
}

// Joystick 0 through SDL; with none open every query is neutral.
void GameEngine::EnableJoyStick() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
    if (SDL_NumJoysticks() > 0) {
        joyStick = SDL_JoystickOpen(0);
        if (!joyStick) MessageBoxA(nullptr, "couldn't open joystick!", "", MB_OK);
    }
    if (joyStick) {
        joyXcenter = static_cast<UINT>(static_cast<int32_t>(SDL_JoystickGetAxis(joyStick, 0)));
        joyYcenter = static_cast<UINT>(static_cast<int32_t>(SDL_JoystickGetAxis(joyStick, 1)));
    }
}

static int AxisDirection(int value) {
    if (value > 10000) return 1;
    if (value < -10000) return -1;
    return 0;
}

int GameEngine::JoyStickX() { return joyStick ? AxisDirection(SDL_JoystickGetAxis(joyStick, 0)) : 0; }
int GameEngine::JoyStickY() { return joyStick ? AxisDirection(SDL_JoystickGetAxis(joyStick, 1)) : 0; }

int GameEngine::JoyButton(int b) {
    // A physical button: the controls look up which one each action is on (the player's settings).
    if (!joyStick || b < 0 || b >= SDL_JoystickNumButtons(joyStick)) return 0;
    return SDL_JoystickGetButton(joyStick, b) ? 1 : 0;
}

void GameEngine::DisableJoyStick() {
    if (joyStick) SDL_JoystickClose(joyStick);
    joyStick = nullptr;
}

bool GameEngine::GetJoyStickInfo() { return true; }

void GameEngine::SetScreenProjection() {
    if (RenderFree()) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
}

void GameEngine::RunFrame() {
    const bool drawn = !RenderFree();
    // A frame --draw-shots-only leaves blank is not even cleared: nobody sees it.
    if (drawn && runoptions::DrawsFrame(frameCount)) {
        glClear(GL_COLOR_BUFFER_BIT);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    fps = (efps - bfps) != 0 ? 1000.0f / static_cast<float>(efps - bfps) : 0.0f;
    bfps = efps;
    SDL_JoystickUpdate();
    runoptions::BeforeInput(this);
    HandleKeys(this);
    GameLoop(this);
    ShakeUpd();
    MusicFrame();
    SetScreenProjection();
    {
        PixelsOff blank(this, !runoptions::DrawsFrame(frameCount));
        GameDraw(this);
        SetColor(1, 0, 0, 1);
        DrawTextA(20, 20, "%s", errText);  // never a format string
        ResetColor();
    }
    FlushQuads();
    CaptureFrame();
    runoptions::AfterDraw(this);
    if (drawn) SwapBuffers(hDC);
    runoptions::AfterFrame(this);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE: gEngine.windowactive = HIWORD(wParam) == 0; return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_KILLFOCUS:
            if (platform::CurrentSettings().pauseOnFocusLoss && gEngine.onFocusLost) gEngine.onFocusLost();
            return 0;
        case WM_KEYDOWN:
            if (wParam < 256) {
                gEngine.keys[wParam] = true;
                runoptions::OnKey(&gEngine, static_cast<int>(wParam), true);
            }
            return 0;
        case WM_KEYUP:
            if (wParam < 256) {
                gEngine.keys[wParam] = false;
                runoptions::OnKey(&gEngine, static_cast<int>(wParam), false);
            }
            return 0;
        default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

namespace {
MSG g_loopMsg;

// One turn of the frame loop: a queued message is handled, or a due frame is run, or the backend
// waits until the next one is due. False once the game has quit.
bool FrameLoopTurn() {
    MSG& msg = g_loopMsg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return false;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        return true;
    }
    gEngine.framelimit = 65;
    gEngine.efps = timeGetTime();
    if (!FrameDue(gEngine.efps, gEngine.bfps, gEngine.framelimit)) {
        // Rather than spinning, sleep until the first millisecond at which a frame is due.
        DWORD wait = 1000 / gEngine.framelimit + 1;
        platform::WaitUntil(gEngine.bfps + wait);
        return true;
    }
    gEngine.RunFrame();
    return true;
}

// After the quit message: the game's end, the run's files, and the exit status.
int FrameLoopEnd() {
    GameEnd(&gEngine);
    bool ok = runoptions::Finish(&gEngine);
    gEngine.ShutDown();
    return ok ? static_cast<int>(g_loopMsg.wParam) : 1;
}
}  // namespace

int WinMain(HINSTANCE hInstance, HINSTANCE, char* lpCmdLine, int) {
    // This thread runs the game; the sound device, opened next, mixes on another.
    RegisterGameThread();
    GameEngine::gEngine = &gEngine;
    std::snprintf(gEngine.cmdLine, sizeof(gEngine.cmdLine), "%s", lpCmdLine ? lpCmdLine : "");
    GameInit(&gEngine, hInstance);
    GameStart(&gEngine);

    std::memset(&g_loopMsg, 0, sizeof(g_loopMsg));
    return platform::RunFrameLoop(FrameLoopTurn, FrameLoopEnd);
}
