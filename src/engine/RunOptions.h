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

// Before the frame's input handling: applies the replay events of this frame.
void BeforeInput(GameEngine* e);
// False for a frame that --draw-shots-only leaves blank (it draws with pixels off).
bool DrawsFrame(long frame);
// The GL work of the last frame drawn.
DrawCounts LastFrameDrawCounts();
// After the picture is finished, before the swap: saves requested screenshots.
void AfterDraw(GameEngine* e);
// After the frame: counts it and asks to quit at the frame limit.
void AfterFrame(GameEngine* e);
// A key the player pressed or released (window messages), for --record.
void OnKey(GameEngine* e, int vk, bool down);
// At exit: writes the recording and the state dump. Returns false when a file could not be written.
bool Finish(GameEngine* e);

}  // namespace runoptions

// The game's state as JSON (the game provides it, in game/StateDump.cpp).
std::string GameStateJson(GameEngine* e);
