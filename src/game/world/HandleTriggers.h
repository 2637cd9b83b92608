// The level script: at fixed heights of the player it changes the music, shakes the screen, starts
// the boss fights, pins the camera and records the player's progress.
#pragma once

void HandleTriggers();

// Frames left before the crab walker appears (counts down once its sequence has locked the screen).
extern int triggerCrabBossWait;
