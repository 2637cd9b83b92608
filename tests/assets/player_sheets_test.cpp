// The climber's three weapon sheets checked against what the game does with them: the
// weapon tip sits where shots, flames and rockets come out, every aim and every climbing
// step looks different, the gun flashes at its muzzle, the body stays on its tile, the
// death tumbles, and the flame cells burn around their centre.
#include "image.h"
#include "pathutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace toolcommon;

namespace {

const char* const kSheetPaths[3] = {"player/player.png", "player/playerFire.png", "player/playerBaz.png"};
const char* const kWeaponNames[3] = {"gun", "flame thrower", "bazooka"};
constexpr int kCell = 64;

// The standing cell of each aim and the point each weapon fires from, in cell pixels, as the
// player's code uses them.
struct AimPose {
    const char* name;
    int dirX, dirY;
    int frame, layer;
    int muzzle[3][2];  // gun, flame thrower, bazooka
};
const AimPose kAims[8] = {
    {"right", 1, 0, 0, 1, {{48, 30}, {61, 29}, {57, 24}}},
    {"down-right", 1, 1, 3, 4, {{47, 45}, {60, 55}, {50, 48}}},
    {"up-right", 1, -1, 3, 1, {{44, 17}, {60, 7}, {50, 7}}},
    {"down", 0, 1, 0, 4, {{34, 47}, {35, 62}, {30, 57}}},
    {"up", 0, -1, 0, 2, {{34, 13}, {36, 0}, {31, 0}}},
    {"left", -1, 0, 0, 3, {{22, 30}, {5, 29}, {9, 25}}},
    {"down-left", -1, 1, 3, 3, {{20, 37}, {9, 47}, {6, 43}}},
    {"up-left", -1, -1, 3, 2, {{26, 19}, {15, 5}, {14, 7}}},
};

const Rgba kPalette[5] = {
    {12, 31, 12, 255}, {58, 84, 24, 255}, {116, 140, 37, 255}, {143, 187, 33, 255}, {207, 229, 120, 255}};

// Loads a generated sheet once; null when it is missing or unreadable.
const Image* Sheet(int weapon) {
    static std::map<int, std::unique_ptr<Image>> cache;
    auto it = cache.find(weapon);
    if (it != cache.end()) return it->second.get();
    std::unique_ptr<Image> img;
    if (auto real = ResolveNoCase(BRACKMOOR_DATA_DIR, kSheetPaths[weapon])) {
        try {
            img = std::make_unique<Image>(ReadPng(*real));
        } catch (const FileError&) {
        }
    }
    return (cache[weapon] = std::move(img)).get();
}

// A cell of a sheet as a set of visible pixels, addressed in cell coordinates.
struct Cell {
    const Image* img;
    int x0, y0, w, h;
    bool On(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && IsVisible(img->at(x0 + x, y0 + y)); }
    Rgba At(int x, int y) const { return img->at(x0 + x, y0 + y); }
};

Cell PlayerCell(const Image* img, int frame, int layer) { return {img, frame * kCell, layer * kCell, kCell, kCell}; }
Cell FlameCell(const Image* img, int frame) { return {img, frame * 16, 28 * 16, 16, 16}; }

int Differences(const Cell& a, const Cell& b) {
    int n = 0;
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x) n += a.On(x, y) != b.On(x, y) || (a.On(x, y) && a.At(x, y) != b.At(x, y));
    return n;
}

struct Box {
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
    double sumX = 0, sumY = 0;
    int count = 0;
    double CentreX() const { return sumX / count; }
    double CentreY() const { return sumY / count; }
};

Box Extent(const Cell& c) {
    Box b;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            if (c.On(x, y)) {
                b.minX = std::min(b.minX, x), b.maxX = std::max(b.maxX, x);
                b.minY = std::min(b.minY, y), b.maxY = std::max(b.maxY, y);
                b.sumX += x, b.sumY += y, ++b.count;
            }
    return b;
}

class PlayerSheets : public ::testing::Test {
protected:
    void SetUp() override {
        for (int w = 0; w < 3; ++w) {
            sheets[w] = Sheet(w);
            ASSERT_NE(sheets[w], nullptr) << BRACKMOOR_DATA_DIR << "/" << kSheetPaths[w] << " is missing";
            ASSERT_GE(sheets[w]->width, 8 * kCell) << kSheetPaths[w];
            ASSERT_GE(sheets[w]->height, 7 * kCell) << kSheetPaths[w];
        }
    }
    const Image* sheets[3] = {};
};

