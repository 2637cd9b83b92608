// The three weapons: the gun's hit scan along the aim line, the flame thrower's chain of
// segments, and the bazooka's rocket with its explosion; and that no link to a freed segment is
// ever left behind.
#include <algorithm>
#include <set>

#include "../support/EntityQueries.h"
#include "PlayFixture.h"
#include "game/enemies/Pickup.h"
#include "game/enemies/WallBlast.h"
#include "game/enemies/WallBlastSmoke.h"
#include "game/entities/Blood.h"
#include "game/player/Bazooka.h"
#include "game/player/BulletShell.h"
#include "game/player/Flame.h"
#include "game/world/Explosion.h"

namespace {

Entity* AddTarget(int side, int tx, int ty) {
    Entity* t = new Entity;
    t->side = side;
    t->x = tx * 64.0f;
    t->y = ty * 64.0f;
    t->cw = t->ch = 64;
    Entity::entList.push_back(t);
    return t;
}

bool IsLive(Flame* f) {
    const auto& live = Flame::Live();
    return std::find(live.begin(), live.end(), f) != live.end();
}

// Every link between segments and from the player points at a segment that still exists.
void ExpectNoDanglingLinks() {
    for (Flame* f : Flame::Live()) {
        if (f->next) {
            EXPECT_TRUE(IsLive(f->next)) << "a segment links to a freed one";
        }
    }
    if (Player::Get() && Player::Get()->startFlame) {
        EXPECT_TRUE(IsLive(Player::Get()->startFlame));
    }
}

}  // namespace

class WeaponsTest : public PlayTest {
protected:
    static void SetUpTestSuite() {
        PlayTest::SetUpTestSuite();
        static bool loaded = false;
        if (!loaded) {
            Pickup::Init();
            loaded = true;
        }
    }

    void SetUp() override {
        PlayTest::SetUp();
        Building::scrollY = p->y - 200;  // the player's row well inside the screen
        p->Idle();
        srand(7);
    }

    // One play frame: the entity pass, then the animation step of every sprite (as drawing does).
    void Tick() {
        Building::UpdateEntities();
        for (Entity* x : Entity::entList)
            if (x->sprite) x->sprite->Step();
    }
    void HoldFire(int frames) {
        for (int i = 0; i < frames; ++i) {
            p->Fire();
            Tick();
        }
    }
    // The gun alone: the list is not updated, so targets stay where they are.
    void ShootGun(int frames) {
        for (int i = 0; i < frames; ++i) {
            p->Fire();
            p->sprite->Step();
        }
    }
    void Arm(int wep, int rounds) {
        p->haveWeapon[wep] = 1;
        p->ammo[wep] = rounds;
        p->ChangeWeapon(wep);
    }
};

// ---- gun ------------------------------------------------------------------------------------------

TEST_F(WeaponsTest, GunShotsPassThroughWhatCannotBeHitAndStopAtTheFirstTarget) {
    Pickup* pickup = new Pickup(1, 5, -2, 1);
    Entity::entList.push_back(pickup);
    WallBlast* blast = new WallBlast(1, 6 * 64 + 20, -2 * 64 + 20);
    Entity::entList.push_back(blast);
    Entity* corpse = AddTarget(1, 6, -2);
    corpse->dead = 1;
    Entity::entList.push_back(new Blood(1, 6 * 64 + 30, -2 * 64 + 30, 0, 0));
    Entity* first = AddTarget(1, 7, -2);
    Entity* behind = AddTarget(1, 8, -2);

    ShootGun(12);

    EXPECT_EQ(first->HP, 48) << "two shots in twelve ticks, both on the first live target";
    EXPECT_EQ(behind->HP, 50);
    EXPECT_EQ(corpse->HP, 50);
    EXPECT_EQ(blast->HP, 1);
    EXPECT_TRUE(blast->alive);
    EXPECT_EQ(pickup->HP, 10);
    EXPECT_TRUE(pickup->alive);

    // Each shot ejects one shell from the muzzle, drifting left, not up or down.
    auto shells = AllOf<BulletShell>();
    ASSERT_EQ(shells.size(), 2u);
    for (BulletShell* s : shells) {
        EXPECT_FLOAT_EQ(s->x, p->x + p->offX + 2 * 48);
        EXPECT_FLOAT_EQ(s->y, p->y + p->offY + 2 * 30);
        EXPECT_GE(s->velX, -1.0f);
        EXPECT_LT(s->velX, 0.0f);
        EXPECT_FLOAT_EQ(s->velY, 0.0f);
        EXPECT_FALSE(s->canHit);
    }
}

