// The picture manifest: every picture the game loads, its size, and how the game cuts it
// into cells. See assets/manifest.txt for the format.
#pragma once

#include <string>
#include <vector>

namespace toolcommon {

enum class UseStatus { Drawn, Reserved, Unused, Blank, Borrowed };

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool Overlaps(const Rect& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
};

// One animation record (start..end inclusive on one layer), or a single rectangle.
struct ManifestAnim {
    std::string name;
    int start = 0, end = 0, layer = 0;
    bool isRect = false;  // 'rect' uses name a rectangle directly
    Rect rect;
    UseStatus status = UseStatus::Drawn;
    int line = 0;
};

// One class (or other user) cutting the picture with one frame size.
struct ManifestUse {
    std::string name;
    int framew = 0, frameh = 0;  // 0 = the whole picture
    UseStatus status = UseStatus::Drawn;
    std::string group;  // uses of one group may share cells
    std::vector<ManifestAnim> anims;
    int line = 0;
};

struct ManifestPicture {
    std::string path;  // as the game spells it, e.g. "data/Menu/sky1.png"
    int width = 0, height = 0;
    std::vector<ManifestUse> uses;
    int line = 0;
};

struct Manifest {
    std::string file;
    std::vector<ManifestPicture> pictures;
    const ManifestPicture* Find(const std::string& path) const;  // ASCII case-insensitive
};

// Every picture cell an animation shows, in picture pixels.
std::vector<Rect> AnimCells(const ManifestPicture& pic, const ManifestUse& use, const ManifestAnim& anim);

// Throws SourceError ("FILE:LINE: reason") on malformed text.
Manifest ParseManifestText(const std::string& text, const std::string& file);
Manifest ReadManifest(const std::string& file);

const char* StatusName(UseStatus s);

}  // namespace toolcommon
