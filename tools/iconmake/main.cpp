// Makes the desktop icon from the game's own art: rectangles cut from sheets, laid over each other,
// then blown up (or down) to the icon size with square pixels.
//   iconmake OUT.png SIZE SHEET.png:X,Y,W,H [SHEET.png:X,Y,W,H ...]
// The first layer fixes the canvas; later layers cover it where their pixels show.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image.h"

using toolcommon::Image;
using toolcommon::Rgba;

namespace {
struct Layer {
    std::string file;
    int x, y, w, h;
};

bool ParseLayer(const std::string& arg, Layer* l) {
    size_t colon = arg.rfind(':');
    if (colon == std::string::npos) return false;
    l->file = arg.substr(0, colon);
    return std::sscanf(arg.c_str() + colon + 1, "%d,%d,%d,%d", &l->x, &l->y, &l->w, &l->h) == 4 && l->w > 0 &&
           l->h > 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: iconmake OUT.png SIZE SHEET.png:X,Y,W,H [...]\n");
        return 2;
    }
    std::string out = argv[1];
    int size = std::atoi(argv[2]);
    if (size < 8 || size > 1024) {
        std::fprintf(stderr, "iconmake: size %s is out of range\n", argv[2]);
        return 2;
    }
    Image canvas;
    try {
        for (int i = 3; i < argc; ++i) {
            Layer l;
            if (!ParseLayer(argv[i], &l)) {
                std::fprintf(stderr, "iconmake: bad layer '%s' (want SHEET.png:X,Y,W,H)\n", argv[i]);
                return 2;
            }
            Image sheet = toolcommon::ReadPng(l.file);
            if (l.x < 0 || l.y < 0 || l.x + l.w > sheet.width || l.y + l.h > sheet.height) {
                std::fprintf(stderr, "iconmake: %s: rectangle %d,%d,%d,%d is outside the %dx%d picture\n",
                             l.file.c_str(), l.x, l.y, l.w, l.h, sheet.width, sheet.height);
                return 1;
            }
            if (i == 3) canvas = Image(l.w, l.h);
            for (int y = 0; y < l.h && y < canvas.height; ++y)
                for (int x = 0; x < l.w && x < canvas.width; ++x) {
                    const Rgba& p = sheet.at(l.x + x, l.y + y);
                    if (toolcommon::IsVisible(p)) canvas.at(x, y) = p;
                }
        }
        Image icon(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) icon.at(x, y) = canvas.at(x * canvas.width / size, y * canvas.height / size);
        toolcommon::WritePngAtomic(out, icon);
    } catch (const toolcommon::FileError& e) {
        std::fprintf(stderr, "iconmake: %s\n", e.what());
        return 1;
    }
    return 0;
}
