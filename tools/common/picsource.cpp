#include "picsource.h"

#include "textlines.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace toolcommon {

namespace fs = std::filesystem;

SourceError::SourceError(const std::string& f, int l, const std::string& r)
    : std::runtime_error(f + ":" + std::to_string(l) + ": " + r), file(f), line(l), reason(r) {}

const PicMap* PicFile::Find(const std::string& name) const {
    for (const PicMap& m : maps)
        if (m.name == name) return &m;
    return nullptr;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError(path + ": cannot open: " + std::strerror(errno));
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw FileError(path + ": read error");
    return ss.str();
}

namespace {

bool ParseInt(const std::string& s, int& out) {
    if (s.empty() || s.size() > 9) return false;
    size_t i = 0;
    bool neg = false;
    if (s[0] == '-') {
        neg = true;
        i = 1;
        if (s.size() == 1) return false;
    }
    long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    out = int(neg ? -v : v);
    return true;
}

int NeedInt(const std::string& s, const std::string& what, const std::string& file, int line) {
    int v;
    if (!ParseInt(s, v)) throw SourceError(file, line, "bad number '" + s + "' for " + what);
    return v;
}

int NeedByte(const std::string& s, const std::string& what, const std::string& file, int line) {
    int v = NeedInt(s, what, file, line);
    if (v < 0 || v > 255) throw SourceError(file, line, what + " " + s + " is outside 0..255");
    return v;
}

// "R G B [A]" or "transparent" starting at tokens[first].
Rgba ParseColour(const std::vector<std::string>& t, size_t first, const std::string& file, int line) {
    size_t n = t.size() - first;
    if (n == 1 && t[first] == "transparent") return Rgba{0, 0, 0, 0};
    if (n != 3 && n != 4) throw SourceError(file, line, "expected 'transparent' or R G B [A]");
    Rgba c;
    c.r = uint8_t(NeedByte(t[first], "red", file, line));
    c.g = uint8_t(NeedByte(t[first + 1], "green", file, line));
    c.b = uint8_t(NeedByte(t[first + 2], "blue", file, line));
    c.a = n == 4 ? uint8_t(NeedByte(t[first + 3], "alpha", file, line)) : 255;
    if (c.a != 0 && c.r == 255 && c.g == 0 && c.b == 255)
        throw SourceError(file, line, "magenta (255 0 255) is the transparent key and cannot be a colour");
    if (c.a == 0) c = Rgba{0, 0, 0, 0};
    return c;
}

bool ValidName(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.')) return false;
    return true;
}

}  // namespace

