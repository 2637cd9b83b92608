// The player: climbing and its refusals, corner turns, the camera's dead band, death, revival and
// the end of the game, weapons selection and the gun's hit scan.
#include "game/player/PlayFixture.h"

#include <typeinfo>

#include "game/entities/Blood.h"

namespace {

// An entity that counts its deletions.
struct Counted : Entity {
    static int deleted;
    ~Counted() override { ++deleted; }
};
int Counted::deleted = 0;

// A target for the gun: an ordinary entity with a 64 x 64 box on a tile.
Entity* AddTarget(int side, int tx, int ty) {
    Entity* t = new Entity;
    t->side = side;
    t->x = tx * 64.0f;
    t->y = ty * 64.0f;
    t->cw = t->ch = 64;
    Entity::entList.push_back(t);
    return t;
}

}  // namespace

using PlayerTest = PlayTest;

TEST_F(PlayerTest, AStepRecordsTheCheckpointAndAlternatesTheClimbSound) {
    EXPECT_TRUE(p->Climb(0, -1));
    EXPECT_EQ(p->tY, -3);
    EXPECT_EQ(Building::saveStepCount, 1);
    EXPECT_EQ(Building::lastCheckPointX[0], 4);
    EXPECT_EQ(Building::lastCheckPointY[0], -3);
    EXPECT_EQ(Building::lastCheckPointSide[0], 1);
    EXPECT_EQ(p->climbSound, 1);
    // The second call in the same frame is refused: the first step is still gliding.
    EXPECT_FALSE(p->Climb(0, -1));
    EXPECT_EQ(Building::saveStepCount, 1);
    Settle();
    EXPECT_TRUE(p->Climb(1, 0));
    EXPECT_EQ(p->climbSound, 0);
    EXPECT_EQ(Building::lastCheckPointX[1], 5);
    // A sideways step plays the sideways climb.
    EXPECT_TRUE(p->sprite->isCurrentAnimation(&p->aClimbRight));
}

TEST_F(PlayerTest, AStepGlidesForSixteenFramesThenTheNextIsAccepted) {
    ASSERT_TRUE(p->Climb(0, -1));
    float startY = p->y;
    for (int i = 0; i < 15; ++i) Frame();
    EXPECT_FLOAT_EQ(p->y, startY - 60);
    Frame();
    EXPECT_FLOAT_EQ(p->y, p->TargetY());
    Settle();
    EXPECT_TRUE(p->idleing);
    EXPECT_TRUE(p->Climb(0, -1));
}

TEST_F(PlayerTest, ClingingBabiesStopClimbingOnlyAboveTwo) {
    p->popperHalt = 3;
    EXPECT_FALSE(p->Climb(0, -1));
    p->popperHalt = 2;
    EXPECT_TRUE(p->Climb(0, -1));
    // The count is cleared by the player's own update every frame.
    p->popperHalt = 5;
    Frame();
    EXPECT_EQ(p->popperHalt, 0);
}

TEST_F(PlayerTest, TheLockedScreenKeepsThePlayerInsideTheBandAndOnTheSide) {
    // Player box spans y 30..94 below its tile corner; lock the camera with the player near the top.
    p->SetPosition(4, -230);
    float top = p->y + p->cy;  // world y of the box top
    Building::LockScreen(static_cast<int>(top) - 10, static_cast<int>(top) - 10);
    EXPECT_FALSE(p->Climb(0, -1)) << "a step above the locked window";
    EXPECT_TRUE(p->Climb(0, 1));
    Settle();

    // Near the bottom of the window the step down is refused.
    p->SetPosition(4, -224);
    Building::LockScreen(static_cast<int>(p->y + p->cy + p->ch) - 470, static_cast<int>(p->y + p->cy + p->ch) - 470);
    EXPECT_FALSE(p->Climb(0, 1));

    // At the side's edge columns the corner cannot be taken while locked.
    Building::LockScreen(-14400, -14400);
    // Rows -225..-219 lie inside the window that lock shows.
    p->SetPosition(1, -222);
    EXPECT_TRUE(p->Climb(0, 1)) << "inside the window a step is fine";
    Settle();
    p->SetPosition(1, -222);
    EXPECT_FALSE(p->Climb(-1, 0));
    p->SetPosition(8, -222);
    EXPECT_FALSE(p->Climb(1, 0));
    Building::UnlockScreen();
    EXPECT_TRUE(p->Climb(1, 0));
}

