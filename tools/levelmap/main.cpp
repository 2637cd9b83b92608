// levelmap DATA_DIR OUT_DIR
//     Writes OUT_DIR/Level<N>.png for each of the tower's 14 segments: its four walls side by side
//     (side 1 on the left), drawn from DATA_DIR/building/tiles.png and DATA_DIR/ZLevel/*.zlv, with
//     solid tiles darkened, breakable blocks crossed and placements marked in their keyword's
//     colour. Exits 2 with FILE:LINE: reason when a level file cannot be read.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "levelmap.h"
#include "pathutil.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: levelmap DATA_DIR OUT_DIR\n");
        return 2;
    }
    const std::string data = argv[1], out = argv[2];
    try {
        auto tilesPath = toolcommon::ResolveNoCase(data, "building/tiles.png");
        if (!tilesPath) {
            std::fprintf(stderr, "%s/building/tiles.png: missing\n", data.c_str());
            return 2;
        }
        toolcommon::Image tiles = toolcommon::ReadPng(*tilesPath);
        for (int seg = 0; seg < 14; ++seg) {
            level::SideFile sides[4];
            for (int s = 0; s < 4; ++s) {
                const std::string name = "Level" + std::to_string(seg + 1) + "_Side" + std::to_string(s + 1) + ".zlv";
                auto path = toolcommon::ResolveNoCase(data, "ZLevel/" + name);
                if (!path) {
                    std::fprintf(stderr, "%s/ZLevel/%s:0: missing\n", data.c_str(), name.c_str());
                    return 2;
                }
                std::ifstream in(*path, std::ios::binary);
                std::stringstream ss;
                ss << in.rdbuf();
                level::ParseError err;
                if (!level::Parse(ss.str(), 8, 50, &sides[s], &err)) {
                    std::fprintf(stderr, "%s:%d: %s\n", path->c_str(), err.line, err.reason.c_str());
                    return 2;
                }
            }
            toolcommon::WritePngAtomic(out + "/Level" + std::to_string(seg + 1) + ".png",
                                       levelmap::DrawSegment(sides, tiles, seg));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    return 0;
}
