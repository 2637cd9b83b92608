#include "levelsource.h"

#include <cctype>
#include <map>
#include <sstream>
#include <vector>

#include "game/world/Tower.h"
#include "picsource.h"

namespace levelsrc {

namespace {

using toolcommon::SourceError;

struct LegendEntry {
    int type = 0, frame = 0, layer = 0, set = 1;
};

std::string StripComment(const std::string& line) {
    size_t c = line.find(';');
    return c == std::string::npos ? line : line.substr(0, c);
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    std::string t;
    while (in >> t) w.push_back(t);
    return w;
}

bool ToInt(const std::string& s, int* out) {
    if (s.empty() || s.size() > 9) return false;
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size()) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
    *out = std::stoi(s);
    return true;
}

int NeedInt(const std::string& s, const std::string& file, int line, const char* what) {
    int v = 0;
    if (!ToInt(s, &v)) throw SourceError(file, line, std::string(what) + " \"" + s + "\" is not a number");
    return v;
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

}  // namespace

const std::set<std::string>& KnownKeywords() {
    static const std::set<std::string> k = {"BATBUG",      "SPIDER",         "SPIDERSPAWN", "POPPERBUG",
                                            "CHAINLIZARD", "BREAKABLEBLOCK", "WALLBLASTER", "RESCUE",
                                            "ELECTRICITY", "GENERATOR",      "POPPERSACK",  "BOUNCER",
                                            "SLUG",        "FLAME",          "BAZOOKA",     "BARFER"};
    return k;
}

int TilePixelX(int column) { return 64 * (column - 1) + 32; }
int TilePixelY(int row) { return 64 * row + 32; }

SourceName ParseSourceName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    SourceName n;
    int consumed = 0;
    if (std::sscanf(base.c_str(), "Level%d_Side%d%n", &n.segment, &n.side, &consumed) != 2 ||
        base.substr(static_cast<size_t>(consumed)) != ".level" || n.segment < 1 || n.side < 1 || n.side > 4) {
        throw SourceError(path, 0, "the file name must be Level<N>_Side<1..4>.level");
    }
    return n;
}

namespace {

// Compiles one source, statement by statement. Statements that span lines (the legend, a layer)
// move the line index on to their last line.
class Compiler {
public:
    Compiler(const std::string& text, const std::string& file, const SourceName& name,
             const std::function<bool(const std::string&)>& pictureExists)
        : file_(file), pictureExists_(pictureExists) {
        std::istringstream in(text);
        std::string l;
        while (std::getline(in, l)) lines_.push_back(l);
        Start(name);
    }

    level::SideFile Run() {
        for (size_t i = 0; i < lines_.size(); ++i) {
            const int ln = static_cast<int>(i) + 1;
            std::vector<std::string> w = Words(StripComment(lines_[i]));
            if (w.empty()) continue;
            const std::string& kw = w[0];
            if (kw == "pictures") {
                Pictures(w, ln);
            } else if (kw == "legend") {
                Legend(&i);
            } else if (kw == "layer") {
                Layer(w, &i);
            } else if (kw == "place") {
                Place(w, ln);
            } else if (kw == "type") {
                if (w.size() != 3) throw SourceError(file_, ln, "'type' is: type CATEGORY NAME");
                AddType(w[1], w[2]);
            } else {
                throw SourceError(file_, ln, "unknown statement \"" + kw + "\"");
            }
            if (out_.types.size() > static_cast<size_t>(level::kMaxEntityTypes))
                throw SourceError(file_, ln, "more than " + std::to_string(level::kMaxEntityTypes) + " entity types");
        }
        if (!seenLayer_[0]) throw SourceError(file_, static_cast<int>(lines_.size()), "the source has no 'layer 1'");
        return out_;
    }

private:
    // The size, the header naming the segment and side, and the neighbours: below, above, the side
    // to the left, the side to the right.
    void Start(const SourceName& name) {
        out_.w = kWidth;
        out_.h = kHeight;
        out_.ResetLayers();
        out_.header = {"Brackmoor", "level", "Level" + std::to_string(name.segment), "side", std::to_string(name.side),
                       "#"};
        const std::string seg = "Level" + std::to_string(name.segment);
        const int left = tower::SidePastFirstColumn(name.side), right = tower::SidePastLastColumn(name.side);
        const std::string below = "Level" + std::to_string(name.segment - 1) + "_Side" + std::to_string(name.side);
        out_.neighbours[0] = name.segment > 1 ? below : "none";
        out_.neighbours[1] = "Level" + std::to_string(name.segment + 1) + "_Side" + std::to_string(name.side);
        out_.neighbours[2] = seg + "_Side" + std::to_string(left);
        out_.neighbours[3] = seg + "_Side" + std::to_string(right);
    }

