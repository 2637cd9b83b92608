// A state trace: one line per frame with a hash of the game's whole state after that frame.
//
//   # comment
//   FRAME HASH
//
// HASH is 16 hexadecimal digits; frames strictly increase. A run recorded with --trace and
// played back with --check-trace stops at the first frame whose state differs from the trace, so
// a replay that no longer plays the same game names the frame where it went astray.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct TraceEntry {
    long frame;
    unsigned long long hash;
    int line;  // where it stands in its file, for messages
};

// Parses trace text; on failure returns false with "NAME:LINE: reason" in *error.
bool ParseTraceText(const std::string& text, const std::string& name, std::vector<TraceEntry>* out, std::string* error);
bool LoadTraceFile(const std::string& file, std::vector<TraceEntry>* out, std::string* error);

std::string FormatTraceLine(long frame, unsigned long long hash);

// 64-bit FNV-1a of `text`, continuing from `hash`.
unsigned long long HashText(const std::string& text, unsigned long long hash = 14695981039346656037ULL);

// Compares a run with a loaded trace frame by frame.
class TraceChecker {
public:
    TraceChecker(std::string name, std::vector<TraceEntry> entries)
        : name_(std::move(name)), entries_(std::move(entries)) {}
    // False (with "NAME:LINE: ..." in *error) when the trace holds `frame` with another hash.
    // Frames the trace skips or does not reach are not compared.
    bool Check(long frame, unsigned long long hash, std::string* error);
    // How many frames were compared so far.
    long Compared() const { return compared_; }

private:
    std::string name_;
    std::vector<TraceEntry> entries_;
    size_t next_ = 0;
    long compared_ = 0;
};

}  // namespace platform
