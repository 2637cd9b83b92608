// Frames from across the recorded runs, drawn again and compared with the pictures kept beside this
// file (shots.txt says which recording, which frame and what it shows). Each recording is played
// once, drawing only the frames it saves (--draw-shots-only), so the whole check is a few processes.
// The pictures are compared exactly, pixel for pixel.
//
// After an intended change of the pictures, write new ones (then look at every one of them):
//   BRACKMOOR_GOLDEN_UPDATE=1 <build>/tests/golden_frames_test
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {
namespace fs = std::filesystem;

const int kW = 640;
const int kH = 480;

struct Shot {
    std::string recording;  // a file under the source folder, or "particledemo"
    long frame;
    std::string name;  // the picture is NAME.png
};

std::vector<Shot> ReadShots() {
    std::vector<Shot> shots;
    std::istringstream in(testsupport::ReadFile(GOLDEN_DIR "/shots.txt"));
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        Shot s;
        if (!(words >> s.recording >> s.frame >> s.name)) {
            ADD_FAILURE() << GOLDEN_DIR "/shots.txt:" << number << ": expected RECORDING FRAME NAME";
            continue;
        }
        shots.push_back(s);
    }
    return shots;
}

// The RGB pixels of a 640 x 480 PNG, or an empty vector.
std::vector<unsigned char> LoadRgb(const std::string& file) {
    std::vector<unsigned char> rgb;
    SDL_Surface* s = IMG_Load(file.c_str());
    if (!s) return rgb;
    if (s->w == kW && s->h == kH) {
        rgb.resize(static_cast<size_t>(kW) * kH * 3);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
                Uint32 v = 0;
                for (int b = 0; b < s->format->BytesPerPixel; ++b) v |= static_cast<Uint32>(p[b]) << (8 * b);
                Uint8* out = &rgb[(y * kW + x) * 3];
                SDL_GetRGB(v, s->format, &out[0], &out[1], &out[2]);
            }
    }
    SDL_FreeSurface(s);
    return rgb;
}

// Plays one recording as its bot test does (its seed, the progress files its header names) and saves
// the listed frames into `dir`.
void Render(const std::string& recording, const std::vector<Shot>& shots, const std::string& dir) {
    if (recording == "particledemo") {
        for (const Shot& s : shots) {
            std::string cmd = std::string(PARTICLEDEMO_EXE) + " --frames " + std::to_string(s.frame) + " --data '" +
                              BRACKMOOR_DATA_DIR + "' '" + dir + "/" + s.name + ".png' 2>&1";
            EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
        }
        return;
    }
    std::string file = std::string(BRACKMOOR_SOURCE_DIR) + "/" + recording;
    std::string replay = testsupport::ReadFile(file);
    unsigned seed = 0;
    long frames = 0;
    const std::string head = replay.substr(0, replay.find('\n'));
    if (std::sscanf(head.c_str(), "# seed %u frames %ld", &seed, &frames) != 2) seed = 1;  // a hand-made recording
    std::string save = testsupport::MakeTempDir("golden");
    for (size_t at = head.find(" save "); at != std::string::npos; at = head.find(" save ", at + 1)) {
        char name[64] = {0}, value[64] = {0};
        if (std::sscanf(head.c_str() + at, " save %63[^=]=%63s", name, value) == 2) {
            ASSERT_TRUE(testsupport::WriteText(save + "/" + name, value)) << name;
        }
    }
    long last = 0;
    std::vector<std::string> args = {"--seed",           std::to_string(seed), "--replay",   file,
                                     "--data",           BRACKMOOR_DATA_DIR,   "--save-dir", save,
                                     "--draw-shots-only"};
    for (const Shot& s : shots) {
        args.insert(args.end(), {"--screenshot", std::to_string(s.frame) + ":" + dir + "/" + s.name + ".png"});
        last = std::max(last, s.frame);
    }
    args.insert(args.end(), {"--frames", std::to_string(last + 1)});
    testsupport::RunResult r = testsupport::RunHeadless(args);
    EXPECT_EQ(r.exitCode, 0) << recording << ": " << r.output.substr(0, 2000);
}

}  // namespace

TEST(GoldenFrames, EveryFrameIsDrawnAsBefore) {
    std::vector<Shot> shots = ReadShots();
    ASSERT_GE(shots.size(), 20u);
    std::map<std::string, std::vector<Shot>> byRecording;
    for (const Shot& s : shots) byRecording[s.recording].push_back(s);
    std::string dir = testsupport::MakeTempDir("goldenout");
    for (const auto& r : byRecording) Render(r.first, r.second, dir);

    const bool update = std::getenv("BRACKMOOR_GOLDEN_UPDATE") != nullptr;
    for (const Shot& s : shots) {
        SCOPED_TRACE(s.recording + " frame " + std::to_string(s.frame) + " (" + s.name + ")");
        std::string made = dir + "/" + s.name + ".png";
        std::string kept = std::string(GOLDEN_DIR) + "/" + s.name + ".png";
        std::vector<unsigned char> now = LoadRgb(made);
        ASSERT_FALSE(now.empty()) << "no picture " << made;
        if (update) {
            fs::copy_file(made, kept, fs::copy_options::overwrite_existing);
            continue;
        }
        std::vector<unsigned char> was = LoadRgb(kept);
        ASSERT_FALSE(was.empty()) << "no golden picture " << kept << " (BRACKMOOR_GOLDEN_UPDATE=1 writes it)";
        int worst = 0;
        long off = 0;
        for (size_t i = 0; i < now.size(); i += 3) {
            int d = 0;
            for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(now[i + c] - was[i + c]));
            worst = std::max(worst, d);
            off += d > 0;
        }
        EXPECT_EQ(off, 0) << off << " pixels differ, by up to " << worst << " levels; new picture: " << made;
    }
}
