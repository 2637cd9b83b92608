#include "textlines.h"

namespace toolcommon {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : text) {
        if (c == '\n') {
            if (!cur.empty() && cur.back() == '\r') cur.pop_back();
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) {
        if (cur.back() == '\r') cur.pop_back();
        lines.push_back(cur);
    }
    return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : line) {
        if (c == '#' && cur.empty()) break;
        if (IsBlank(c)) {
            if (!cur.empty()) out.push_back(cur), cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

bool IsBlankOrComment(const std::string& line) {
    for (char c : line) {
        if (IsBlank(c)) continue;
        return c == '#';
    }
    return true;
}

}  // namespace toolcommon
