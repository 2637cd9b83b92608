// Makes the desktop icon from the game's own art: rectangles cut from sheets, laid over each other,
// then blown up (or down) to the icon size with square pixels.
//   iconmake OUT.png SIZE CANVAS_W CANVAS_H SHEET.png:X,Y,W,H[@DX,DY] [...]
// Each layer is cut from a sheet and placed at DX,DY (default 0,0) on the canvas, covering what is
// below where its pixels show; anything past the canvas edge is dropped.
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
    int dx = 0, dy = 0;
};

bool ParseLayer(const std::string& arg, Layer* l) {
    size_t colon = arg.rfind(':');
    if (colon == std::string::npos) return false;
    l->file = arg.substr(0, colon);
    std::string rect = arg.substr(colon + 1);
    size_t at = rect.find('@');
    if (at != std::string::npos) {
        if (std::sscanf(rect.c_str() + at + 1, "%d,%d", &l->dx, &l->dy) != 2) return false;
        rect.erase(at);
    }
    return std::sscanf(rect.c_str(), "%d,%d,%d,%d", &l->x, &l->y, &l->w, &l->h) == 4 && l->w > 0 && l->h > 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: iconmake OUT.png SIZE CANVAS_W CANVAS_H SHEET.png:X,Y,W,H[@DX,DY] [...]\n");
        return 2;
    }
    std::string out = argv[1];
    int size = std::atoi(argv[2]);
    int cw = std::atoi(argv[3]), ch = std::atoi(argv[4]);
    if (size < 8 || size > 1024 || cw < 1 || ch < 1 || cw > 1024 || ch > 1024) {
        std::fprintf(stderr, "iconmake: sizes out of range\n");
        return 2;
    }
    Image canvas(cw, ch);
    try {
        for (int i = 5; i < argc; ++i) {
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
            for (int y = 0; y < l.h; ++y)
                for (int x = 0; x < l.w; ++x) {
                    const Rgba& p = sheet.at(l.x + x, l.y + y);
                    if (toolcommon::IsVisible(p) && canvas.Inside(x + l.dx, y + l.dy))
                        canvas.at(x + l.dx, y + l.dy) = p;
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
