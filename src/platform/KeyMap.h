// SDL key symbols to the Windows virtual-key codes the game reads.
#pragma once

#include <SDL/SDL_keysym.h>

namespace platform {
int SdlKeyToVk(SDLKey key);
}
