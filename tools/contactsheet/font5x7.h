// A tiny built-in 5x7 bitmap font for labelling contact sheets.
#pragma once

#include "image.h"

#include <string>

namespace contact {

constexpr int kGlyphW = 5, kGlyphH = 7, kAdvance = 6, kLineH = 9;

// Draws text with its top-left corner at (x, y); characters without a glyph show as a box.
void DrawText(toolcommon::Image& img, int x, int y, const std::string& text, toolcommon::Rgba colour);

int TextWidth(const std::string& text);

}  // namespace contact
