// The level script: the level lines and their records, the crab walker's sequence and lock, the
// squid and final-boss steps, and the final approach.
#include "game/player/PlayFixture.h"

#include <cstdio>

#include "engine/GameEngine.h"
#include "engine/RunOptions.h"
#include "game/world/Progress.h"

using TriggersTest = PlayTest;

TEST_F(TriggersTest, ReachingLevelTwoWithMoreLivesThanTheRecordRewritesIt) {
    WriteSave("dist.dat", "3\n7");
    Player::Lives = 4;
    p->SetPosition(4, -241);
    HandleTriggers();
    EXPECT_EQ(ReadSave("dist.dat"), "4\n7");
    EXPECT_EQ(Building::lineCross, 1);
    EXPECT_EQ(Building::triggerCrabBoss, 100);
    EXPECT_EQ(ReadSave("color.dat"), "1");
    EXPECT_EQ(e->music, Building::level2Mus);
}

// The state dump (hashed every frame by --trace and --check-trace) tells what the game knows of its
// progress files without reading them: files changed behind its back change neither the dump nor
// what the game remembers.
TEST_F(TriggersTest, TheStateDumpReadsNoProgressFile) {
    ASSERT_TRUE(progress::WriteUnlock(1));
    ASSERT_TRUE(progress::WriteBestLives(4, 0));
    WriteSave("color.dat", "2");
    WriteSave("dist.dat", "9\n9");
    const std::string dump = GameStateJson(e);
    EXPECT_NE(dump.find("\"unlockFile\": 1"), std::string::npos);
    const size_t at = dump.find("\"bestLives\"");
    ASSERT_NE(at, std::string::npos);
    const std::string best = dump.substr(at, dump.find(']', at) - at);
    EXPECT_EQ(best.find('9'), std::string::npos) << best;
    EXPECT_NE(best.find('4'), std::string::npos) << best;
    EXPECT_TRUE(progress::RaiseUnlock(2)) << "the remembered 1 stands";
}

TEST_F(TriggersTest, EqualOrFewerLivesLeaveTheRecord) {
    WriteSave("dist.dat", "3\n7");
    Player::Lives = 3;
    p->SetPosition(4, -241);
    HandleTriggers();
    EXPECT_EQ(ReadSave("dist.dat"), "3\n7");
    EXPECT_EQ(Building::lineCross, 1);
    // Later frames above the line record nothing more.
    Player::Lives = 9;
    HandleTriggers();
    EXPECT_EQ(ReadSave("dist.dat"), "3\n7");
}

TEST_F(TriggersTest, AFirstArrivalAlwaysRecords) {
    Player::Lives = 0;
    p->SetPosition(4, -241);
    HandleTriggers();
    EXPECT_EQ(ReadSave("dist.dat"), "0\n0");
    WriteSave("dist.dat", "garbage");
    Building::lineCross = 0;
    Player::Lives = 2;
    HandleTriggers();
    EXPECT_EQ(ReadSave("dist.dat"), "2\n0");
}

TEST_F(TriggersTest, StartingAtLevelTwoRecordsOnlyTheLevelThreeLine) {
    WriteSave("dist.dat", "1\n1");
    Building::lineCross = 1;
    Player::Lives = 5;
    p->SetPosition(4, -241);
    HandleTriggers();
    EXPECT_EQ(ReadSave("dist.dat"), "1\n1");
    p->SetPosition(4, -481);
    HandleTriggers();
    EXPECT_EQ(ReadSave("dist.dat"), "1\n5");
    EXPECT_EQ(Building::lineCross, 2);
    EXPECT_EQ(Building::triggerBoss2, 100);
    EXPECT_EQ(ReadSave("color.dat"), "2");
    EXPECT_EQ(e->music, Building::level3Mus);
}

TEST_F(TriggersTest, TheUnlockedLevelIsNeverLowered) {
    WriteSave("color.dat", "2");
    Building::BuildingUnlock = 0;  // read before the file was raised elsewhere
    p->SetPosition(4, -241);
    HandleTriggers();
    EXPECT_EQ(ReadSave("color.dat"), "2");
}

TEST_F(TriggersTest, AboveTheLineTheUnlockFileIsNotReadOrWrittenAgainEachFrame) {
    p->SetPosition(4, -241);
    HandleTriggers();
    EXPECT_EQ(ReadSave("color.dat"), "1");
    // Changed behind the game's back, the file is neither read nor rewritten by later frames.
    WriteSave("color.dat", "0");
    for (int i = 0; i < 5; ++i) HandleTriggers();
    EXPECT_EQ(ReadSave("color.dat"), "0");

    // A write that fails is not retried every frame either: the save folder is blocked by a file
    // for the first frame, then free.
    const std::string blocked = save + "/blocked";
    WriteSave("blocked", "");
    platform::SetSaveDir(blocked);
    Building::lineCross = 0;
    HandleTriggers();
    ASSERT_EQ(std::remove(blocked.c_str()), 0);
    for (int i = 0; i < 5; ++i) HandleTriggers();
    EXPECT_EQ(testsupport::ReadFile(blocked + "/color.dat"), "");
    platform::SetSaveDir(save);
}

