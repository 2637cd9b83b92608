#include "game/world/Progress.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "platform/Log.h"
#include "platform/Paths.h"

namespace progress {

static const char* const kUnlockFile = "data/color.dat";
static const char* const kLivesFile = "data/dist.dat";
// The files hold a few bytes; a kilobyte is far more than the game ever writes.
static const size_t kMaxProgressBytes = 1024;
// More lives than any run collects, and far from int's end.
static const int kMaxLives = 9999;

// A progress file's values are whole or not used at all: a file the game did not write (a word
// that is not a number, a value out of range, more values than the file holds, too many bytes)
// reads as holding nothing, and is named in one message with the line of its first fault. The
// message is given again only when the file's contents have changed since it was last read.
struct Reading {
    std::string file;  // the real path, for the message
    std::string text;
    int line = 1;
    std::string fault;  // empty while the file reads well
};

// True when the file held something else (or was not read) the last time it was read.
static bool ContentsChanged(const Reading& r) {
    static std::map<std::string, std::string> lastRead;  // file -> its contents when last read
    auto it = lastRead.find(r.file);
    if (it != lastRead.end() && it->second == r.text) return false;
    lastRead[r.file] = r.text;
    return true;
}

// A word of the file as a message can show it: short printable words as they are.
static std::string Shown(const std::string& word) {
    bool printable =
        word.size() <= 20 && std::all_of(word.begin(), word.end(), [](char c) { return c > ' ' && c < 127; });
    return printable ? "'" + word + "'" : "a word of " + std::to_string(word.size()) + " bytes";
}

// Reads the whitespace-separated decimal integers of r->text, each in lo..hi, at most `max` of
// them, into `out`; returns how many, or sets r->fault (and r->line) at the first fault.
static int ParseInts(Reading* r, int* out, int max, int lo, int hi, const char* what) {
    const std::string& t = r->text;
    int n = 0;
    for (size_t p = 0;;) {
        for (; p < t.size() && std::isspace(static_cast<unsigned char>(t[p])); ++p)
            if (t[p] == '\n') ++r->line;
        if (p == t.size()) return n;
        size_t end = p;
        while (end < t.size() && !std::isspace(static_cast<unsigned char>(t[end]))) ++end;
        std::string word = t.substr(p, end - p);
        p = end;
        bool digits = word.size() <= 10 && word.find_first_not_of("0123456789") == std::string::npos;
        long long v = digits ? std::stoll(word) : -1;
        if (!digits || v < lo || v > hi) {
            r->fault = Shown(word) + " is not " + what + " (" + std::to_string(lo) + " to " + std::to_string(hi) + ")";
            return 0;
        }
        if (n == max) {
            r->fault = "more than " + std::to_string(max) + (max == 1 ? " value" : " values");
            return 0;
        }
        out[n++] = static_cast<int>(v);
    }
}

// Reads a progress file (see ParseInts); 0 values for a missing file and for a faulty one.
static int ReadInts(const char* gamePath, int* out, int max, int lo, int hi, const char* what,
                    const char* consequence) {
    Reading r;
    r.file = platform::ResolvePath(gamePath);
    std::FILE* f = std::fopen(r.file.c_str(), "rb");
    if (!f) return 0;
    char buf[256];
    size_t got;
    while (r.text.size() <= kMaxProgressBytes && (got = std::fread(buf, 1, sizeof(buf), f)) > 0)
        r.text.append(buf, got);
    std::fclose(f);
    int n = 0;
    if (r.text.size() > kMaxProgressBytes)
        r.fault = "too large for a progress file";
    else
        n = ParseInts(&r, out, max, lo, hi, what);
    const bool changed = ContentsChanged(r);
    if (r.fault.empty()) return n;
    if (changed) platform::LogMessage(r.file + ":" + std::to_string(r.line) + ": " + r.fault + "; " + consequence);
    return 0;
}

// The save folder whose failure was last reported: the player hears of it once, not every write.
static std::string g_reportedFolder;

static bool WriteText(const char* gamePath, const std::string& text) {
    errno = 0;
    if (platform::WriteFileAtomically(platform::ResolveWritePath(gamePath), text)) return true;
    const int why = errno;
    if (g_reportedFolder != platform::SaveDir()) {
        g_reportedFolder = platform::SaveDir();
        platform::LogMessage("Could not save progress in \"" + g_reportedFolder +
                             "\": " + (why ? std::strerror(why) : "write failed") +
                             "; the game goes on, but progress is not kept");
    }
    return false;
}

// What "data/color.dat" is known to hold, kept per save folder: the level script asks every frame
// above the level lines, and the file is read once and written at most once per level. A write
// that failed is remembered as done too, so it is not retried every frame.
struct RememberedUnlock {
    std::string folder;  // the save folder it was read from or written to
    bool known = false;
    int level = 0;
};
static RememberedUnlock g_known;

static void Remember(int level) {
    g_known.folder = platform::SaveDir();
    g_known.known = true;
    g_known.level = level;
}

int ReadUnlock() {
    int v = 0;
    if (ReadInts(kUnlockFile, &v, 1, 0, 2, "an unlocked level", "only the first level is open") != 1) v = 0;
    Remember(v);
    return v;
}

bool WriteUnlock(int level) {
    Remember(level);
    return WriteText(kUnlockFile, std::to_string(level));
}

bool RaiseUnlock(int level) {
    int known = g_known.known && g_known.folder == platform::SaveDir() ? g_known.level : ReadUnlock();
    if (known >= level) return false;
    return WriteUnlock(level);
}

int KnownUnlock() { return g_known.known && g_known.folder == platform::SaveDir() ? g_known.level : 0; }

// What "data/dist.dat" was last read or written as (a failed write included).
static BestLives g_knownLives;
static std::string g_knownLivesFolder;

static BestLives RememberLives(const BestLives& b) {
    g_knownLives = b;
    g_knownLivesFolder = platform::SaveDir();
    return b;
}

BestLives ReadBestLives() {
    BestLives b;
    int v[2] = {0, 0};
    int n = ReadInts(kLivesFile, v, 2, 0, kMaxLives, "a number of lives", "no best lives are known");
    for (int i = 0; i < n; ++i) {
        b.value[i] = v[i];
        b.have[i] = true;
    }
    return RememberLives(b);
}

bool WriteBestLives(int first, int second) {
    BestLives b;
    b.value[0] = first;
    b.value[1] = second;
    b.have[0] = b.have[1] = true;
    RememberLives(b);
    return WriteText(kLivesFile, std::to_string(first) + "\n" + std::to_string(second));
}

BestLives KnownBestLives() { return g_knownLivesFolder == platform::SaveDir() ? g_knownLives : BestLives(); }

bool RecordArrival(int levelLine, int lives) {
    if (levelLine < 1 || levelLine > 2) return false;
    int i = levelLine - 1;
    BestLives b = ReadBestLives();
    // Equal lives never rewrite; a value not yet recorded always does.
    if (b.have[i] && !(lives > b.value[i])) return false;
    b.value[i] = lives;
    return WriteBestLives(b.value[0], b.value[1]);
}

}  // namespace progress
