// BRACKMOOR_BROWSER_EMULATION: defined only by the web build, which runs on the browser's
// emulation of OpenGL 1.1 and SDL 1.2. That emulation has no display lists, glBitmap or attribute
// stack, refuses some hints and pixel-store modes, cannot blit or lock a loaded picture, cannot
// write BMP files, and the web build has no libpng. The few places that meet these use equal means
// under this one switch (glyphs as textured quads, pictures read straight from the loaded pixels,
// PNG files written uncompressed); the native builds never see it and keep their own code.
#pragma once
