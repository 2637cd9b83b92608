// The generated pictures in the data folder against the manifest: every picture the game
// loads exists at its listed size, every cell the game cuts lies inside its picture, uses
// of one picture do not trample each other, and finished animations show something.
#include "image.h"
#include "manifest.h"
#include "pathutil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>

using namespace toolcommon;

namespace {

const std::string kManifest = std::string(BRACKMOOR_SOURCE_DIR) + "/assets/manifest.txt";
const std::string kBuildDir = BRACKMOOR_BINARY_DIR;  // data/ lives here, beside the executables

// The pictures the game's code asks the image cache for, spelled as the code spells them.
const char* const kLoadedByTheGame[] = {
    "data/Menu/building1.png",
    "data/Menu/sky1.png",
    "data/Menu/character_1.png",
    "data/Menu/bkmLogo1.png",
    "data/Menu/tallow.png",
    "data/Menu/tovr.png",
    "data/Menu/guiBox.png",
    "data/Menu/guiText.png",
    "data/Menu/cursor.png",
    "data/Menu/pause.png",
    "data/Menu/lvl1.png",
    "data/Menu/lvl2.png",
    "data/Menu/lvl3.png",
    "data/building/tiles.png",
    "data/building/bkgleft1.png",
    "data/building/bkgright1.png",
    "data/building/bkgleft2.png",
    "data/building/bkgright2.png",
    "data/building/bkgleft4.png",
    "data/building/bkgright4.png",
    "data/building/bkgleft5.png",
    "data/building/bkgright5.png",
    "data/building/credit_clouds1.png",
    "data/building/credit_clouds2.png",
    "data/building/credit_city.png",
    "data/bugtorcher.png",
    "data/bugzooka.png",
    "data/dither.png",
    "data/hudBKG.png",
    "data/enemy/enemy_sheet1.png",
    "data/enemy/boss1.png",
    "data/building/block_sheet1.png",
    "data/enemy/eye_boss1.png",
    "data/electricity.png",
    "data/other1.png",
    "data/enemy/crabwalker.png",
    "data/enemy/eyeCrawler.png",
    "data/enemy/phase2bot.png",
    "data/font/font.png",
    "data/font/bkmfont.png",
    "data/player/player.png",
    "data/player/playerFire.png",
    "data/player/playerBaz.png",
};

const Manifest& TheManifest() {
    static std::unique_ptr<Manifest> m;
    if (!m) m = std::make_unique<Manifest>(ReadManifest(kManifest));
    return *m;
}

// Loads each generated picture once.
const Image* Picture(const std::string& path) {
    static std::map<std::string, std::unique_ptr<Image>> cache;
    auto it = cache.find(path);
    if (it != cache.end()) return it->second.get();
    std::unique_ptr<Image> img;
    if (auto real = ResolveNoCase(kBuildDir, path)) {
        try {
            img = std::make_unique<Image>(ReadPng(*real));
        } catch (const FileError&) {
        }
    }
    return (cache[path] = std::move(img)).get();
}

bool InPicture(const ManifestPicture& p, const Rect& r) {
    return r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= p.width && r.y + r.h <= p.height;
}

int VisiblePixels(const Image& img, const Rect& r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) n += IsVisible(img.at(x, y));
    return n;
}

std::string Where(const ManifestPicture& p, const ManifestUse& u, const ManifestAnim& a) {
    return kManifest + ":" + std::to_string(a.line) + ": " + p.path + " " + u.name + "." + a.name;
}

}  // namespace

TEST(PictureManifest, ListsEveryPictureTheGameLoads) {
    const Manifest& m = TheManifest();
    for (const char* path : kLoadedByTheGame) EXPECT_NE(m.Find(path), nullptr) << path << " is not in " << kManifest;
    // Tile pictures named by level files.
    int tiles = 0;
    for (const ManifestPicture& p : m.pictures) tiles += LowerAscii(p.path).rfind("data/tiles/", 0) == 0;
    EXPECT_GE(tiles, 1) << "no data/tiles/ pictures listed";
}

TEST(PictureManifest, EveryGeneratedPictureIsListedAndNoTwoDifferOnlyInCase) {
    // A picture nobody lists is either a stray or a misspelt output path; two files whose
    // names differ only in letter case would make the game's case-blind lookup ambiguous.
    namespace fs = std::filesystem;
    std::map<std::string, std::string> seen;  // lower-cased path -> real path
    const fs::path root = fs::path(kBuildDir) / "data";
    ASSERT_TRUE(fs::is_directory(root)) << root;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file() || e.path().extension() != ".png") continue;
        std::string rel = "data/" + fs::relative(e.path(), root).generic_string();
        EXPECT_NE(TheManifest().Find(rel), nullptr) << rel << " is generated but not listed in " << kManifest;
        auto [it, fresh] = seen.emplace(LowerAscii(rel), rel);
        EXPECT_TRUE(fresh) << rel << " and " << it->second << " differ only in letter case";
    }
}

