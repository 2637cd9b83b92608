// The crab walker: its attack phases in order, the volleys, the leaps between edges, the stomps,
// the freeze while the player is down, and the death that ends in the screen unlocking.
#include <set>

#include "../player/PlayFixture.h"
#include "../support/EntityQueries.h"
#include "CrabCycle.h"
#include "game/bosses/CrabWalker.h"
#include "game/enemies/Pickup.h"
#include "game/enemies/WallBlast.h"
#include "game/world/Explosion.h"
#include "game/world/FallingBlock.h"

class CrabTest : public PlayTest {
protected:
    static void SetUpTestSuite() {
        PlayTest::SetUpTestSuite();
        static bool loaded = false;
        if (!loaded) {
            Pickup::Init();
            CrabWalker::Init();
            loaded = true;
        }
    }

    void SetUp() override {
        PlayTest::SetUp();
        // The arena: the camera pinned with the player standing in the middle of the screen.
        Building::LockScreen(kArena, kArena);
        Building::scrollY = kArena;
        p->SetPosition(4, kArena / 64 + 3);
        p->Idle();
        srand(11);
    }

    CrabWalker* Spawn() {
        CrabWalker* c = new CrabWalker(p->side, 640, kArena);
        Entity::entList.push_back(c);
        return c;
    }

    // One play frame with an untouchable player: the entity pass, then the animation step every
    // sprite makes when it is drawn.
    void Tick() {
        p->invinceTimer = 1000;
        Building::UpdateEntities();
        for (Entity* x : Entity::entList)
            if (x->sprite) x->sprite->Step();
    }

    static constexpr int kArena = -14400;
};

TEST_F(CrabTest, SlidesOntoTheRightEdgeWithAStomp) {
    CrabWalker* c = Spawn();
    EXPECT_EQ(c->HP, 200);
    EXPECT_TRUE(c->isBoss);
    EXPECT_FALSE(c->hurtPlayer);
    EXPECT_EQ(c->sprite->pos, 1);
    int frames = 0;
    while (c->velX != 0 || frames == 0) {
        Tick();
        ++frames;
        ASSERT_LT(frames, 100);
    }
    // Pulled in at one pixel per frame squared until it crosses its resting line.
    EXPECT_LE(c->x, CrabWalker::kRightRest);
    EXPECT_GT(c->x, CrabWalker::kRightRest - 20);
    EXPECT_GT(e->ShakeTimer, 0) << "the landing shakes the screen";
}

TEST_F(CrabTest, PhasesRunInOrderUntilTheStompsEndAndTheCycleStartsAgain) {
    CrabWalker* c = Spawn();
    std::vector<int> phases{c->aiPhase};
    std::vector<int> volleysBeforeLeap;
    int volleys = 0;
    int blocks = 0;
    for (int frame = 0; frame < 30000; ++frame) {
        int before = c->aiShotCount;
        Tick();
        if (c->aiShotCount > before) ++volleys;
        blocks += CountNew<FallingBlock>();
        if (c->aiPhase != phases.back()) {
            if (c->aiPhase == CrabWalker::kPhaseLeap) volleysBeforeLeap.push_back(volleys);
            volleys = 0;
            phases.push_back(c->aiPhase);
            if (phases.size() == 20) break;
        }
    }
    EXPECT_EQ(phases, CrabCycle());
    for (int v : volleysBeforeLeap) EXPECT_EQ(v, 2) << "two volleys on each edge before a leap";
    EXPECT_EQ(blocks, 7) << "seven stomps, one falling block each";
    EXPECT_EQ(c->aiLoop, 0);
    EXPECT_EQ(c->HP, 200) << "nothing here hurt it";
}

