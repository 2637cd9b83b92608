// Climbing on the wall grid: which steps are accepted, the 16-frame glide, the jump to a tile
// more than one tile away, the chaining of steps and the idle pose.
#include <sys/stat.h>

#include <string>

#include "EntityFixture.h"
#include "game/entities/Climber.h"
#include "game/world/BuildingBlock.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

namespace {

// A data folder whose "Blank" level has four open sides with nothing on them.
std::string BlankLevelDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    std::string root = testsupport::MakeTempDir("climber");
    std::string text = "blank #\n8 50\nA B C D\n0\n";
    for (int r = 0; r < 4 * 50; ++r) text += "x x x x x x x x\n";
    text += "0\n0\n0\n";
    mkdir((root + "/ZLevel").c_str(), 0755);
    for (int s = 1; s <= 4; ++s)
        if (!testsupport::WriteText(root + "/ZLevel/Blank_Side" + std::to_string(s) + ".zlv", text)) return dir;
    dir = root;
    return dir;
}

class TestClimber : public Climber {
public:
    TestClimber() {
        sprite = HeadlessSprite();
        cx = 10;
        cy = 20;
        cw = 40;
        ch = 40;
    }
};

class ClimberTest : public EntityListTest {
protected:
    Building* seg = nullptr;
    Building* seg2 = nullptr;

    void SetUp() override {
        EntityListTest::SetUp();
        if (!Building::blankDummy) Building::blankDummy = new BuildingBlock(0, 0, 0);
        // Blank level files: every tile of these segments is open.
        std::string dir = BlankLevelDataDir();
        ASSERT_FALSE(dir.empty());
        platform::SetDataDir(dir);
        seg = new Building("Blank", 8, 50, 0);
        seg2 = new Building("Blank", 8, 50, 50);
        Building::b[0] = seg;
        Building::b[1] = seg2;
        Building::scrollY = -32;
    }
    void TearDown() override {
        Building::b[0] = nullptr;
        Building::b[1] = nullptr;
        delete seg;
        delete seg2;
        EntityListTest::TearDown();
    }

    // The block that decides whether a climber may step onto tile (tx, ty): the wall's rows sit
    // one below the climber's.
    BuildingBlock* Hold(Building* b, int side, int tx, int ty) { return b->GetBlock(side, tx, ty + 1); }

    // One game frame of a climber: its update, then its drawing (which advances the sprite).
    static void Frame(Climber& c) {
        c.Update();
        c.Draw();
    }
    static bool AtTarget(Climber& c) { return c.x == c.TargetX() && c.y == c.TargetY(); }
};

TEST_F(ClimberTest, SetPositionPutsTheBoxCornerOnTheTileCorner) {
    TestClimber c;
    c.SetPosition(4, -2);
    EXPECT_EQ(c.tX, 4);
    EXPECT_EQ(c.tY, -2);
    EXPECT_FLOAT_EQ(c.x, 64 * 4 - 10);
    EXPECT_FLOAT_EQ(c.y, 64 * -2 - 20);
    Frame(c);
    EXPECT_FLOAT_EQ(c.x, 64 * 4 - 10);
    EXPECT_FLOAT_EQ(c.y, 64 * -2 - 20);
    EXPECT_EQ(c.GetTileX(), 4);
    EXPECT_EQ(c.GetTileY(), -2);
}

TEST_F(ClimberTest, AStepGlidesForSixteenFrames) {
    TestClimber c;
    c.SetPosition(4, 2);
    const float startX = c.x, startY = c.y;
    ASSERT_TRUE(c.Climb(1, -1));
    EXPECT_EQ(c.tX, 5);
    EXPECT_EQ(c.tY, 1);
    int frames = 0;
    while (!AtTarget(c) && frames < 100) {
        Frame(c);
        ++frames;
        if (!AtTarget(c)) {
            EXPECT_FLOAT_EQ(c.x, startX + 4.0f * frames);
            EXPECT_FLOAT_EQ(c.y, startY - 4.0f * frames);
        }
    }
    EXPECT_EQ(frames, 16);
}

TEST_F(ClimberTest, MoreThanATileAwayJumpsAtOnce) {
    TestClimber c;
    c.SetPosition(4, 2);
    c.x = c.TargetX() - 65;
    c.y = c.TargetY() + 100;
    c.Update();
    EXPECT_FLOAT_EQ(c.x, c.TargetX());
    EXPECT_FLOAT_EQ(c.y, c.TargetY());
    // Exactly one tile away still glides.
    c.x = c.TargetX() + 64;
    c.Update();
    EXPECT_FLOAT_EQ(c.x, c.TargetX() + 60);
}

TEST_F(ClimberTest, SecondStepInTheSameFrameIsRefused) {
    TestClimber c;
    c.SetPosition(4, 2);
    c.Idle();
    EXPECT_TRUE(c.Climb(0, -1));
    EXPECT_FALSE(c.Climb(1, 0));
    EXPECT_EQ(c.tX, 4);
    EXPECT_EQ(c.tY, 1);
}

TEST_F(ClimberTest, StepIsRefusedWhileStillGliding) {
    TestClimber c;
    c.SetPosition(4, 2);
    ASSERT_TRUE(c.Climb(0, -1));
    for (int i = 0; i < 10; ++i) Frame(c);
    EXPECT_FALSE(c.Climb(0, -1));
    EXPECT_EQ(c.tY, 1);
}

