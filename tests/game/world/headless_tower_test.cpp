// The whole game, headless: the tower loads from the shipped level files and the state dump
// shows the segments and the creatures handed to the entity list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/TestSupport.h"

namespace {

int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

TEST(HeadlessTowerTest, TheGameStartsWithTheWholeTowerLoaded) {
    const std::string dir = testsupport::MakeTempDir("tower_run");
    const std::string dump = dir + "/state.json";
    testsupport::RunResult r = testsupport::RunHeadless(
        {"--seed", "3", "--frames", "20", "--save-dir", dir, "--data", BRACKMOOR_DATA_DIR, "--dump-state", dump});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output.find("Could not open level"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Bad level"), std::string::npos) << r.output;
    const std::string state = testsupport::ReadFile(dump);
    ASSERT_FALSE(state.empty());
    EXPECT_EQ(CountOf(state, "\"name\": \"Level"), 14) << state.substr(0, 400);
    EXPECT_NE(state.find("\"name\": \"Level14\""), std::string::npos);
    // The lowest segment's creatures are in the list, the player first.
    size_t list = state.find("\"entities\"");
    ASSERT_NE(list, std::string::npos);
    size_t player = state.find("\"class\": \"Player\"", list);
    size_t other = state.find("\"class\": \"", player + 1);
    EXPECT_NE(player, std::string::npos);
    EXPECT_NE(other, std::string::npos) << "no placed creature in the list";
    // The segments above still hold theirs, waiting to be handed over.
    EXPECT_NE(state.find("\"addedEntList\": false"), std::string::npos);
}

TEST(HeadlessTowerTest, AMissingLevelFileIsNamedAndTheGameGoesOn) {
    const std::string dir = testsupport::MakeTempDir("tower_missing");
    const std::string data = dir + "/data";
    // A copy of the data folder without one level file.
    ASSERT_EQ(std::system(("cp -r '" + std::string(BRACKMOOR_DATA_DIR) + "' '" + data + "' && rm '" + data +
                           "/ZLevel/Level3_Side2.zlv' && printf '#\\n9 50\\n' > '" + data + "/ZLevel/Level4_Side1.zlv'")
                              .c_str()),
              0);
    testsupport::RunResult r =
        testsupport::RunHeadless({"--seed", "3", "--frames", "5", "--save-dir", dir, "--data", data});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("Could not open level \"data/ZLevel/Level3_Side2.zlv\""), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Bad level \"data/ZLevel/Level4_Side1.zlv\" line 2: size 9 x 50 is not 8 x 50"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(CountOf(r.output, "level \""), 2) << r.output;
}

}  // namespace
