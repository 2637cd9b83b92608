// The slug: where it clings, its crawl between fixed limits, its spit straight across the screen,
// its stillness away from the player, its hiding on the far side, and its death.
#include <cmath>
#include <cstdlib>

#include "CreatureFixture.h"
#include "game/enemies/Slug.h"
#include "game/enemies/WallBlast.h"

namespace {

class SlugTest : public CreatureTest {
protected:
    // A slug at the player's height (row -2), clinging to the left or the right edge.
    Slug* SlugBeside(bool right, int sside = 1) { return Add(new Slug(sside, right ? 448 : 128, -128)); }

    // Runs frames until the slug has spat; returns the new blast (null after `limit` frames).
    WallBlast* UntilSpit(int limit) {
        size_t before = All<WallBlast>().size();
        for (int f = 0; f < limit; ++f) {
            Frame();
            std::vector<WallBlast*> now = All<WallBlast>();
            if (now.size() > before) return now.back();
        }
        return nullptr;
    }
};

TEST_F(SlugTest, ClingsToTheScreenEdgeOfItsHalfFacingIn) {
    Slug* left = SlugBeside(false);
    EXPECT_EQ(left->x, 0.0f);
    EXPECT_EQ(left->sprite->pos, 1);
    Slug* justLeft = Add(new Slug(1, 319, -128));
    EXPECT_EQ(justLeft->x, 0.0f);
    // The middle of the screen already counts as the right half.
    Slug* middle = Add(new Slug(1, 320, -128));
    EXPECT_EQ(middle->x, 576.0f);
    EXPECT_EQ(middle->sprite->pos, -1);
    // The crawl limits are 160 pixels either side of the starting centre.
    EXPECT_EQ(middle->hiY, static_cast<int>(middle->GetCenterY()) - 160);
    EXPECT_EQ(middle->lowY, static_cast<int>(middle->GetCenterY()) + 160);
    EXPECT_TRUE(middle->walkDelay == 64 || middle->walkDelay == 128);
    EXPECT_TRUE(middle->walkDelayMax == 64 || middle->walkDelayMax == 65);
}

TEST_F(SlugTest, TheFactoryPlacesItOnTheEdgeOfTheHalfItWasDroppedIn) {
    // cX 0 is column 1 and cX 448 column 8; cY 3136 is row 8, the slug stands two rows higher.
    Entity* l = Entity::Create("SLUG", 8, 50, 2, 0, 3136);
    Entity* r = Entity::Create("SLUG", 8, 50, 3, 448, 3136);
    ASSERT_NE(dynamic_cast<Slug*>(l), nullptr);
    ASSERT_NE(dynamic_cast<Slug*>(r), nullptr);
    EXPECT_EQ(l->side, 2);
    EXPECT_EQ(l->x, 0.0f);
    EXPECT_EQ(l->y, 64.0f * 8 - 128);
    EXPECT_EQ(r->side, 3);
    EXPECT_EQ(r->x, 576.0f);
    EXPECT_EQ(r->y, 64.0f * 8 - 128);
    delete l;
    delete r;
}

TEST_F(SlugTest, CrawlsOnlyUpAndDownAndTurnsAtItsLimitsWhateverTheWallHolds) {
    std::srand(7);
    p->invinceTimer = 1000000;
    Slug* s = SlugBeside(false);
    // Solid tiles beside its path change nothing: it does not look at the wall.
    for (int r = -8; r <= 4; ++r) Building::b[0]->GetBlock(1, 1, r + 1)->type = 1;
    const float x0 = s->x;
    float lo = s->GetCenterY(), hi = lo;
    bool turnedAtTop = false, turnedAtBottom = false;
    int prevDir = s->walkDir;
    for (int f = 0; f < 6000; ++f) {
        Frame();
        ASSERT_EQ(s->x, x0);
        ASSERT_LE(std::fabs(s->velY), 1.0f);
        float c = s->GetCenterY();
        lo = std::min(lo, c);
        hi = std::max(hi, c);
        if (s->walkDir != prevDir) {
            if (c < s->hiY + 2) turnedAtTop = true;
            if (c > s->lowY - 2) turnedAtBottom = true;
            prevDir = s->walkDir;
        }
    }
    // One pixel a frame: it may overshoot a limit by the frame on which it notices.
    EXPECT_GE(lo, s->hiY - 2.0f);
    EXPECT_LE(hi, s->lowY + 2.0f);
    EXPECT_TRUE(turnedAtTop);
    EXPECT_TRUE(turnedAtBottom);
}

TEST_F(SlugTest, StopsAndSpitsOneBlastStraightAcrossFromEitherEdge) {
    p->invinceTimer = 1000000;
    for (bool right : {false, true}) {
        Slug* s = SlugBeside(right);
        s->walkDelay = 10;
        WallBlast* b = UntilSpit(200);
        ASSERT_NE(b, nullptr) << right;
        EXPECT_EQ(s->walkDelay, 0) << "it spits while stopped";
        EXPECT_EQ(s->velY, 0.0f);
        // Horizontally into the screen at 3 pixels a frame, from (x + 32, y + 20); the blast has
        // already made its first move.
        EXPECT_EQ(b->velX, right ? -3.0f : 3.0f);
        EXPECT_EQ(b->velY, 0.0f);
        EXPECT_EQ(b->x, s->x + 32 + b->velX);
        EXPECT_EQ(b->y, s->y + 20);
        if (AudioOpen()) {
            EXPECT_GE(Playing(Entity::wavFireShot), 1);
        }
        // Held still until the spit is over, then it crawls again; no second blast meanwhile.
        const float y = s->y;
        int held = 0;
        while (s->walkDelay == 0 && held < 100) {
            Frame();
            EXPECT_EQ(s->y, y);
            ++held;
        }
        EXPECT_TRUE(s->walkDelay == 64 || s->walkDelay == 128) << s->walkDelay;
        EXPECT_EQ(All<WallBlast>().size(), 1u);
        s->alive = false;
        b->alive = false;
        Frame();
    }
}

TEST_F(SlugTest, AwayFromThePlayerItNeitherMovesNorSpitsAndKeepsItsTimers) {
    p->invinceTimer = 1000000;
    Slug* other = SlugBeside(false, 2);
    Slug* far = Add(new Slug(1, 448, -128 - 64 * 9));
    ASSERT_GE(std::fabs(far->GetCenterY() - p->GetCenterY()), far->AIdist);
    const int otherDelay = other->walkDelay, farDelay = far->walkDelay;
    Frames(400);
    EXPECT_EQ(other->y, -128.0f);
    EXPECT_EQ(other->walkDelay, otherDelay);
    EXPECT_EQ(far->y, -128.0f - 64 * 9);
    EXPECT_EQ(far->walkDelay, farDelay);
    EXPECT_TRUE(All<WallBlast>().empty());
}

TEST_F(SlugTest, DoesNotDriftOnItsLastCrawlWhenThePlayerTurnsAway) {
    p->invinceTimer = 1000000;
    Slug* s = SlugBeside(false);
    Frames(5);
    ASSERT_NE(s->velY, 0.0f);
    const int delay = s->walkDelay;
    p->side = 2;
    const float y = s->y;
    Frames(50);
    EXPECT_EQ(s->y, y);
    EXPECT_EQ(s->walkDelay, delay);
    // Back on its side it crawls on from where it was.
    p->side = 1;
    Frames(5);
    EXPECT_NE(s->y, y);
    EXPECT_EQ(s->walkDelay, delay - 5);
}

TEST_F(SlugTest, IsNotDrawnOnTheFarSideOfTheTower) {
    // Drawing steps the sprite's animation, so an undrawn slug's animation stands still.
    struct Case {
        int playerSide, slugSide;
        bool drawn;
    } cases[] = {{1, 3, false}, {2, 4, false}, {3, 1, false}, {4, 2, false},
                 {1, 1, true},  {1, 2, true},  {1, 4, true},  {3, 2, true}};
    for (const Case& c : cases) {
        p->side = c.playerSide;
        Slug s(c.slugSide, 128, -128);
        const int before = s.sprite->AnimationDelayC;
        s.Draw();
        EXPECT_EQ(s.sprite->AnimationDelayC != before, c.drawn) << c.playerSide << " " << c.slugSide;
    }
}

TEST_F(SlugTest, TouchingItKillsThePlayerButItsRemainsAreHarmless) {
    p->invinceTimer = 0;
    Slug* s = SlugBeside(false);
    s->x = p->x + p->cx - s->cx;  // moved onto the player
    s->walkDelay = 1000;
    s->speed = 0;
    Frame();
    EXPECT_TRUE(p->dead);

    SetUp();
    Slug* dead = SlugBeside(false);
    dead->HP = 0;
    Frame();
    ASSERT_TRUE(dead->dead);
    dead->x = p->x + p->cx - dead->cx;
    Frames(3);
    EXPECT_FALSE(p->dead);
}

TEST_F(SlugTest, TheGunKillsItFromEitherEdgeAndItsRemainsStayUntilScrolledOff) {
    for (bool right : {false, true}) {
        SetUp();
        PlacePlayer(right ? 8 : 1, -2);
        p->invinceTimer = 1000000;
        Slug* s = Add(new Slug(1, right ? 448 : 128, -128));
        s->walkDelay = 1000;
        s->speed = 0;  // stays in the line of fire
        p->Aim(right ? 1 : -1, 0);
        for (int f = 0; f < 300 && s->HP > 0; ++f) {
            p->Fire();
            p->sprite->Step();
        }
        Halt();  // the gun's own sounds may have taken every channel
        Frame();
        ASSERT_TRUE(s->dead) << right;
        EXPECT_EQ(s->HP, 0);
        if (AudioOpen()) {
            EXPECT_GE(Playing(Entity::wavDie1), 1);
        }
        // No fall: the remains end on the last frame of the death and stay.
        const float y = s->y;
        Frames(100);
        ASSERT_TRUE(InList(s));
        EXPECT_EQ(s->y, y);
        EXPECT_EQ(s->sprite->CurFrame, 15);
        EXPECT_FALSE(s->sprite->AnimationOn);
        s->y = Building::scrollY + 600;  // the camera has left it behind
        Frame();
        EXPECT_FALSE(InList(s));
    }
}

TEST_F(SlugTest, TheFlameBurnsItToo) {
    PlacePlayer(1, -2);
    p->invinceTimer = 1000000;
    p->haveWeapon[1] = 1;
    p->ammo[1] = 10000;
    p->weapon = 1;
    Slug* s = Add(new Slug(1, 128, -128));
    s->walkDelay = 1000;
    s->speed = 0;
    p->Aim(-1, 0);
    for (int f = 0; f < 400 && !s->dead; ++f) {
        p->Fire();
        Frame();
    }
    EXPECT_TRUE(s->dead);
}

}  // namespace
