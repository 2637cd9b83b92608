// The final boss's parts on their own: the laser robots and their beam, the crawlers' armour and
// wandering, the flying eye's spiders, the hit-point floor, and the ending's cards; plus the fight
// ended in every way a player can end it (the form's own end, a restart, the last life lost).
#include "FinalFixture.h"
#include "game/enemies/Spider.h"

namespace {

// Two robots as the slit-eye form makes them, buddies of each other and of the eye.
struct Robots {
    LaserClimber* right;
    LaserClimber* left;
};

class FinalParts : public FinalTest {
protected:
    Robots MakeRobots(FinalBoss* b, float yRight, float yLeft) {
        auto* r = new LaserClimber(b->side, 576, yRight);
        auto* l = new LaserClimber(b->side, 0, yLeft);
        l->velY = -l->velY;
        r->buddy = l;
        l->buddy = r;
        r->boss = b;
        l->boss = b;
        Entity::entList.push_back(r);
        Entity::entList.push_back(l);
        return {r, l};
    }
};

TEST_F(FinalParts, RobotsHaltWhenShotResumeTheirWayAndFireWhenLevel) {
    FinalBoss* b = Spawn();
    b->aiPhase = FinalBoss::kPhaseEnded;  // the eye does nothing of its own here
    b->EyeSmallTransform();
    Robots r = MakeRobots(b, kArena + 300, kArena + 100);
    for (int i = 0; i < 3; ++i) Tick();
    const float dir = r.right->velY;
    ASSERT_LT(dir, 0);
    // A shot halts the robot for ten frames; then it goes on the same way.
    r.right->Hit(1, 0);
    Tick();  // the frame of the hit still moves it
    const float y0 = r.right->y;
    for (int i = 0; i < 9; ++i) Tick();
    EXPECT_FLOAT_EQ(r.right->y, y0) << "halted";
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_LT(r.right->y, y0) << "moving up again";
    EXPECT_FLOAT_EQ(r.right->velY, dir);

    // Level within 4 pixels while one is halted: both still fire, and only the left one's beam
    // comes.
    r.left->y = r.right->y + 3;
    r.right->shotTimer = r.left->shotTimer = 0;
    r.left->Hit(1, 0);
    Tick();
    EXPECT_TRUE(r.right->sprite->isCurrentAnimation(&r.right->aLaserShot));
    EXPECT_TRUE(r.left->sprite->isCurrentAnimation(&r.left->aLaserShot));
    int beams = 0;
    for (int i = 0; i < 120; ++i) {
        Tick();
        beams += CountNew<LaserBeam>();
    }
    EXPECT_EQ(beams, 1);
    EXPECT_NE(r.right->velY, 0) << "moving on after firing";
}

// The form's end takes the robots off in the middle of a frame: a robot taken off in the very frame
// its shot was due fires nothing.
TEST_F(FinalParts, ARobotTakenOffFiresNoBeam) {
    int due = -1;  // the frame the beam comes, counted from the robots' levelling
    for (bool takenOff : {false, true}) {
        SCOPED_TRACE(takenOff ? "taken off" : "left alone");
        SetUp();
        FinalBoss* b = Spawn();
        b->aiPhase = 52;
        b->EyeSmallTransform();
        Robots r = MakeRobots(b, kArena + 200, kArena + 200);
        r.right->shotTimer = r.left->shotTimer = 0;
        int beams = 0;
        for (int i = 0; i < 60 && beams == 0; ++i) {
            if (takenOff && i == due) r.left->alive = r.right->alive = false;
            Tick();
            beams += CountNew<LaserBeam>();
            if (!takenOff && beams > 0) due = i;
            if (takenOff && i == due) break;
        }
        EXPECT_EQ(beams, takenOff ? 0 : 1);
        ASSERT_GE(due, 0);
        TearDown();
    }
}

TEST_F(FinalParts, ABeamAcrossTheSlitEyeHoldsItOpenAndAShutEyeCannotBeHit) {
    FinalBoss* b = Spawn();
    b->aiPhase = FinalBoss::kPhaseEnded;
    b->EyeSmallTransform();
    // Left alone the eye closes and then cannot be hit.
    for (int i = 0; i < 120; ++i) Tick();
    EXPECT_EQ(b->sprite->CurFrame, 2);
    EXPECT_FALSE(b->canHit);
    const int hp = b->HP;
    b->Hit(0, -1);
    EXPECT_EQ(b->HP, hp);
    // A beam lying across it for its nine frames keeps the open timer at 100.
    auto* beam = new LaserBeam(b->side, 0, b->y + 8);
    beam->boss = b;
    Entity::entList.push_back(beam);
    int frames = 0;
    while (InList(beam) && frames < 20) {
        Tick();
        ++frames;
        if (InList(beam)) EXPECT_EQ(b->EyeSmallHitTimer, 100);
    }
    EXPECT_EQ(frames, 9) << "a beam lives nine frames";
    EXPECT_EQ(b->sprite->CurFrame, 0);
    EXPECT_TRUE(b->canHit);
    // Open for 100 frames after the last touch, then shut over two frames of 32.
    for (int i = 0; i < 98; ++i) Tick();
    EXPECT_EQ(b->sprite->CurFrame, 0);
    for (int i = 0; i < 80; ++i) Tick();
    EXPECT_EQ(b->sprite->CurFrame, 2);
    EXPECT_FALSE(b->canHit);
}

TEST_F(FinalParts, CrawlerArmourWanderingAndTheLockedScreen) {
    FinalBoss* b = Spawn();
    b->aiPhase = FinalBoss::kPhaseEnded;
    b->HP = 200;
    const int row = kArena / 64 + 2;
    auto* carrier = new EyeCrawler(3, 3, row);
    auto* shell = new EyeCrawler(3, 6, row);
    carrier->hasEye = 1;
    carrier->boss = b;
    Entity::entList.push_back(carrier);
    Entity::entList.push_back(shell);

    // Ten quick hits bare the carrier's eye; each later hit costs the eye a point while the shell
    // stays at its floor of 100.
    for (int i = 0; i < 10; ++i) carrier->Hit(0, -1);
    EXPECT_EQ(carrier->HP, 100);
    EXPECT_EQ(b->HP, 200);
    for (int i = 0; i < 5; ++i) {
        carrier->Hit(0, -1);
        Tick();
        EXPECT_EQ(carrier->HP, 100);
        EXPECT_TRUE(carrier->canHit);
    }
    EXPECT_EQ(b->HP, 195);

    // An empty shell hit down to 99 is whole to 100 next frame and cannot be hit for that frame.
    for (int i = 0; i < 11; ++i) shell->Hit(0, -1);
    EXPECT_EQ(shell->HP, 99);
    Tick();
    EXPECT_EQ(shell->HP, 100);
    EXPECT_FALSE(shell->canHit);
    shell->Hit(0, -1);
    EXPECT_EQ(shell->HP, 100) << "unhittable until its next update";
    EXPECT_EQ(b->HP, 195) << "an empty shell never passes damage on";

    // A hit crawler stands still until whole again: 50 frames, then a point a frame.
    const int tx = shell->tX, ty = shell->tY;
    for (int i = 0; i < 50 + 9; ++i) {
        Tick();
        EXPECT_EQ(shell->tX, tx);
        EXPECT_EQ(shell->tY, ty);
    }

    // No step leaves the locked screen, even where the wall is open.
    const int bottomRow = kArena / 64 + 6;  // its box's bottom one step above the screen's
    auto* low = new EyeCrawler(3, 5, bottomRow);
    Entity::entList.push_back(low);
    EXPECT_FALSE(low->Climb(0, 1));
    auto* high = new EyeCrawler(3, 5, Building::lockHi / 64);
    Entity::entList.push_back(high);
    EXPECT_FALSE(high->Climb(0, -1));
    for (int i = 0; i < 3000; ++i) {
        Tick();
        for (EyeCrawler* c : AllOf<EyeCrawler>()) {
            ASSERT_GE(c->y + c->cy, Building::lockHi);
            ASSERT_LE(c->y + c->cy + c->ch, Building::lockLo + 480);
        }
    }
}

TEST_F(FinalParts, TheFlyingEyeDropsSpidersOnlyOverTheInnerColumns) {
    FinalBoss* b = Spawn();
    b->aiTargetArea = FinalBoss::kFormFlying;
    b->EyeFlyTransform();
    b->side = p->side = 2;
    b->aiPhase = FinalBoss::kPhaseFly;
    b->chasePhase = FinalBoss::kChaseDrift;
    b->hasChased = 1;
    auto drop = [&](float centreX) {
        b->x = centreX - b->cx - b->cw / 2;
        b->aiTimer = 151;
        CountNew<Spider>();
        b->AI();
        return CountNew<Spider>();
    };
    EXPECT_EQ(drop(64 * 1.0f), 0) << "column 1 exactly";
    EXPECT_EQ(drop(64 * 1.5f), 1);
    EXPECT_EQ(drop(64 * 7.9f), 1);
    EXPECT_EQ(drop(64 * 8.0f), 0) << "column 8 exactly";
}

TEST_F(FinalParts, TheHitPointFloorEndsAFormAndExposedDamageLeadsStraightToDeath) {
    FinalBoss* b = Spawn();
    b->aiTargetArea = FinalBoss::kFormSmall;
    b->aiPhase = FinalBoss::kPhaseBlackout;
    RunToPhase(b, FinalBoss::kPhaseSmall);
    b->HP = 9;
    Tick();
    EXPECT_EQ(b->HP, 10);
    EXPECT_EQ(b->aiPhase, FinalBoss::kPhaseFlickerBack) << "the form ended at once";

    // Hurt to 10 while exposed at home: no more teleporting, the death begins.
    FinalBoss* c = Spawn();
    Entity::entList.erase(std::find(Entity::entList.begin(), Entity::entList.end(), b));
    delete b;
    RunToPhase(c, FinalBoss::kPhaseExposed);
    c->HP = 11;
    c->Hit(0, -1);
    c->Hit(0, -1);
    EXPECT_LE(RunToPhase(c, FinalBoss::kPhaseDying, 200), 102) << "at the end of this exposure";
    const int dying = RunToPhase(c, FinalBoss::kPhaseEnded, 2000);
    EXPECT_GE(dying, 790) << "about 800 frames of explosions and fading";
    EXPECT_LE(dying, 810);
    EXPECT_EQ(e->fadePerc, 1.0f);
    EXPECT_GE(Building::scenePhase, Building::kSceneStart);
}

TEST_F(FinalParts, EndingTheFightAnyWayLeavesNothingDangling) {
    // The form's own end (time), a restart, and the last life lost, in each form.
    for (int form = 0; form < 3; ++form) {
        for (int ending = 0; ending < 3; ++ending) {
            SCOPED_TRACE("form " + std::to_string(form) + ", ending " + std::to_string(ending));
            SetUp();
            FinalBoss* b = Spawn();
            b->aiTargetArea = form;
            b->aiPhase = FinalBoss::kPhaseBlackout;
            static const int kFight[3] = {FinalBoss::kPhaseFly, FinalBoss::kPhaseSmall, FinalBoss::kPhaseCrawlers};
            RunToPhase(b, kFight[form]);
            for (int i = 0; i < 200; ++i) Tick();
            if (ending == 0) {
                RunToPhase(b, FinalBoss::kPhaseHoldHome, 3000);
                EXPECT_EQ(Entity::entList.size(), 2u);
                EXPECT_EQ(EntityLinkBase::CountLinksTo(b), 1) << "only the script's link to the eye is left";
            } else if (ending == 1) {
                Building::RestartGame();
                EXPECT_EQ(FinalBoss::debug_boss.get(), nullptr);
                EXPECT_FALSE(Building::fbBlack);
                for (int i = 0; i < 10; ++i) Tick();
            } else {
                Player::Lives = 0;
                int frames = 0;
                while (Player::Get() == p && frames++ < 2000) {
                    if (!p->dead) p->Die();
                    Tick(false);
                }
                EXPECT_TRUE(Building::MainMenuOn) << "the game went back to the title";
                EXPECT_EQ(FinalBoss::debug_boss.get(), nullptr);
            }
            TearDown();
        }
    }
}

TEST_F(FinalParts, TheEndingsCardsTimingAndSprites) {
    Building::scenePhase = Building::kSceneStart;
    e->fadePerc = 1;
    Building::UpdateFinalScene();
    Sprite* clouds = Building::creditSp;
    ASSERT_NE(clouds, nullptr);
    // A second ending reuses the sprites.
    Building::scenePhase = Building::kSceneStart;
    Building::UpdateFinalScene();
    EXPECT_EQ(Building::creditSp, clouds);
    // Falling, the veil lifting, then the first card.
    while (Building::scenePhase != Building::kSceneFirstCard) Building::UpdateFinalScene();
    EXPECT_EQ(e->fadePerc, 0.0f);
    EXPECT_EQ(Building::sceneTimer, 0) << "invisible at first";
    for (int i = 0; i < 200; ++i) Building::UpdateFinalScene();
    EXPECT_EQ(Building::sceneTimer, 200) << "fully opaque";
    for (int i = 0; i < 50; ++i) Building::UpdateFinalScene();
    EXPECT_EQ(Building::scenePhase, Building::kSceneFirstCard) << "held";
    Building::UpdateFinalScene();
    EXPECT_EQ(Building::scenePhase, Building::kSceneFirstCard + 1);
    EXPECT_EQ(Building::sceneTimer, 200);
    int out = 0;
    while (Building::scenePhase == Building::kSceneFirstCard + 1) {
        Building::UpdateFinalScene();
        ++out;
    }
    EXPECT_EQ(out, 201);
}

}  // namespace
