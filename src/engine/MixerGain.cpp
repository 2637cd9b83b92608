#include "engine/MixerGain.h"

#include <algorithm>
#include <cstdint>

namespace mixergain {
namespace {
const int kUnity = 65536;
const int kMaxSteps = MIX_MAX_VOLUME;
const long kUnitsPerStep = 30;
const long kFullScale = kMaxSteps * kUnitsPerStep;

// One music and one effects level as the mixer's whole steps and factors (kUnity = 1).
struct Split {
    int musicSteps;    // Mix_VolumeMusic
    int mixGain;       // on the whole mix, at least 1
    int effectsSteps;  // Mix_VolumeChunk
    int channelGain;   // on each effect's channel, at most 1
};

Split SplitLevels(long musicLevel, long effectsLevel) {
    musicLevel = std::max(0L, musicLevel);
    effectsLevel = std::min(kFullScale, std::max(0L, effectsLevel));
    Split s = {0, kUnity, 0, kUnity};
    // The music takes whole steps up to full scale; the rest (a factor from 1 to 2, or more beyond
    // full scale) is made up on the mix.
    s.musicSteps = static_cast<int>(std::min(static_cast<long>(kMaxSteps), musicLevel / kUnitsPerStep));
    if (s.musicSteps > 0) {
        int64_t den = kUnitsPerStep * s.musicSteps;
        s.mixGain = static_cast<int>((static_cast<int64_t>(musicLevel) * kUnity + den / 2) / den);
    }
    // The effects take the whole step at or above their level and come down to it on their channel,
    // where the mix's factor is taken back out too.
    s.effectsSteps = static_cast<int>((effectsLevel + kUnitsPerStep - 1) / kUnitsPerStep);
    if (s.effectsSteps > 0) {
        int64_t den = static_cast<int64_t>(kUnitsPerStep) * s.effectsSteps * s.mixGain;
        s.channelGain = static_cast<int>((static_cast<int64_t>(effectsLevel) * kUnity * kUnity + den / 2) / den);
    }
    return s;
}

long g_musicLevel = -1;  // none set yet
long g_effectsLevel = -1;
Split g_split = {0, kUnity, 0, kUnity};
// The factors the mixing thread reads; written only with the audio locked.
int g_mixGain = kUnity;
int g_channelGain = kUnity;
bool g_s16 = false;  // the factors work on the signed 16-bit samples the game asks for

bool AudioOpen() {
    int freq, channels;
    Uint16 format;
    return Mix_QuerySpec(&freq, &format, &channels) != 0;
}

void Scale(void* stream, int len, int gain) {
    if (gain == kUnity || !g_s16) return;
    Sint16* s = static_cast<Sint16*>(stream);
    for (int i = 0; i < len / 2; ++i) {
        int64_t v = (static_cast<int64_t>(s[i]) * gain + kUnity / 2) >> 16;
        s[i] = static_cast<Sint16>(std::min<int64_t>(32767, std::max<int64_t>(-32768, v)));
    }
}

void MixEffect(int, void* stream, int len, void*) { Scale(stream, len, g_mixGain); }
void ChannelEffect(int, void* stream, int len, void*) { Scale(stream, len, g_channelGain); }

// Recomputes the split; the music's volume and both factors change together, between two mixes.
void Update() {
    Split s = SplitLevels(g_musicLevel, g_effectsLevel);
    bool open = AudioOpen();
    SDL_LockAudio();
    if (open) Mix_VolumeMusic(s.musicSteps);
    g_mixGain = s.mixGain;
    g_channelGain = s.channelGain;
    SDL_UnlockAudio();
    g_split = s;
}
}  // namespace

int SetMusicLevel(long level) {
    if (level != g_musicLevel) {
        g_musicLevel = level;
        Update();
    }
    return g_split.musicSteps;
}

int SetEffectsLevel(long level) {
    if (level != g_effectsLevel) {
        g_effectsLevel = level;
        Update();
    }
    return g_split.effectsSteps;
}

void AttachToMix() {
    int freq, channels;
    Uint16 format = 0;
    g_s16 = Mix_QuerySpec(&freq, &format, &channels) != 0 && format == AUDIO_S16SYS;
    Mix_UnregisterEffect(MIX_CHANNEL_POST, MixEffect);
    if (g_s16) Mix_RegisterEffect(MIX_CHANNEL_POST, MixEffect, nullptr, nullptr);
    Mix_VolumeMusic(g_split.musicSteps);
}

int PlayEffect(Mix_Chunk* chunk, int loops) {
    SDL_LockAudio();
    int channel = Mix_PlayChannel(-1, chunk, loops);
    if (channel >= 0 && g_s16) {
        // A finished channel drops its effects, so each new sound takes the factor afresh.
        Mix_UnregisterEffect(channel, ChannelEffect);
        Mix_RegisterEffect(channel, ChannelEffect, nullptr, nullptr);
    }
    SDL_UnlockAudio();
    return channel;
}

}  // namespace mixergain
