// fontcompile SOURCE.font OUTPUT.cff
// Compiles a glyph-map font source into the ".cff" table and its glyph picture (written beside
// the table under the name the source gives).
#include "fontsource.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fontcompile SOURCE.font OUTPUT.cff\n");
        return 2;
    }
    try {
        fontcompile::CompileFont(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