TEST_F(CrabTest, AVolleyIsTenWaveringShotsFlyingIntoTheScreen) {
    CrabWalker* c = Spawn();
    auto volley = [&](float expectVelX) {
        size_t before = AllOf<WallBlast>().size();
        int shotCount = c->aiShotCount;
        c->Fire(10);
        auto shots = AllOf<WallBlast>();
        ASSERT_EQ(shots.size(), before + 10);
        EXPECT_EQ(c->aiShotCount, shotCount + 1);
        std::set<int> xs;
        for (size_t i = before; i < shots.size(); ++i) {
            WallBlast* s = shots[i];
            int dx = static_cast<int>(s->x - c->x) - 20;
            int dy = static_cast<int>(s->y - c->y) - 132;
            EXPECT_EQ(dx % 2, 0);
            EXPECT_GE(dx, 0);
            EXPECT_LE(dx, 32);
            EXPECT_EQ(dy % 2, 0);
            EXPECT_GE(dy, 0);
            EXPECT_LE(dy, 46);
            EXPECT_FLOAT_EQ(s->velX, expectVelX) << "always into the screen";
            EXPECT_FLOAT_EQ(s->velY, 0.0f);
            EXPECT_TRUE(s->waverY);
            EXPECT_FLOAT_EQ(s->wavYDeg, 0.0f) << "all wavering in step";
            EXPECT_EQ(s->side, c->side);
            xs.insert(dx);
        }
        EXPECT_GT(xs.size(), 1u) << "the shots are spread";
    };

    c->x = 570;
    c->y = kArena + 10;
    volley(-2.0f);

    // Over to the left edge: mirrored, with its own box, firing to the right.
    c->SwitchEdges();
    EXPECT_FLOAT_EQ(c->x, CrabWalker::kLeftEntry);
    EXPECT_EQ(c->sprite->pos, -1);
    EXPECT_EQ(c->cx, 64);
    EXPECT_EQ(c->cw, 32);
    c->x = -60;
    volley(2.0f);

    c->SwitchEdges();
    EXPECT_FLOAT_EQ(c->x, CrabWalker::kRightEntry);
    EXPECT_EQ(c->sprite->pos, 1);
    EXPECT_EQ(c->cx, 26);
}

TEST_F(CrabTest, TracksThePlayerThenFiresOnTheFourthFrameOfItsAnimation) {
    CrabWalker* c = Spawn();
    while (c->velX != 0 || c->x > CrabWalker::kRightRest) Tick();
    // Far below the player: it rides up at 1.5 pixels per frame.
    c->y = p->y + 300;
    float y0 = c->y;
    Tick();
    EXPECT_FLOAT_EQ(c->y, y0 - 1.5f);
    // Lined up: the firing animation starts, and the volley leaves when it shows frame 4.
    int frames = 0;
    while (c->aiShotCount == 0 && frames < 600) {
        Tick();
        ++frames;
    }
    ASSERT_EQ(c->aiShotCount, 1);
    EXPECT_TRUE(c->sprite->isCurrentAnimation(&c->aFire));
    EXPECT_EQ(c->sprite->CurFrame, 4);
    EXPECT_EQ(AllOf<WallBlast>().size(), 10u);
}

TEST_F(CrabTest, ALeapOrderedWhileSlidingWaitsForTheLanding) {
    CrabWalker* c = Spawn();
    Tick();
    ASSERT_NE(c->velX, 0);
    float v = c->velX;
    c->Jump();
    EXPECT_FLOAT_EQ(c->velX, v) << "no leap while still moving";
    c->aiPhase = CrabWalker::kPhaseSecondDescent;
    Tick();
    EXPECT_EQ(c->aiPhase, CrabWalker::kPhaseSecondDescent) << "waits for the crab to stop";
    // The landing stops it before its phase runs, so the same frame moves it to the other edge.
    while (c->velX != 0) Tick();
    EXPECT_EQ(c->aiPhase, CrabWalker::kPhaseDescentTop);
    EXPECT_FLOAT_EQ(c->x, CrabWalker::kLeftEntry);
    EXPECT_EQ(c->sprite->pos, -1);
    Tick();
    EXPECT_EQ(c->aiPhase, CrabWalker::kPhaseDescend);
    EXPECT_FLOAT_EQ(c->x, CrabWalker::kLeftEntry + 1) << "pulled in from the left";
    c->velX = 0;
    c->x = CrabWalker::kLeftRest;
    c->Jump();
    EXPECT_FLOAT_EQ(c->velX, -15) << "on the left edge it leaps out to the left";
}

