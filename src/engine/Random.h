// The game's own random generator (rand/srand are defined in Random.cpp).
#pragma once

// Makes the calling thread the game's: its rand() calls draw from the game's generator, every other
// thread's from a separate one. Called first thing at start-up (before the sound device opens its
// mixing thread) and by the test fixtures. Until a thread is registered every call draws from the
// game's generator, as in a program with one thread.
void RegisterGameThread();

// The current state of the game thread's generator.
unsigned long long GameRandomState();
