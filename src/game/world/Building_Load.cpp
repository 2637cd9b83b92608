// Reading one side of a segment from its level file.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/GImage.h"
#include "game/entities/Entity.h"
#include "game/world/Building.h"
#include "game/world/LevelFormat.h"
#include "platform/Paths.h"
#include "platform/win32.h"

int CharToInt(char c) { return level::CharToInt(c); }

namespace {
void LoadThroughCache(const char* gamePath) { GImage::CreateNew(gamePath); }
void ShowMessage(const char* text) { MessageBoxA(nullptr, text, "", MB_OK); }
}  // namespace

void (*Building::loadTilePicture)(const char*) = &LoadThroughCache;
void (*Building::reportLevelProblem)(const char*) = &ShowMessage;

void Building::LoadSide(int side, char* lName) { LoadSide(side, static_cast<const char*>(lName)); }

void Building::LoadSide(int side, const char* lName) {
    char path[300];
    std::snprintf(path, sizeof(path), "data/ZLevel/%s", lName);
    if (side < 1 || side > 4) return;

    std::ifstream in(platform::ResolvePath(path), std::ios::binary);
    if (!in) {
        char msg[400];
        std::snprintf(msg, sizeof(msg), "Could not open level \"%s\"", path);
        reportLevelProblem(msg);
        return;
    }
    // Read at most one byte past the limit, so a huge file is refused without loading it all.
    std::string bytes;
    char buf[65536];
    while (in && bytes.size() <= level::kMaxFileBytes) {
        in.read(buf, sizeof(buf));
        bytes.append(buf, static_cast<size_t>(in.gcount()));
    }
    LoadSideText(side, path, bytes);
}

void Building::LoadSideText(int side, const char* path, const std::string& bytes) {
    if (side < 1 || side > 4) return;
    level::SideFile f;
    level::ParseError err;
    if (!level::Parse(bytes, w, h, &f, &err)) {
        // Nothing of a bad file is applied: the side stays as the constructor made it.
        char msg[600];
        if (err.line > 0)
            std::snprintf(msg, sizeof(msg), "Bad level \"%s\" line %d: %s", path, err.line, err.reason.c_str());
        else
            std::snprintf(msg, sizeof(msg), "Bad level \"%s\": %s", path, err.reason.c_str());
        reportLevelProblem(msg);
        return;
    }
    ApplySide(side, f);
}

void Building::ApplySide(int side, const level::SideFile& f) {
    if (side < 1 || side > 4 || f.w != w || f.h != h) return;

    for (const std::string& name : f.tilePictures) {
        char pic[300];
        std::snprintf(pic, sizeof(pic), "data/tiles/%s", name.c_str());
        loadTilePicture(pic);
    }

    for (int l = 0; l < level::kLayers; ++l) {
        for (int row = 0; row < h; ++row) {
            for (int col = 0; col < w; ++col) {
                const level::TileToken& t = f.At(l, col, row);
                if (t.keep) continue;
                BuildingBlock* blk = block[side - 1][col][row];
                blk->frame = t.Frame();
                blk->layer = t.Layer();
                blk->type = t.type;
                if (Entity* e = SpecialCreate(blk, side, col, row - y, w, h)) addList.push_back(e);
            }
        }
    }

    for (const level::Placement& p : f.placements) {
        const level::EntityType& t = f.types[static_cast<size_t>(p.type)];
        if (t.category != "ENTITY") continue;
        int cy = p.py - 64 * y;
        if (y != 0) cy -= 64;
        if (Entity* e = factory ? factory(t.name.c_str(), w, h, side, p.px, cy) : nullptr) addList.push_back(e);
    }
}
