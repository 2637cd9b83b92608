#include "fontsource.h"

#include "textlines.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace fontcompile {

using toolcommon::IsBlank;
using toolcommon::IsBlankOrComment;
using toolcommon::Rgba;
using toolcommon::SplitLines;
using toolcommon::Tokens;

FontError::FontError(const std::string& f, int l, const std::string& reason)
    : std::runtime_error(f + ":" + std::to_string(l) + ": " + reason), file(f), line(l) {}

namespace {

int ParseInt(const std::string& tok, const std::string& what, int lo, int hi, const std::string& file, int line) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(tok.c_str(), &end, 10);
    if (tok.empty() || *end != '\0' || errno == ERANGE)
        throw FontError(file, line, what + " '" + tok + "' is not a whole number");
    if (v < lo || v > hi)
        throw FontError(file, line,
                        what + " " + tok + " is out of range " + std::to_string(lo) + ".." + std::to_string(hi));
    return int(v);
}

std::string Describe(int code) {
    std::string s = "'";
    s += char(code);
    s += "' (" + std::to_string(code) + ")";
    return s;
}

// Reads the lines of a .font file in order, one directive at a time.
class FontParser {
public:
    FontParser(const std::string& text, const std::string& path) : path_(path), lines_(SplitLines(text)) {
        font_.path = path;
    }

    FontSource Parse() {
        size_t i = 0;
        while (i < lines_.size()) {
            const int ln = int(i) + 1;
            if (IsBlankOrComment(lines_[i])) {
                ++i;
                continue;
            }
            const std::vector<std::string> t = Tokens(lines_[i]);
            if (t[0] == "legend") {
                i = Legend(t, i);
            } else if (t[0] == "glyph") {
                i = ReadGlyph(i);
            } else {
                Setting(t, ln);
                ++i;
            }
        }
        CheckComplete();
        return font_;
    }

private:
    void Once(bool& seen, const std::string& name, int ln) {
        if (seen) throw FontError(path_, ln, "'" + name + "' given twice");
        seen = true;
    }

    // One of the one-line settings: picture, cell, columns, leading, mainh.
    void Setting(const std::vector<std::string>& t, int ln) {
        const std::string& kw = t[0];
        if (kw == "picture") {
            if (t.size() != 2) throw FontError(path_, ln, "'picture' takes one file name");
            if (!font_.picture.empty()) throw FontError(path_, ln, "'picture' given twice");
            if (t[1].find('/') != std::string::npos || t[1].find('\\') != std::string::npos)
                throw FontError(path_, ln, "the picture name must not contain a folder");
            font_.picture = t[1];
        } else if (kw == "cell") {
            if (t.size() != 3) throw FontError(path_, ln, "'cell' takes a width and a height");
            Once(haveCell_, "cell", ln);
            font_.cellW = ParseInt(t[1], "cell width", 1, 64, path_, ln);
            font_.cellH = ParseInt(t[2], "cell height", 1, 64, path_, ln);
        } else if (kw == "columns") {
            if (t.size() != 2) throw FontError(path_, ln, "'columns' takes one number");
            Once(haveColumns_, "columns", ln);
            font_.columns = ParseInt(t[1], "column count", 1, kGlyphCount, path_, ln);
        } else if (kw == "leading") {
            if (t.size() != 2) throw FontError(path_, ln, "'leading' takes one number");
            Once(haveLeading_, "leading", ln);
            font_.leading = ParseInt(t[1], "leading", 0, 255, path_, ln);
        } else if (kw == "mainh") {
            if (t.size() != 2) throw FontError(path_, ln, "'mainh' takes one number");
            Once(haveMainH_, "mainh", ln);
            font_.mainH = ParseInt(t[1], "mainh", 0, 255, path_, ln);
        } else {
            throw FontError(path_, ln, "unknown directive '" + kw + "'");
        }
    }

