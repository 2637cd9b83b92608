#include "platform/Log.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Paths.h"

namespace platform {
namespace {
bool g_verbose = false;
int g_count = 0;
std::string g_last;
FILE* g_logFile = nullptr;
}  // namespace

void SetLogFile(const std::string& path) {
    if (g_logFile) std::fclose(g_logFile);
    g_logFile = nullptr;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) MakeFolders(path.substr(0, slash));
    g_logFile = std::fopen(path.c_str(), "a");
}

std::string DefaultLogPath() {
    const char* xdg = std::getenv("XDG_STATE_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/brackmoor/brackmoor.log";
    const char* home = std::getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.local/state/brackmoor/brackmoor.log";
    return "brackmoor.log";
}

void LogMessage(const std::string& line) {
    ++g_count;
    g_last = line;
    std::fprintf(stderr, "brackmoor: %s\n", line.c_str());
    std::fflush(stderr);
    if (g_logFile) {
        std::fprintf(g_logFile, "%s\n", line.c_str());
        std::fflush(g_logFile);
    }
}

void LogVerbose(const std::string& line) {
    if (g_verbose) std::fprintf(stderr, "brackmoor: %s\n", line.c_str());
}

void SetVerbose(bool on) { g_verbose = on; }
bool Verbose() { return g_verbose; }
int MessageCount() { return g_count; }
const std::string& LastMessage() { return g_last; }
}  // namespace platform
