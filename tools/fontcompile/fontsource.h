// Glyph-map font sources (.font) and what the game reads from them: the glyph picture and
// the ".cff" table.
//
// A .font file, line by line ('#' starts a comment line; blank lines are ignored outside maps):
//
//   picture bkmfont.png        glyph picture file name, written beside the .cff
//   cell 10 12                 glyph cell width and height in pixels
//   columns 16                 cells per row of the picture (rows follow from 95 glyphs)
//   leading 2                  copied into the .cff (the game reads but does not use it)
//   mainh 8                    copied into the .cff (likewise)
//   legend
//     .  transparent
//     X  255 255 255           char, then R G B and an optional A (0-255)
//   end
//   glyph 'A' 6                the character in single quotes, then its advance width
//   <exactly cell-height rows of exactly cell-width legend characters>
//
// Every printable ASCII character from ' ' (32) to '~' (126) needs exactly one glyph. The
// advance width is 1..cell width and every visible pixel of a glyph lies left of it; every
// glyph except the space has at least one visible pixel.
#pragma once

#include "image.h"

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace fontcompile {

constexpr int kFirstChar = 32;
constexpr int kLastChar = 126;
constexpr int kGlyphCount = kLastChar - kFirstChar + 1;

struct FontError : std::runtime_error {
    FontError(const std::string& file, int line, const std::string& reason);
    std::string file;
    int line;
};

struct Glyph {
    bool defined = false;
    int width = 0;                         // advance width in pixels, without the one-pixel gap
    int line = 0;                          // source line of its 'glyph' header
    std::vector<toolcommon::Rgba> pixels;  // cellW * cellH, row-major
};

struct FontSource {
    std::string path;
    std::string picture;
    int cellW = 0;
    int cellH = 0;
    int columns = 16;
    int leading = 0;
    int mainH = 0;
    std::array<Glyph, kGlyphCount> glyphs;

    int Rows() const { return (kGlyphCount + columns - 1) / columns; }
    const Glyph& For(char c) const { return glyphs[size_t(c - kFirstChar)]; }
};

// Parses .font text; 'path' names the file in messages. Throws FontError ("FILE:LINE: reason").
FontSource ParseFontText(const std::string& text, const std::string& path);
FontSource ReadFont(const std::string& path);

// The glyph picture: columns x rows cells, glyph pixels over a transparent background.
toolcommon::Image RenderGlyphPicture(const FontSource& font);

// The ".cff" text: picture name, tileCountX, tileCountY, leading, mainH, then a width and a
// height for every cell row by row (cells past '~' get width 0).
std::string RenderCff(const FontSource& font);

// Compiles 'sourcePath' into 'cffPath' and the picture beside it. Everything is parsed and
// drawn before anything is written, so a malformed source leaves no output behind.
void CompileFont(const std::string& sourcePath, const std::string& cffPath);

}  // namespace fontcompile