    // The legend from its 'legend' line at i to its 'end'; returns the line after the 'end'.
    size_t Legend(const std::vector<std::string>& t, size_t i) {
        const int ln = int(i) + 1;
        if (t.size() != 1) throw FontError(path_, ln, "'legend' takes no arguments");
        Once(haveLegend_, "legend", ln);
        for (++i; i < lines_.size(); ++i) {
            const int lln = int(i) + 1;
            if (IsBlankOrComment(lines_[i])) continue;
            std::vector<std::string> lt = Tokens(lines_[i]);
            if (lt.size() == 1 && lt[0] == "end") return i + 1;
            if (lt[0].size() != 1)
                throw FontError(path_, lln, "a legend key must be one character, found '" + lt[0] + "'");
            const char key = lt[0][0];
            if (legend_.count(key)) throw FontError(path_, lln, std::string("legend key '") + key + "' defined twice");
            legend_[key] = LegendColour(lt, key, lln);
        }
        throw FontError(path_, int(lines_.size()), "legend without 'end'");
    }

    // "transparent", or R G B and an optional A.
    Rgba LegendColour(const std::vector<std::string>& lt, char key, int lln) const {
        if (lt.size() == 2 && lt[1] == "transparent") return Rgba{0, 0, 0, 0};
        if (lt.size() != 4 && lt.size() != 5)
            throw FontError(path_, lln, std::string("legend key '") + key + "' needs 'transparent' or R G B [A]");
        Rgba c;
        c.r = uint8_t(ParseInt(lt[1], "red", 0, 255, path_, lln));
        c.g = uint8_t(ParseInt(lt[2], "green", 0, 255, path_, lln));
        c.b = uint8_t(ParseInt(lt[3], "blue", 0, 255, path_, lln));
        c.a = uint8_t(lt.size() == 5 ? ParseInt(lt[4], "alpha", 0, 255, path_, lln) : 255);
        if (c.a == 0) c = Rgba{0, 0, 0, 0};
        if (c.r == 255 && c.g == 0 && c.b == 255 && c.a != 0)
            throw FontError(path_, lln, "magenta is the transparent key, not a glyph colour");
        return c;
    }

    // The character of a "glyph 'C' WIDTH" line, quoted so that ' ' and '#' can be named; `after`
    // is set to where the text after the closing quote starts.
    int GlyphCode(const std::string& line, int ln, size_t* after) const {
        size_t p = line.find("glyph") + 5;
        while (p < line.size() && IsBlank(line[p])) ++p;
        if (p + 2 >= line.size() || line[p] != '\'' || line[p + 2] != '\'')
            throw FontError(path_, ln, "expected a quoted character after 'glyph', like 'A'");
        const int code = static_cast<unsigned char>(line[p + 1]);
        if (code < kFirstChar || code > kLastChar)
            throw FontError(path_, ln, "glyph character code " + std::to_string(code) + " is not printable ASCII");
        *after = p + 3;
        return code;
    }

    // A glyph from its 'glyph' line at i and the rows below it; returns the line after them.
    size_t ReadGlyph(size_t i) {
        const int ln = int(i) + 1;
        const std::string& line = lines_[i];
        if (!haveCell_) throw FontError(path_, ln, "'glyph' before 'cell'");
        if (!haveLegend_) throw FontError(path_, ln, "'glyph' before the legend");
        size_t after = 0;
        const int code = GlyphCode(line, ln, &after);
        std::vector<std::string> rest = Tokens(line.substr(after));
        if (rest.size() != 1) throw FontError(path_, ln, "expected one advance width after the character");
        Glyph& g = font_.glyphs[size_t(code - kFirstChar)];
        if (g.defined)
            throw FontError(path_, ln,
                            "glyph " + Describe(code) + " already defined on line " + std::to_string(g.line));
        g.width = ParseInt(rest[0], "advance width", 1, font_.cellW, path_, ln);
        g.defined = true;
        g.line = ln;
        const int inkRight = GlyphRows(&g, code, i + 1);
        if (inkRight >= g.width)
            throw FontError(path_, ln,
                            "glyph " + Describe(code) + " has pixels in column " + std::to_string(inkRight + 1) +
                                ", beyond its advance width " + std::to_string(g.width));
        if (inkRight < 0 && code != ' ')
            throw FontError(path_, ln, "glyph " + Describe(code) + " has no visible pixels");
        return i + 1 + size_t(font_.cellH);
    }