PicFile ParsePicText(const std::string& text, const std::string& path) {
    PicFile pic;
    pic.path = path;
    std::vector<std::string> lines = SplitLines(text);
    bool haveLegend = false;
    std::set<std::string> names;
    size_t i = 0;
    while (i < lines.size()) {
        const std::string& raw = lines[i];
        int lineNo = int(i) + 1;
        ++i;
        if (IsBlankOrComment(raw)) continue;
        std::vector<std::string> t = Tokens(raw);
        if (t[0] == "legend") {
            if (t.size() != 1) throw SourceError(path, lineNo, "'legend' takes no arguments");
            if (haveLegend) throw SourceError(path, lineNo, "a second legend (one per file)");
            if (!pic.maps.empty()) throw SourceError(path, lineNo, "the legend must come before the first map");
            haveLegend = true;
            bool ended = false;
            while (i < lines.size()) {
                const std::string& l = lines[i];
                int ln = int(i) + 1;
                ++i;
                if (IsBlankOrComment(l)) continue;
                // The key is the first non-blank character, or a quoted character: ' ' or 'x'.
                size_t p = 0;
                while (p < l.size() && IsBlank(l[p])) ++p;
                char key;
                size_t rest;
                if (l[p] == '\'' && p + 2 < l.size() && l[p + 2] == '\'') {
                    key = l[p + 1];
                    rest = p + 3;
                } else {
                    key = l[p];
                    rest = p + 1;
                }
                std::string after = l.substr(rest);
                if (key == 'e' && l.compare(p, 3, "end") == 0) {
                    std::vector<std::string> et = Tokens(l);
                    if (et.size() == 1 && et[0] == "end") {
                        ended = true;
                        break;
                    }
                }
                if (!after.empty() && !IsBlank(after[0]))
                    throw SourceError(path, ln, "a legend key must be a single character followed by a blank");
                std::vector<std::string> ct = Tokens(after);
                if (ct.empty()) throw SourceError(path, ln, std::string("no colour for legend key '") + key + "'");
                Rgba c = ParseColour(ct, 0, path, ln);
                if (pic.legend.count(key))
                    throw SourceError(path, ln, std::string("legend key '") + key + "' defined twice");
                pic.legend[key] = c;
            }
            if (!ended) throw SourceError(path, int(lines.size()), "legend without 'end'");
            continue;
        }
        if (t[0] == "map") {
            if (!haveLegend) throw SourceError(path, lineNo, "map before the legend");
            if (t.size() != 4) throw SourceError(path, lineNo, "expected: map NAME WIDTH HEIGHT");
            PicMap m;
            m.name = t[1];
            if (!ValidName(m.name)) throw SourceError(path, lineNo, "bad map name '" + m.name + "'");
            if (names.count(m.name)) throw SourceError(path, lineNo, "map '" + m.name + "' defined twice");
            m.width = NeedInt(t[2], "width", path, lineNo);
            m.height = NeedInt(t[3], "height", path, lineNo);
            if (m.width <= 0 || m.height <= 0 || m.width > 4096 || m.height > 4096)
                throw SourceError(path, lineNo, "map size must be 1..4096");
            m.file = path;
            m.line = lineNo;
            m.legend = pic.legend;
            for (int r = 0; r < m.height; ++r) {
                if (i >= lines.size())
                    throw SourceError(path, int(lines.size()),
                                      "map '" + m.name + "' has " + std::to_string(r) + " rows, expected " +
                                          std::to_string(m.height));
                const std::string& row = lines[i];
                int ln = int(i) + 1;
                ++i;
                if (int(row.size()) != m.width)
                    throw SourceError(path, ln,
                                      "row is " + std::to_string(row.size()) + " characters wide, map '" + m.name +
                                          "' is " + std::to_string(m.width));
                for (size_t x = 0; x < row.size(); ++x)
                    if (!pic.legend.count(row[x]))
                        throw SourceError(path, ln,
                                          std::string("unknown character '") + row[x] + "' in column " +
                                              std::to_string(x + 1) + " (not in the legend)");
                m.rows.push_back(row);
            }
            names.insert(m.name);
            pic.maps.push_back(std::move(m));
            continue;
        }
        throw SourceError(path, lineNo, "expected 'legend' or 'map', found '" + t[0] + "'");
    }
    return pic;
}

PicFile ReadPic(const std::string& path) { return ParsePicText(ReadTextFile(path), path); }

namespace {

struct Placement {
    const PicMap* map;
    int x, y;
    bool flipx = false, flipy = false;
    std::map<char, char> recolor;
};

void Place(Image& img, const Placement& p, const std::string& file, int line) {
    const PicMap& m = *p.map;
    if (p.x < 0 || p.y < 0 || p.x + m.width > img.width || p.y + m.height > img.height)
        throw SourceError(file, line,
                          "map '" + m.name + "' (" + std::to_string(m.width) + "x" + std::to_string(m.height) +
                              ") at " + std::to_string(p.x) + "," + std::to_string(p.y) + " crosses the sheet edge (" +
                              std::to_string(img.width) + "x" + std::to_string(img.height) + ")");
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            int sx = p.flipx ? m.width - 1 - x : x;
            int sy = p.flipy ? m.height - 1 - y : y;
            char c = m.rows[size_t(sy)][size_t(sx)];
            auto rc = p.recolor.find(c);
            if (rc != p.recolor.end()) c = rc->second;
            Rgba col = m.legend.at(c);
            if (col.a == 0) continue;
            img.at(p.x + x, p.y + y) = col;
        }
    }
}