TEST_F(PlayerTest, LeavingColumnOneTurnsOntoTheNextSide) {
    struct Case {
        int side, column, dir, newSide, newColumn;
        float rotxAfter;
    };
    // Going left from side 1 reaches side 2; from side 4 it wraps to side 1. Going right the other way.
    for (Case c :
         {Case{1, 1, -1, 2, 8, 357}, Case{4, 1, -1, 1, 8, 87}, Case{1, 8, 1, 4, 1, 363}, Case{2, 8, 1, 1, 1, 273}}) {
        p->side = c.side;
        e->rotx = 450.0f - 90 * c.side;
        p->SetPosition(c.column, -2);
        Settle();
        ASSERT_TRUE(p->Climb(c.dir, 0));
        EXPECT_EQ(p->tX, c.column + c.dir);
        p->Update();
        EXPECT_EQ(p->side, c.newSide);
        EXPECT_EQ(p->tX, c.newColumn);
        EXPECT_FLOAT_EQ(e->rotx, c.rotxAfter);
        EXPECT_EQ(e->rotxdir, c.dir);
        // More than a tile away from the new column, the position snaps there.
        EXPECT_FLOAT_EQ(p->x, p->TargetX());
    }
}

TEST_F(PlayerTest, TheCameraFollowsWithADeadBand) {
    // Screen y 200 is inside the band: the camera stays.
    Building::scrollY = p->y - 200;
    float s = Building::scrollY;
    Frame();
    EXPECT_FLOAT_EQ(Building::scrollY, s);
    // Above the band (screen y 100) it rises by the climbing speed.
    Building::scrollY = p->y - 100;
    s = Building::scrollY;
    Frame();
    EXPECT_FLOAT_EQ(Building::scrollY, s - 4);
    // Below the band it sinks, but never above -32.
    Building::scrollY = p->y - 300;
    s = Building::scrollY;
    Frame();
    EXPECT_FLOAT_EQ(Building::scrollY, s + 4);
    p->SetPosition(4, 6);
    Building::scrollY = 0;
    Frame();
    EXPECT_FLOAT_EQ(Building::scrollY, -32);
    // A lock pins it.
    Building::LockScreen(-1000, -1000);
    Frame();
    EXPECT_FLOAT_EQ(Building::scrollY, -1000);
}

TEST_F(PlayerTest, AimChangesOnlyWhileStanding) {
    p->idleing = 0;
    p->Aim(-1, 1);
    EXPECT_EQ(p->aimDirX, 1);
    EXPECT_EQ(p->aimDirY, 0);
    p->Idle();
    p->Aim(-1, 1);
    EXPECT_EQ(p->aimDirX, -1);
    EXPECT_EQ(p->aimDirY, 1);
    // The standing pose follows the aim: down-left is frame 3 of layer 3, up is frame 0 of layer 2.
    p->Idle();
    EXPECT_EQ(p->aIdle.start, 3);
    EXPECT_EQ(p->aIdle.layer, 3);
    p->Aim(0, -1);
    p->Idle();
    EXPECT_EQ(p->aIdle.start, 0);
    EXPECT_EQ(p->aIdle.layer, 2);
}

TEST_F(PlayerTest, OneTouchKillsAndASecondDeathIsIgnored) {
    p->SetPosition(3, -5);
    p->OnHit();
    EXPECT_TRUE(p->dead);
    EXPECT_TRUE(p->applyGravity);
    EXPECT_EQ(Player::Lives, 4);
    EXPECT_EQ(p->reviveDelay, 10);
    EXPECT_EQ(p->fallX, 3);
    EXPECT_EQ(p->fallY, -5);
    p->Die();
    EXPECT_EQ(Player::Lives, 4);
}