TEST_F(ClimberTest, StepsChainWithoutAPause) {
    TestClimber c;
    c.SetPosition(4, 2);
    ASSERT_TRUE(c.Climb(0, -1));
    int frames = 0;
    while (!c.idleing && frames < 100) {
        Frame(c);
        ++frames;
    }
    ASSERT_TRUE(c.idleing);
    // The step is accepted while the climb animation is on its last frame, before the idle
    // pose is taken.
    EXPECT_TRUE(c.sprite->isCurrentAnimation(&c.aClimb));
    EXPECT_TRUE(AtTarget(c));
    EXPECT_TRUE(c.Climb(0, -1));
    EXPECT_EQ(c.tY, 0);
}

TEST_F(ClimberTest, HoldingSelectsTheClimbIdlePoseForOneFrame) {
    TestClimber c;
    c.SetPosition(4, 2);
    ASSERT_TRUE(c.Climb(1, 0));
    for (int i = 0; i < 40; ++i) {
        c.climbHold = 1;
        Frame(c);
        EXPECT_FALSE(c.climbHold);  // cleared at the end of every update
    }
    EXPECT_TRUE(c.sprite->isCurrentAnimation(&c.aClimbIdle));
    c.Idle();
    EXPECT_TRUE(c.sprite->isCurrentAnimation(&c.aIdle));
}

TEST_F(ClimberTest, SolidTargetIsRefused) {
    TestClimber c;
    c.SetPosition(4, 2);
    c.Idle();
    Hold(seg, 1, 4, 1)->type = 1;
    EXPECT_FALSE(c.Climb(0, -1));
    EXPECT_EQ(c.tY, 2);
    EXPECT_TRUE(c.idleing);
    // The same tile on another side does not matter.
    c.side = 2;
    EXPECT_TRUE(c.Climb(0, -1));
}

TEST_F(ClimberTest, OccupiedTargetIsRefused) {
    TestClimber c;
    c.SetPosition(4, 2);
    seg->GetBlock(1, 5, 2)->blocked = 1;  // a creature stands on tile (5, 2)
    EXPECT_FALSE(c.Climb(1, 0));
    seg->GetBlock(1, 5, 2)->blocked = 0;
    EXPECT_TRUE(c.Climb(1, 0));
}

TEST_F(ClimberTest, DiagonalCannotCutACorner) {
    TestClimber c;
    c.SetPosition(4, 2);
    c.Idle();
    Hold(seg, 1, 5, 2)->type = 1;  // beside
    EXPECT_FALSE(c.Climb(1, -1));
    Hold(seg, 1, 5, 2)->type = 0;
    Hold(seg, 1, 4, 1)->type = 1;  // above
    EXPECT_FALSE(c.Climb(1, -1));
    EXPECT_EQ(c.tX, 4);
    EXPECT_EQ(c.tY, 2);
    Hold(seg, 1, 4, 1)->type = 0;
    EXPECT_TRUE(c.Climb(1, -1));
    EXPECT_EQ(c.tX, 5);
    EXPECT_EQ(c.tY, 1);
}

TEST_F(ClimberTest, SteppingOffTheWallDropsTheVerticalPart) {
    TestClimber c;
    c.SetPosition(8, 2);
    EXPECT_TRUE(c.Climb(1, -1));
    EXPECT_EQ(c.tX, 9);
    EXPECT_EQ(c.tY, 2);

    TestClimber d;
    d.SetPosition(1, 2);
    EXPECT_TRUE(d.Climb(-1, 1));
    EXPECT_EQ(d.tX, 0);
    EXPECT_EQ(d.tY, 2);
}

TEST_F(ClimberTest, TheSegmentIsChosenByTheClimbersRow) {
    TestClimber c;
    c.SetPosition(4, -43);
    EXPECT_EQ(c.GetBuilding(), seg);
    c.SetPosition(4, -44);
    EXPECT_EQ(c.GetBuilding(), seg2);
    c.SetPosition(4, 7);
    EXPECT_EQ(c.GetBuilding(), seg);  // -1 / 50 truncates to 0
    c.SetPosition(4, 57);
    EXPECT_EQ(c.GetBuilding(), nullptr);  // below the tower
}

TEST_F(ClimberTest, ClimbingUsesTheSegmentAbove) {
    TestClimber c;
    c.SetPosition(4, -44);
    c.Idle();
    Hold(seg2, 1, 4, -45)->type = 1;
    EXPECT_FALSE(c.Climb(0, -1));
    EXPECT_TRUE(c.Climb(1, 0));
}

TEST_F(ClimberTest, ClimbingWhereThereIsNoSegmentIsRefused) {
    TestClimber c;
    c.SetPosition(4, -94);  // segment 2 is not built here
    EXPECT_FALSE(c.Climb(0, -1));
    EXPECT_EQ(c.tY, -94);
}

TEST_F(ClimberTest, DeadClimberFallsInsteadOfGliding) {
    TestClimber c;
    c.SetPosition(4, 2);
    c.x += 20;
    c.Die();
    const float x0 = c.x, y0 = c.y;
    c.Update();
    c.Update();
    EXPECT_FLOAT_EQ(c.x, x0);
    EXPECT_FLOAT_EQ(c.y, y0 + 0.25f);
}

}  // namespace
