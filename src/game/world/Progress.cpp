#include "game/world/Progress.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Log.h"
#include "platform/Paths.h"

namespace progress {

static const char* const kUnlockFile = "data/color.dat";
static const char* const kLivesFile = "data/dist.dat";

// Reads up to `max` whitespace-separated decimal integers from the start of the file; returns how
// many were read. Reading stops at the first word that is not a number in int's range.
static int ReadInts(const char* gamePath, int* out, int max) {
    std::FILE* f = std::fopen(platform::ResolvePath(gamePath).c_str(), "rb");
    if (!f) return 0;
    std::string text;
    char buf[256];
    size_t got;
    // The files hold a few bytes; anything past the first kilobyte cannot matter.
    while (text.size() < 1024 && (got = std::fread(buf, 1, sizeof(buf), f)) > 0) text.append(buf, got);
    std::fclose(f);

    int n = 0;
    const char* p = text.c_str();
    while (n < max) {
        while (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t') ++p;
        if (*p == 0) break;
        errno = 0;
        char* end = nullptr;
        long long v = std::strtoll(p, &end, 10);
        if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX) break;
        out[n++] = static_cast<int>(v);
        p = end;
    }
    return n;
}

// The save folder whose failure was last reported: the player hears of it once, not every write.
static std::string g_reportedFolder;

static bool WriteText(const char* gamePath, const std::string& text) {
    errno = 0;
    if (platform::WriteFileAtomically(platform::ResolveWritePath(gamePath), text)) return true;
    const int why = errno;
    if (g_reportedFolder != platform::SaveDir()) {
        g_reportedFolder = platform::SaveDir();
        platform::LogMessage("Could not save progress in \"" + g_reportedFolder + "\": " +
                             (why ? std::strerror(why) : "write failed") + "; the game goes on, but progress is not kept");
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
    if (ReadInts(kUnlockFile, &v, 1) != 1) v = 0;
    if (v < 0) v = 0;
    if (v > 2) v = 2;
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
    int n = ReadInts(kLivesFile, v, 2);
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