TEST_F(PlayerTest, AFallingBodyCannotClimb) {
    // Standing still next to the corner when it is hit.
    p->SetPosition(1, -5);
    Settle();
    p->Idle();
    p->OnHit();
    const float rotx = e->rotx;
    // Climb and left held from the moment of death until the body nears the bottom of the screen:
    // the moments between its death animations must not let a step through either.
    Press('X');
    Press(VK_LEFT);
    for (int i = 0; i < 40 && p->dead; ++i) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (dx || dy) ASSERT_FALSE(p->Climb(dx, dy)) << "frame " << i << ": " << dx << "," << dy;
        HandleKeys(e);
        Frame();
        ASSERT_EQ(p->tX, 1) << "frame " << i;
        ASSERT_EQ(p->tY, -5) << "frame " << i;
    }
    EXPECT_TRUE(p->dead);
    EXPECT_EQ(p->side, 1);
    EXPECT_FLOAT_EQ(e->rotx, rotx) << "no corner turn mid-fall";
    EXPECT_EQ(Building::saveStepCount, 0) << "nothing entered the checkpoint ring";
}

TEST_F(PlayerTest, WithLivesLeftThePlayerRevivesAtTheCheckpointOnTheEleventhFrame) {
    // Seven steps up from (4, -2): the revival point is four steps behind the last.
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(p->Climb(0, -1)) << i;
        Settle();
    }
    p->Die();
    for (int i = 0; i < 10; ++i) {
        p->OffScreen();
        ASSERT_TRUE(p->dead) << "frame " << i;
    }
    p->OffScreen();
    EXPECT_FALSE(p->dead);
    EXPECT_FALSE(p->applyGravity);
    EXPECT_EQ(p->invinceTimer, 200);
    EXPECT_EQ(p->tX, 4);
    EXPECT_EQ(p->tY, -2 - 3);  // the position saved by the 3rd step
    EXPECT_FLOAT_EQ(Building::scrollY, 64.0f * -5 - 192);
    EXPECT_EQ(Player::Lives, 4);
}

TEST_F(PlayerTest, DuringALockedFightThePlayerRevivesWhereItFell) {
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(p->Climb(0, -1));
        Settle();
    }
    Building::LockScreen(-900, -900);
    p->Die();
    for (int i = 0; i < 11; ++i) p->OffScreen();
    EXPECT_FALSE(p->dead);
    EXPECT_EQ(p->tY, -8);
    EXPECT_EQ(p->invinceTimer, 200);
}

TEST_F(PlayerTest, LosingTheLastLifeFadesOutThenStartsOver) {
    Player::Lives = 0;
    Player* old = p;
    p->Die();
    EXPECT_EQ(Player::Lives, -1);
    Building::MainMenuOn = 0;
    // Ten frames below the screen, then a fade of 0.005 per frame.
    for (int i = 0; i < 10; ++i) old->OffScreen();
    EXPECT_FLOAT_EQ(e->fadePerc, 0);
    old->OffScreen();
    EXPECT_FLOAT_EQ(e->fadePerc, 0.005f);
    int frames = 1;
    while (e->fadePerc < 1.0f && frames < 400) {
        old->OffScreen();
        ++frames;
    }
    EXPECT_GE(frames, 199);
    EXPECT_LE(frames, 201);
    // The next frame starts the game over: a fresh player with five lives, on the title.
    old->OffScreen();
    EXPECT_FLOAT_EQ(e->fadePerc, 0);
    ASSERT_NE(Player::Get(), nullptr);
    EXPECT_EQ(Entity::entList.size() >= 1, true);
    EXPECT_EQ(Entity::entList[0], Player::Get());
    EXPECT_EQ(Player::Lives, 5);
    EXPECT_TRUE(Building::MainMenuOn);
    EXPECT_FALSE(Player::Get()->dead);
}