TEST_F(WeaponsTest, GunReachesOneRowBeyondTheScreenButNoFurther) {
    // The player stands on row -2 with the top of the screen at row -5.125: aiming up, rows -3 to
    // -6 are tested and row -7 never is.
    p->aimDirX = 0;
    p->aimDirY = -1;
    p->Idle();
    Entity* beyond = AddTarget(1, 4, -7);
    ShootGun(12);
    EXPECT_EQ(beyond->HP, 50);
    Entity* lastRow = AddTarget(1, 4, -6);
    ShootGun(12);
    EXPECT_EQ(lastRow->HP, 48);
    EXPECT_EQ(beyond->HP, 50);

    // Diagonally up-left from column 4 the trace leaves the wall after column 1: the tile at
    // column 0, row -6 (tested on the way out) is hit, one step further never.
    p->aimDirX = -1;
    p->aimDirY = -1;
    p->Idle();
    Entity* off = AddTarget(1, -1, -7);
    ShootGun(12);
    EXPECT_EQ(off->HP, 50);
    Entity* edge = AddTarget(1, 0, -6);
    ShootGun(12);
    EXPECT_EQ(edge->HP, 48);
}

// ---- flame thrower ---------------------------------------------------------------------------

TEST_F(WeaponsTest, FlameChainGrowsToFourSegmentsEachFurtherOutAndLarger) {
    Arm(1, 100);
    HoldFire(20);
    ASSERT_NE(p->startFlame, nullptr);
    EXPECT_EQ(Flame::GetLength(p->startFlame), 4);
    EXPECT_EQ(AllOf<Flame>().size(), 4u) << "held fire re-lights the chain instead of adding to it";
    EXPECT_EQ(p->ammo[1], 80) << "one round per frame held";

    // The muzzle segment is centred on the muzzle; each next one 16 * scale further out.
    Flame* f = p->startFlame;
    EXPECT_FLOAT_EQ(f->x + 16, static_cast<int>(p->x + p->offX + 2 * 61));
    EXPECT_FLOAT_EQ(f->y + 16, static_cast<int>(p->y + p->offY + 2 * 29));
    float scale = 1.0f;
    for (int n = 1; f; ++n, f = f->next, scale += 0.5f) {
        EXPECT_EQ(f->length, n);
        EXPECT_FLOAT_EQ(f->flameScale, scale);
        EXPECT_EQ(f->dirX, 1);
        EXPECT_EQ(f->dirY, 0);
        if (f->next) {
            float cxThis = f->x + 16 * f->flameScale;
            float cxNext = f->next->x + 16 * f->next->flameScale;
            EXPECT_NEAR(cxNext - cxThis, 16 * f->flameScale, 1.0f);
            EXPECT_NEAR(f->next->y + 16 * f->next->flameScale, f->y + 16 * f->flameScale, 1.0f);
        }
    }
}

TEST_F(WeaponsTest, ReleasedFlameBurnsOutFromTheMuzzleOutwards) {
    Arm(1, 100);
    HoldFire(20);
    std::vector<Flame*> chain;
    for (Flame* f = p->startFlame; f; f = f->next) chain.push_back(f);
    ASSERT_EQ(chain.size(), 4u);

    std::vector<int> goneAt(4, -1);
    for (int frame = 0; frame < 30; ++frame) {
        Tick();
        ExpectNoDanglingLinks();
        for (size_t i = 0; i < chain.size(); ++i)
            if (goneAt[i] < 0 && !IsLive(chain[i])) goneAt[i] = frame;
    }
    for (size_t i = 0; i < chain.size(); ++i) ASSERT_GE(goneAt[i], 0) << "segment " << i + 1 << " still burns";
    EXPECT_LT(goneAt[0], goneAt[1]) << "the muzzle segment goes first";
    for (size_t i = 1; i < chain.size(); ++i) EXPECT_LE(goneAt[i - 1], goneAt[i]);
    EXPECT_EQ(goneAt[0], 2) << "burns three updates after the last re-light, gone at the fourth";
    EXPECT_EQ(p->startFlame, nullptr);

    // Firing again starts a fresh chain.
    HoldFire(1);
    ASSERT_NE(p->startFlame, nullptr);
    EXPECT_EQ(p->startFlame->length, 1);
}

