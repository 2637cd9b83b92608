// A bitmap font: one picture holding a grid of glyph cells, described by a ".cff" text file.
#pragma once

#include <string>
#include <vector>

class GImage;

struct Letter {
    int w;
    int h;
};

class GFont {
public:
    GImage* image;
    int tileW;
    int tileH;
    int tileCountX;
    int tileCountY;
    int leading;
    int mainH;
    float scale;
    std::vector<Letter> letterData;

    GFont(const char* filename, float sscale);

    int GetWSpace(char c) const;
    // True when the font file and its picture loaded and the glyph table is complete.
    bool Usable() const { return usable_; }
    // True when c has a glyph cell in this font.
    bool HasGlyph(char c) const;

    // Parses the text of a ".cff" file. On failure returns false with the reason (and its line in
    // out->line).
    struct Parsed {
        std::string pictureName;
        int tileCountX = 0, tileCountY = 0, leading = 0, mainH = 0;
        std::vector<Letter> letters;
        int line = 0;  // on failure, the line where reading stopped
    };
    static bool ParseCff(const std::string& text, Parsed* out, std::string* reason);

private:
    bool usable_ = false;
};
