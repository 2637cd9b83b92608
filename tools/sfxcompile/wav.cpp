#include "wav.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace sfx {

namespace {

void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putTag(std::vector<std::uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

}  // namespace

std::vector<std::uint8_t> wavBytes(const std::vector<std::int16_t>& samples, int sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> b;
    b.reserve(44 + dataBytes);
    putTag(b, "RIFF");
    put32(b, 36 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);  // size of the format block
    put16(b, 1);   // PCM
    put16(b, 1);   // mono
    put32(b, static_cast<std::uint32_t>(sampleRate));
    put32(b, static_cast<std::uint32_t>(sampleRate) * 2);  // bytes per second
    put16(b, 2);                                           // bytes per frame
    put16(b, 16);                                          // bits per sample
    putTag(b, "data");
    put32(b, dataBytes);
    for (std::int16_t s : samples) put16(b, static_cast<std::uint16_t>(s));
    return b;
}

bool writeFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec) {
            error = path + ": cannot create folder " + target.parent_path().string() + ": " + ec.message();
            return false;
        }
    }
    const std::string temp = path + ".tmp" + std::to_string(static_cast<long>(getpid()));
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = path + ": cannot write: " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        error = path + ": write failed: " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        error = path + ": cannot move the finished file into place: " + ec.message();
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace sfx
