#include "platform/TextFile.h"

#include <fstream>
#include <sstream>

namespace platform {

bool ReadTextFile(const std::string& file, const std::string& what, long long maxBytes, std::string* text,
                  std::string* error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (error) *error = file + ":0: cannot open the " + what;
        return false;
    }
    in.seekg(0, std::ios::end);
    long long size = static_cast<long long>(in.tellg());
    in.seekg(0, std::ios::beg);
    if (size > maxBytes) {
        if (error) *error = file + ":0: too large for a " + what;
        return false;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    *text = ss.str();
    size_t nul = text->find('\0');
    if (nul != std::string::npos) {
        int line = 1;
        for (size_t i = 0; i < nul; ++i)
            if ((*text)[i] == '\n') ++line;
        if (error) *error = file + ":" + std::to_string(line) + ": not a text file";
        text->clear();
        return false;
    }
    return true;
}

}  // namespace platform