// The restart replaces the player while the entity pass is inside that player's update: it must
// wait for the end of the pass (run this under AddressSanitizer to see a use after free).
TEST_F(PlayerTest, GameOverInsideTheEntityPassRestartsAfterThePass) {
    Counted::deleted = 0;
    Entity::entList.push_back(new Counted);
    Entity::entList.push_back(new Counted);
    Player::Lives = 0;
    p->Die();
    p->reviveDelay = -1;
    e->fadePerc = 1.0f;
    // Below the bottom of the view, so the base update calls OffScreen.
    p->y = Building::scrollY + 600;
    Building::UpdateEntities();
    EXPECT_FALSE(Building::restartPending);
    ASSERT_NE(Player::Get(), nullptr);
    EXPECT_EQ(Entity::entList[0], Player::Get());
    // A fresh player (it may reuse the old one's memory, so compare its state).
    EXPECT_FALSE(Player::Get()->dead);
    EXPECT_EQ(Player::Get()->tY, -45);
    // Both entities after the player were updated in that pass, then freed by the restart.
    EXPECT_EQ(Counted::deleted, 2);
    EXPECT_EQ(Player::Lives, 5);
    EXPECT_FLOAT_EQ(e->fadePerc, 0);
    EXPECT_EQ(Building::triggerCrabBoss, 0);
    EXPECT_TRUE(Building::MainMenuOn);
}

TEST_F(PlayerTest, ARestartClearsTheScriptButKeepsTheCheckpointsAndTheView) {
    Building::triggerCrabBoss = 3;
    Building::triggerBoss2 = 1;
    Building::triggerBossFinal = 2;
    Building::lineCross = 2;
    Building::LockScreen(-10, -10);
    Building::saveStepCount = 7;
    Building::fbBlack = 1;
    e->rotx = 270;
    Counted::deleted = 0;
    Entity::entList.push_back(new Counted);
    Building::RestartGame();
    EXPECT_EQ(Counted::deleted, 1);
    EXPECT_EQ(Building::triggerCrabBoss, 0);
    EXPECT_EQ(Building::triggerBoss2, 0);
    EXPECT_EQ(Building::triggerBossFinal, 0);
    EXPECT_EQ(Building::lineCross, 0);
    EXPECT_FALSE(Building::lockScreen);
    EXPECT_EQ(Building::saveStepCount, 7);
    EXPECT_FALSE(Building::fbBlack) << "a game lost in the boss's flicker must not start the next one black";
    EXPECT_FLOAT_EQ(e->rotx, 270);
    EXPECT_EQ(Entity::entList[0], Player::Get());
    EXPECT_EQ(Player::Get()->tX, 5);
    EXPECT_EQ(Player::Get()->tY, -45);
}

TEST_F(PlayerTest, NextWeaponSkipsWhatIsNotOwnedOrEmpty) {
    p->NextWeapon();
    EXPECT_EQ(p->weapon, 0) << "only the gun";
    p->haveWeapon[1] = 1;
    p->ammo[1] = 0;
    p->haveWeapon[2] = 1;
    p->ammo[2] = 3;
    p->NextWeapon();
    EXPECT_EQ(p->weapon, 2) << "the empty flame thrower is skipped";
    EXPECT_EQ(p->sprite->image, Player::sprite_sheet[2]);
    p->NextWeapon();
    EXPECT_EQ(p->weapon, 0);
    p->ammo[1] = 10;
    p->NextWeapon();
    EXPECT_EQ(p->weapon, 1);
}

TEST_F(PlayerTest, TheGunHitsTheNearestTargetOnTheAimLineOncePerCycle) {
    Building::scrollY = p->y - 200;  // the player's row well inside the screen
    p->Idle();
    Entity* far = AddTarget(1, 8, -2);
    Entity* nearer = AddTarget(1, 6, -2);
    Entity* otherSide = AddTarget(2, 5, -2);
    int shots = 0;
    for (int frame = 0; frame < 12; ++frame) {
        int before = nearer->HP;
        p->Fire();
        p->sprite->Step();
        if (nearer->HP < before) ++shots;
    }
    // The three-frame animation shows each frame for two ticks: one shot per six ticks, none on
    // the tick it starts.
    EXPECT_EQ(shots, 2);
    EXPECT_EQ(far->HP, 50);
    EXPECT_EQ(otherSide->HP, 50);
    // Three drops of blood per hit (blood and shells are never targets themselves).
    size_t blood = 0;
    for (Entity* x : Entity::entList)
        if (typeid(*x) == typeid(Blood)) ++blood;
    EXPECT_EQ(blood, 6u);
}

