// Feeds arbitrary bytes to the state-trace reader as a file: a refused file gives one message
// naming it and a line, and no entries; an accepted one has strictly rising frames, reads back the
// same after writing, and a run with the same hashes passes the check on every entry.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/StateTrace.h"

using namespace fuzzsupport;
using platform::TraceEntry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = ScratchDir() + "/fuzz.trace";
    WriteFile(path, text);

    std::vector<TraceEntry> entries;
    std::string error;
    if (!platform::LoadTraceFile(path, &entries, &error)) {
        CheckMessage(error, path, text);
        if (!entries.empty()) Fail("a refused trace left entries behind");
        return 0;
    }
    std::string rewritten;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && entries[i].frame <= entries[i - 1].frame) Fail("trace frames do not rise");
        rewritten += platform::FormatTraceLine(entries[i].frame, entries[i].hash);
    }
    std::vector<TraceEntry> back;
    if (!platform::ParseTraceText(rewritten, "again", &back, &error) || back.size() != entries.size())
        Fail("trace write/read round trip");
    platform::TraceChecker checker(path, entries);
    for (size_t i = 0; i < back.size(); ++i) {
        if (back[i].frame != entries[i].frame || back[i].hash != entries[i].hash) Fail("trace entry changed");
        if (!checker.Check(back[i].frame, back[i].hash, &error)) Fail("the same hash fails the check: " + error);
    }
    if (checker.Compared() != static_cast<long>(entries.size())) Fail("trace entries skipped");
    // A different hash at the last frame is caught and named.
    if (!entries.empty()) {
        platform::TraceChecker other(path, entries);
        const TraceEntry& e = entries.back();
        if (other.Check(e.frame, ~e.hash, &error)) Fail("a different hash passes the check");
        CheckMessage(error, path, text);
    }
    return 0;
}
