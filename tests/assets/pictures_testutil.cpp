#include "pictures_testutil.h"

#include <sys/wait.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace pictest {

std::string ScratchDir(const std::string& name) {
    fs::path dir = fs::path(BRACKMOOR_BINARY_DIR) / "tests" / "scratch" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void WriteFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

RunResult Run(const std::string& command) {
    RunResult r;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string ListTree(const std::string& dir) {
    std::vector<std::string> names;
    if (fs::exists(dir))
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file()) names.push_back(fs::relative(e.path(), dir).string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& n : names) out += n + "\n";
    return out;
}

}  // namespace pictest
