// The command line of both executables, parsed before SDL starts.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct ScreenshotRequest {
    long frame;
    std::string file;
};

struct Options {
    std::string cmdLine;  // the positional start argument (wall digit, rows), e.g. "215"
    bool haveSeed = false;
    unsigned seed = 0;
    long frames = -1;  // quit after this many frames; -1 = run until quit
    std::string replayFile;
    std::string recordFile;
    std::vector<ScreenshotRequest> screenshots;
    bool drawShotsOnly = false;  // draw only the frames saved by --screenshot (the game runs the same)
    std::string dumpStateFile;
    std::string traceFile;       // write a hash of the game state after every frame
    std::string checkTraceFile;  // compare every frame with such a trace; stop at the first difference
    std::string dataDir;
    std::string saveDir;
    bool verbose = false;
    bool fullscreen = false;
    bool windowed = false;
    int scale = 0;             // 0 = choose automatically
    std::string settingsFile;  // another settings file than the usual one
    bool noRender = false;     // play every rule but draw nothing and open no GL context
    bool autoplay = false;     // the automatic player plays from the title through the credits
};

enum class ParseResult { Run, ExitOk, ExitError };

// Fills `out`; on --help/--version prints to stdout and returns ExitOk; on a bad option prints the
// reason to stderr and returns ExitError.
ParseResult ParseOptions(int argc, char** argv, Options* out);

std::string UsageText(const char* program);

// The options of this run (set once by main).
Options& CurrentOptions();

}  // namespace platform