TEST_F(PlayerSheets, DrawOnlyInThePaletteAndKeyTheRestOut) {
    for (int w = 0; w < 3; ++w) {
        const Image& img = *sheets[w];
        int stray = 0;
        for (const Rgba& p : img.pixels) {
            if (!IsVisible(p)) continue;
            bool known = false;
            for (const Rgba& c : kPalette) known |= p == c;
            stray += !known;
        }
        EXPECT_EQ(stray, 0) << kSheetPaths[w] << " has pixels outside the five greens";
    }
}

TEST_F(PlayerSheets, WeaponTipSitsAtTheMuzzle) {
    // Shots, flames and rockets start at the muzzle point, so the weapon must reach it and
    // must not run on far past it. The gun's barrel may end a little beyond its point, since
    // only the spent shell leaves from there.
    for (int w = 0; w < 3; ++w) {
        const int overshoot = w == 0 ? 7 : 3;
        for (const AimPose& a : kAims) {
            Cell c = PlayerCell(sheets[w], a.frame, a.layer);
            const int mx = a.muzzle[w][0], my = a.muzzle[w][1];
            bool near = false;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) near |= c.On(mx + dx, my + dy);
            EXPECT_TRUE(near) << kWeaponNames[w] << " aimed " << a.name << ": nothing drawn at the muzzle " << mx << ","
                              << my;
            for (int s = overshoot + 1; s <= overshoot + 8; ++s)
                EXPECT_FALSE(c.On(mx + s * a.dirX, my + s * a.dirY))
                    << kWeaponNames[w] << " aimed " << a.name << ": drawn " << s << " pixels past the muzzle";
        }
    }
}

TEST_F(PlayerSheets, EveryAimHasItsOwnPose) {
    for (int w = 0; w < 3; ++w)
        for (int i = 0; i < 8; ++i)
            for (int j = i + 1; j < 8; ++j) {
                Cell a = PlayerCell(sheets[w], kAims[i].frame, kAims[i].layer);
                Cell b = PlayerCell(sheets[w], kAims[j].frame, kAims[j].layer);
                EXPECT_GT(Differences(a, b), 30)
                    << kWeaponNames[w] << ": aiming " << kAims[i].name << " looks like aiming " << kAims[j].name;
            }
}

TEST_F(PlayerSheets, EachSheetShowsItsOwnWeapon) {
    for (const AimPose& a : kAims)
        for (int w = 0; w < 3; ++w)
            for (int v = w + 1; v < 3; ++v)
                EXPECT_GT(Differences(PlayerCell(sheets[w], a.frame, a.layer), PlayerCell(sheets[v], a.frame, a.layer)),
                          30)
                    << "aiming " << a.name << ": the " << kWeaponNames[w] << " and the " << kWeaponNames[v]
                    << " look alike";
}

TEST_F(PlayerSheets, GunFlashesAtItsMuzzleOnTheShotFrame) {
    // The shot leaves as the fire loop enters its second frame; that frame must add a flash
    // beyond the muzzle and change nothing else.
    for (const AimPose& a : kAims) {
        Cell rest = PlayerCell(sheets[0], a.frame, a.layer);
        Cell shot = PlayerCell(sheets[0], a.frame + 1, a.layer);
        int changed = 0, astray = 0;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                if (rest.On(x, y) == shot.On(x, y) && (!rest.On(x, y) || rest.At(x, y) == shot.At(x, y))) continue;
                ++changed;
                const int rx = x - a.muzzle[0][0], ry = y - a.muzzle[0][1];
                const bool ahead = rx * a.dirX + ry * a.dirY >= -3;
                astray += !ahead || std::hypot(rx, ry) > 14.0;
            }
        EXPECT_GT(changed, 4) << "aiming " << a.name << ": no muzzle flash";
        EXPECT_EQ(astray, 0) << "aiming " << a.name << ": the shot frame changes pixels away from the muzzle";
    }
}