TEST_F(CrabTest, WhileThePlayerIsDownTheCrabNeitherTracksNorFiresAndADescentEnds) {
    CrabWalker* c = Spawn();
    while (c->velX != 0 || c->x > CrabWalker::kRightRest) Tick();
    c->y = p->y + 300;
    p->dead = 1;
    float y0 = c->y;
    for (int i = 0; i < 50; ++i) {
        c->Update();
        c->sprite->Step();
    }
    EXPECT_FLOAT_EQ(c->y, y0);
    EXPECT_EQ(c->aiShotCount, 0);
    EXPECT_FALSE(c->sprite->AnimationOn) << "frozen";

    c->aiPhase = CrabWalker::kPhaseDescend;
    c->aiLoop = 0;
    c->Update();
    EXPECT_EQ(c->aiPhase, CrabWalker::kPhaseSecondDescent) << "the descent ends at once";
    EXPECT_EQ(c->aiLoop, 1);
    EXPECT_FLOAT_EQ(c->velX, 15);
}

TEST_F(CrabTest, FollowsThePlayerToAnotherSide) {
    CrabWalker* c = Spawn();
    for (int i = 0; i < 40; ++i) Tick();
    p->side = 2;
    c->velX = 3;
    c->Update();
    EXPECT_EQ(c->side, 2);
    EXPECT_TRUE(c->x == CrabWalker::kRightEntry - 1 || c->x == CrabWalker::kLeftEntry + 1) << c->x;
    EXPECT_EQ(c->sprite->pos, c->x > 320 ? 1 : -1);
}

TEST_F(CrabTest, DeathBurstsInFifteenExplosionsFallsAwayAndUnlocksTheScreen) {
    CrabWalker* c = Spawn();
    for (int i = 0; i < 40; ++i) Tick();
    e->music = Building::bossMus;
    c->HP = 1;
    c->Hit(1, 0);
    EXPECT_EQ(c->HP, 0);
    Tick();
    EXPECT_EQ(c->aiPhase, CrabWalker::kPhaseDying);
    EXPECT_EQ(c->aiTimer, 1);
    EXPECT_FALSE(c->dead);
    EXPECT_EQ(e->music, nullptr) << "the music stops";
    c->Die();
    EXPECT_EQ(c->aiTimer, 1) << "a second death changes nothing";

    int booms = 0;
    int frames = 1;
    while (!c->dead && frames < 400) {
        Tick();
        ++frames;
        for (Explosion* x : AllOf<Explosion>()) EXPECT_FALSE(x->damaging);
        booms += CountNew<Explosion>();
    }
    EXPECT_EQ(frames, 151);
    EXPECT_EQ(booms, 15);
    EXPECT_TRUE(c->sprite->isCurrentAnimation(&c->aDead));
    EXPECT_TRUE(Building::lockScreen);

    // It falls once its death animation has played, and stays in the list well past the bottom of
    // the screen, where the base rule would have removed it.
    bool seenBelowScreen = false;
    while (InList(c) && frames < 2000) {
        if (c->y - Building::scrollY > 600) {
            seenBelowScreen = true;
            EXPECT_TRUE(Building::lockScreen);
        }
        Tick();
        ++frames;
    }
    EXPECT_TRUE(seenBelowScreen);
    EXPECT_FALSE(InList(c));
    EXPECT_FALSE(Building::lockScreen) << "the screen unlocks once the body is gone";
}
