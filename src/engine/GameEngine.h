// The one engine object: window and GL context, key states, joystick, the current font and bound
// picture, music state, the tower's view rotation, the fade overlay and the screen shake; with the
// drawing, text and audio operations.
#pragma once

#include <SDL/SDL.h>

#include "engine/GColor.h"
#include "engine/GL.h"
#include "platform/win32.h"

class GFont;
class GImage;
class GMusic;

class GameEngine {
public:
    static GameEngine* gEngine;

    HWND hwnd;
    HDC hDC;
    HGLRC hRC;
    int w;  // window size, pixels
    int h;
    GFont* fontDefault;
    GFont* curFont;  // the font DrawTextA draws with
    SDL_Joystick* joyStick;
    GImage* curImage;   // the picture bound last (null: bind before drawing)
    char cmdLine[256];  // the start position asked for on the command line ("" for a normal start)
    GLuint fontbase;    // first GL display list of the system font's glyphs (0: none)
    int fontW;          // the system font's cell, pixels (text boxes wrap by it)
    int fontH;
    float fadePerc;               // the black veil over the picture: 0 clear .. 1 black
    char errText[256];            // drawn in red at the top left of every frame ("" for nothing)
    float rotx;                   // the tower's turn about its upright axis, degrees (a multiple of 90 at rest)
    float roty;                   // its tilt about the horizontal axis, degrees
    int rotxdir;                  // direction of the turn under way: 1 or -1
    bool keys[256];               // keys held, by virtual key code
    bool windowactive;            // the window is not minimised
    GMusic* music;                // the track playing (null: none)
    int musFade;                  // frames left of the music fade under way (0: none)
    int musFadeMax;               // that fade's length, frames
    float textScale;              // size factor of text drawn with curFont
    DWORD bfps;                   // clock, ms, when the last frame began
    DWORD efps;                   // clock, ms, read by the frame loop as it decides whether a frame is due
    DWORD framelimit;             // frames per second the loop paces itself to
    float fps;                    // frame rate measured over the last frame
    UINT joyXcenter, joyYcenter;  // the joystick's resting axis values
    JOYINFO jInfo;                // unused
    float ShakeX, ShakeY;         // how far the shake moves the picture this frame, pixels
    float ShakeAmpX, ShakeAmpY;   // the shake's amplitude, pixels
    float ShakeCounter;           // the shake's phase, radians
    float ShakeTimer;             // frames of shaking left
    float ShakeSpeed;             // frames per half swing

    // While above zero the drawing primitives draw nothing: a draw pass still runs for what it
    // does to the game (sprites step, blink timers count) but leaves no pixels. Use PixelsOff.
    int pixelsOff;
    bool DrawsPixels() const { return pixelsOff == 0 && !RenderFree(); }

    // A render-free run (--no-render): there is no GL context, so pixels stay off for the whole run
    // and the engine makes no GL call at all, while every draw pass still runs for what it does to
    // the game. Chosen before the engine starts (platform::SetRenderFree).
    static bool RenderFree();
    // Depth testing on or off: the flat layers (HUD, menus, overlays) draw with it off.
    static void SetDepthTest(bool on);

    // Frames completed since start (the replay, capture and --frames options count with it).
    long frameCount;
    // Called when the window loses the keyboard focus and the player asked to pause then.
    void (*onFocusLost)();
    // The clear colour last set, kept so that a new context (after a full-screen switch) gets it too.
    GColor clearColor;

    // Capture statics.
    static BOOL takeScreen;
    static BOOL recordMovie;
    static int recordDelay;
    static char screenFName[256];
    static int recordX, recordY, recordW, recordH;

    GameEngine();

    // Window, context and the rest of the engine.
    void Init(HINSTANCE hInstance, const char* windowName, int swidth, int sheight, bool windowed);
    void EnableOpenGL(HWND hWnd, HDC* hDC, HGLRC* hRC);
    // The fixed render state of the whole run (set again when the context is replaced).
    void ApplyRenderState();
    void DisableOpenGL();
    void ShutDown();
    void SetClearColor(GColor c);
    static void MessageBoxD(int d, const char* cap);
    static void MessageBoxF(float f, const char* cap);

    // Joystick.
    void EnableJoyStick();
    int JoyStickX();
    int JoyStickY();
    int JoyButton(int b);
    void DisableJoyStick();
    bool GetJoyStickInfo();

