// The entity list in the running game: after a climb with shooting, the player is still the first
// entity and the only one of its class, every entity names its own class in the state dump and
// stands on a real side.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

struct DumpedEntity {
    std::string cls;
    int side;
};

std::vector<DumpedEntity> EntitiesOf(const std::string& json) {
    std::vector<DumpedEntity> out;
    size_t start = json.find("\"entities\": [");
    if (start == std::string::npos) return out;
    size_t end = json.find(']', start);
    std::string section = json.substr(start, end - start);
    std::regex one("\"class\": \"([^\"]*)\",\\s*\"side\": (-?[0-9]+)");
    for (std::sregex_iterator it(section.begin(), section.end(), one), e; it != e; ++it)
        out.push_back({(*it)[1].str(), std::stoi((*it)[2].str())});
    return out;
}

TEST(EntitiesInGame, ThePlayerStaysFirstAndEveryEntityNamesItsClass) {
    std::string dir = testsupport::MakeTempDir("entities-game");
    std::string replay;
    // Through the title menu, then climb up (X held with UP) and shoot upward (C) in turns.
    for (int f : {150, 250, 350, 450})
        replay += std::to_string(f) + " ENTER down\n" + std::to_string(f + 3) + " ENTER up\n";
    for (int f = 500; f < 900; f += 100) {
        replay += std::to_string(f) + " X down\n" + std::to_string(f + 1) + " UP down\n";
        replay += std::to_string(f + 60) + " UP up\n" + std::to_string(f + 61) + " X up\n";
        replay += std::to_string(f + 62) + " UP down\n" + std::to_string(f + 63) + " C down\n";
        replay += std::to_string(f + 90) + " C up\n" + std::to_string(f + 91) + " UP up\n";
    }
    ASSERT_TRUE(testsupport::WriteText(dir + "/climb.txt", replay));
    auto r = testsupport::RunHeadless({"--seed", "5", "--frames", "900", "--replay", dir + "/climb.txt", "--save-dir",
                                       dir, "--dump-state", dir + "/state.json"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::string json = testsupport::ReadFile(dir + "/state.json");
    std::vector<DumpedEntity> es = EntitiesOf(json);
    ASSERT_FALSE(es.empty()) << json.substr(0, 2000);

    EXPECT_EQ(es[0].cls, "Player");
    int players = 0;
    for (const DumpedEntity& e : es) {
        if (e.cls == "Player") ++players;
        EXPECT_NE(e.cls, "Entity") << "a class does not name itself";
        EXPECT_NE(e.cls, "Climber") << "a class does not name itself";
        EXPECT_FALSE(e.cls.empty());
        EXPECT_GE(e.side, 1) << e.cls;
        EXPECT_LE(e.side, 4) << e.cls;
    }
    EXPECT_EQ(players, 1);

    // The climb happened: the player left its starting row -2.
    std::smatch m;
    size_t p = json.find("\"player\": {");
    ASSERT_NE(p, std::string::npos);
    std::string player = json.substr(p, json.find('}', p) - p);
    ASSERT_TRUE(std::regex_search(player, m, std::regex("\"tY\": (-?[0-9]+)")));
    EXPECT_LT(std::stoi(m[1].str()), -4);
}

}  // namespace