TEST(PictureManifest, EveryPictureExistsAtItsListedSize) {
    for (const ManifestPicture& p : TheManifest().pictures) {
        const Image* img = Picture(p.path);
        ASSERT_NE(img, nullptr) << kManifest << ":" << p.line << ": " << p.path << " missing from " << kBuildDir
                                << "/data (or not a PNG)";
        EXPECT_EQ(img->width, p.width) << p.path;
        EXPECT_EQ(img->height, p.height) << p.path;
    }
}

TEST(PictureManifest, EveryCellLiesInsideItsPicture) {
    for (const ManifestPicture& p : TheManifest().pictures)
        for (const ManifestUse& u : p.uses)
            for (const ManifestAnim& a : u.anims)
                for (const Rect& r : AnimCells(p, u, a)) {
                    EXPECT_TRUE(InPicture(p, r)) << Where(p, u, a) << ": cell " << r.x << "," << r.y << " " << r.w
                                                 << "x" << r.h << " outside " << p.width << "x" << p.height;
                }
}

TEST(PictureManifest, DifferentUsesOfAPictureDoNotShareCells) {
    for (const ManifestPicture& p : TheManifest().pictures) {
        for (size_t i = 0; i < p.uses.size(); ++i) {
            for (size_t j = i + 1; j < p.uses.size(); ++j) {
                const ManifestUse& u = p.uses[i];
                const ManifestUse& v = p.uses[j];
                if (!u.group.empty() && u.group == v.group) continue;
                for (const ManifestAnim& a : u.anims) {
                    if (a.status == UseStatus::Unused || a.status == UseStatus::Borrowed) continue;
                    for (const ManifestAnim& b : v.anims) {
                        if (b.status == UseStatus::Unused || b.status == UseStatus::Borrowed) continue;
                        for (const Rect& ra : AnimCells(p, u, a))
                            for (const Rect& rb : AnimCells(p, v, b))
                                EXPECT_FALSE(ra.Overlaps(rb)) << Where(p, u, a) << " overlaps " << v.name << "."
                                                              << b.name << " at " << rb.x << "," << rb.y;
                    }
                }
            }
        }
    }
}

TEST(PictureManifest, EveryFrameOfFinishedArtShowsSomething) {
    for (const ManifestPicture& p : TheManifest().pictures) {
        const Image* img = Picture(p.path);
        if (!img || img->width != p.width || img->height != p.height) continue;  // reported above
        for (const ManifestUse& u : p.uses)
            for (const ManifestAnim& a : u.anims) {
                if (a.status != UseStatus::Drawn) continue;
                int f = a.start;
                for (const Rect& r : AnimCells(p, u, a)) {
                    if (InPicture(p, r)) {
                        EXPECT_GT(VisiblePixels(*img, r), 0) << Where(p, u, a) << ": frame " << f << " is empty";
                    }
                    ++f;
                }
            }
    }
}

TEST(PictureManifest, ArtKeepsToTheGreenPalette) {
    // Five shades of green, the magenta key and transparency. The font pictures are white so
    // that the text colour can tint them, and are left out.
    const Rgba palette[] = {
        {12, 31, 12, 255}, {58, 84, 24, 255}, {116, 140, 37, 255}, {143, 187, 33, 255}, {207, 229, 120, 255}};
    for (const ManifestPicture& p : TheManifest().pictures) {
        if (LowerAscii(p.path).rfind("data/font/", 0) == 0) continue;
        const Image* img = Picture(p.path);
        if (!img) continue;  // reported elsewhere
        int stray = 0;
        Rgba first{};
        for (const Rgba& c : img->pixels) {
            if (!IsVisible(c)) continue;
            bool ok = false;
            for (const Rgba& q : palette) ok |= c.r == q.r && c.g == q.g && c.b == q.b;
            if (!ok && stray++ == 0) first = c;
        }
        EXPECT_EQ(stray, 0) << p.path << " has " << stray << " pixels off the palette, e.g. (" << int(first.r) << ", "
                            << int(first.g) << ", " << int(first.b) << ")";
    }
}

TEST(PictureManifest, TileSheetTellsClimbableFromSolid) {
    // The default climbable wall (frame 0 of layer 0) and the plain solid block (frame 0 of
    // layer 1) must not look alike: their mean brightness differs clearly.
    const ManifestPicture* p = TheManifest().Find("data/building/tiles.png");
    ASSERT_NE(p, nullptr);
    const Image* img = Picture(p->path);
    ASSERT_NE(img, nullptr);
    auto brightness = [&](int frame, int layer) {
        double sum = 0;
        for (int y = layer * 32; y < layer * 32 + 32; ++y)
            for (int x = frame * 32; x < frame * 32 + 32; ++x) {
                const Rgba& c = img->at(x, y);
                sum += 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
            }
        return sum / (32 * 32);
    };
    EXPECT_GT(std::abs(brightness(0, 0) - brightness(0, 1)), 20.0);
    // Every tile is opaque: the wall must hide the background behind the tower.
    for (int y = 0; y < img->height; ++y)
        for (int x = 0; x < img->width; ++x) ASSERT_TRUE(IsVisible(img->at(x, y))) << "tile pixel " << x << "," << y;
}

