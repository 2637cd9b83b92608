// Messages for the player: one line each on stderr.
#pragma once

#include <string>

namespace platform {
void LogMessage(const std::string& line);
// Extra detail printed only with --verbose.
void LogVerbose(const std::string& line);
void SetVerbose(bool on);
bool Verbose();
// Also appends every message to this file (created with its folders when needed).
void SetLogFile(const std::string& path);
// $XDG_STATE_HOME/brackmoor/brackmoor.log, or ~/.local/state/brackmoor/brackmoor.log.
std::string DefaultLogPath();

// Counts messages, for tests that check a failure was reported.
int MessageCount();
const std::string& LastMessage();
}  // namespace platform
