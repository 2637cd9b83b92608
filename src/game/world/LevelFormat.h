// The ".zlv" level file: one side of one building segment as whitespace-separated tokens, in
// eight sections (free text up to a word starting with '#', the size, four neighbour names, the
// tile pictures, four tile layers, an unused record list, the entity-type table, the placements).
//
// This file has no game dependencies: the loader, the level compiler, the level checker and the
// fuzzer all read (and the compiler writes) the format through it, so what the compiler writes is
// exactly what the game reads.
#pragma once

#include <string>
#include <vector>

namespace level {

constexpr int kLayers = 4;
constexpr int kMaxTilePictures = 40;
constexpr int kMaxEntityTypes = 128;
constexpr int kMaxWordLength = 255;      // words live in 256-character buffers
constexpr int kMaxTileTokenLength = 15;  // tile tokens live in 16-character buffers
constexpr int kMaxRecords = 100000;      // section 6 and placements: far beyond any real level
constexpr size_t kMaxFileBytes = 4u << 20;

// One tile token of a layer: "x" keeps what an earlier layer set, otherwise the eight digits
// GGTTFFLL (tile-picture set, block type, frame + 1, layer + 1).
struct TileToken {
    bool keep = true;
    int set = 0;
    int type = 0;
    int frameP1 = 0;
    int layerP1 = 0;

    static TileToken Keep() { return TileToken(); }
    static TileToken Make(int set, int type, int frame, int layer) {
        TileToken t;
        t.keep = false;
        t.set = set;
        t.type = type;
        t.frameP1 = frame + 1;
        t.layerP1 = layer + 1;
        return t;
    }
    int Frame() const { return frameP1 - 1; }
    int Layer() const { return layerP1 - 1; }
    bool operator==(const TileToken& o) const {
        return keep == o.keep &&
               (keep || (set == o.set && type == o.type && frameP1 == o.frameP1 && layerP1 == o.layerP1));
    }
};

struct ExtraRecord {  // section 6: a word and two integers the game ignores
    std::string word;
    int a = 0, b = 0;
    bool operator==(const ExtraRecord& o) const { return word == o.word && a == o.a && b == o.b; }
};

struct EntityType {
    int id = 0;  // read and ignored by the game
    std::string category;
    std::string name;
    bool operator==(const EntityType& o) const { return id == o.id && category == o.category && name == o.name; }
};

struct Placement {
    int type = 0;  // index into the entity-type table
    int px = 0, py = 0;
    bool operator==(const Placement& o) const { return type == o.type && px == o.px && py == o.py; }
};

struct SideFile {
    std::vector<std::string> header;  // free text, the closing '#' word last
    int w = 0, h = 0;
    std::string neighbours[4];
    std::vector<std::string> tilePictures;
    std::vector<TileToken> layers[kLayers];  // h rows of w tokens each, top row first
    std::vector<ExtraRecord> extra;
    std::vector<EntityType> types;
    std::vector<Placement> placements;

    const TileToken& At(int layer, int col, int row) const { return layers[layer][static_cast<size_t>(row) * w + col]; }
    TileToken& At(int layer, int col, int row) { return layers[layer][static_cast<size_t>(row) * w + col]; }
    // Sizes every layer to w x h tokens of "x".
    void ResetLayers();
};

struct ParseError {
    int line = 0;  // 1-based line of the offending token (the last line for a truncated file)
    std::string reason;
};

// The character value minus '0'.
int CharToInt(char c);

// Reads a whole level file. The size must equal expectW x expectH (the grid the game built).
// Every count is checked against what the file can hold; nothing is trusted. On failure returns
// false with the line and reason; `out` is then unspecified.
bool Parse(const std::string& bytes, int expectW, int expectH, SideFile* out, ParseError* err);

// Writes the file so that Parse reads back an equal SideFile. Words must be non-empty, free of
// blanks and at most kMaxWordLength long (the compiler checks its input before it gets here).
std::string Write(const SideFile& f);

bool operator==(const SideFile& a, const SideFile& b);

}  // namespace level
