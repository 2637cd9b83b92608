// The two progress files: "data/color.dat" holds the highest unlocked level, "data/dist.dat" the
// best number of lives with which the player reached level 2 and level 3 ("N\nM", no newline at
// the end). Both live in the player's save folder; both are written atomically. A folder that
// cannot be written is reported once (standard error and the log, naming the folder and the
// reason) and the game goes on without keeping its progress.
#pragma once

namespace progress {

// The highest unlocked level (0..2). A missing or empty file gives 0; so does a file holding
// anything but one number 0..2, which is named in one message (the title menu never offers a level
// that does not exist).
int ReadUnlock();
// Rewrites "data/color.dat" with `level`. Returns false when it could not be written.
bool WriteUnlock(int level);

// Raises "data/color.dat" to `level` unless it already holds that much or more: the unlocked level
// is never lowered, and an unchanged file is not rewritten. What the file holds is kept in memory
// from the last read or write (a failed write included), so asking again costs no file access.
// Returns true when it was written.
bool RaiseUnlock(int level);

// What the game last read from or wrote to "data/color.dat" in the current save folder (a failed
// write included), without touching the file; 0 when nothing is known.
int KnownUnlock();

// The two best-lives values. `have[i]` is false when the file is missing or holds fewer than i + 1
// integers; a missing value reads as 0. A file holding anything but up to two numbers of lives
// gives neither value and is named in one message.
struct BestLives {
    int value[2] = {0, 0};
    bool have[2] = {false, false};
};
BestLives ReadBestLives();
// The best-lives values last read from or written to "data/dist.dat" in the current save folder,
// without touching the file; none when nothing is known.
BestLives KnownBestLives();
// Rewrites "data/dist.dat" as "first\nsecond".
bool WriteBestLives(int first, int second);

// Reading level L's (1 or 2 for levels 2 and 3) record on arrival there: when `lives` beats the
// stored value (or there is none yet), the file is rewritten with it, keeping the other value.
// Returns true when the file was rewritten.
bool RecordArrival(int levelLine, int lives);

}  // namespace progress
