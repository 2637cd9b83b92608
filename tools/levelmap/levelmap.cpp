#include "levelmap.h"

#include <algorithm>

namespace levelmap {
namespace {
using toolcommon::Image;
using toolcommon::Rgba;

struct KeywordRgb {
    const char* keyword;
    Rgba colour;
};
const KeywordRgb kColours[] = {
    {"SPIDER", {230, 40, 40, 255}},      {"SPIDERSPAWN", {140, 0, 0, 255}},   {"WALLBLASTER", {255, 140, 0, 255}},
    {"ELECTRICITY", {255, 240, 0, 255}}, {"GENERATOR", {0, 220, 255, 255}},   {"RESCUE", {255, 255, 255, 255}},
    {"FLAME", {255, 0, 255, 255}},       {"BAZOOKA", {255, 0, 255, 255}},     {"BATBUG", {150, 60, 255, 255}},
    {"POPPERBUG", {255, 120, 200, 255}}, {"POPPERSACK", {190, 60, 130, 255}}, {"CHAINLIZARD", {0, 150, 60, 255}},
    {"BARFER", {40, 80, 255, 255}},      {"SLUG", {170, 255, 0, 255}},        {"BOUNCER", {0, 160, 160, 255}},
};

void Outline(Image* img, int x0, int y0, int size, Rgba c, int thickness) {
    for (int y = y0; y < y0 + size; ++y)
        for (int x = x0; x < x0 + size; ++x) {
            bool edge =
                x < x0 + thickness || y < y0 + thickness || x >= x0 + size - thickness || y >= y0 + size - thickness;
            if (edge && img->Inside(x, y)) img->at(x, y) = c;
        }
}
}  // namespace

Rgba KeywordColour(const std::string& keyword) {
    for (const KeywordRgb& k : kColours)
        if (keyword == k.keyword) return k.colour;
    return Rgba{128, 128, 128, 255};
}

bool PlacementTile(const level::Placement& p, int segment, int w, int h, int* col, int* row) {
    if (p.px < 0 || p.py < 0) return false;
    *col = p.px / 64;
    // Above the lowest segment the loader's shift puts a position on an exact multiple of 64 one
    // row higher.
    *row = (segment > 0 && p.py % 64 == 0) ? p.py / 64 - 1 : p.py / 64;
    return *col < w && *row >= 0 && *row < h;
}

Image DrawSegment(const level::SideFile sides[4], const Image& tiles, int segment) {
    int w = sides[0].w, h = sides[0].h;
    Image img(4 * w * kCell + 3 * kGap, h * kCell, Rgba{40, 40, 40, 255});
    for (int s = 0; s < 4; ++s) {
        const level::SideFile& f = sides[s];
        if (f.w != w || f.h != h) continue;
        const int left = s * (w * kCell + kGap);
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col) {
                // The last layer that sets a tile decides it, as in the game's loader.
                level::TileToken t;
                for (int l = 0; l < level::kLayers; ++l)
                    if (!f.At(l, col, row).keep) t = f.At(l, col, row);
                const int frame = t.keep ? 0 : std::max(0, t.Frame());
                const int layer = t.keep ? 0 : std::max(0, t.Layer());
                for (int y = 0; y < kCell; ++y)
                    for (int x = 0; x < kCell; ++x) {
                        int sx = frame * 32 + x * 32 / kCell, sy = layer * 32 + y * 32 / kCell;
                        Rgba c = tiles.Inside(sx, sy) ? tiles.at(sx, sy) : Rgba{0, 0, 0, 255};
                        c.a = 255;
                        if (!t.keep && t.type == 1) {
                            c.r = static_cast<uint8_t>(c.r / 3);
                            c.g = static_cast<uint8_t>(c.g / 3);
                            c.b = static_cast<uint8_t>(c.b / 3);
                        }
                        if (!t.keep && t.type == 2 && (x == y || x == kCell - 1 - y)) c = Rgba{120, 60, 0, 255};
                        img.at(left + col * kCell + x, row * kCell + y) = c;
                    }
            }
        for (const level::Placement& p : f.placements) {
            if (p.type < 0 || p.type >= static_cast<int>(f.types.size())) continue;
            int col, row;
            if (!PlacementTile(p, segment, w, h, &col, &row)) continue;
            const Rgba c = KeywordColour(f.types[static_cast<size_t>(p.type)].name);
            Outline(&img, left + col * kCell, row * kCell, kCell, c, 2);
            Outline(&img, left + col * kCell + 6, row * kCell + 6, 4, c, 2);
        }
    }
    return img;
}

}  // namespace levelmap
