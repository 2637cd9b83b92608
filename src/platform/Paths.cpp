#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Backend.h"
#include "platform/Log.h"

namespace platform {
namespace {
std::string g_dataDir = "data";
std::string g_saveDir;

std::vector<std::string> SplitPath(const std::string& p) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : p) {
        if (c == '/' || c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::string Join(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (a.back() == '/') return a + b;
    return a + "/" + b;
}

bool IEquals(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Splits a game path into the base folder it is relative to and the components below it.
void Anchor(const std::string& gamePath, std::string* base, std::vector<std::string>* rest) {
    std::vector<std::string> parts = SplitPath(gamePath);
    bool absolute = !gamePath.empty() && gamePath[0] == '/';
    if (absolute) {
        *base = "/";
        *rest = parts;
        return;
    }
    if (!parts.empty() && IEquals(parts[0], "data")) {
        if (parts.size() == 2 && IsProgressFile(gamePath)) {
            *base = SaveDir();
            rest->assign(parts.begin() + 1, parts.end());
            return;
        }
        *base = g_dataDir;
        rest->assign(parts.begin() + 1, parts.end());
        return;
    }
    *base = ".";
    *rest = parts;
}
}  // namespace

void SetDataDir(const std::string& dir) { g_dataDir = dir; }
const std::string& DataDir() { return g_dataDir; }
void SetSaveDir(const std::string& dir) { g_saveDir = dir; }
const std::string& SaveDir() {
    if (g_saveDir.empty()) g_saveDir = DefaultSaveDir();
    return g_saveDir;
}

std::string ExecutableDir() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    buf[n] = 0;
    std::string p(buf);
    size_t slash = p.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::vector<std::string> DataDirCandidates(const std::string& exeDir) {
    return {Join(exeDir, "data"), Join(exeDir, "../share/brackmoor/data")};
}

std::string FindDataDir(const std::string& exeDir, std::vector<std::string>* searched) {
    for (const std::string& c : DataDirCandidates(exeDir)) {
        if (searched) searched->push_back(c);
        if (IsDirectory(c)) return c;
    }
    return "";
}

std::string DefaultSaveDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return Join(xdg, "brackmoor");
    const char* home = std::getenv("HOME");
    if (home && home[0]) return Join(Join(home, ".local/share"), "brackmoor");
    return "save";
}

bool IsProgressFile(const std::string& gamePath) {
    std::vector<std::string> parts = SplitPath(gamePath);
    if (parts.size() != 2 || !IEquals(parts[0], "data")) return false;
    return IEquals(parts[1], "color.dat") || IEquals(parts[1], "dist.dat");
}

std::string MatchInFolder(const std::string& folder, const std::string& name) {
    std::string exact = Join(folder, name);
    struct stat st;
    if (::stat(exact.c_str(), &st) == 0) return name;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return "";
    std::string found;
    while (struct dirent* e = ::readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

std::string ResolvePath(const std::string& gamePath) {
    std::string base;
    std::vector<std::string> rest;
    Anchor(gamePath, &base, &rest);
    std::string cur = base;
    bool matched = true;
    for (const std::string& comp : rest) {
        std::string m = matched ? MatchInFolder(cur, comp) : "";
        if (m.empty()) {
            matched = false;
            cur = Join(cur, comp);
        } else {
            cur = Join(cur, m);
        }
    }
    LogVerbose("file " + gamePath + " -> " + cur + (matched ? "" : " (missing)"));
    return cur;
}

std::string ResolveWritePath(const std::string& gamePath) {
    std::string base;
    std::vector<std::string> rest;
    Anchor(gamePath, &base, &rest);
    if (rest.empty()) return base;
    std::string cur = base;
    if (!IsDirectory(cur)) MakeFolders(cur);
    for (size_t i = 0; i + 1 < rest.size(); ++i) {
        std::string m = MatchInFolder(cur, rest[i]);
        cur = Join(cur, m.empty() ? rest[i] : m);
        if (!IsDirectory(cur)) ::mkdir(cur.c_str(), 0755);
    }
    std::string m = MatchInFolder(cur, rest.back());
    return Join(cur, m.empty() ? rest.back() : m);
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool MakeFolders(const std::string& path) {
    if (path.empty()) return false;
    std::string cur = path[0] == '/' ? "/" : "";
    for (const std::string& comp : SplitPath(path)) {
        cur = cur.empty() ? comp : Join(cur, comp);
        if (!IsDirectory(cur) && ::mkdir(cur.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return IsDirectory(path);
}

bool WriteFileAtomically(const std::string& path, const std::string& contents) {
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) MakeFolders(path.substr(0, slash));
    std::string tmp = path + ".tmp." + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    FileWritten();
    return true;
}

}  // namespace platform
