// What the run's command-line options do in the frame loop: recorded input played back or
// recorded, frames captured as PNG, a frame limit, the state trace and a state dump at the end.
#pragma once

#include <string>

#include "engine/QuadBatch.h"
#include "platform/win32.h"

class GameEngine;

namespace runoptions {

// Loads the replay file and prepares captures from the current options. Returns false (after
// printing FILE:LINE: reason) when a replay file is bad; the program then exits with status 2.
bool Prepare();

// A player inside the program (the automatic player). Before each frame's input it presses and
// releases keys with Press, exactly as a recording is played back; a key a person presses
// meanwhile is passed to it.
class KeySource {
public:
    virtual ~KeySource() = default;
    virtual void BeforeInput(GameEngine* e) = 0;
    virtual void PersonPressed(GameEngine* e, int vk) = 0;
};
// Installs the key source (not owned), or with null removes it.
void SetKeySource(KeySource* source);
KeySource* CurrentKeySource();
// Presses or releases a key as the program's own input: it reaches the game as a window's key
// message would, and --record notes it.
void Press(GameEngine* e, int vk, bool down);

// Before the frame's input handling: applies the replay events of this frame, then the key
// source's presses.
void BeforeInput(GameEngine* e);
// False for a frame that --draw-shots-only leaves blank (it draws with pixels off).
bool DrawsFrame(long frame);
// The GL work of the last frame drawn.
DrawCounts LastFrameDrawCounts();
// After the picture is finished, before the swap: saves requested screenshots.
void AfterDraw(GameEngine* e);
// After the frame: counts it and asks to quit at the frame limit.
void AfterFrame(GameEngine* e);
// A key pressed or released (window messages), for --record; a person's press also goes to the
// key source.
void OnKey(GameEngine* e, int vk, bool down);
// The keys recorded so far (with --record), as the text of a recording file.
std::string RecordingText();
// At exit: writes the recording and the state dump. Returns false when a file could not be written.
bool Finish(GameEngine* e);

}  // namespace runoptions

// The game's state as JSON (the game provides it, in game/StateDump.cpp).
std::string GameStateJson(GameEngine* e);
