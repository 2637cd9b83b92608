// OpenGL 1.1 through SDL's header. The functions resolve at link time against libGL (the window
// game) or libOSMesa (headless), never both.
#pragma once

#define NO_SDL_GLEXT
#include <SDL/SDL_opengl.h>
