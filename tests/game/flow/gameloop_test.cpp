// The frame's mode order: announcement, title, pause, the turn of the tower, then play.
#include "game/player/PlayFixture.h"

#include <vector>

#include "engine/GFont.h"
#include "engine/GL.h"
#include "game/flow/MainFile.h"

namespace {

// Counts its updates.
struct Ticker : Entity {
    int updates = 0;
    void Update() override {
        ++updates;
        Entity::Update();
    }
};

}  // namespace

class GameLoopTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ticker = new Ticker;
        ticker->side = 3;  // out of the player's way
        Entity::entList.push_back(ticker);
    }
    Ticker* ticker = nullptr;
};

TEST_F(GameLoopTest, PlayUpdatesEveryEntityOnce) {
    GameLoop(e);
    EXPECT_EQ(ticker->updates, 1);
}

TEST_F(GameLoopTest, MenusAndTheAnnouncementFreezeTheWorld) {
    Building::MainMenuOn = 1;
    GameLoop(e);
    Building::MainMenuOn = 0;
    Building::pauseOn = 1;
    GameLoop(e);
    EXPECT_EQ(Building::menuPos, 20) << "the pause menu ran instead";
    Building::pauseOn = 0;
    Building::ShowNewWeapon(2);
    GameLoop(e);
    EXPECT_EQ(ticker->updates, 0);
    // The announcement comes first even over the title.
    Building::MainMenuOn = 1;
    Building::menuPos = 7;
    GameLoop(e);
    EXPECT_EQ(Building::menuPos, 7) << "the title menu did not run";
}

TEST_F(GameLoopTest, AQuarterTurnTakesThirtyFramesAndFreezesPlay) {
    p->SetPosition(1, -2);
    ASSERT_TRUE(p->Climb(-1, 0));
    GameLoop(e);  // the player's update starts the turn
    EXPECT_EQ(p->side, 2);
    EXPECT_FLOAT_EQ(e->rotx, 357);
    ticker->updates = 0;
    int frames = 0;
    while (static_cast<int>(e->rotx) % 90 != 0 && frames < 100) {
        GameLoop(e);
        ++frames;
    }
    EXPECT_EQ(frames, 29);
    EXPECT_FLOAT_EQ(e->rotx, 270);
    EXPECT_EQ(ticker->updates, 0);
    GameLoop(e);
    EXPECT_EQ(ticker->updates, 1);
}

TEST_F(GameLoopTest, TheCurrentSegmentFollowsThePlayerAndTheOneAboveIsPopulated) {
    struct Case {
        int row, segment;
    };
    for (Case c : {Case{6, 0}, Case{-43, 0}, Case{-44, 1}, Case{-94, 2}, Case{-640, 12}}) {
        p->SetPosition(4, c.row);
        GameLoop(e);
        EXPECT_EQ(Building::cur, Building::b[c.segment]) << c.row;
        EXPECT_TRUE(Building::b[c.segment + 1]->addedEntList) << c.row;
    }
    // The top segment has nothing above it.
    p->SetPosition(4, -44 - 50 * 12);
    GameLoop(e);
    EXPECT_EQ(Building::cur, Building::b[levelCount - 1]);
}

TEST_F(GameLoopTest, TheTriggersRunOnlyInPlay) {
    p->SetPosition(4, -215);
    Building::MainMenuOn = 1;
    GameLoop(e);
    EXPECT_EQ(Building::triggerCrabBoss, 0);
    Building::MainMenuOn = 0;
    GameLoop(e);
    EXPECT_EQ(Building::triggerCrabBoss, 1);
}

TEST_F(GameLoopTest, TheHudShowsNegativeLivesAsZero) {
    e->ShakeX = e->ShakeY = 0;
    if (!bkmFont) bkmFont = new GFont("data/font/bkmfont.cff", 1.0f);
    // The title pictures of earlier tests would cover everything: move them out of sight.
    Building::StartMainMenu();
    Building::MainMenuOn = 0;
    for (MenuElement* m : {menSky, menBuilding, menChar, menTitle, menTallow, menTovr, menGUIBox, menGUIBox2,
                           menGUIText, menCursor, menLvlText[0], menLvlText[1], menLvlText[2]})
        m->x = 2000;
    auto picture = [&](int lives) {
        Player::Lives = lives;
        gEngine.FlushQuads();  // what was drawn before goes before the clear
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        e->SetScreenProjection();
        GameDraw(e);
        glFinish();
        return testsupport::ReadFrame();
    };
    std::vector<unsigned char> zero = picture(0);
    EXPECT_EQ(picture(-1), zero);
    EXPECT_NE(picture(3), zero) << "the lives line is drawn";
}