    // The entity-type table's index of CATEGORY KEYWORD, added at the end when it is new.
    int AddType(const std::string& category, const std::string& kw) {
        std::string key = category + " " + kw;
        auto it = typeIndex_.find(key);
        if (it != typeIndex_.end()) return it->second;
        int idx = static_cast<int>(out_.types.size());
        level::EntityType t;
        t.id = idx;
        t.category = category;
        t.name = kw;
        out_.types.push_back(t);
        typeIndex_[key] = idx;
        return idx;
    }

    void Pictures(const std::vector<std::string>& w, int ln) {
        if (seenPictures_) throw SourceError(file_, ln, "a second 'pictures' line");
        seenPictures_ = true;
        for (size_t k = 1; k < w.size(); ++k) {
            const std::string& p = w[k];
            if (p.size() > level::kMaxWordLength || p.find('/') != std::string::npos)
                throw SourceError(file_, ln, "tile picture \"" + p + "\" is not a plain file name");
            if (pictureExists_ && !pictureExists_(p))
                throw SourceError(file_, ln, "tile picture \"data/tiles/" + p + "\" is not a picture the game has");
            out_.tilePictures.push_back(p);
        }
        if (out_.tilePictures.size() > static_cast<size_t>(level::kMaxTilePictures))
            throw SourceError(file_, ln, "more than " + std::to_string(level::kMaxTilePictures) + " tile pictures");
    }

    // From the 'legend' line at *i to its 'end' (where *i is left).
    void Legend(size_t* i) {
        const int ln = static_cast<int>(*i) + 1;
        for (++*i; *i < lines_.size(); ++*i) {
            const int ll = static_cast<int>(*i) + 1;
            std::string body = Trim(StripComment(lines_[*i]));
            if (body.empty()) continue;
            std::vector<std::string> e = Words(body);
            if (e[0] == "end") return;
            if (e[0].size() != 1 || e.size() < 4)
                throw SourceError(file_, ll, "a legend line is CHAR TYPE FRAME LAYER [set N]");
            char c = e[0][0];
            if (c == '-') throw SourceError(file_, ll, "'-' keeps the earlier layer's tile and cannot be defined");
            if (legend_.count(c)) throw SourceError(file_, ll, std::string("'") + c + "' is defined twice");
            legend_[c] = LegendLine(e, ll);
        }
        throw SourceError(file_, ln, "the legend has no 'end'");
    }

    // CHAR TYPE FRAME LAYER [set N], the TYPE a number or open, solid or breakable.
    LegendEntry LegendLine(const std::vector<std::string>& e, int ll) const {
        LegendEntry le;
        if (e[1] == "open")
            le.type = 0;
        else if (e[1] == "solid")
            le.type = 1;
        else if (e[1] == "breakable")
            le.type = 2;
        else
            le.type = NeedInt(e[1], file_, ll, "type");
        le.frame = NeedInt(e[2], file_, ll, "frame");
        le.layer = NeedInt(e[3], file_, ll, "layer");
        if (e.size() == 6 && e[4] == "set")
            le.set = NeedInt(e[5], file_, ll, "set");
        else if (e.size() != 4)
            throw SourceError(file_, ll, "a legend line is CHAR TYPE FRAME LAYER [set N]");
        if (le.type < 0 || le.type > 99 || le.frame < 0 || le.frame > 98 || le.layer < 0 || le.layer > 98 ||
            le.set < 0 || le.set > 99)
            throw SourceError(file_, ll, "type, set, frame or layer is out of the two-digit range");
        return le;
    }

