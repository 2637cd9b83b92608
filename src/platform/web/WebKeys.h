// The page's keyboard: browser key events to the game's virtual keys, through the player's key
// settings, without the page scrolling under the arrow keys and Space.
#pragma once

#include <string>

namespace platform {

// Listens to key presses on the page (once).
void InstallWebKeys();
// Posts the keys pressed or released since the last call as window messages.
void PostWebKeys();
// The virtual key of a browser KeyboardEvent.code ("ArrowLeft", "KeyX", "Digit1"...), 0 if none.
int DomCodeToVk(const std::string& code);

}  // namespace platform
