// Reading the small text files the player or a tool hands the game (replays, traces).
#pragma once

#include <string>

namespace platform {

// Reads `file` whole. On failure returns false with "FILE:LINE: reason" in *error: the file
// cannot be opened, is larger than `maxBytes`, or holds a NUL byte (it is not text). `what` names
// the kind of file in the message ("replay file").
bool ReadTextFile(const std::string& file, const std::string& what, long long maxBytes, std::string* text,
                  std::string* error);

}  // namespace platform
