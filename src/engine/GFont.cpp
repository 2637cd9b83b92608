#include "engine/GFont.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "engine/GImage.h"
#include "engine/GameEngine.h"
#include "platform/Paths.h"

namespace {
// Guards against absurd counts in an edited file (a font is a small grid).
const int kMaxCells = 4096;
const size_t kMaxFileBytes = 1 << 20;

// The whitespace-separated words of a font file, counting lines for messages.
class Words {
public:
    explicit Words(const std::string& text) : text_(text) {}
    bool Next(std::string* word) {
        for (; pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])); ++pos_)
            if (text_[pos_] == '\n') ++line_;
        size_t start = pos_;
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        *word = text_.substr(start, pos_ - start);
        return !word->empty();
    }
    bool NextInt(int* out) {
        std::string tok;
        if (!Next(&tok)) return false;
        char* end = nullptr;
        long v = std::strtol(tok.c_str(), &end, 10);
        if (*end != 0 || v < -1000000 || v > 1000000) return false;
        *out = static_cast<int>(v);
        return true;
    }
    int Line() const { return line_; }

private:
    const std::string& text_;
    size_t pos_ = 0;
    int line_ = 1;
};

void Report(const char* filename, int line, const std::string& why) {
    std::string msg = std::string(filename) + ":" + std::to_string(line) + ": " + why + "; the font is not used";
    MessageBoxA(nullptr, msg.c_str(), "", MB_OK);
}
}  // namespace

bool GFont::ParseCff(const std::string& text, Parsed* out, std::string* reason) {
    Words in(text);
    auto fail = [&](const std::string& why) {
        *reason = why;
        out->line = in.Line();
        return false;
    };
    if (!in.Next(&out->pictureName)) return fail("no picture name");
    if (!in.NextInt(&out->tileCountX) || !in.NextInt(&out->tileCountY)) return fail("missing or bad grid size");
    if (out->tileCountX <= 0 || out->tileCountY <= 0 ||
        static_cast<long>(out->tileCountX) * out->tileCountY > kMaxCells) {
        return fail("grid size " + std::to_string(out->tileCountX) + " x " + std::to_string(out->tileCountY) +
                    " is out of range");
    }
    if (!in.NextInt(&out->leading) || !in.NextInt(&out->mainH)) return fail("missing leading or height");
    int cells = out->tileCountX * out->tileCountY;
    out->letters.clear();
    out->letters.reserve(static_cast<size_t>(cells));
    for (int i = 0; i < cells; ++i) {
        Letter l{};
        if (!in.NextInt(&l.w) || !in.NextInt(&l.h))
            return fail("glyph table ends after " + std::to_string(i) + " of " + std::to_string(cells) + " cells");
        if (l.w < 0) return fail("glyph " + std::to_string(i) + " has a negative width");
        out->letters.push_back(l);
    }
    return true;
}

GFont::GFont(const char* filename, float sscale)
    : image(nullptr), tileW(0), tileH(0), tileCountX(0), tileCountY(0), leading(0), mainH(0), scale(sscale) {
    std::string path = platform::ResolvePath(filename);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        char msg[300];
        std::snprintf(msg, sizeof(msg), "Could not open font \"%s\"", filename);
        MessageBoxA(nullptr, msg, "", MB_OK);
        return;
    }
    std::string text;
    text.resize(kMaxFileBytes + 1);
    in.read(&text[0], static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
        Report(filename, 1, "file is too large");
        return;
    }
    Parsed p;
    std::string why;
    if (!ParseCff(text, &p, &why)) {
        Report(filename, p.line, why);
        return;
    }
    std::string name = filename;
    size_t slash = name.rfind('/');
    std::string prefix = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    std::string picture = prefix + p.pictureName;
    if (picture.size() > 255) {
        Report(filename, 1, "picture path is too long");
        return;
    }
    image = GImage::CreateNew(picture.c_str());
    tileCountX = p.tileCountX;
    tileCountY = p.tileCountY;
    leading = p.leading;
    mainH = p.mainH;
    letterData = p.letters;
    if (!image->loaded) return;
    tileW = image->oW / tileCountX;
    tileH = image->oH / tileCountY;
    usable_ = tileW > 0 && tileH > 0;
}

bool GFont::HasGlyph(char c) const {
    int idx = static_cast<int>(static_cast<signed char>(c)) - 32;
    return idx >= 0 && idx < static_cast<int>(letterData.size());
}

int GFont::GetWSpace(char c) const {
    if (c == ' ') return tileW / 4;
    int idx = static_cast<int>(static_cast<signed char>(c)) - 32;
    if (idx < 0 || idx >= static_cast<int>(letterData.size())) return 0;
    return letterData[static_cast<size_t>(idx)].w;
}
