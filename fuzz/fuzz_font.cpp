// Feeds arbitrary bytes to the font-table reader: a refused table gives a reason and a line of
// the file; an accepted one has a sane grid, a cell for every glyph and no negative width.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "engine/GFont.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    GFont::Parsed p;
    std::string why;
    if (!GFont::ParseCff(text, &p, &why)) {
        if (why.empty()) Fail("a refused font has no reason");
        CheckMessage("font.cff:" + std::to_string(p.line) + ": " + why, "font.cff", text);
        return 0;
    }
    if (p.pictureName.empty()) Fail("a font without a picture accepted");
    if (p.tileCountX <= 0 || p.tileCountY <= 0 || p.tileCountX > 4096 || p.tileCountY > 4096)
        Fail("a font grid out of range accepted");
    if (p.letters.size() != static_cast<size_t>(p.tileCountX) * static_cast<size_t>(p.tileCountY))
        Fail("glyph table size differs from the grid");
    for (const Letter& l : p.letters)
        if (l.w < 0) Fail("a negative glyph width accepted");
    return 0;
}
