// A small built-in 8 x 12 bitmap font for the diagnostic text lists.
#pragma once

// Fills rows[12] with the glyph of c, bottom row first (the order glBitmap reads), bit 7 leftmost.
void WinFontGlyph(char c, unsigned char rows[12]);
