// The game side of the frame loop: start-up, one update step, one picture.
#pragma once

class GFont;

// The HUD and menu font.
extern GFont* bkmFont;

// The seed the random generator was started with (from --seed, or the clock).
unsigned GameSeed();
