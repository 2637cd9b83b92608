#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Paths.h"
#include "support/TestSupport.h"

using namespace platform;
using testsupport::MakeTempDir;
using testsupport::ReadFile;
using testsupport::WriteText;

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = MakeTempDir("paths");
        ASSERT_FALSE(root.empty());
        data = root + "/data";
        save = root + "/save";
        ASSERT_TRUE(MakeFolders(data + "/Menu"));
        ASSERT_TRUE(MakeFolders(data + "/music"));
        ASSERT_TRUE(WriteText(data + "/Menu/sky1.png", "x"));
        ASSERT_TRUE(WriteText(data + "/music/level_1.xm", "x"));
        oldData = DataDir();
        oldSave = SaveDir();
        SetDataDir(data);
        SetSaveDir(save);
    }
    void TearDown() override {
        SetDataDir(oldData);
        SetSaveDir(oldSave);
    }
    std::string root, data, save, oldData, oldSave;
};

TEST_F(PathsTest, ComponentsMatchWhateverTheirCase) {
    // The game spells folders in several cases; all of them reach the one real file.
    EXPECT_EQ(ResolvePath("data/Menu/sky1.png"), data + "/Menu/sky1.png");
    EXPECT_EQ(ResolvePath("data/menu/sky1.png"), data + "/Menu/sky1.png");
    EXPECT_EQ(ResolvePath("Data/MENU/SKY1.PNG"), data + "/Menu/sky1.png");
    EXPECT_EQ(ResolvePath("Data/music/level_1.xm"), data + "/music/level_1.xm");
}

TEST_F(PathsTest, MissingFilesKeepTheirNameForMessages) {
    EXPECT_EQ(ResolvePath("data/menu/nothere.png"), data + "/Menu/nothere.png");
    EXPECT_EQ(ResolvePath("data/nofolder/x.png"), data + "/nofolder/x.png");
}

TEST_F(PathsTest, ProgressFilesLiveInTheSaveFolder) {
    EXPECT_TRUE(IsProgressFile("data/color.dat"));
    EXPECT_TRUE(IsProgressFile("Data/DIST.dat"));
    EXPECT_FALSE(IsProgressFile("data/enemy/color.dat"));
    EXPECT_FALSE(IsProgressFile("color.dat"));
    EXPECT_EQ(ResolvePath("data/color.dat"), save + "/color.dat");
    // Writing creates the save folder on demand.
    std::string w = ResolveWritePath("data/dist.dat");
    EXPECT_EQ(w, save + "/dist.dat");
    EXPECT_TRUE(IsDirectory(save));
}

TEST_F(PathsTest, WritePathsReuseExistingFoldersAndCreateMissingOnes) {
    EXPECT_EQ(ResolveWritePath("data/MENU/new.png"), data + "/Menu/new.png");
    std::string p = ResolveWritePath("data/shots/video/a.bmp");
    EXPECT_EQ(p, data + "/shots/video/a.bmp");
    EXPECT_TRUE(IsDirectory(data + "/shots/video"));
}

TEST_F(PathsTest, AtomicWriteReplacesWholeFilesAndLeavesNoTemporaries) {
    std::string f = root + "/sub/dir/file.txt";
    ASSERT_TRUE(WriteFileAtomically(f, "first"));
    ASSERT_TRUE(WriteFileAtomically(f, "2"));
    EXPECT_EQ(ReadFile(f), "2");
    // Only the target is left in the folder.
    EXPECT_EQ(MatchInFolder(root + "/sub/dir", "file.txt"), "file.txt");
    int entries = 0;
    if (DIR* d = opendir((root + "/sub/dir").c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++entries;
        closedir(d);
    }
    EXPECT_EQ(entries, 1);
    // A folder that cannot be created is a failure, not a silent success.
    EXPECT_FALSE(WriteFileAtomically("/proc/brackmoor-no/such", "x"));
}

TEST(DataFolderSearch, BesideTheExecutableThenTheInstalledShareFolder) {
    std::string root = MakeTempDir("search");
    std::vector<std::string> c = DataDirCandidates(root + "/bin");
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0], root + "/bin/data");
    EXPECT_EQ(c[1], root + "/bin/../share/brackmoor/data");

    std::vector<std::string> searched;
    EXPECT_EQ(FindDataDir(root + "/bin", &searched), "");
    EXPECT_EQ(searched.size(), 2u);

    ASSERT_TRUE(MakeFolders(root + "/share/brackmoor/data"));
    ASSERT_TRUE(MakeFolders(root + "/bin"));
    EXPECT_EQ(FindDataDir(root + "/bin", nullptr), root + "/bin/../share/brackmoor/data");
    ASSERT_TRUE(MakeFolders(root + "/bin/data"));
    EXPECT_EQ(FindDataDir(root + "/bin", nullptr), root + "/bin/data");
}

TEST(DataFolderSearch, SaveFolderFollowsXdgDataHome) {
    const char* old = getenv("XDG_DATA_HOME");
    std::string keep = old ? old : "";
    setenv("XDG_DATA_HOME", "/x/y", 1);
    EXPECT_EQ(DefaultSaveDir(), "/x/y/brackmoor");
    // A relative XDG_DATA_HOME is invalid and ignored.
    setenv("XDG_DATA_HOME", "rel", 1);
    setenv("HOME", "/home/p", 1);
    EXPECT_EQ(DefaultSaveDir(), "/home/p/.local/share/brackmoor");
    if (old)
        setenv("XDG_DATA_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}