TEST_F(TriggersTest, TheCrabSequenceTakesOneStepPerFrame) {
    // Even a player far past all three rows needs three frames for the first three steps.
    p->SetPosition(4, -215);
    HandleTriggers();
    EXPECT_EQ(Building::triggerCrabBoss, 1);
    HandleTriggers();
    EXPECT_EQ(Building::triggerCrabBoss, 2);
    EXPECT_FLOAT_EQ(e->ShakeAmpY, 8);
    HandleTriggers();
    EXPECT_EQ(Building::triggerCrabBoss, 3);
    EXPECT_EQ(triggerCrabBossWait, 180);
    // Below row -222 and with no lock, the wait does not start.
    for (int i = 0; i < 10; ++i) HandleTriggers();
    EXPECT_EQ(triggerCrabBossWait, 180);
    EXPECT_FALSE(Building::lockScreen);
}

TEST_F(TriggersTest, TheCrabWaitLocksTheScreenAndContinuesWhereverThePlayerIs) {
    p->SetPosition(4, -222);
    for (int i = 0; i < 3; ++i) HandleTriggers();
    ASSERT_EQ(Building::triggerCrabBoss, 3);
    HandleTriggers();
    EXPECT_TRUE(Building::lockScreen);
    EXPECT_EQ(Building::lockLo, -14400);
    EXPECT_EQ(Building::lockHi, -14400);
    EXPECT_EQ(triggerCrabBossWait, 179);
    EXPECT_EQ(e->music, Building::bossMus);
    // The player dies and falls back below row -222: the countdown goes on.
    p->Die();
    p->SetPosition(4, -200);
    int frames = 1;
    while (Building::triggerCrabBoss == 3 && frames < 400) {
        HandleTriggers();
        ++frames;
    }
    EXPECT_EQ(frames, 180);
    EXPECT_EQ(Building::triggerCrabBoss, 4);
}

TEST_F(TriggersTest, NothingHappensDuringTheEnding) {
    Building::scenePhase = Building::kSceneFall;
    p->SetPosition(4, -700);
    HandleTriggers();
    EXPECT_EQ(Building::triggerCrabBoss, 0);
    EXPECT_EQ(Building::triggerBossFinal, 0);
    EXPECT_EQ(Building::lineCross, 0);
    EXPECT_TRUE(ReadSave("dist.dat").empty());
}

TEST_F(TriggersTest, TheSquidLocksTheScreenOnce) {
    Building::triggerCrabBoss = 100;
    Building::lineCross = 1;
    p->SetPosition(4, -461);
    HandleTriggers();
    EXPECT_EQ(Building::triggerBoss2, 1);
    EXPECT_TRUE(Building::lockScreen);
    EXPECT_EQ(Building::lockLo, -29696);
    EXPECT_EQ(e->music, Building::bossMus);
    size_t n = Entity::entList.size();
    HandleTriggers();
    EXPECT_EQ(Entity::entList.size(), n) << "the squid step runs once";
    // Past the level 3 line the state closes and the level music returns.
    p->SetPosition(4, -481);
    HandleTriggers();
    EXPECT_EQ(Building::triggerBoss2, 100);
    EXPECT_EQ(e->music, Building::level3Mus);
}

// The player at the final boss's line, both other bosses behind.
class FinalApproach : public TriggersTest {
protected:
    void SetUp() override {
        TriggersTest::SetUp();
        Building::triggerCrabBoss = 100;
        Building::triggerBoss2 = 100;
        Building::lineCross = 2;
        Building::BuildingUnlock = 2;
        p->SetPosition(4, -673);
    }
};

// Arriving with the camera already past the arena (as on some walls) pins it to the arena in that
// same frame: the frame drawn next never shows a camera outside the lock.
TEST_F(FinalApproach, ArrivingWithTheCameraPastTheArenaPinsItThere) {
    Building::scrollY = -43648;
    HandleTriggers();
    EXPECT_EQ(Building::triggerBossFinal, 2);
    EXPECT_EQ(Building::lockLo, -43520);
    EXPECT_EQ(Building::lockHi, -43520);
    EXPECT_EQ(Building::scrollY, -43520);
}

TEST_F(FinalApproach, TheFinalApproachWalksThePlayerUpAndRaisesTheCamera) {
    Building::scrollY = p->y - 200;
    HandleTriggers();
    EXPECT_EQ(Building::triggerBossFinal, 1);
    EXPECT_TRUE(Building::lockScreen);
    // The first approach step already ran this frame: the player started a climb upward.
    EXPECT_EQ(p->tY, -674);
    int frames = 0;
    while (Building::triggerBossFinal == 1 && frames < 5000) {
        Frame();
        HandleTriggers();
        ++frames;
        ASSERT_EQ(Building::lockLo, static_cast<int>(Building::scrollY)) << "the lock follows the camera";
    }
    EXPECT_EQ(Building::triggerBossFinal, 2);
    EXPECT_EQ(Building::lockLo, -43520);
    EXPECT_LE(Building::scrollY, -43520);
    EXPECT_EQ(e->music, Building::finalBossMus);
}
