// File names as the game writes them ("data/Menu/…", "Data/music/…") mapped onto real files:
// the leading "data" folder is the data directory found at start, the progress files live in the
// player's save folder, and every further component is matched without regard to letter case.
#pragma once

#include <string>
#include <vector>

namespace platform {

void SetDataDir(const std::string& dir);
const std::string& DataDir();
void SetSaveDir(const std::string& dir);
const std::string& SaveDir();

// The folder holding the running executable (from /proc/self/exe), without a trailing slash.
std::string ExecutableDir();

// Candidate data folders in search order for an executable in exeDir.
std::vector<std::string> DataDirCandidates(const std::string& exeDir);
// First candidate that exists, or "" (and `searched` lists every folder tried).
std::string FindDataDir(const std::string& exeDir, std::vector<std::string>* searched);

// $XDG_DATA_HOME/brackmoor, or ~/.local/share/brackmoor.
std::string DefaultSaveDir();

// True for the two progress files, which are kept in the save folder.
bool IsProgressFile(const std::string& gamePath);

// A game path resolved for reading: the real file if one matches (letter case ignored), otherwise the
// path as it would be written (so error messages still name something meaningful).
std::string ResolvePath(const std::string& gamePath);
// A game path resolved for writing: existing folders matched without case, missing folders created.
std::string ResolveWritePath(const std::string& gamePath);

// Matches one name inside a folder: the exact name if it exists, else the first entry equal to it
// ignoring letter case, else "".
std::string MatchInFolder(const std::string& folder, const std::string& name);

// Writes a file atomically: a temporary file beside it, flushed, then renamed over the target.
bool WriteFileAtomically(const std::string& path, const std::string& contents);

bool MakeFolders(const std::string& path);
bool IsDirectory(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace platform
