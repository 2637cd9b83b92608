// The game's own random generator (rand/srand are defined in Random.cpp).
#pragma once

// The current state of the game thread's generator.
unsigned long long GameRandomState();
