// Shared helpers for tests: an offscreen GL context, temporary folders, small pictures and sounds
// written on the fly, and running the headless game.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// Opens the headless 640 x 480 GL context once per process, with the engine's render state (in a
// render-free process: the engine alone, with no context).
void EnsureGL();

// Makes this process a render-free run, as --no-render does: no GL context and nothing drawn, but
// every rule, timer and sprite step as in a drawn run. For long in-process runs that read no
// pixels; call it before EnsureGL or the game's start-up (it holds for the rest of the process).
// BRACKMOOR_TESTS_DRAWN=1 in the environment leaves them drawn, to compare the two.
void UseRenderFree();

// A fresh empty folder under the system's temp folder.
std::string MakeTempDir(const std::string& tag);

// Writes an RGBA PNG (rgba has w*h*4 bytes, rows top to bottom).
bool WritePng(const std::string& path, int w, int h, const std::vector<unsigned char>& rgba);
// Writes a mono 16-bit WAV of a sine tone.
bool WriteToneWav(const std::string& path, int samples, int amplitude);

std::string ReadFile(const std::string& path);
bool WriteText(const std::string& path, const std::string& text);

// Reads the current frame buffer (rows bottom to top, as OpenGL gives them) as RGBA.
std::vector<unsigned char> ReadFrame();
// Pixel (x, y) with y counted from the top of the screen.
unsigned PixelAt(const std::vector<unsigned char>& frame, int x, int y);

struct RunResult {
    int exitCode;
    std::string output;  // stdout and stderr together
};
// Runs the headless game with the given arguments (each passed as one word).
RunResult RunHeadless(const std::vector<std::string>& args);

}  // namespace testsupport
