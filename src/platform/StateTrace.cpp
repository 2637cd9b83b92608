#include "platform/StateTrace.h"

#include <cstdio>
#include <sstream>

#include "platform/TextFile.h"

namespace platform {
namespace {
// A trace of a long run is a few hundred kilobytes; anything far larger is not a trace.
const long long kMaxTraceBytes = 64LL * 1024 * 1024;

bool ParseFrame(const std::string& s, long* out) {
    if (s.empty() || s.size() > 12) return false;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *out = v;
    return true;
}

bool ParseHash(const std::string& s, unsigned long long* out) {
    if (s.size() != 16) return false;  // always written whole: a shorter one is a cut file
    unsigned long long v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = (v << 4) | static_cast<unsigned>(d);
    }
    *out = v;
    return true;
}
}  // namespace

bool ParseTraceText(const std::string& text, const std::string& name, std::vector<TraceEntry>* out,
                    std::string* error) {
    out->clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = name + ":" + std::to_string(lineNo) + ": " + why;
        out->clear();
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        std::istringstream fields(line);
        std::string frameText, hashText, extra;
        fields >> frameText >> hashText;
        if (hashText.empty()) return fail("expected FRAME HASH, got '" + line + "'");
        if (fields >> extra) return fail("unexpected '" + extra + "' after the hash");
        long frame;
        unsigned long long hash;
        if (!ParseFrame(frameText, &frame)) return fail("'" + frameText + "' is not a frame number");
        if (!ParseHash(hashText, &hash)) return fail("'" + hashText + "' is not a hash of 16 hex digits");
        if (!out->empty() && frame <= out->back().frame)
            return fail("frame " + frameText + " does not come after frame " + std::to_string(out->back().frame));
        out->push_back({frame, hash, lineNo});
    }
    return true;
}

bool LoadTraceFile(const std::string& file, std::vector<TraceEntry>* out, std::string* error) {
    std::string text;
    if (!ReadTextFile(file, "trace file", kMaxTraceBytes, &text, error)) return false;
    return ParseTraceText(text, file, out, error);
}

std::string FormatTraceLine(long frame, unsigned long long hash) {
    char buf[48];
    std::snprintf(buf, sizeof(buf), "%ld %016llx\n", frame, hash);
    return buf;
}

unsigned long long HashText(const std::string& text, unsigned long long hash) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

bool TraceChecker::Check(long frame, unsigned long long hash, std::string* error) {
    while (next_ < entries_.size() && entries_[next_].frame < frame) ++next_;
    if (next_ >= entries_.size() || entries_[next_].frame != frame) return true;
    const TraceEntry& e = entries_[next_++];
    ++compared_;
    if (e.hash == hash) return true;
    if (error) {
        char buf[160];
        std::snprintf(buf, sizeof(buf),
                      ":%d: the run diverged from the trace at frame %ld (expected %016llx, got %016llx)", e.line,
                      frame, e.hash, hash);
        *error = name_ + buf;
    }
    return false;
}

}  // namespace platform
