#include "platform/Log.h"

#include <cstdio>

namespace platform {
namespace {
bool g_verbose = false;
int g_count = 0;
std::string g_last;
}  // namespace

void LogMessage(const std::string& line) {
    ++g_count;
    g_last = line;
    std::fprintf(stderr, "brackmoor: %s\n", line.c_str());
    std::fflush(stderr);
}

void LogVerbose(const std::string& line) {
    if (g_verbose) std::fprintf(stderr, "brackmoor: %s\n", line.c_str());
}

void SetVerbose(bool on) { g_verbose = on; }
bool Verbose() { return g_verbose; }
int MessageCount() { return g_count; }
const std::string& LastMessage() { return g_last; }
}  // namespace platform