namespace {

// The cells one class cuts from its picture, looked up in the manifest.
struct Cells {
    const Image* img = nullptr;
    int w = 0, h = 0;
    Rect At(int frame, int layer) const { return Rect{frame * w, layer * h, w, h}; }
    bool Opaque(int frame, int layer, int x, int y) const { return IsVisible(img->at(frame * w + x, layer * h + y)); }
    // Pixels that differ between two cells (visibility or colour).
    int Differing(int f1, int l1, int f2, int l2) const {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Rgba& a = img->at(f1 * w + x, l1 * h + y);
                const Rgba& b = img->at(f2 * w + x, l2 * h + y);
                if (IsVisible(a) != IsVisible(b) || (IsVisible(a) && a != b)) ++n;
            }
        return n;
    }
};

Cells CellsOf(const std::string& picture, const std::string& use) {
    Cells c;
    const ManifestPicture* p = TheManifest().Find(picture);
    if (!p) return c;
    for (const ManifestUse& u : p->uses)
        if (u.name == use) c = Cells{Picture(p->path), u.framew, u.frameh};
    return c;
}

// The first and last opaque pixel along one edge line of a cell; {-1, -1} when it is empty.
std::pair<int, int> Span(const Cells& c, int frame, bool vertical, bool far) {
    std::pair<int, int> s{-1, -1};
    const int n = vertical ? c.w : c.h, edge = far ? (vertical ? c.h : c.w) - 1 : 0;
    for (int i = 0; i < n; ++i)
        if (vertical ? c.Opaque(frame, 0, i, edge) : c.Opaque(frame, 0, edge, i)) {
            if (s.first < 0) s.first = i;
            s.second = i;
        }
    return s;
}

}  // namespace

TEST(PictureManifest, TentacleSegmentsJoinWithoutASeam) {
    // A tentacle is a chain root, middles..., then a tip or a cut end, one cell a tile, laid
    // sideways or up-down. Where one cell's far edge meets the next one's near edge the outline
    // must carry on (a pixel of slope allowed), and nothing may stick out past a loose end.
    const Cells c = CellsOf("data/enemy/boss1.png", "SquidArm");
    ASSERT_NE(c.img, nullptr);
    struct Way {
        bool vertical;
        int root, middle, tip, cut, alone;
    };
    for (const Way& w : {Way{false, 9, 1, 5, 8, 10}, Way{true, 4, 2, 6, 3, 7}}) {
        SCOPED_TRACE(w.vertical ? "up-down" : "sideways");
        for (int from : {w.root, w.middle})
            for (int to : {w.middle, w.tip, w.cut}) {
                const auto out = Span(c, from, w.vertical, true), in = Span(c, to, w.vertical, false);
                ASSERT_GE(out.first, 0) << "cell " << from << " does not reach its far edge";
                ASSERT_GE(in.first, 0) << "cell " << to << " does not reach its near edge";
                EXPECT_LE(std::abs(out.first - in.first), 1) << "cells " << from << " -> " << to;
                EXPECT_LE(std::abs(out.second - in.second), 1) << "cells " << from << " -> " << to;
            }
        for (int end : {w.tip, w.cut, w.alone})
            EXPECT_EQ(Span(c, end, w.vertical, true).first, -1) << "cell " << end << " runs past its end";
    }
    // The first frame, shown before a segment knows its place, is an up-down middle.
    EXPECT_EQ(c.Differing(0, 0, 2, 0), 0);
}

TEST(PictureManifest, WalkersChangePoseAndTheCarriersCracksDifferOnlySlightly) {
    auto poses = [](const Cells& c, int frames) {
        int distinct = 0;
        for (int f = 0; f < frames; ++f) {
            bool seen = false;
            for (int g = 0; g < f && !seen; ++g) seen = c.Differing(f, 0, g, 0) == 0;
            distinct += !seen;
        }
        return distinct;
    };
    const Cells crawler = CellsOf("data/enemy/eyeCrawler.png", "EyeCrawler");
    const Cells robot = CellsOf("data/enemy/phase2bot.png", "LaserClimber");
    ASSERT_NE(crawler.img, nullptr);
    ASSERT_NE(robot.img, nullptr);
    EXPECT_GE(poses(crawler, 4), 3) << "the crawler's walk (aClimb)";
    EXPECT_GE(poses(robot, 7), 4) << "the robot's climb (aIdle)";
    // The cracked shells: frame 0 of both rows is the whole shell; further on the carrier's
    // cracks differ from an empty shell's, yet in a small part of the picture only.
    EXPECT_EQ(crawler.Differing(0, 1, 0, 2), 0);
    for (int f = 1; f <= 3; ++f) {
        const int diff = crawler.Differing(f, 1, f, 2), shell = VisiblePixels(*crawler.img, crawler.At(f, 2));
        EXPECT_GT(diff, 0) << "frame " << f;
        EXPECT_LT(diff, shell / 8) << "frame " << f << ": the carrier stands out too plainly";
    }
}
