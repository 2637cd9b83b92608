#include "platform/Options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef BRACKMOOR_VERSION
#define BRACKMOOR_VERSION "0.0.0"
#endif

namespace platform {
namespace {
bool ParseLong(const char* s, long* out) {
    if (!s || !*s) return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (errno != 0 || *end != 0) return false;
    *out = v;
    return true;
}
}  // namespace

Options& CurrentOptions() {
    static Options options;
    return options;
}

std::string UsageText(const char* program) {
    std::string p = program ? program : "brackmoor";
    return "Usage: " + p +
           " [OPTIONS] [START]\n"
           "Climb the tower.\n\n"
           "  START                 development start: a wall digit then a row count, e.g. 215\n"
           "  --seed N              seed the random generator with N (default: the clock)\n"
           "  --frames N            quit after N frames\n"
           "  --replay FILE         play the recorded input in FILE, from the seed, length and\n"
           "                        progress its first line names, on a scratch copy of that\n"
           "                        progress unless --save-dir is given\n"
           "  --record FILE         record the input of this run (and what it started from)\n"
           "  --screenshot N:FILE   save the picture of frame N as a PNG (repeatable)\n"
           "  --draw-shots-only     draw only the frames --screenshot saves (the game plays\n"
           "                        the same; every other frame is left blank, much faster)\n"
           "  --dump-state FILE     write the game state as JSON when the game ends\n"
           "  --trace FILE          write a hash of the game state after every frame\n"
           "  --check-trace FILE    stop with an error at the first frame that differs from FILE\n"
           "  --data DIR            read the game data from DIR\n"
           "  --save-dir DIR        keep the progress files in DIR\n"
           "  --fullscreen          start in full screen\n"
           "  --windowed            start in a window\n"
           "  --scale N             scale the 640x480 picture by N\n"
           "  --settings FILE       read the settings from FILE\n"
           "  --no-render           play without drawing anything (headless runner only; no\n"
           "                        GL context, the same game frame for frame, much faster)\n"
           "  --autoplay            watch the automatic player play from the title through the\n"
           "                        credits (any key hands the game back on the title)\n"
           "  --verbose             print the settings file, the data and save folders, each\n"
           "                        data file read and the window size; in the final fight,\n"
           "                        show the boss's hit points and the entity count; at exit,\n"
           "                        the GL draw calls per drawn frame (mean and worst)\n"
           "  --help                show this help\n"
           "  --version             show the version\n";
}

ParseResult ParseOptions(int argc, char** argv, Options* out) {
    const char* prog = argc > 0 ? argv[0] : "brackmoor";
    auto fail = [&](const std::string& why) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", prog, why.c_str(), prog);
        return ParseResult::ExitError;
    };
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char** v) {
            if (i + 1 >= argc) return false;
            *v = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (a == "--help" || a == "-h") {
            std::fputs(UsageText(prog).c_str(), stdout);
            return ParseResult::ExitOk;
        } else if (a == "--version") {
            std::printf("brackmoor %s\n", BRACKMOOR_VERSION);
            return ParseResult::ExitOk;
        } else if (a == "--seed") {
            long n;
            if (!value(&v) || !ParseLong(v, &n) || n < 0 || n > 0xFFFFFFFFL)
                return fail("--seed needs a number from 0 to 4294967295");
            out->haveSeed = true;
            out->seed = static_cast<unsigned>(n);
        } else if (a == "--frames") {
            long n;
            if (!value(&v) || !ParseLong(v, &n) || n < 0) return fail("--frames needs a number of frames");
            out->frames = n;
        } else if (a == "--replay") {
            if (!value(&v)) return fail("--replay needs a file");
            out->replayFile = v;
        } else if (a == "--record") {
            if (!value(&v)) return fail("--record needs a file");
            out->recordFile = v;
        } else if (a == "--screenshot") {
            if (!value(&v)) return fail("--screenshot needs FRAME:FILE.png");
            std::string s = v;
            size_t colon = s.find(':');
            long n;
            if (colon == std::string::npos || !ParseLong(s.substr(0, colon).c_str(), &n) || n < 0 ||
                colon + 1 >= s.size())
                return fail("--screenshot needs FRAME:FILE.png, got '" + s + "'");
            out->screenshots.push_back({n, s.substr(colon + 1)});
        } else if (a == "--draw-shots-only") {
            out->drawShotsOnly = true;
        } else if (a == "--dump-state") {
            if (!value(&v)) return fail("--dump-state needs a file");
            out->dumpStateFile = v;
        } else if (a == "--trace") {
            if (!value(&v)) return fail("--trace needs a file");
            out->traceFile = v;
        } else if (a == "--check-trace") {
            if (!value(&v)) return fail("--check-trace needs a file");
            out->checkTraceFile = v;
        } else if (a == "--data") {
            if (!value(&v)) return fail("--data needs a folder");
            out->dataDir = v;
        } else if (a == "--save-dir") {
            if (!value(&v)) return fail("--save-dir needs a folder");
            out->saveDir = v;
        } else if (a == "--settings") {
            if (!value(&v)) return fail("--settings needs a file");
            out->settingsFile = v;
        } else if (a == "--no-render") {
            out->noRender = true;
        } else if (a == "--autoplay") {
            out->autoplay = true;
        } else if (a == "--verbose") {
            out->verbose = true;
        } else if (a == "--fullscreen") {
            out->fullscreen = true;
            out->windowed = false;
        } else if (a == "--windowed") {
            out->windowed = true;
            out->fullscreen = false;
        } else if (a == "--scale") {
            long n;
            if (!value(&v) || !ParseLong(v, &n) || n < 1 || n > 16) return fail("--scale needs a factor from 1 to 16");
            out->scale = static_cast<int>(n);
        } else if (a.size() > 1 && a[0] == '-') {
            return fail("unknown option '" + a + "'");
        } else {
            if (!out->cmdLine.empty()) return fail("only one start position may be given");
            // The engine keeps the start argument in a 256-byte buffer: at most 255 characters.
            out->cmdLine = a.substr(0, 255);
        }
    }
    // A render-free run has no pictures to save.
    if (out->noRender && !out->screenshots.empty())
        return fail("--screenshot cannot be used with --no-render: nothing is drawn");
    // One source of keys at a time.
    if (out->autoplay && !out->replayFile.empty()) return fail("--autoplay cannot be used with --replay");
    if (out->drawShotsOnly && out->screenshots.empty())
        return fail("--draw-shots-only needs at least one --screenshot");
    return ParseResult::Run;
}

}  // namespace platform
