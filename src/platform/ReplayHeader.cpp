#include "platform/ReplayHeader.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/Paths.h"

namespace platform {
namespace {

const char* const kSaveFiles[] = {"color.dat", "dist.dat"};
constexpr size_t kMaxSaveText = 32;

bool IsSaveName(const std::string& name) {
    for (const char* f : kSaveFiles)
        if (name == f) return true;
    return false;
}

// Progress files hold small integers, spaces and line breaks; a header carries them with commas.
bool IsSaveText(const std::string& text) {
    if (text.size() > kMaxSaveText) return false;
    for (char c : text)
        if (!(c == '-' || c == ',' || (c >= '0' && c <= '9'))) return false;
    return true;
}

bool ParseNumber(const std::string& word, long long lo, long long hi, long long* out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(word.c_str(), &end, 10);
    if (*end != 0 || errno == ERANGE || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool Fail(const std::string& name, const std::string& why, std::string* error) {
    *error = name + ":1: " + why + " (expected \"# seed N frames M [save NAME=VALUE ...]\")";
    return false;
}

}  // namespace

bool ParseReplayHeader(const std::string& text, const std::string& name, ReplayHeader* out, std::string* error) {
    *out = ReplayHeader();
    const std::string line = text.substr(0, text.find('\n'));
    std::istringstream in(line);
    std::string hash, word;
    if (!(in >> hash >> word) || hash != "#" || word != "seed") return true;
    long long v = 0;
    if (!(in >> word) || !ParseNumber(word, 0, UINT_MAX, &v)) return Fail(name, "bad seed", error);
    out->haveSeed = true;
    out->seed = static_cast<unsigned>(v);
    while (in >> word) {
        std::string value;
        if (!(in >> value)) return Fail(name, "\"" + word + "\" without a value", error);
        if (word == "frames") {
            if (!ParseNumber(value, 0, LONG_MAX, &v)) return Fail(name, "bad frame count", error);
            out->frames = static_cast<long>(v);
        } else if (word == "save") {
            const size_t eq = value.find('=');
            const std::string file = value.substr(0, eq);
            if (eq == std::string::npos || !IsSaveName(file)) return Fail(name, "bad progress file", error);
            if (!IsSaveText(value.substr(eq + 1))) return Fail(name, "bad progress text for " + file, error);
            out->save.emplace_back(file, value.substr(eq + 1));
        } else {
            return Fail(name, "unknown word \"" + word + "\"", error);
        }
    }
    return true;
}

std::string FormatReplayHeader(const ReplayHeader& h) {
    std::string s = "# seed " + std::to_string(h.seed) + " frames " + std::to_string(h.frames < 0 ? 0 : h.frames);
    for (const auto& f : h.save) s += " save " + f.first + "=" + f.second;
    return s + "\n";
}

std::vector<std::pair<std::string, std::string>> ReadSaveWords(const std::string& dir) {
    std::vector<std::pair<std::string, std::string>> words;
    for (const char* name : kSaveFiles) {
        std::FILE* f = std::fopen((dir + "/" + name).c_str(), "rb");
        if (!f) continue;
        char buf[kMaxSaveText + 2];
        size_t got = std::fread(buf, 1, sizeof(buf), f);
        std::fclose(f);
        std::string text(buf, got);
        for (char& c : text)
            if (c == '\n') c = ',';
        if (IsSaveText(text)) words.emplace_back(name, text);
    }
    return words;
}

std::string MakeScratchSaveDir(const std::vector<std::pair<std::string, std::string>>& save) {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/brackmoor-replay-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back(0);
    if (!mkdtemp(buf.data())) return "";
    const std::string dir = buf.data();
    for (const auto& f : save) {
        std::string text = f.second;
        for (char& c : text)
            if (c == ',') c = '\n';
        if (!IsSaveName(f.first) || !WriteFileAtomically(dir + "/" + f.first, text)) {
            RemoveScratchSaveDir(dir);
            return "";
        }
    }
    return dir;
}

void RemoveScratchSaveDir(const std::string& dir) {
    if (dir.empty()) return;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") std::remove((dir + "/" + n).c_str());
        }
        closedir(d);
    }
    rmdir(dir.c_str());
}

}  // namespace platform
