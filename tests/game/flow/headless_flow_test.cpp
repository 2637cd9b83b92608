// The whole game run headless from recorded input: the title, starting levels, climbing round a
// corner and back, pausing, quitting and the development start. The tower is an open wall (the
// data folder without its level files), so the routes do not depend on the level design.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

// The value of "key": in a flat part of the dump (the first occurrence), as a number.
double Number(const std::string& json, const std::string& key) {
    std::string k = "\"" + key + "\": ";
    size_t at = json.find(k);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << key << " in the dump";
        return NAN;
    }
    std::string v = json.substr(at + k.size(), 24);
    if (v.compare(0, 4, "true") == 0) return 1;
    if (v.compare(0, 5, "false") == 0) return 0;
    return std::stod(v);
}

// The same inside the "player" object.
double PlayerNumber(const std::string& json, const std::string& key) {
    size_t at = json.find("\"player\": {");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no player in the dump";
        return NAN;
    }
    return Number(json.substr(at), key);
}

class HeadlessFlow : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempDir("flow");
        ASSERT_FALSE(dir.empty());
        // Everything of the real data folder but the level files.
        std::string data = dir + "/data";
        ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
        DIR* d = opendir(BRACKMOOR_DATA_DIR);
        ASSERT_NE(d, nullptr);
        while (dirent* ent = readdir(d)) {
            std::string name = ent->d_name;
            if (name == "." || name == ".." || name == "ZLevel") continue;
            ASSERT_EQ(symlink((std::string(BRACKMOOR_DATA_DIR) + "/" + name).c_str(), (data + "/" + name).c_str()), 0);
        }
        closedir(d);
        save = dir + "/save";
        ASSERT_EQ(mkdir(save.c_str(), 0755), 0);
    }

    // Runs the game for `frames` frames with the given input and returns the state dump.
    std::string Run(long frames, const std::string& replay, const std::vector<std::string>& extra = {}) {
        std::string replayFile = dir + "/in" + std::to_string(++runs) + ".txt";
        std::string dump = dir + "/state" + std::to_string(runs) + ".json";
        EXPECT_TRUE(testsupport::WriteText(replayFile, replay));
        std::vector<std::string> args = {"--seed",     "3",        "--data",       dir + "/data",
                                         "--save-dir", save,       "--frames",     std::to_string(frames),
                                         "--replay",   replayFile, "--dump-state", dump};
        args.insert(args.end(), extra.begin(), extra.end());
        testsupport::RunResult r = testsupport::RunHeadless(args);
        EXPECT_EQ(r.exitCode, 0) << r.output.substr(0, 2000);
        return testsupport::ReadFile(dump);
    }

    std::string dir, save;
    int runs = 0;
};

// The title's menu box has risen by frame 580 of a fresh start; these runs confirm at 620.
const char* const kStart = "620 ENTER down\n625 ENTER up\n";

TEST_F(HeadlessFlow, StartingPutsThePlayerAtTheFootOfTheTower) {
    std::string s = Run(621, kStart);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(Number(s, "MainMenuOn"), 0);
    EXPECT_EQ(PlayerNumber(s, "side"), 1);
    EXPECT_EQ(PlayerNumber(s, "tX"), 4);
    EXPECT_EQ(PlayerNumber(s, "tY"), -2);
    EXPECT_EQ(Number(s, "rotx"), 360);
    // Placed with the camera at -576; the frame's own play step has followed the player by 4.
    EXPECT_EQ(Number(s, "scrollY"), -576 + 4);
    EXPECT_EQ(Number(s, "Lives"), 5);
}