std::map<char, char> ParseRecolor(const std::vector<std::string>& pairWords, const PicMap& m, const std::string& file,
                                  int line) {
    std::map<char, char> out;
    for (const std::string& word : pairWords) {
        size_t start = 0;
        while (start <= word.size()) {
            size_t comma = word.find(',', start);
            std::string one = word.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (one.size() != 3 || one[1] != '=')
                throw SourceError(file, line, "bad recolor '" + one + "', expected FROM=TO");
            if (!m.legend.count(one[2]))
                throw SourceError(file, line,
                                  std::string("recolor target '") + one[2] + "' is not in the legend of " + m.file);
            out[one[0]] = one[2];
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    return out;
}

std::string CheckOutputPath(const std::string& out, const std::string& file, int line) {
    fs::path p(out);
    if (out.empty() || p.is_absolute()) throw SourceError(file, line, "output must be a path relative to data/");
    for (const auto& part : p)
        if (part == "..") throw SourceError(file, line, "output must stay inside data/");
    if (p.extension() != ".png") throw SourceError(file, line, "output must end in .png");
    return out;
}

}  // namespace

CompiledSheet CompileSheetText(const std::string& text, const std::string& path) {
    CompiledSheet sheet;
    sheet.sheetPath = path;
    fs::path dir = fs::path(path).parent_path();
    std::vector<std::string> lines = SplitLines(text);
    std::map<std::string, PicMap> maps;
    bool haveSize = false, haveOutput = false, haveFill = false, haveKey = false, placed = false;
    Rgba fill{0, 0, 0, 0};

    auto needSize = [&](int ln) {
        if (!haveSize) throw SourceError(path, ln, "'size' must come before placing maps");
    };
    auto findMap = [&](const std::string& name, int ln) -> const PicMap* {
        auto it = maps.find(name);
        if (it == maps.end()) throw SourceError(path, ln, "unknown map '" + name + "'");
        return &it->second;
    };

    for (size_t i = 0; i < lines.size(); ++i) {
        int ln = int(i) + 1;
        if (IsBlankOrComment(lines[i])) continue;
        std::vector<std::string> t = Tokens(lines[i]);
        const std::string& cmd = t[0];
        if (cmd == "output") {
            if (t.size() != 2) throw SourceError(path, ln, "expected: output PATH");
            if (haveOutput) throw SourceError(path, ln, "a second 'output' line");
            sheet.output = CheckOutputPath(t[1], path, ln);
            haveOutput = true;
        } else if (cmd == "size") {
            if (t.size() != 3) throw SourceError(path, ln, "expected: size WIDTH HEIGHT");
            if (haveSize) throw SourceError(path, ln, "a second 'size' line");
            int w = NeedInt(t[1], "width", path, ln), h = NeedInt(t[2], "height", path, ln);
            if (w <= 0 || h <= 0 || w > 8192 || h > 8192) throw SourceError(path, ln, "sheet size must be 1..8192");
            sheet.image = Image(w, h, fill);
            haveSize = true;
        } else if (cmd == "fill") {
            if (haveFill) throw SourceError(path, ln, "a second 'fill' line");
            if (t.size() < 2) throw SourceError(path, ln, "expected: fill transparent | fill R G B");
            fill = ParseColour(t, 1, path, ln);
            if (placed) throw SourceError(path, ln, "'fill' must come before placing maps");
            if (haveSize) sheet.image = Image(sheet.image.width, sheet.image.height, fill);
            haveFill = true;
        } else if (cmd == "key") {
            if (t.size() != 2 || (t[1] != "magenta" && t[1] != "alpha"))
                throw SourceError(path, ln, "expected: key magenta | key alpha");
            if (haveKey) throw SourceError(path, ln, "a second 'key' line");
            sheet.key = t[1] == "magenta" ? KeyMode::Magenta : KeyMode::Alpha;
            haveKey = true;
        } else if (cmd == "use") {
            if (t.size() != 2) throw SourceError(path, ln, "expected: use FILE.pic");
            std::string picPath = (dir / t[1]).lexically_normal().string();
            if (!fs::is_regular_file(picPath)) throw SourceError(path, ln, "cannot open '" + picPath + "'");
            PicFile pic = ReadPic(picPath);
            for (PicMap& m : pic.maps) {
                auto it = maps.find(m.name);
                if (it != maps.end())
                    throw SourceError(path, ln,
                                      "map '" + m.name + "' of " + picPath + " is also defined in " + it->second.file +
                                          ":" + std::to_string(it->second.line));
                std::string n = m.name;
                maps.emplace(n, std::move(m));
            }
            sheet.usedFiles.push_back(picPath);
        } else if (cmd == "put") {
            needSize(ln);
            if (t.size() < 4) throw SourceError(path, ln, "expected: put NAME X Y [flipx] [flipy] [recolor A=B,...]");
            Placement p;
            p.map = findMap(t[1], ln);
            p.x = NeedInt(t[2], "x", path, ln);
            p.y = NeedInt(t[3], "y", path, ln);
            for (size_t k = 4; k < t.size(); ++k) {
                if (t[k] == "flipx") {
                    p.flipx = true;
                } else if (t[k] == "flipy") {
                    p.flipy = true;
                } else if (t[k] == "recolor") {
                    std::vector<std::string> pairWords;
                    while (k + 1 < t.size() && t[k + 1] != "flipx" && t[k + 1] != "flipy") pairWords.push_back(t[++k]);
                    if (pairWords.empty()) throw SourceError(path, ln, "recolor needs FROM=TO pairs");
                    p.recolor = ParseRecolor(pairWords, *p.map, path, ln);
                } else {
                    throw SourceError(path, ln, "unknown option '" + t[k] + "'");
                }
            }
            Place(sheet.image, p, path, ln);
            placed = true;
        } else if (cmd == "grid") {
            // grid N1 N2 ... at X Y step DX DY  — a '/' among the names starts a new row DY lower.
            needSize(ln);
            size_t at = 0;
            for (size_t k = 1; k < t.size(); ++k)
                if (t[k] == "at") at = k;
            if (at < 2 || t.size() != at + 6 || t[at + 3] != "step")
                throw SourceError(path, ln, "expected: grid NAME... at X Y step DX DY");
            int x0 = NeedInt(t[at + 1], "x", path, ln), y0 = NeedInt(t[at + 2], "y", path, ln);
            int dx = NeedInt(t[at + 4], "dx", path, ln), dy = NeedInt(t[at + 5], "dy", path, ln);
            int col = 0, row = 0;
            for (size_t k = 1; k < at; ++k) {
                if (t[k] == "/") {
                    ++row;
                    col = 0;
                    continue;
                }
                if (t[k] != "-") {  // '-' leaves a cell empty
                    Placement p;
                    p.map = findMap(t[k], ln);
                    p.x = x0 + col * dx;
                    p.y = y0 + row * dy;
                    Place(sheet.image, p, path, ln);
                    placed = true;
                }
                ++col;
            }
        } else {
            throw SourceError(path, ln, "unknown command '" + cmd + "'");
        }
    }
    int last = int(lines.size());
    if (!haveOutput) throw SourceError(path, last, "no 'output' line");
    if (!haveSize) throw SourceError(path, last, "no 'size' line");
    if (sheet.key == KeyMode::Magenta)
        for (Rgba& p : sheet.image.pixels)
            if (p.a == 0) p = kMagenta;
    return sheet;
}

CompiledSheet CompileSheet(const std::string& path) { return CompileSheetText(ReadTextFile(path), path); }

}  // namespace toolcommon