TEST_F(WeaponsTest, TurningTheFlameStartsANewChainAndTheOldOneDies) {
    Arm(1, 200);
    HoldFire(15);
    Flame* oldStart = p->startFlame;
    ASSERT_NE(oldStart, nullptr);
    p->Aim(0, -1);
    p->Idle();
    HoldFire(30);
    ASSERT_NE(p->startFlame, nullptr);
    EXPECT_NE(p->startFlame, oldStart);
    EXPECT_EQ(p->startFlame->dirX, 0);
    EXPECT_EQ(p->startFlame->dirY, -1);
    for (Flame* f : AllOf<Flame>()) EXPECT_EQ(f->dirY, -1) << "the sideways chain has burnt out";
    EXPECT_EQ(Flame::GetLength(p->startFlame), 4);
}

TEST_F(WeaponsTest, FlameBurnsFlammablesEveryFrameBossesRarelyAndDestroysBlasts) {
    Arm(1, 1000);
    HoldFire(12);  // a full chain
    // Two targets on the same spot inside the second segment: an ordinary creature and a boss.
    Flame* second = p->startFlame->next;
    ASSERT_NE(second, nullptr);
    auto place = [&](Entity* t) {
        t->x = second->x + 4;
        t->y = second->y + 4;
        t->cw = t->ch = 8;
        t->HP = t->MaxHP = 100000;
    };
    Entity* creature = AddTarget(1, 0, 0);
    place(creature);
    Entity* boss = AddTarget(1, 0, 0);
    place(boss);
    boss->isBoss = 1;
    Entity* fireproof = AddTarget(1, 0, 0);
    place(fireproof);
    fireproof->canFlameHit = 0;

    HoldFire(600);
    int creatureLoss = 100000 - creature->HP;
    int bossLoss = 100000 - boss->HP;
    EXPECT_GE(creatureLoss, 600) << "at least one point per frame";
    EXPECT_EQ(fireproof->HP, 100000);
    EXPECT_GT(bossLoss, creatureLoss / 24);
    EXPECT_LT(bossLoss, creatureLoss / 6) << "a boss burns on about one frame in twelve";
    EXPECT_EQ(AllOf<Blood>().size(), 0u) << "burning takes hit points directly, without blood";

    // An enemy shot flying into the flame is destroyed; the gun's bullets would pass through it.
    WallBlast* blast = new WallBlast(1, p->startFlame->x + 8, p->startFlame->y + 8);
    Entity::entList.push_back(blast);
    HoldFire(2);
    EXPECT_TRUE(blast->dead);
}

TEST_F(WeaponsTest, NoLinkToASegmentSurvivesItsRemoval) {
    Arm(1, 500);
    HoldFire(12);
    ASSERT_EQ(Flame::GetLength(p->startFlame), 4);

    // Another entity's rule removes the second segment: the first no longer links to it, and the
    // held trigger grows the chain back.
    Flame* first = p->startFlame;
    first->next->alive = false;
    HoldFire(1);
    ExpectNoDanglingLinks();
    HoldFire(12);
    EXPECT_EQ(Flame::GetLength(p->startFlame), 4);

    // The muzzle segment is removed while the trigger is held: the player's reference goes with it
    // and the next frame starts a new chain instead of re-lighting freed memory.
    p->startFlame->alive = false;
    Tick();
    EXPECT_EQ(p->startFlame, nullptr);
    ExpectNoDanglingLinks();
    HoldFire(1);
    ASSERT_NE(p->startFlame, nullptr);
    EXPECT_TRUE(IsLive(p->startFlame));

    // A restart empties the list behind the player.
    Entity::ClearListAfterPlayer();
    Entity::entList.push_back(p);
    EXPECT_EQ(p->startFlame, nullptr);
    EXPECT_TRUE(Flame::Live().empty());
    HoldFire(12);
    EXPECT_EQ(Flame::GetLength(p->startFlame), 4);
}

// ---- bazooka ---------------------------------------------------------------------------------

TEST_F(WeaponsTest, BazookaFiresOneRocketPerFiftyFramesWithSmokeAndRecoil) {
    Arm(2, 10);
    p->Fire();
    EXPECT_EQ(p->ammo[2], 9);
    EXPECT_EQ(p->shotDelay, 50);
    EXPECT_GT(e->ShakeTimer, 0);
    auto rockets = AllOf<Bazooka>();
    ASSERT_EQ(rockets.size(), 1u);
    // Centred on the muzzle, flying right at 5 pixels a frame.
    EXPECT_FLOAT_EQ(rockets[0]->x + 8, static_cast<int>(p->x + p->offX + 2 * 57));
    EXPECT_FLOAT_EQ(rockets[0]->y + 8, static_cast<int>(p->y + p->offY + 2 * 24));
    EXPECT_FLOAT_EQ(rockets[0]->velX, 5);
    auto puffs = AllOf<WallBlastSmoke>();
    ASSERT_EQ(puffs.size(), 3u);
    for (WallBlastSmoke* s : puffs) {
        EXPECT_GE(s->velX, -1.0f);
        EXPECT_LT(s->velX, 1.0f);
        EXPECT_LE(s->velY, -2.0f);
        EXPECT_GT(s->velY, -4.0f);
        EXPECT_EQ(s->life, 40);
        EXPECT_FALSE(s->applyGravity);
    }

    // Holding the key: the next rocket leaves exactly 50 frames later.
    Tick();
    int firedAt = -1;
    for (int frame = 1; frame <= 60 && firedAt < 0; ++frame) {
        p->Fire();
        if (p->ammo[2] == 8) firedAt = frame;
        Tick();
    }
    EXPECT_EQ(firedAt, 50);
}

