// Feeds arbitrary bytes to the level loader as the text of one side of a segment, and checks
// what it did: a file the reader accepts is applied, anything else is reported once and leaves
// the side exactly as it was; a file the reader accepts reads back the same after writing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/entities/Entity.h"
#include "game/world/Building.h"
#include "game/world/LevelFormat.h"

namespace {

int g_reports = 0;
int g_pictures = 0;
int g_created = 0;

void CountReport(const char*) { ++g_reports; }
void CountPicture(const char*) { ++g_pictures; }

// Whatever the level names, the fuzzer makes a plain entity and remembers it was asked.
Entity* MakePlain(const char*, int, int, int, int, int) {
    ++g_created;
    return new Entity;
}

Building* Segment() {
    static Building* seg = [] {
        Building::blankDummy = new BuildingBlock(0, 0, 0);
        Building::factory = &MakePlain;
        Building::loadTilePicture = &CountPicture;
        Building::reportLevelProblem = &CountReport;
        // No files exist under this name: every side starts as the constructor makes it.
        return new Building("FuzzLevel", 8, 50, 50);
    }();
    return seg;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_loadside: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Building* seg = Segment();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Side from the first byte, so all four are exercised.
    const int side = size ? (data[0] % 4) + 1 : 1;

    int before[8][50][3];
    for (int k = 0; k < 8; ++k)
        for (int r = 0; r < 50; ++r) {
            BuildingBlock* b = seg->block[side - 1][k][r];
            before[k][r][0] = b->frame;
            before[k][r][1] = b->layer;
            before[k][r][2] = b->type;
        }
    g_reports = g_pictures = g_created = 0;

    seg->LoadSideText(side, "data/ZLevel/fuzz.zlv", bytes);

    if (g_reports > 1) Fail("one file reported more than once");
    const bool good = g_reports == 0;
    if (good) {
        // Accepted: it must read the same when read again, and again after writing it out.
        level::SideFile f;
        if (!level::Parse(bytes, 8, 50, &f, nullptr)) Fail("an accepted file does not parse");
        if (g_pictures != static_cast<int>(f.tilePictures.size())) Fail("tile pictures not loaded one by one");
        level::SideFile back;
        if (!level::Parse(level::Write(f), 8, 50, &back, nullptr) || !(back == f)) Fail("write/read round trip");
    } else {
        if (g_pictures != 0 || g_created != 0 || !seg->addList.empty()) Fail("a bad file was partly applied");
        for (int k = 0; k < 8; ++k)
            for (int r = 0; r < 50; ++r) {
                BuildingBlock* b = seg->block[side - 1][k][r];
                if (b->frame != before[k][r][0] || b->layer != before[k][r][1] || b->type != before[k][r][2])
                    Fail("a bad file changed a tile");
            }
    }
    if (static_cast<int>(seg->addList.size()) != g_created) Fail("entities lost or invented");
    for (Entity* e : seg->addList) delete e;
    seg->addList.clear();
    return 0;
}