TEST_F(PlayerSheets, ClimbingStepsMoveTheLimbs) {
    struct Cycle {
        const char* name;
        int first, last, layer;
    };
    const Cycle cycles[] = {{"climbing", 0, 3, 0}, {"stepping right", 0, 3, 6}, {"stepping left", 4, 7, 6}};
    for (int w = 0; w < 3; ++w)
        for (const Cycle& cy : cycles)
            for (int f = cy.first; f <= cy.last; ++f) {
                const int next = f == cy.last ? cy.first : f + 1;
                EXPECT_GT(Differences(PlayerCell(sheets[w], f, cy.layer), PlayerCell(sheets[w], next, cy.layer)), 10)
                    << kWeaponNames[w] << " " << cy.name << ": frames " << f << " and " << next << " are alike";
            }
}

TEST_F(PlayerSheets, BodyStaysOnItsTile) {
    // The sprite is drawn 35 screen pixels left of and 30 above the tile corner at double size,
    // so the tile covers cell columns 17-49 and rows 15-47. Standing and climbing poses must
    // be centred on it, or the climber seems to hang beside the tile it occupies.
    std::vector<std::pair<int, int>> poses = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    for (int f = 0; f < 8; ++f) poses.push_back({f, 6});
    for (const AimPose& a : kAims) poses.push_back({a.frame, a.layer});
    for (int w = 0; w < 3; ++w)
        for (auto [f, l] : poses) {
            Box b = Extent(PlayerCell(sheets[w], f, l));
            ASSERT_GT(b.count, 0) << kWeaponNames[w] << " frame " << f << " layer " << l << " is empty";
            EXPECT_TRUE(b.CentreX() > 24 && b.CentreX() < 43 && b.CentreY() > 22 && b.CentreY() < 41)
                << kWeaponNames[w] << " frame " << f << " layer " << l << ": body centred at " << b.CentreX() << ","
                << b.CentreY();
        }
}

TEST_F(PlayerSheets, DeathTumblesWhileFalling) {
    for (int w = 0; w < 3; ++w) {
        Box upright = Extent(PlayerCell(sheets[w], 4, 5));
        Box sideways = Extent(PlayerCell(sheets[w], 5, 5));
        Box headDown = Extent(PlayerCell(sheets[w], 6, 5));
        ASSERT_GT(upright.count * sideways.count * headDown.count, 0) << kWeaponNames[w];
        EXPECT_GT(upright.maxY - upright.minY, upright.maxX - upright.minX) << kWeaponNames[w];
        EXPECT_GT(sideways.maxX - sideways.minX, sideways.maxY - sideways.minY) << kWeaponNames[w];
        EXPECT_GT(headDown.maxY - headDown.minY, headDown.maxX - headDown.minX) << kWeaponNames[w];
        // Turned over, the pose's weight moves to the other end.
        const double up = (upright.CentreY() - upright.minY) / (upright.maxY - upright.minY);
        const double down = (headDown.CentreY() - headDown.minY) / (headDown.maxY - headDown.minY);
        EXPECT_NEAR(down, 1.0 - up, 0.05) << kWeaponNames[w];
        EXPECT_GT(std::abs(up - 0.5), 0.04) << kWeaponNames[w] << ": the falling pose is too even to show turning";
        EXPECT_GT(Differences(PlayerCell(sheets[w], 4, 5), PlayerCell(sheets[w], 6, 5)), 60) << kWeaponNames[w];
        // The hit shows before the fall: each frame of the dying animation is its own.
        for (int f = 4; f < 6; ++f)
            EXPECT_GT(Differences(PlayerCell(sheets[w], f, 0), PlayerCell(sheets[w], f + 1, 0)), 10)
                << kWeaponNames[w] << " dying frame " << f;
    }
}

TEST_F(PlayerSheets, FlameCellsBurnAroundTheirCentre) {
    // A flame segment is drawn centred on its point, scaled up to 2.5 times: its fire must be
    // centred in the cell and flicker from frame to frame.
    const Image* img = sheets[1];
    ASSERT_GE(img->height, 28 * 16 + 16);
    for (int f = 0; f < 14; ++f) {
        Cell c = FlameCell(img, f);
        Box b = Extent(c);
        ASSERT_GT(b.count, 40) << "flame frame " << f << " is nearly empty";
        EXPECT_NEAR(b.CentreX(), 7.5, 1.5) << "flame frame " << f;
        EXPECT_NEAR(b.CentreY(), 7.5, 1.5) << "flame frame " << f;
        EXPECT_GT(Differences(c, FlameCell(img, (f + 1) % 14)), 8) << "flame frames " << f << " and next";
    }
}

}  // namespace
