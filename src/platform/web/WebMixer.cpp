// clang-format off
// (the JavaScript inside EM_ASM and EM_JS must stay exactly as written)
// The mixer calls the browser's SDL_mixer emulation lacks (it throws on them), in terms of what it
// has. Effects and music play through the page's Web Audio and audio elements.
#include <SDL/SDL_mixer.h>
#include <emscripten.h>

extern "C" {

// The device opens as asked for (44.1 kHz, 16-bit, stereo) once the mixer is open.
int Mix_QuerySpec(int* frequency, Uint16* format, int* channels) {
    int open = EM_ASM_INT({ return (typeof SDL !== 'undefined' && SDL.mixerFrequency) ? 1 : 0; });
    if (!open) return 0;
    if (frequency) *frequency = 44100;
    if (format) *format = AUDIO_S16LSB;
    if (channels) *channels = 2;
    return 1;
}

// Every effect is played at the one effects volume, set just before it starts: the channels'
// volume gives the same loudness as the chunk's would.
int Mix_VolumeChunk(Mix_Chunk* chunk, int volume) {
    if (!chunk) return 0;
    if (volume < 0) return Mix_Volume(0, -1);
    return Mix_Volume(-1, volume);
}

// The effect a channel is playing (the emulation's chunks are numbers).
Mix_Chunk* Mix_GetChunk(int channel) {
    int id = EM_ASM_INT({
        var info = SDL.channels[$0];
        if (!info || !info.audio || !info.audio.resource) return 0;
        var at = SDL.audios.indexOf(info.audio.resource);
        return at < 0 ? 0 : at;
    }, channel);
    return reinterpret_cast<Mix_Chunk*>(static_cast<uintptr_t>(id));
}

}  // extern "C"

extern "C" {

// The browser's mixer runs no effect callbacks on the samples: a music level above the mixer's full
// step and the effects' finer-than-a-step level are not applied there (refused, as a mixer may).
int Mix_RegisterEffect(int, Mix_EffectFunc_t, Mix_EffectDone_t, void*) { return 0; }
int Mix_UnregisterEffect(int, Mix_EffectFunc_t) { return 0; }

}  // extern "C"
