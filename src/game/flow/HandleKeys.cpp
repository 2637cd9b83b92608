#include "engine/GameEngine.h"

// Keyboard and joystick to game actions.
void HandleKeys(GameEngine* gEngine) {}