TEST_F(HeadlessFlow, ClimbingRoundACornerTurnsTheTowerAndFreezesPlay) {
    std::string replay = std::string(kStart) +
                         "640 X down\n640 UP down\n690 UP up\n690 LEFT down\n"
                         "780 LEFT up\n";
    // Mid-turn: the player already stands on side 2, the view is between the two sides.
    std::string mid = Run(784, replay);
    ASSERT_FALSE(mid.empty());
    EXPECT_EQ(PlayerNumber(mid, "side"), 2);
    EXPECT_EQ(PlayerNumber(mid, "tX"), 8);
    EXPECT_EQ(PlayerNumber(mid, "tY"), -5);
    double rotx = Number(mid, "rotx");
    EXPECT_GT(rotx, 270);
    EXPECT_LT(rotx, 360);
    EXPECT_NE(static_cast<int>(rotx) % 90, 0);

    // Back round the corner to the right, then a long press of Escape pauses once.
    replay += "800 RIGHT down\n830 RIGHT up\n860 ESCAPE down\n";
    std::string back = Run(876, replay);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(PlayerNumber(back, "side"), 1);
    EXPECT_EQ(PlayerNumber(back, "tX"), 1);
    EXPECT_EQ(PlayerNumber(back, "tY"), -5);
    EXPECT_EQ(Number(back, "rotx"), 360);
    EXPECT_EQ(Number(back, "pauseOn"), 1) << "sixteen frames held, toggled once";
    EXPECT_GE(Number(back, "saveStepCount"), 6);
}

TEST_F(HeadlessFlow, EscapeOnTheTitleQuits) {
    std::string s = Run(500, "30 ESCAPE down\n");
    ASSERT_FALSE(s.empty());
    EXPECT_LE(Number(s, "frame"), 32);
    EXPECT_EQ(Number(s, "MainMenuOn"), 1);
}

TEST_F(HeadlessFlow, AnUnlockedLevelIsChosenFromTheLevelBox) {
    ASSERT_TRUE(testsupport::WriteText(save + "/color.dat", "2"));
    ASSERT_TRUE(testsupport::WriteText(save + "/dist.dat", "2\n4"));
    // A confirm while the box still rises does nothing; a held Down moves one level.
    std::string s = Run(661, "300 ENTER down\n305 ENTER up\n" + std::string(kStart) +
                                 "630 DOWN down\n645 DOWN up\n650 ENTER down\n655 ENTER up\n");
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(Number(s, "MainMenuOn"), 0);
    EXPECT_EQ(PlayerNumber(s, "side"), 4);
    EXPECT_EQ(PlayerNumber(s, "tY"), -243);
    EXPECT_EQ(Number(s, "rotx"), 90);
    EXPECT_EQ(Number(s, "Lives"), 2);
    EXPECT_EQ(Number(s, "lineCross"), 1);
}

TEST_F(HeadlessFlow, LevelThreeStartsWithTheRecordedLives) {
    ASSERT_TRUE(testsupport::WriteText(save + "/color.dat", "2"));
    ASSERT_TRUE(testsupport::WriteText(save + "/dist.dat", "2\n4"));
    std::string s =
        Run(661, std::string(kStart) +
                     "630 DOWN down\n632 DOWN up\n636 DOWN down\n638 DOWN up\n650 ENTER down\n655 ENTER up\n");
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(PlayerNumber(s, "side"), 3);
    EXPECT_EQ(PlayerNumber(s, "tX"), 4);
    EXPECT_EQ(PlayerNumber(s, "tY"), -483);
    EXPECT_EQ(Number(s, "rotx"), 180);
    EXPECT_EQ(Number(s, "Lives"), 4);
    EXPECT_EQ(Number(s, "lineCross"), 2);
    // Reading the records changes nothing in them.
    EXPECT_EQ(testsupport::ReadFile(save + "/dist.dat"), "2\n4");
}

TEST_F(HeadlessFlow, TheDevelopmentStartPlacesThePlayerBySideAndRows) {
    std::string s = Run(3, "", {"215"});
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(PlayerNumber(s, "side"), 2);
    EXPECT_EQ(PlayerNumber(s, "tX"), 4);
    EXPECT_EQ(PlayerNumber(s, "tY"), -8);
    EXPECT_EQ(Number(s, "rotx"), 270);
    EXPECT_EQ(Number(s, "scrollY"), -15 * 64);
    EXPECT_EQ(Number(s, "MainMenuOn"), 1);
}

}  // namespace