    // The glyph's pixel rows from line `first` on; returns the rightmost column with ink (-1 for none).
    int GlyphRows(Glyph* g, int code, size_t first) const {
        g->pixels.assign(size_t(font_.cellW) * size_t(font_.cellH), Rgba{});
        int inkRight = -1;
        for (int y = 0; y < font_.cellH; ++y) {
            const size_t ri = first + size_t(y);
            if (ri >= lines_.size())
                throw FontError(path_, int(lines_.size()),
                                "glyph " + Describe(code) + " has " + std::to_string(y) + " rows, expected " +
                                    std::to_string(font_.cellH));
            const std::string& row = lines_[ri];
            const int rln = int(ri) + 1;
            if (int(row.size()) != font_.cellW)
                throw FontError(
                    path_, rln,
                    "row has " + std::to_string(row.size()) + " characters, expected " + std::to_string(font_.cellW));
            for (int x = 0; x < font_.cellW; ++x) {
                auto it = legend_.find(row[size_t(x)]);
                if (it == legend_.end())
                    throw FontError(path_, rln,
                                    std::string("character '") + row[size_t(x)] + "' in column " +
                                        std::to_string(x + 1) + " is not in the legend");
                g->pixels[size_t(y) * size_t(font_.cellW) + size_t(x)] = it->second;
                if (it->second.a != 0 && x > inkRight) inkRight = x;
            }
        }
        return inkRight;
    }

    void CheckComplete() const {
        const int last = int(lines_.size());
        if (font_.picture.empty()) throw FontError(path_, last, "no 'picture' line");
        if (!haveCell_) throw FontError(path_, last, "no 'cell' line");
        for (int code = kFirstChar; code <= kLastChar; ++code)
            if (!font_.glyphs[size_t(code - kFirstChar)].defined)
                throw FontError(path_, last, "glyph " + Describe(code) + " is missing");
    }

    const std::string& path_;
    const std::vector<std::string> lines_;
    FontSource font_;
    std::map<char, Rgba> legend_;
    bool haveLegend_ = false, haveCell_ = false, haveColumns_ = false, haveLeading_ = false, haveMainH_ = false;
};

}  // namespace

FontSource ParseFontText(const std::string& text, const std::string& path) { return FontParser(text, path).Parse(); }

FontSource ReadFont(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw toolcommon::FileError("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ParseFontText(ss.str(), path);
}

toolcommon::Image RenderGlyphPicture(const FontSource& font) {
    toolcommon::Image img(font.cellW * font.columns, font.cellH * font.Rows());
    for (int code = kFirstChar; code <= kLastChar; ++code) {
        const int cell = code - kFirstChar;
        const int ox = (cell % font.columns) * font.cellW;
        const int oy = (cell / font.columns) * font.cellH;
        const Glyph& g = font.glyphs[size_t(cell)];
        for (int y = 0; y < font.cellH; ++y)
            for (int x = 0; x < font.cellW; ++x)
                img.at(ox + x, oy + y) = g.pixels[size_t(y) * size_t(font.cellW) + size_t(x)];
    }
    return img;
}

std::string RenderCff(const FontSource& font) {
    std::ostringstream out;
    out << font.picture << "\n";
    out << font.columns << " " << font.Rows() << "\n";
    out << font.leading << " " << font.mainH << "\n";
    for (int row = 0; row < font.Rows(); ++row) {
        for (int col = 0; col < font.columns; ++col) {
            const int cell = row * font.columns + col;
            const int w = cell < kGlyphCount ? font.glyphs[size_t(cell)].width : 0;
            out << (col ? " " : "") << w << " " << font.cellH;
        }
        out << "\n";
    }
    return out.str();
}

void CompileFont(const std::string& sourcePath, const std::string& cffPath) {
    const FontSource font = ReadFont(sourcePath);
    const toolcommon::Image picture = RenderGlyphPicture(font);
    const std::string table = RenderCff(font);
    const std::filesystem::path picturePath = std::filesystem::path(cffPath).parent_path() / font.picture;
    toolcommon::WritePngAtomic(picturePath.string(), picture);
    try {
        toolcommon::WriteTextAtomic(cffPath, table);
    } catch (...) {
        // Without its table the picture is useless; do not leave it behind half a font.
        std::error_code ec;
        std::filesystem::remove(picturePath, ec);
        throw;
    }
}

}  // namespace fontcompile
