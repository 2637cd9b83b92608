#include "platform/web/StoredPng.h"

#include <cstdint>
#include <string>

namespace platform {
namespace {
constexpr size_t kMaxStoredBlock = 65535;

uint32_t Crc32(const unsigned char* p, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::string* out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out->push_back(static_cast<char>((v >> s) & 0xFF));
}

void AppendChunk(std::string* out, const char* type, const std::string& body) {
    PutBigEndian(out, static_cast<uint32_t>(body.size()));
    std::string typed = std::string(type, 4) + body;
    out->append(typed);
    PutBigEndian(out, Crc32(reinterpret_cast<const unsigned char*>(typed.data()), typed.size()));
}
}  // namespace

bool WriteStoredPng(std::FILE* f, int width, int height, const std::vector<unsigned char>& rgbRows) {
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    if (width <= 0 || height <= 0 || rgbRows.size() < rowBytes * height) return false;
    // Each row starts with filter type 0 (none).
    std::string raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.append(reinterpret_cast<const char*>(&rgbRows[rowBytes * y]), rowBytes);
    }
    std::string z = "\x78\x01";  // zlib header: deflate, no preset dictionary
    uint32_t a = 1, b = 0;       // Adler-32 of the raw data
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size() || at == 0; at += kMaxStoredBlock) {
        size_t n = raw.size() - at < kMaxStoredBlock ? raw.size() - at : kMaxStoredBlock;
        bool last = at + n >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw, at, n);
        if (last) break;
    }
    PutBigEndian(&z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBigEndian(&header, static_cast<uint32_t>(width));
    PutBigEndian(&header, static_cast<uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter set, no interlace
    AppendChunk(&png, "IHDR", header);
    AppendChunk(&png, "IDAT", z);
    AppendChunk(&png, "IEND", "");
    return std::fwrite(png.data(), 1, png.size(), f) == png.size();
}

}  // namespace platform
