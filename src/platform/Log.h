// Messages for the player: one line each on stderr.
#pragma once

#include <string>

namespace platform {
void LogMessage(const std::string& line);
// Extra detail printed only with --verbose.
void LogVerbose(const std::string& line);
void SetVerbose(bool on);
bool Verbose();
// Counts messages, for tests that check a failure was reported.
int MessageCount();
const std::string& LastMessage();
}  // namespace platform
