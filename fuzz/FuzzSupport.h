// What the fuzz targets share: failing loudly, checking a reader's message, handing a reader a
// real file, and keeping the game's messages off the fuzzer's output.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzsupport {

[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz finding: %s\n", what.c_str());
    std::abort();
}

// A reader's message names the file and a line of it, "NAME:LINE: reason", on one line.
inline void CheckMessage(const std::string& message, const std::string& name, const std::string& text) {
    const std::string head = name + ":";
    if (message.compare(0, head.size(), head) != 0) Fail("message does not start with the file name: " + message);
    size_t colon = message.find(": ", head.size());
    if (colon == std::string::npos || colon == head.size()) Fail("message names no line: " + message);
    const std::string lineText = message.substr(head.size(), colon - head.size());
    if (lineText.find_first_not_of("0123456789") != std::string::npos) Fail("bad line number: " + message);
    long lines = 1;
    for (char c : text) lines += c == '\n';
    long line = std::strtol(lineText.c_str(), nullptr, 10);
    if (line < 1 || line > lines) Fail("line " + lineText + " is outside the file: " + message);
    if (message.find('\n') != std::string::npos) Fail("message runs over several lines");
}

// A scratch folder of this process, made once and removed at exit; in memory where the system has such a folder, as
// the game flushes every file it writes to disk.
inline const std::string& ScratchDir() {
    static char made[64];  // outlives every std::string, for the removal at exit
    static const std::string dir = [] {
        const char* parent = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::snprintf(made, sizeof(made), "%s/brackmoor-fuzz-XXXXXX", parent);
        if (!mkdtemp(made)) Fail("cannot make a scratch folder");
        std::atexit([] {
            char cmd[128];
            std::snprintf(cmd, sizeof(cmd), "rm -rf '%s'", made);
            if (std::system(cmd) != 0) std::fprintf(stderr, "could not remove %s\n", made);
        });
        return std::string(made);
    }();
    return dir;
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0)
        Fail("cannot write " + path);
}

inline std::string ReadFile(const std::string& path) {
    std::string text;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return text;
    char buf[4096];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof(buf), f)) > 0) text.append(buf, got);
    std::fclose(f);
    return text;
}

// While one lives, standard error goes nowhere: the game names every bad file there, and the
// fuzzer hands it bad files by the million.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(2);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(null);
    }
    ~QuietStderr() {
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_;
};

}  // namespace fuzzsupport