TEST_F(WeaponsTest, RocketsFlyFivePixelsStraightAndTwoAndAHalfPerAxisDiagonally) {
    struct Case {
        int dx, dy, frame;
        float vx, vy;
    } cases[] = {
        {0, -1, 6, 0, -5}, {1, -1, 7, 2.5f, -2.5f},  {1, 0, 8, 5, 0},    {1, 1, 9, 2.5f, 2.5f},
        {0, 1, 10, 0, 5},  {-1, 1, 11, -2.5f, 2.5f}, {-1, 0, 12, -5, 0}, {-1, -1, 13, -2.5f, -2.5f},
    };
    for (const Case& c : cases) {
        Bazooka* r = new Bazooka(1, 300, static_cast<int>(Building::scrollY) + 240, c.dx, c.dy);
        Entity::entList.push_back(r);
        float x0 = r->x, y0 = r->y;
        EXPECT_FLOAT_EQ(x0, 292);
        EXPECT_EQ(r->sprite->StartFrame, c.frame);
        EXPECT_EQ(r->sprite->CurLayer, 8);
        Tick();
        Tick();
        EXPECT_FLOAT_EQ(r->x - x0, 2 * c.vx) << c.dx << "," << c.dy;
        EXPECT_FLOAT_EQ(r->y - y0, 2 * c.vy) << c.dx << "," << c.dy;
        r->alive = false;
        Tick();
    }
}

TEST_F(WeaponsTest, RocketVanishesWhenThePlayerTurnsACornerOrItLeavesTheScreen) {
    Bazooka* r = new Bazooka(1, 300, static_cast<int>(Building::scrollY) + 240, 1, 0);
    Entity::entList.push_back(r);
    Tick();
    ASSERT_EQ(AllOf<Bazooka>().size(), 1u);
    p->side = 2;
    Tick();
    EXPECT_TRUE(AllOf<Bazooka>().empty());
    EXPECT_TRUE(AllOf<Explosion>().empty());

    p->side = 1;
    Entity::entList.push_back(new Bazooka(1, 600, static_cast<int>(Building::scrollY) + 240, 1, 0));
    for (int i = 0; i < 12; ++i) Tick();
    EXPECT_TRUE(AllOf<Bazooka>().empty()) << "gone past the right edge";
}

TEST_F(WeaponsTest, RocketPassesPickupsAndBlastsAndExplodesOnTheFirstTarget) {
    // Two rows above the player, clear of it.
    int row = p->tY - 2;
    int rowY = row * 64;
    Pickup* pickup = new Pickup(1, 3, row, 2);
    Entity::entList.push_back(pickup);
    WallBlast* blast = new WallBlast(1, 4 * 64, rowY + 24);
    Entity::entList.push_back(blast);
    Entity* target = AddTarget(1, 7, row);
    target->HP = target->MaxHP = 100;
    Bazooka* r = new Bazooka(1, 100, rowY + 32, 1, 0);
    Entity::entList.push_back(r);

    int frames = 0;
    while (!AllOf<Bazooka>().empty() && frames < 200) {
        Tick();
        ++frames;
    }
    ASSERT_LT(frames, 200);
    EXPECT_TRUE(pickup->alive);
    EXPECT_FALSE(blast->dead);
    auto booms = AllOf<Explosion>();
    ASSERT_EQ(booms.size(), 1u);
    EXPECT_TRUE(booms[0]->damaging);
    EXPECT_GT(e->ShakeTimer, 0);
    // The blast is centred on the rocket where it hit, just short of the target.
    EXPECT_NEAR(booms[0]->x + 64, target->x, 24);
    EXPECT_EQ(target->HP, 100 - 1) << "the rocket itself does no damage; the blast's first frame does";
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_LT(target->HP, 90) << "the explosion keeps hurting what it touches";
}
