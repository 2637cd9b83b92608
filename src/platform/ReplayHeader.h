// The first line of a recording says what the run started from, so that anyone can play it back:
//
//   # seed N frames M [save NAME=VALUE ...]
//
// N is the random seed, M how many frames the run lasted, and each save word is a progress file
// (color.dat or dist.dat) the run started with; a comma in VALUE stands for a line break. A first
// line that does not start with "# seed" is an ordinary comment: such a recording names nothing.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

struct ReplayHeader {
    bool haveSeed = false;
    unsigned seed = 0;
    long frames = -1;                                       // -1: not given
    std::vector<std::pair<std::string, std::string>> save;  // progress file name, its text
};

// Reads the header from a recording's whole text. False, with "NAME:1: reason" in *error, when the
// first line starts as a header but is not a valid one.
bool ParseReplayHeader(const std::string& text, const std::string& name, ReplayHeader* out, std::string* error);

// The header line, newline included.
std::string FormatReplayHeader(const ReplayHeader& h);

// The progress files of the save folder `dir` as header save words: only files that exist and hold
// text a header can carry.
std::vector<std::pair<std::string, std::string>> ReadSaveWords(const std::string& dir);

// Makes a fresh folder under $TMPDIR (or /tmp) holding the files `save` names; "" on failure.
std::string MakeScratchSaveDir(const std::vector<std::pair<std::string, std::string>>& save);
// Removes a folder made by MakeScratchSaveDir with the files in it.
void RemoveScratchSaveDir(const std::string& dir);

}  // namespace platform
