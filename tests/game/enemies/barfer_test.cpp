// The barfer: its burst rhythm and the two alternating patterns, its freeze far from the player,
// the burst that completes regardless, contact damage, and its death in place.
#include <cmath>

#include "CreatureFixture.h"
#include "engine/FramePng.h"
#include "game/enemies/Barfer.h"
#include "game/enemies/WallBlast.h"
#include "game/entities/Blood.h"

namespace {

class BarferTest : public CreatureTest {
protected:
    // A blast as it was at the end of the frame that made it.
    struct Shot {
        float x, y, velX, velY;
    };
    struct Burst {
        int frame;
        std::vector<Shot> shots;
    };
    // Runs frames, collecting the blasts that appear in each frame as one burst.
    std::vector<Burst> Watch(int frames) {
        std::vector<Burst> bursts;
        std::vector<WallBlast*> known = All<WallBlast>();
        for (int f = 0; f < frames; ++f) {
            Frame();
            Burst b{f, {}};
            for (WallBlast* w : All<WallBlast>())
                if (std::find(known.begin(), known.end(), w) == known.end())
                    b.shots.push_back({w->x, w->y, w->velX, w->velY});
            if (!b.shots.empty()) bursts.push_back(b);
            known = All<WallBlast>();
        }
        return bursts;
    }
    // A barfer on (tx, ty) with a player that cannot be hurt two rows below it.
    Barfer* NearBarfer(int tx, int ty) {
        PlacePlayer(7, ty + 2);
        p->invinceTimer = 1000000;
        return Add(new Barfer(1, static_cast<float>(tx), static_cast<float>(ty)));
    }
};

TEST_F(BarferTest, BurstsEvery101FramesAlternatingEightStraightAndFourDiagonalShots) {
    Barfer* b = NearBarfer(3, -5);
    const float bx = b->x, by = b->y;
    std::vector<Burst> bursts = Watch(420);
    ASSERT_GE(bursts.size(), 4u);
    EXPECT_GT(bursts[0].frame, 100) << "the first burst waits for the timer";
    for (size_t i = 1; i < bursts.size(); ++i) EXPECT_EQ(bursts[i].frame - bursts[i - 1].frame, 101);

    for (size_t i = 0; i < bursts.size(); ++i) {
        const std::vector<Shot>& shots = bursts[i].shots;
        SCOPED_TRACE("burst " + std::to_string(i));
        if (i % 2 == 0) {
            // Eight shots: two from each mouth corner, straight outwards, axis-aligned exactly.
            ASSERT_EQ(shots.size(), 8u);
            int up = 0, down = 0, left = 0, right = 0;
            for (const Shot& s : shots) {
                EXPECT_TRUE(s.velX == 0.0f || s.velY == 0.0f) << s.velX << ", " << s.velY;
                EXPECT_FLOAT_EQ(std::hypot(s.velX, s.velY), 2.0f);
                // Where it started: one frame of flight back from where it is.
                float sx = s.x - s.velX, sy = s.y - s.velY;
                bool leftCorner = std::fabs(sx - (bx + 60)) < 0.01f, rightCorner = std::fabs(sx - (bx + 100)) < 0.01f;
                bool top = std::fabs(sy - (by + 28)) < 0.01f, bottom = std::fabs(sy - (by + 84)) < 0.01f;
                EXPECT_TRUE((leftCorner || rightCorner) && (top || bottom)) << sx - bx << ", " << sy - by;
                // Outwards from its own corner.
                if (s.velY < 0) {
                    EXPECT_TRUE(top);
                    ++up;
                }
                if (s.velY > 0) {
                    EXPECT_TRUE(bottom);
                    ++down;
                }
                if (s.velX < 0) {
                    EXPECT_TRUE(leftCorner);
                    ++left;
                }
                if (s.velX > 0) {
                    EXPECT_TRUE(rightCorner);
                    ++right;
                }
            }
            EXPECT_EQ(up, 2);
            EXPECT_EQ(down, 2);
            EXPECT_EQ(left, 2);
            EXPECT_EQ(right, 2);
        } else {
            // Four shots from the centre, one into each diagonal.
            ASSERT_EQ(shots.size(), 4u);
            int quadrants = 0;
            for (const Shot& s : shots) {
                EXPECT_NEAR(std::fabs(s.velX), std::sqrt(2.0f), 1e-4);
                EXPECT_NEAR(std::fabs(s.velY), std::sqrt(2.0f), 1e-4);
                EXPECT_NEAR(s.x - s.velX, bx + 80, 0.01f);
                EXPECT_NEAR(s.y - s.velY, by + 56, 0.01f);
                quadrants |= 1 << ((s.velX > 0 ? 1 : 0) + (s.velY > 0 ? 2 : 0));
            }
            EXPECT_EQ(quadrants, 15);
        }
    }
}

TEST_F(BarferTest, FarFromThePlayerItFreezesItsCountAndResumesWhereItStopped) {
    Barfer* b = NearBarfer(3, -5);
    Frames(40);
    const int left = b->barfTimer;
    ASSERT_LT(left, 100);
    // Beyond the distance creatures think at.
    PlacePlayer(7, 6);
    ASSERT_GE(std::fabs(b->GetCenterY() - p->GetCenterY()), b->AIdist);
    std::vector<Burst> none = Watch(300);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(b->barfTimer, left);
    PlacePlayer(7, -3);
    std::vector<Burst> bursts = Watch(200);
    ASSERT_FALSE(bursts.empty());
    EXPECT_EQ(bursts[0].shots.size(), 8u);
    EXPECT_LE(bursts[0].frame, left + 12) << "the count went on from where it stopped";
}

TEST_F(BarferTest, ABurstAlreadyStartedCompletesAfterThePlayerLeaves) {
    Barfer* b = NearBarfer(3, -5);
    for (int f = 0; f < 200 && !b->sprite->isCurrentAnimation(&b->aBarf); ++f) Frame();
    ASSERT_TRUE(b->sprite->isCurrentAnimation(&b->aBarf));
    ASSERT_LT(b->sprite->CurFrame, Barfer::kBurstFrame);
    // The player moves well away, beyond where creatures think; the shots of a burst that far off
    // the screen vanish at once, so the burst shows in the pattern counter.
    PlacePlayer(7, 6);
    ASSERT_GE(std::fabs(b->GetCenterY() - p->GetCenterY()), b->AIdist);
    ASSERT_EQ(b->barfDir, 0);
    Frames(40);
    EXPECT_EQ(b->barfDir, 1) << "the eight-shot burst went off";
    EXPECT_FALSE(b->sprite->isCurrentAnimation(&b->aBarf)) << "back to idle after the burst";
    const int timer = b->barfTimer;
    Frames(300);
    EXPECT_EQ(b->barfDir, 1) << "and no other";
    EXPECT_EQ(b->barfTimer, timer);
}

TEST_F(BarferTest, TouchingItHurtsThePlayer) {
    Add(new Barfer(1, 4.0f, -3.0f));
    // The barfer's body reaches into the tile to its right and the row below.
    PlacePlayer(5, -2);
    p->invinceTimer = 0;
    Frame();
    EXPECT_TRUE(p->dead);
}

TEST_F(BarferTest, ShotDeadItShrivelsInPlaceWithItsSoundAndVanishes) {
    Barfer* b = NearBarfer(3, -5);
    const float y0 = b->y;
    for (int i = 0; i < 29; ++i) b->Hit(1, 0);
    EXPECT_EQ(All<Blood>().size(), 290u) << "ten drops a hit";
    Frame();
    EXPECT_FALSE(b->dead);
    Halt();  // the hits' sounds may hold every channel
    b->Hit(1, 0);
    Frame();
    ASSERT_TRUE(b->dead);
    if (AudioOpen()) {
        EXPECT_EQ(Playing(Entity::wavBarferDie), 1) << "once, not every frame";
    }
    EXPECT_TRUE(b->sprite->isCurrentAnimation(&b->aDead));
    int frames = 1;
    for (; frames < 100 && InList(b); ++frames) {
        EXPECT_FLOAT_EQ(b->y, y0) << "no fall";
        Frame();
    }
    EXPECT_FALSE(InList(b));
    EXPECT_GE(frames, 28) << "the death animation plays out first";
    EXPECT_LE(frames, 34);
    // A dead barfer fires no more.
    EXPECT_TRUE(All<WallBlast>().empty());
}

TEST_F(BarferTest, TheGunKillsIt) {
    Barfer* b = Add(new Barfer(1, 6.0f, -3.0f));
    PlacePlayer(3, -2);
    p->invinceTimer = 1000000;
    p->Aim(1, 0);
    for (int f = 0; f < 400 && b->HP > 0; ++f) {
        p->Fire();
        p->sprite->Step();
    }
    EXPECT_EQ(b->HP, 0);
    Frame();
    EXPECT_TRUE(b->dead);
}

TEST_F(BarferTest, TheFactoryPlacesItTwoRowsAboveTheDropTile) {
    // tileX = (64 + 300) / 64 = 5, tileY = 3136 / 64 - 41 = 8, two rows up: 6.
    Entity* e = Entity::Create("BARFER", 8, 50, 2, 300, 3136);
    auto* b = dynamic_cast<Barfer*>(e);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->side, 2);
    EXPECT_EQ(b->tX, 5);
    EXPECT_EQ(b->tY, 6);
    EXPECT_FLOAT_EQ(b->x, 5 * 64 - 24);
    EXPECT_FLOAT_EQ(b->y, 6 * 64 - 2);
    EXPECT_EQ(b->HP, 30);
    EXPECT_TRUE(b->hurtPlayer);
    delete e;
}

// Drawn on the wall: the frame with the barfer differs from the frame without it only inside the
// two-by-two tiles its picture covers, from its own tile down and to the right.
TEST_F(BarferTest, ItIsDrawnOverItsTileAndTheThreeBesideAndBelow) {
    Barfer* b = NearBarfer(3, -5);
    Frames(3);
    auto draw = [] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GameEngine::gEngine->SetScreenProjection();
        GameDraw(GameEngine::gEngine);
        return testsupport::ReadFrame();
    };
    std::vector<unsigned char> with = draw();
    SaveFramePng(std::string(BRACKMOOR_BINARY_DIR) + "/barfer_frame.png", 640, 480);
    b->sprite->Hide();
    std::vector<unsigned char> without = draw();
    const float left = 64.0f * b->tX, top = 64.0f * b->tY - Building::scrollY;
    int inside = 0, outside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (testsupport::PixelAt(with, x, y) == testsupport::PixelAt(without, x, y)) continue;
            if (x >= left && x < left + 128 && y >= top && y < top + 128)
                ++inside;
            else
                ++outside;
        }
    EXPECT_GT(inside, 128 * 128 / 8);
    EXPECT_EQ(outside, 0);
}

}  // namespace
