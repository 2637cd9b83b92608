// clang-format off
// (the JavaScript inside EM_ASM and EM_JS must stay exactly as written)
// Music in the browser: the tracks are Ogg Vorbis files made from the game's modules, each with a
// ".loop" file beside it that gives where the module's loop starts and ends (in samples). They
// play through Web Audio with those loop points, which the emulated mixer's audio elements cannot
// keep. Music objects are numbers; 0 is none.
#include <SDL/SDL_mixer.h>
#include <emscripten.h>

#include <cstdint>

namespace {
EM_JS(int, WebMusicLoad, (const char* path), {
    var name = UTF8ToString(path);
    var bytes;
    try {
        bytes = FS.readFile(name);
    } catch (e) {
        return 0;
    }
    var loop = null;
    try {
        var parts = FS.readFile(name.replace(/\.ogg$/i, '.loop'), {encoding : 'utf8'}).trim().split(/\s+/).map(Number);
        if (parts.length >= 3 && parts[2] > 0) loop = {start : parts[0] / parts[2], end : parts[1] / parts[2]};
    } catch (e) {
    }
    var music = Module.webMusic || (Module.webMusic = {tracks : [ null ], ctx : null, gain : null, playing : null, volume : 1});
    if (!music.ctx) {
        var AC = window.AudioContext || window.webkitAudioContext;
        if (!AC) return 0;
        music.ctx = new AC();
        music.gain = music.ctx.createGain();
        music.gain.connect(music.ctx.destination);
        if (Module.audioContexts) Module.audioContexts.push(music.ctx);
    }
    var track = {name : name, buffer : null, loop : loop, wanted : null};
    music.tracks.push(track);
    var copy = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
    music.ctx.decodeAudioData(copy, function(buffer) {
        track.buffer = buffer;
        if (track.wanted !== null && music.playing === track) Module.webMusicStart(track, track.wanted);
    }, function() { err('Could not decode music "' + name + '"'); });
    if (!Module.webMusicStart) {
        Module.webMusicStart = function(t, loops) {
            var m = Module.webMusic;
            var src = m.ctx.createBufferSource();
            src.buffer = t.buffer;
            if (loops < 0 || loops > 1) {
                src.loop = true;
                if (t.loop) {
                    src.loopStart = t.loop.start;
                    src.loopEnd = t.loop.end;
                }
            }
            src.connect(m.gain);
            src.start();
            t.source = src;
            src.onended = function() { if (m.playing === t && t.source === src) m.playing = null; };
        };
    }
    return music.tracks.length - 1;
});

EM_JS(void, WebMusicHalt, (), {
    var m = Module.webMusic;
    if (!m || !m.playing) return;
    var t = m.playing;
    m.playing = null;
    t.wanted = null;
    if (t.source) {
        try {
            t.source.stop();
        } catch (e) {
        }
        t.source = null;
    }
});

EM_JS(int, WebMusicPlay, (int id, int loops), {
    var m = Module.webMusic;
    var t = m && m.tracks[id];
    if (!t) return -1;
    m.playing = t;
    t.wanted = loops;
    if (t.buffer) Module.webMusicStart(t, loops);
    return 0;
});

EM_JS(int, WebMusicVolume, (int volume), {
    var m = Module.webMusic;
    if (!m) return 128;
    var old = Math.round(m.volume * 128);
    if (volume >= 0) {
        m.volume = Math.min(volume, 128) / 128;
        if (m.gain) m.gain.gain.value = m.volume;
    }
    return old;
});

EM_JS(void, WebMusicFree, (int id), {
    var m = Module.webMusic;
    if (m && m.tracks[id]) m.tracks[id] = null;
});

EM_JS(int, WebMusicPlaying, (), { return (Module.webMusic && Module.webMusic.playing) ? 1 : 0; });
}  // namespace

extern "C" {

Mix_Music* Mix_LoadMUS(const char* file) {
    return reinterpret_cast<Mix_Music*>(static_cast<uintptr_t>(WebMusicLoad(file)));
}

void Mix_FreeMusic(Mix_Music* music) {
    int id = static_cast<int>(reinterpret_cast<uintptr_t>(music));
    WebMusicHalt();
    WebMusicFree(id);
}

int Mix_PlayMusic(Mix_Music* music, int loops) {
    WebMusicHalt();
    return WebMusicPlay(static_cast<int>(reinterpret_cast<uintptr_t>(music)), loops);
}

int Mix_HaltMusic(void) {
    WebMusicHalt();
    return 0;
}

int Mix_VolumeMusic(int volume) { return WebMusicVolume(volume); }

int Mix_PlayingMusic(void) { return WebMusicPlaying(); }

}  // extern "C"
