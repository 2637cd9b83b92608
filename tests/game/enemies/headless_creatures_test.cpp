// The whole game run headless on the shipped tower: the level files' creature keywords become
// entities, and a long run with them in play ends normally.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/TestSupport.h"

namespace {

// How many entities of each class the state dump lists.
std::map<std::string, int> ClassCounts(const std::string& json) {
    std::map<std::string, int> n;
    const std::string key = "\"class\": \"";
    for (size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) {
        size_t start = at + key.size();
        size_t end = json.find('"', start);
        if (end == std::string::npos) break;
        ++n[json.substr(start, end - start)];
    }
    return n;
}

TEST(HeadlessCreatures, TheShippedTowerPlacesItsCreaturesAndPlaysOn) {
    std::string dir = testsupport::MakeTempDir("creatures");
    ASSERT_FALSE(dir.empty());
    std::string replay = dir + "/in.txt";
    // Start the game from the title, then climb up and shoot now and then.
    ASSERT_TRUE(testsupport::WriteText(replay,
                                       "620 ENTER down\n625 ENTER up\n"
                                       "700 UP down\n800 UP up\n"
                                       "810 X down\n890 X up\n"));
    std::string dump = dir + "/state.json";
    testsupport::RunResult r = testsupport::RunHeadless({"--seed", "5", "--data", BRACKMOOR_DATA_DIR, "--save-dir", dir,
                                                         "--frames", "900", "--replay", replay, "--dump-state", dump});
    ASSERT_EQ(r.exitCode, 0) << r.output.substr(0, 2000);
    std::map<std::string, int> n = ClassCounts(testsupport::ReadFile(dump));
    EXPECT_EQ(n["Player"], 1);
    // The two lowest segments hold spiders, breakable blocks and a rescue.
    EXPECT_GT(n["Spider"], 0);
    EXPECT_GT(n["BreakableBlock"], 0);
    EXPECT_GT(n["Pickup"], 0);
}

}  // namespace