    // The 'layer N' line at *i and its map rows; *i is left on the last row.
    void Layer(const std::vector<std::string>& w, size_t* i) {
        const int ln = static_cast<int>(*i) + 1;
        if (w.size() != 2) throw SourceError(file_, ln, "'layer' takes a number 1..4");
        int l = NeedInt(w[1], file_, ln, "layer");
        if (l < 1 || l > level::kLayers) throw SourceError(file_, ln, "layer must be 1..4");
        if (seenLayer_[l - 1]) throw SourceError(file_, ln, "layer " + std::to_string(l) + " is given twice");
        seenLayer_[l - 1] = true;
        int row = 0;
        for (++*i; *i < lines_.size() && row < kHeight; ++*i) {
            const int rl = static_cast<int>(*i) + 1;
            std::string body = Trim(StripComment(lines_[*i]));
            if (body.empty()) continue;
            MapRow(body, l - 1, row, rl);
            ++row;
        }
        --*i;
        if (row < kHeight)
            throw SourceError(
                file_, ln,
                "layer " + std::to_string(l) + " has " + std::to_string(row) + " rows, not " + std::to_string(kHeight));
    }

    void MapRow(const std::string& body, int layer, int row, int rl) {
        if (static_cast<int>(body.size()) != kWidth)
            throw SourceError(
                file_, rl,
                "a map row must have " + std::to_string(kWidth) + " characters, not " + std::to_string(body.size()));
        for (int col = 0; col < kWidth; ++col) {
            char c = body[static_cast<size_t>(col)];
            if (c == '-') continue;
            auto it = legend_.find(c);
            if (it == legend_.end()) throw SourceError(file_, rl, std::string("'") + c + "' is not in the legend");
            const LegendEntry& e = it->second;
            out_.At(layer, col, row) = level::TileToken::Make(e.set, e.type, e.frame, e.layer);
        }
    }

    void Place(const std::vector<std::string>& w, int ln) {
        if (w.size() != 5 || (w[2] != "tile" && w[2] != "pixel"))
            throw SourceError(file_, ln, "'place' is: place KEYWORD tile COLUMN ROW | place KEYWORD pixel X Y");
        if (!KnownKeywords().count(w[1]))
            throw SourceError(file_, ln, "\"" + w[1] + "\" is not a creature the game can place");
        int a = NeedInt(w[3], file_, ln, "position");
        int b = NeedInt(w[4], file_, ln, "position");
        level::Placement p;
        if (w[2] == "tile") {
            if (a < 1 || a > kWidth || b < 0 || b >= kHeight)
                throw SourceError(file_, ln, "tile " + w[3] + " " + w[4] + " is outside columns 1..8, rows 0..49");
            p.px = TilePixelX(a);
            p.py = TilePixelY(b);
        } else {
            if (a < -100000 || a > 100000 || b < -100000 || b > 100000)
                throw SourceError(file_, ln, "pixel position is out of range");
            p.px = a;
            p.py = b;
        }
        p.type = AddType("ENTITY", w[1]);
        out_.placements.push_back(p);
    }

    const std::string& file_;
    const std::function<bool(const std::string&)>& pictureExists_;
    std::vector<std::string> lines_;
    level::SideFile out_;
    std::map<char, LegendEntry> legend_;
    std::map<std::string, int> typeIndex_;
    bool seenLayer_[level::kLayers] = {false, false, false, false};
    bool seenPictures_ = false;
};

}  // namespace

level::SideFile Compile(const std::string& text, const std::string& file, const SourceName& name,
                        const std::function<bool(const std::string&)>& pictureExists) {
    return Compiler(text, file, name, pictureExists).Run();
}

}  // namespace levelsrc