TEST_F(PlayerTest, NothingFiresWhileClimbingHoldingClimbDeadOrEmpty) {
    Building::scrollY = p->y - 200;
    Entity* t = AddTarget(1, 5, -2);
    auto fireFor = [&](int frames, bool hold) {
        for (int i = 0; i < frames; ++i) {
            p->climbHold = hold ? 1 : 0;
            p->Fire();
            p->sprite->Step();
        }
    };
    p->idleing = 0;
    fireFor(12, false);
    EXPECT_EQ(t->HP, 50) << "while a step glides";
    p->Idle();
    fireFor(12, true);
    EXPECT_EQ(t->HP, 50) << "with the climb key held";
    p->dead = 1;
    fireFor(12, false);
    EXPECT_EQ(t->HP, 50) << "dead";
    p->dead = 0;
    fireFor(12, false);
    EXPECT_EQ(t->HP, 48) << "standing, the same gun hits";

    // An empty weapon stays selected and does not even start the fire animation.
    p->Idle();
    p->haveWeapon[2] = 1;
    p->ammo[2] = 0;
    p->weapon = 2;
    p->Fire();
    EXPECT_TRUE(p->sprite->isCurrentAnimation(&p->aIdle));
    EXPECT_EQ(p->weapon, 2);
}

TEST_F(PlayerTest, TheGunStopsAtTheScreenRowsAndTheSideColumns) {
    Building::scrollY = p->y - 200;
    p->Idle();
    // Straight down: rows below the screen are never reached.
    Entity* below = AddTarget(1, 4, -2 + 8);
    // To the left the trace ends past column 1.
    p->aimDirX = -1;
    Entity* offWall = AddTarget(1, -1, -2);
    for (int frame = 0; frame < 12; ++frame) {
        p->Fire();
        p->sprite->Step();
    }
    EXPECT_EQ(offWall->HP, 50);
    p->aimDirX = 0;
    p->aimDirY = 1;
    p->Idle();
    for (int frame = 0; frame < 12; ++frame) {
        p->Fire();
        p->sprite->Step();
    }
    EXPECT_EQ(below->HP, 50);
    // Moved up onto the screen, the same target is hit.
    below->y -= 6 * 64;
    for (int frame = 0; frame < 12; ++frame) {
        p->Fire();
        p->sprite->Step();
    }
    EXPECT_EQ(below->HP, 48);
}

TEST_F(PlayerTest, DuringTheEndingThePlayerOnlyFalls) {
    Building::scenePhase = Building::kSceneStart;
    p->popperHalt = 4;
    p->SetPosition(0, -2);
    p->Update();
    EXPECT_EQ(p->tX, 0) << "no corner turn";
    EXPECT_EQ(p->popperHalt, 4);
    EXPECT_TRUE(p->sprite->isCurrentAnimation(&p->aDeadFall));
}

TEST_F(PlayerTest, AStepRoundACornerIsRememberedAsTheTileOnTheNextSide) {
    // Stepping past column 8 turns the tower to the previous side (column 1 there); past column 1,
    // to the next side (column 8). A respawn at either checkpoint lands on the wall.
    p->SetPosition(8, -2);
    p->Idle();
    ASSERT_TRUE(p->Climb(1, 0));
    int slot = (Building::saveStepCount - 1) % 5;
    EXPECT_EQ(Building::lastCheckPointX[slot], 1);
    EXPECT_EQ(Building::lastCheckPointSide[slot], 4);
    Settle(60);
    p->SetPosition(1, -2);
    p->side = 2;
    p->Idle();
    ASSERT_TRUE(p->Climb(-1, 0));
    slot = (Building::saveStepCount - 1) % 5;
    EXPECT_EQ(Building::lastCheckPointX[slot], 8);
    EXPECT_EQ(Building::lastCheckPointSide[slot], 3);
}
