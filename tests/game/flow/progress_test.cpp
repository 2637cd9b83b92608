// The progress files: what a missing, empty or garbled file reads as, and atomic rewrites.
#include <gtest/gtest.h>

#include <dirent.h>

#include "game/world/Progress.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempDir("progress");
        ASSERT_FALSE(dir.empty());
        platform::SetSaveDir(dir);
    }
    void Put(const std::string& name, const std::string& text) {
        ASSERT_TRUE(testsupport::WriteText(dir + "/" + name, text));
    }
    std::string Get(const std::string& name) { return testsupport::ReadFile(dir + "/" + name); }
    int FilesInDir() {
        int n = 0;
        DIR* d = opendir(dir.c_str());
        while (dirent* ent = readdir(d))
            if (ent->d_name[0] != '.') ++n;
        closedir(d);
        return n;
    }
    std::string dir;
};

TEST_F(ProgressTest, TheUnlockedLevelReadsSafely) {
    EXPECT_EQ(progress::ReadUnlock(), 0) << "missing";
    struct Case {
        const char* text;
        int expected;
        bool reported;
    };
    for (Case c : {Case{"", 0, false}, Case{"x1", 0, true}, Case{"1", 1, false}, Case{"2\n", 2, false},
                   Case{"  1 trailing", 0, true}, Case{"-4", 0, true}, Case{"7", 0, true},
                   Case{"99999999999999999999", 0, true}, Case{"1x", 0, true}, Case{"1 2", 0, true}}) {
        Put("color.dat", c.text);
        int before = platform::MessageCount();
        EXPECT_EQ(progress::ReadUnlock(), c.expected) << "'" << c.text << "'";
        EXPECT_EQ(progress::ReadUnlock(), c.expected) << "'" << c.text << "'";
        EXPECT_EQ(platform::MessageCount() - before, c.reported ? 1 : 0) << "'" << c.text << "', read twice";
    }
    Put("color.dat", "\n7");
    progress::ReadUnlock();
    EXPECT_EQ(platform::LastMessage(),
              dir + "/color.dat:2: '7' is not an unlocked level (0 to 2); only the first level is open");
}

TEST_F(ProgressTest, TheBestLivesReadWhatIsThere) {
    progress::BestLives b = progress::ReadBestLives();
    EXPECT_FALSE(b.have[0]);
    EXPECT_FALSE(b.have[1]);
    Put("dist.dat", "6");
    b = progress::ReadBestLives();
    EXPECT_TRUE(b.have[0]);
    EXPECT_EQ(b.value[0], 6);
    EXPECT_FALSE(b.have[1]);
    EXPECT_EQ(b.value[1], 0);
    Put("dist.dat", "2\n4");
    b = progress::ReadBestLives();
    EXPECT_EQ(b.value[0], 2);
    EXPECT_EQ(b.value[1], 4);
    // A file broken after its first value gives neither, and says where.
    int before = platform::MessageCount();
    Put("dist.dat", "6\nx");
    b = progress::ReadBestLives();
    EXPECT_FALSE(b.have[0]);
    EXPECT_EQ(b.value[0], 0);
    EXPECT_EQ(platform::LastMessage(),
              dir + "/dist.dat:2: 'x' is not a number of lives (0 to 9999); no best lives are known");
    Put("dist.dat", "\x01\x02\xff");
    b = progress::ReadBestLives();
    EXPECT_FALSE(b.have[0]);
    EXPECT_EQ(platform::LastMessage(),
              dir + "/dist.dat:1: a word of 3 bytes is not a number of lives (0 to 9999); no best lives are known");
    Put("dist.dat", "1 2 3");
    EXPECT_FALSE(progress::ReadBestLives().have[0]);
    EXPECT_EQ(platform::MessageCount(), before + 3);
}

TEST_F(ProgressTest, WritesUseTheGameFormatAndLeaveNoTemporaryFiles) {
    ASSERT_TRUE(progress::WriteBestLives(3, 11));
    EXPECT_EQ(Get("dist.dat"), "3\n11");
    ASSERT_TRUE(progress::WriteUnlock(1));
    EXPECT_EQ(Get("color.dat"), "1");
    EXPECT_EQ(FilesInDir(), 2);
}

TEST_F(ProgressTest, RaisingTheUnlockNeverLowersIt) {
    EXPECT_TRUE(progress::RaiseUnlock(1));
    EXPECT_EQ(Get("color.dat"), "1");
    EXPECT_TRUE(progress::RaiseUnlock(2));
    EXPECT_FALSE(progress::RaiseUnlock(1));
    EXPECT_FALSE(progress::RaiseUnlock(2)) << "an unchanged value is not rewritten";
    EXPECT_EQ(Get("color.dat"), "2");
}

TEST_F(ProgressTest, ArrivalRecordsKeepTheOtherLevel) {
    Put("dist.dat", "3\n7");
    EXPECT_FALSE(progress::RecordArrival(1, 3));
    EXPECT_TRUE(progress::RecordArrival(1, 4));
    EXPECT_EQ(Get("dist.dat"), "4\n7");
    EXPECT_TRUE(progress::RecordArrival(2, 8));
    EXPECT_EQ(Get("dist.dat"), "4\n8");
    EXPECT_FALSE(progress::RecordArrival(3, 99));
}

// A folder that cannot be made is named once, with the reason, however often the game saves; the
// game goes on, and what it tried to save is what it remembers (the state dump reads no file).
TEST_F(ProgressTest, AnUnwritableSaveFolderIsReportedOnceAndTheGameGoesOn) {
    const std::string bad = "/proc/self/x";
    platform::SetSaveDir(bad);
    const int before = platform::MessageCount();
    EXPECT_FALSE(progress::WriteUnlock(1));
    EXPECT_EQ(platform::MessageCount(), before + 1);
    EXPECT_NE(platform::LastMessage().find(bad), std::string::npos) << platform::LastMessage();
    EXPECT_NE(platform::LastMessage().find(": "), std::string::npos) << "with the reason";
    EXPECT_FALSE(progress::RaiseUnlock(1)) << "a failed write is not retried";
    EXPECT_FALSE(progress::RaiseUnlock(2));
    EXPECT_FALSE(progress::WriteBestLives(3, 4));
    EXPECT_FALSE(progress::RecordArrival(1, 5));
    EXPECT_EQ(platform::MessageCount(), before + 1) << "once per folder";
    EXPECT_EQ(progress::KnownUnlock(), 2);
    EXPECT_EQ(progress::ReadUnlock(), 0) << "nothing was kept";
    // Another save folder that fails is reported again.
    platform::SetSaveDir("/proc/self/y");
    EXPECT_FALSE(progress::WriteUnlock(1));
    EXPECT_EQ(platform::MessageCount(), before + 2);
}