    // Sound and music.
    void SoundInit();
    void MusicLoop(GMusic* smusic);
    void MusicPlay(GMusic* smusic, int stimes);
    void MusicFade(int fadeTime);
    void MusicStop();
    bool IsMusicPlaying();
    // One frame of the music volume and fade (the frame loop calls it after the world update).
    void MusicFrame();

    // Screen shake and capture.
    void Shake(float ampX, float ampY, float speed, float dur);
    void ShakeUpd();
    static void TakeScreenShot(const char* filename);
    static void StartMovie(const char* filename);
    static void EndMovie();
    static void SetRecordBox(int sx, int sy, int sw, int sh);
    static void ScreenShot(const char* filename);
    // The capture step of a frame (after the picture is finished, before the swap).
    void CaptureFrame();

    // Drawing.
    void SetColor(float r, float g, float b, float a);
    void ResetColor();
    void DrawImage(int side, GImage* image, int xP, int yP, float scale, float rot, float xinv, float yinv);
    void DrawImagePart(int side, GImage* image, int xP, int yP, int wP, int hP, int cx, int cy, int cw, int ch,
                       float scale, float rot, float xinv, float yinv);
    void DrawImagePart(int side, GImage* image, int xP, int yP, int cx, int cy, int cw, int ch, float scale, float rot,
                       float xinv, float yinv);
    void DrawBox(int side, int xP, int yP, int wP, int hP, int zP);
    void DrawImage3DBox(GImage* image, int xP, int yP, float scale, float rot, float xinv, float yinv);
    // The primitives gather their quads and draw them in batches: this draws what is gathered. Call it
    // before reading the picture or drawing with GL directly; afterwards GL's current colour is the
    // one last set and the bound texture is curImage's.
    void FlushQuads();

    // Text.
    void SelectFont(GFont* gfont);
    void DrawTextA(float x, float y, const char* fmt, ...);
    void DrawTextBox(float x, float y, int sw, int sh, const char* fmt, ...);
    void LoadWinFont(const char* fontName, int size, int thickness);
    void DrawWinText(float x, float y, const char* fmt, ...);
    // Gives back the diagnostic font's GL objects (while a context exists).
    void FreeWinFont();
    void DrawWinTextBox(float x, float y, int sw, int sh, const char* fmt, ...);

    // The orthographic 640 x 480 projection the frame loop sets before drawing.
    void SetScreenProjection();
    // One whole frame of the loop (clear, input, update, shake, music, draw, capture, swap).
    void RunFrame();

    // Helpers shared by the primitives.
    static float NormaliseInv(float v);
    static bool Culled(int xP, int yP, float W, float H);
};

// Draws nothing while it lives (nests): for draw passes that must keep their effect on the game
// without showing anything. A null engine is allowed.
class PixelsOff {
public:
    explicit PixelsOff(GameEngine* e, bool on = true) : e_(on ? e : nullptr) {
        if (e_) ++e_->pixelsOff;
    }
    ~PixelsOff() {
        if (e_) --e_->pixelsOff;
    }
    PixelsOff(const PixelsOff&) = delete;
    PixelsOff& operator=(const PixelsOff&) = delete;

private:
    GameEngine* e_;
};

// The effects' chunk volume for the game's own volume after the player's settings (mute, effects
// volume; 30 keeps the game's own), with the fine rest of it set on the mixer.
int EffectsVolume(int gameVolume);

// Colour escapes inside drawn text: '^' followed by R, G, B, W or K.
void ModifyMidString(GameEngine* gEngine, char c);

// Whether the next frame is due: more than 1/framelimit of a second has passed from the last frame's
// start (bfps) to now (efps), both in milliseconds of a clock that may wrap.
bool FrameDue(DWORD efps, DWORD bfps, DWORD framelimit);

// The game side, called by the frame loop.
void GameInit(GameEngine* gEngine, HINSTANCE hInstance);
void GameStart(GameEngine* gEngine);
void HandleKeys(GameEngine* gEngine);
void GameLoop(GameEngine* gEngine);
void GameDraw(GameEngine* gEngine);
void GameEnd(GameEngine* gEngine);

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
int WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, char* lpCmdLine, int iCmdShow);

// The one global engine object.
extern GameEngine gEngine;
