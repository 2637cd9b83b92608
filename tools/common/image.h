// RGBA pictures in memory and their PNG files.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace toolcommon {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba& o) const { return !(*this == o); }
};

// The colour the game keys out when it loads a picture.
constexpr Rgba kMagenta{255, 0, 255, 255};

// True for a pixel that shows on screen: not fully transparent and not the magenta key.
inline bool IsVisible(const Rgba& p) { return p.a != 0 && !(p.r == 255 && p.g == 0 && p.b == 255); }

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;  // row-major, top row first

    Image() = default;
    Image(int w, int h, Rgba fill = Rgba{}) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

    Rgba& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Rgba& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Thrown for unreadable or unwritable files; the message names the file.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads an 8-bit PNG of any colour type into RGBA.
Image ReadPng(const std::string& path);

// Writes an RGBA PNG atomically: the data goes to a temporary file beside the target,
// which is renamed over it only when complete. Missing parent folders are created.
void WritePngAtomic(const std::string& path, const Image& img);

// Writes text atomically in the same way.
void WriteTextAtomic(const std::string& path, const std::string& text);

}  // namespace toolcommon
