// Loudness finer and louder than the mixer's own volumes. SDL_mixer takes a volume in whole steps
// from 0 to 128 and never louder than the sound as recorded, too coarse for a volume setting of
// 0 to 100 and too quiet for the music above the game's own level. The music's volume is split
// into the mixer's whole step and a fine factor applied to the finished mix; the effects get the
// rest of their level from a factor on their own channel, which also takes the mix's factor back
// out, so each of the two is exactly as loud as asked.
#pragma once

#include <SDL/SDL_mixer.h>

namespace mixergain {

// Levels are in thirtieths of a mixer step: 3840 is a sound at its recorded loudness (the mixer's
// 128 steps). The music may go beyond that; the effects stop at it.

// Sets the music's level and returns its mixer volume; the factors follow at once.
int SetMusicLevel(long level);
// Sets the effects' level and returns their chunk volume; the factors follow at once.
int SetEffectsLevel(long level);

// Hooks the factors into the mixer; call after every Mix_OpenAudio.
void AttachToMix();
// Starts a chunk on a free channel (loops extra times, -1 for ever) with the effects' factor
// attached before the channel is first mixed; returns the channel or -1.
int PlayEffect(Mix_Chunk* chunk, int loops);

}  // namespace mixergain
