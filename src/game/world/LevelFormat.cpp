#include "game/world/LevelFormat.h"

#include <cstdio>

namespace level {

namespace {

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

class Reader {
public:
    Reader(const std::string& text, ParseError* err) : s_(text), err_(err) {}

    // Next run of non-blank characters (a view into the text); false (with an error) at the end
    // of the file or when the word is longer than maxLen.
    bool Next(const char** word, size_t* len, const char* what, int maxLen = kMaxWordLength) {
        SkipBlanks();
        tokenLine_ = line_;
        if (pos_ >= s_.size()) return Fail(line_, std::string("file ends where ") + what + " was expected");
        size_t start = pos_;
        while (pos_ < s_.size() && !IsBlank(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        if (pos_ - start > static_cast<size_t>(maxLen)) {
            return Fail(tokenLine_, std::string(what) + " is longer than " + std::to_string(maxLen) + " characters");
        }
        *word = s_.data() + start;
        *len = pos_ - start;
        return true;
    }

    bool Word(std::string* out, const char* what, int maxLen = kMaxWordLength) {
        const char* w;
        size_t n;
        if (!Next(&w, &n, what, maxLen)) return false;
        out->assign(w, n);
        return true;
    }

    bool Int(int* out, const char* what) {
        const char* w;
        size_t n;
        if (!Next(&w, &n, what)) return false;
        size_t i = 0;
        bool neg = false;
        if (w[0] == '+' || w[0] == '-') {
            neg = w[0] == '-';
            i = 1;
        }
        if (i == n) return Fail(tokenLine_, std::string(what) + " is not a number: \"" + std::string(w, n) + "\"");
        long long v = 0;
        for (; i < n; ++i) {
            if (w[i] < '0' || w[i] > '9') {
                return Fail(tokenLine_, std::string(what) + " is not a number: \"" + std::string(w, n) + "\"");
            }
            v = v * 10 + (w[i] - '0');
            if (v > 2147483647LL) {
                return Fail(tokenLine_, std::string(what) + " is out of range: \"" + std::string(w, n) + "\"");
            }
        }
        *out = static_cast<int>(neg ? -v : v);
        return true;
    }

    // A count in [0, max].
    bool Count(int* out, const char* what, int max) {
        if (!Int(out, what)) return false;
        if (*out < 0) return Fail(tokenLine_, std::string(what) + " is negative (" + std::to_string(*out) + ")");
        if (*out > max) {
            return Fail(tokenLine_, std::string(what) + " " + std::to_string(*out) + " is above the limit of " +
                                        std::to_string(max));
        }
        return true;
    }

    bool Fail(int line, const std::string& reason) {
        if (err_) {
            err_->line = line;
            err_->reason = reason;
        }
        return false;
    }

    int TokenLine() const { return tokenLine_; }

private:
    void SkipBlanks() {
        while (pos_ < s_.size() && IsBlank(static_cast<unsigned char>(s_[pos_]))) {
            if (s_[pos_] == '\n') ++line_;
            ++pos_;
        }
    }

    const std::string& s_;
    ParseError* err_;
    size_t pos_ = 0;
    int line_ = 1;
    int tokenLine_ = 1;
};

// Control characters other than blanks mean this is not a text file at all.
bool CheckText(const std::string& bytes, ParseError* err) {
    int line = 1;
    for (unsigned char c : bytes) {
        if (c == '\n') ++line;
        if ((c < 0x20 && !IsBlank(c)) || c == 0x7f) {
            char buf[96];
            std::snprintf(buf, sizeof(buf), "not a text level file (byte 0x%02x)", c);
            err->line = line;
            err->reason = buf;
            return false;
        }
    }
    return true;
}

bool ParseTile(const char* tok, size_t n, TileToken* t) {
    if (n == 1 && tok[0] == 'x') {
        *t = TileToken::Keep();
        return true;
    }
    if (n != 8) return false;
    for (size_t i = 0; i < 8; ++i) {
        if (tok[i] < '0' || tok[i] > '9') return false;
    }
    t->keep = false;
    t->set = CharToInt(tok[0]) * 10 + CharToInt(tok[1]);
    t->type = CharToInt(tok[2]) * 10 + CharToInt(tok[3]);
    t->frameP1 = CharToInt(tok[4]) * 10 + CharToInt(tok[5]);
    t->layerP1 = CharToInt(tok[6]) * 10 + CharToInt(tok[7]);
    return true;
}

// The file's eight sections, in order; each returns false (with the reader's error) on the first
// thing it cannot use.

// 1. Free text, up to and including the first word that starts with '#'.
bool ReadHeader(Reader& r, SideFile* out) {
    for (;;) {
        std::string w;
        if (!r.Word(&w, "the '#' that ends the header")) return false;
        out->header.push_back(w);
        if (w[0] == '#') return true;
    }
}

// 2. Size: the grid is already built, so it must match.
bool ReadSize(Reader& r, int expectW, int expectH, SideFile* out) {
    if (!r.Int(&out->w, "the width")) return false;
    int wLine = r.TokenLine();
    if (!r.Int(&out->h, "the height")) return false;
    if (out->w != expectW || out->h != expectH) {
        return r.Fail(wLine, "size " + std::to_string(out->w) + " x " + std::to_string(out->h) + " is not " +
                                 std::to_string(expectW) + " x " + std::to_string(expectH));
    }
    return true;
}

// 3. Neighbour names.
bool ReadNeighbours(Reader& r, SideFile* out) {
    for (auto& n : out->neighbours) {
        if (!r.Word(&n, "a neighbour name")) return false;
    }
    return true;
}

// 4. Tile pictures.
bool ReadTilePictures(Reader& r, SideFile* out) {
    int gNum = 0;
    if (!r.Count(&gNum, "the tile picture count", kMaxTilePictures)) return false;
    for (int i = 0; i < gNum; ++i) {
        std::string name;
        if (!r.Word(&name, "a tile picture name")) return false;
        // Names are files inside data/tiles: no way out of that folder.
        if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos || name == "." ||
            name == "..") {
            return r.Fail(r.TokenLine(), "tile picture name \"" + name + "\" is not a plain file name");
        }
        out->tilePictures.push_back(name);
    }
    return true;
}

// 5. Four tile layers.
bool ReadLayers(Reader& r, SideFile* out) {
    out->ResetLayers();
    for (int l = 0; l < kLayers; ++l) {
        for (int row = 0; row < out->h; ++row) {
            for (int col = 0; col < out->w; ++col) {
                const char* tok;
                size_t n;
                if (!r.Next(&tok, &n, "a tile", kMaxTileTokenLength)) return false;
                if (!ParseTile(tok, n, &out->At(l, col, row))) {
                    return r.Fail(r.TokenLine(), "tile \"" + std::string(tok, n) + "\" (layer " +
                                                     std::to_string(l + 1) + ", row " + std::to_string(row) +
                                                     ", column " + std::to_string(col) +
                                                     ") is neither \"x\" nor eight digits");
                }
            }
        }
    }
    return true;
}

// 6. Records the game ignores.
bool ReadRecords(Reader& r, SideFile* out) {
    int n = 0;
    if (!r.Count(&n, "the record count", kMaxRecords)) return false;
    for (int i = 0; i < n; ++i) {
        ExtraRecord e;
        if (!r.Word(&e.word, "a record name") || !r.Int(&e.a, "a record value") || !r.Int(&e.b, "a record value")) {
            return false;
        }
        out->extra.push_back(e);
    }
    return true;
}

// 7. Entity-type table.
bool ReadEntityTypes(Reader& r, SideFile* out) {
    int n = 0;
    if (!r.Count(&n, "the entity type count", kMaxEntityTypes)) return false;
    for (int i = 0; i < n; ++i) {
        EntityType t;
        if (!r.Int(&t.id, "an entity type number") || !r.Word(&t.category, "an entity category") ||
            !r.Word(&t.name, "an entity name")) {
            return false;
        }
        out->types.push_back(t);
    }
    return true;
}

// 8. Placements.
bool ReadPlacements(Reader& r, SideFile* out) {
    int n = 0;
    if (!r.Count(&n, "the placement count", kMaxRecords)) return false;
    for (int i = 0; i < n; ++i) {
        Placement p;
        if (!r.Int(&p.type, "a placement type")) return false;
        int typeLine = r.TokenLine();
        if (!r.Int(&p.px, "a placement x") || !r.Int(&p.py, "a placement y")) return false;
        if (p.type < 0 || p.type >= static_cast<int>(out->types.size())) {
            return r.Fail(typeLine, "placement type " + std::to_string(p.type) + " is outside the table of " +
                                        std::to_string(out->types.size()) + " entity types");
        }
        // Editor pixels beyond any sane level would overflow the factory's arithmetic.
        if (p.px < -1000000 || p.px > 1000000 || p.py < -1000000 || p.py > 1000000) {
            return r.Fail(typeLine, "placement position " + std::to_string(p.px) + ", " + std::to_string(p.py) +
                                        " is out of range");
        }
        out->placements.push_back(p);
    }
    return true;
}

}  // namespace

int CharToInt(char c) { return static_cast<int>(c) - 48; }

void SideFile::ResetLayers() {
    for (auto& l : layers) l.assign(static_cast<size_t>(w) * static_cast<size_t>(h), TileToken::Keep());
}

bool Parse(const std::string& bytes, int expectW, int expectH, SideFile* out, ParseError* err) {
    ParseError scratch;
    if (!err) err = &scratch;
    if (bytes.size() > kMaxFileBytes) {
        err->line = 0;
        err->reason = "file is larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return false;
    }
    if (!CheckText(bytes, err)) return false;
    Reader r(bytes, err);
    *out = SideFile();
    return ReadHeader(r, out) && ReadSize(r, expectW, expectH, out) && ReadNeighbours(r, out) &&
           ReadTilePictures(r, out) && ReadLayers(r, out) && ReadRecords(r, out) && ReadEntityTypes(r, out) &&
           ReadPlacements(r, out);
}

std::string Write(const SideFile& f) {
    std::string o;
    for (size_t i = 0; i < f.header.size(); ++i) {
        o += f.header[i];
        o += (i + 1 == f.header.size()) ? '\n' : ' ';
    }
    o += std::to_string(f.w) + " " + std::to_string(f.h) + "\n";
    for (int i = 0; i < 4; ++i) o += f.neighbours[i] + (i == 3 ? "\n" : " ");
    o += std::to_string(f.tilePictures.size()) + "\n";
    for (const auto& t : f.tilePictures) o += t + "\n";
    for (int l = 0; l < kLayers; ++l) {
        for (int row = 0; row < f.h; ++row) {
            for (int col = 0; col < f.w; ++col) {
                const TileToken& t = f.At(l, col, row);
                if (t.keep) {
                    o += "x";
                } else {
                    char buf[16];
                    std::snprintf(buf, sizeof(buf), "%02d%02d%02d%02d", t.set % 100, t.type % 100, t.frameP1 % 100,
                                  t.layerP1 % 100);
                    o += buf;
                }
                o += (col + 1 == f.w) ? '\n' : ' ';
            }
        }
        o += "\n";
    }
    o += std::to_string(f.extra.size()) + "\n";
    for (const auto& e : f.extra) o += e.word + " " + std::to_string(e.a) + " " + std::to_string(e.b) + "\n";
    o += std::to_string(f.types.size()) + "\n";
    for (const auto& t : f.types) o += std::to_string(t.id) + " " + t.category + " " + t.name + "\n";
    o += std::to_string(f.placements.size()) + "\n";
    for (const auto& p : f.placements) {
        o += std::to_string(p.type) + " " + std::to_string(p.px) + " " + std::to_string(p.py) + "\n";
    }
    return o;
}

bool operator==(const SideFile& a, const SideFile& b) {
    if (a.header != b.header || a.w != b.w || a.h != b.h || a.tilePictures != b.tilePictures || a.extra != b.extra ||
        a.types != b.types || a.placements != b.placements) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (a.neighbours[i] != b.neighbours[i] || a.layers[i] != b.layers[i]) return false;
    }
    return true;
}

}  // namespace level
