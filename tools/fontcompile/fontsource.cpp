#include "fontsource.h"

#include "textlines.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <fstream>
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

}  // namespace

FontSource ParseFontText(const std::string& text, const std::string& path) {
    FontSource font;
    font.path = path;
    const std::vector<std::string> lines = SplitLines(text);
    std::map<char, Rgba> legend;
    bool haveLegend = false, haveCell = false, haveColumns = false, haveLeading = false, haveMainH = false;

    auto once = [&](bool& seen, const std::string& name, int ln) {
        if (seen) throw FontError(path, ln, "'" + name + "' given twice");
        seen = true;
    };

    size_t i = 0;
    while (i < lines.size()) {
        const int ln = int(i) + 1;
        const std::string& line = lines[i];
        if (IsBlankOrComment(line)) {
            ++i;
            continue;
        }
        const std::vector<std::string> t = Tokens(line);
        const std::string& kw = t[0];

        if (kw == "picture") {
            if (t.size() != 2) throw FontError(path, ln, "'picture' takes one file name");
            if (!font.picture.empty()) throw FontError(path, ln, "'picture' given twice");
            if (t[1].find('/') != std::string::npos || t[1].find('\\') != std::string::npos)
                throw FontError(path, ln, "the picture name must not contain a folder");
            font.picture = t[1];
            ++i;
        } else if (kw == "cell") {
            if (t.size() != 3) throw FontError(path, ln, "'cell' takes a width and a height");
            once(haveCell, "cell", ln);
            font.cellW = ParseInt(t[1], "cell width", 1, 64, path, ln);
            font.cellH = ParseInt(t[2], "cell height", 1, 64, path, ln);
            ++i;
        } else if (kw == "columns") {
            if (t.size() != 2) throw FontError(path, ln, "'columns' takes one number");
            once(haveColumns, "columns", ln);
            font.columns = ParseInt(t[1], "column count", 1, kGlyphCount, path, ln);
            ++i;
        } else if (kw == "leading") {
            if (t.size() != 2) throw FontError(path, ln, "'leading' takes one number");
            once(haveLeading, "leading", ln);
            font.leading = ParseInt(t[1], "leading", 0, 255, path, ln);
            ++i;
        } else if (kw == "mainh") {
            if (t.size() != 2) throw FontError(path, ln, "'mainh' takes one number");
            once(haveMainH, "mainh", ln);
            font.mainH = ParseInt(t[1], "mainh", 0, 255, path, ln);
            ++i;
        } else if (kw == "legend") {
            if (t.size() != 1) throw FontError(path, ln, "'legend' takes no arguments");
            once(haveLegend, "legend", ln);
            bool ended = false;
            for (++i; i < lines.size(); ++i) {
                const int lln = int(i) + 1;
                if (IsBlankOrComment(lines[i])) continue;
                std::vector<std::string> lt = Tokens(lines[i]);
                if (lt.size() == 1 && lt[0] == "end") {
                    ended = true;
                    ++i;
                    break;
                }
                if (lt[0].size() != 1)
                    throw FontError(path, lln, "a legend key must be one character, found '" + lt[0] + "'");
                const char key = lt[0][0];
                if (legend.count(key))
                    throw FontError(path, lln, std::string("legend key '") + key + "' defined twice");
                Rgba c;
                if (lt.size() == 2 && lt[1] == "transparent") {
                    c = Rgba{0, 0, 0, 0};
                } else if (lt.size() == 4 || lt.size() == 5) {
                    c.r = uint8_t(ParseInt(lt[1], "red", 0, 255, path, lln));
                    c.g = uint8_t(ParseInt(lt[2], "green", 0, 255, path, lln));
                    c.b = uint8_t(ParseInt(lt[3], "blue", 0, 255, path, lln));
                    c.a = uint8_t(lt.size() == 5 ? ParseInt(lt[4], "alpha", 0, 255, path, lln) : 255);
                    if (c.a == 0) c = Rgba{0, 0, 0, 0};
                    if (c.r == 255 && c.g == 0 && c.b == 255 && c.a != 0)
                        throw FontError(path, lln, "magenta is the transparent key, not a glyph colour");
                } else {
                    throw FontError(path, lln, std::string("legend key '") + key +
                                                   "' needs 'transparent' or R G B [A]");
                }
                legend[key] = c;
            }
            if (!ended) throw FontError(path, int(lines.size()), "legend without 'end'");
        } else if (kw == "glyph") {
            if (!haveCell) throw FontError(path, ln, "'glyph' before 'cell'");
            if (!haveLegend) throw FontError(path, ln, "'glyph' before the legend");
            // glyph 'C' WIDTH — the character is quoted so that ' ' and '#' can be named.
            size_t p = line.find("glyph") + 5;
            while (p < line.size() && IsBlank(line[p])) ++p;
            if (p + 2 >= line.size() || line[p] != '\'' || line[p + 2] != '\'')
                throw FontError(path, ln, "expected a quoted character after 'glyph', like 'A'");
            const int code = static_cast<unsigned char>(line[p + 1]);
            if (code < kFirstChar || code > kLastChar)
                throw FontError(path, ln, "glyph character code " + std::to_string(code) + " is not printable ASCII");
            std::vector<std::string> rest = Tokens(line.substr(p + 3));
            if (rest.size() != 1) throw FontError(path, ln, "expected one advance width after the character");
            Glyph& g = font.glyphs[size_t(code - kFirstChar)];
            if (g.defined)
                throw FontError(path, ln, "glyph " + Describe(code) + " already defined on line " + std::to_string(g.line));
            g.width = ParseInt(rest[0], "advance width", 1, font.cellW, path, ln);
            g.defined = true;
            g.line = ln;
            g.pixels.assign(size_t(font.cellW) * size_t(font.cellH), Rgba{});
            int inkRight = -1;
            for (int y = 0; y < font.cellH; ++y) {
                const size_t ri = i + 1 + size_t(y);
                if (ri >= lines.size())
                    throw FontError(path, int(lines.size()),
                                    "glyph " + Describe(code) + " has " + std::to_string(y) + " rows, expected " +
                                        std::to_string(font.cellH));
                const std::string& row = lines[ri];
                const int rln = int(ri) + 1;
                if (int(row.size()) != font.cellW)
                    throw FontError(path, rln,
                                    "row has " + std::to_string(row.size()) + " characters, expected " +
                                        std::to_string(font.cellW));
                for (int x = 0; x < font.cellW; ++x) {
                    auto it = legend.find(row[size_t(x)]);
                    if (it == legend.end())
                        throw FontError(path, rln, std::string("character '") + row[size_t(x)] + "' in column " +
                                                       std::to_string(x + 1) + " is not in the legend");
                    g.pixels[size_t(y) * size_t(font.cellW) + size_t(x)] = it->second;
                    if (it->second.a != 0 && x > inkRight) inkRight = x;
                }
            }
            if (inkRight >= g.width)
                throw FontError(path, ln,
                                "glyph " + Describe(code) + " has pixels in column " + std::to_string(inkRight + 1) +
                                    ", beyond its advance width " + std::to_string(g.width));
            if (inkRight < 0 && code != ' ')
                throw FontError(path, ln, "glyph " + Describe(code) + " has no visible pixels");
            i += 1 + size_t(font.cellH);
        } else {
            throw FontError(path, ln, "unknown directive '" + kw + "'");
        }
    }

    const int last = int(lines.size());
    if (font.picture.empty()) throw FontError(path, last, "no 'picture' line");
    if (!haveCell) throw FontError(path, last, "no 'cell' line");
    for (int code = kFirstChar; code <= kLastChar; ++code)
        if (!font.glyphs[size_t(code - kFirstChar)].defined)
            throw FontError(path, last, "glyph " + Describe(code) + " is missing");
    return font;
}

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
            for (int x = 0; x < font.cellW; ++x) img.at(ox + x, oy + y) = g.pixels[size_t(y) * size_t(font.cellW) + size_t(x)];
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
