#include "pathutil.h"

#include <filesystem>
#include <system_error>

namespace toolcommon {

namespace fs = std::filesystem;

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::optional<std::string> ResolveNoCase(const std::string& base, const std::string& relative) {
    fs::path cur(base);
    std::error_code ec;
    if (!fs::is_directory(cur, ec)) return std::nullopt;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t slash = relative.find('/', start);
        std::string part = relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        bool last = slash == std::string::npos;
        start = last ? relative.size() + 1 : slash + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return std::nullopt;
        fs::path exact = cur / part;
        if (fs::exists(exact, ec)) {
            cur = exact;
            continue;
        }
        std::string want = LowerAscii(part);
        bool found = false;
        for (fs::directory_iterator it(cur, ec), end; !ec && it != end; it.increment(ec)) {
            if (LowerAscii(it->path().filename().string()) == want) {
                cur = it->path();
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    return cur.string();
}

}  // namespace toolcommon
