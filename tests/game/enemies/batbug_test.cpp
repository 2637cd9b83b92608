// Bat bugs: hovering with a bob, the swoop along its first line, braking and creeping after the
// first swoop, the touch that kills, death to the gun.
#include <algorithm>
#include <cmath>

#include "CreatureFixture.h"
#include "game/enemies/BatBug.h"

namespace {

class BatBugTest : public CreatureTest {
protected:
    // A bat whose collision box's corner is (bx, by) in world pixels, on side 1.
    BatBug* BatAt(float bx, float by) { return Add(new BatBug(1, bx - 48, by - 58)); }
    float PlayerCornerX() { return p->x + p->cx; }
    float PlayerCornerY() { return p->y + p->cy; }
};

TEST_F(BatBugTest, BeyondSwoopingDistanceANeverChasedBatOnlyBobsOnItsSpot) {
    // 310 pixels to the player's right: the bob (at most 57 pixels up or down) keeps it beyond 300.
    BatBug* b = BatAt(PlayerCornerX() + 310, PlayerCornerY());
    const float x0 = b->x, y0 = b->y;
    float lo = y0, hi = y0;
    for (int f = 0; f < 720; ++f) {
        Frame();
        ASSERT_EQ(b->chasePhase, 0) << "frame " << f;
        ASSERT_FLOAT_EQ(b->x, x0) << "frame " << f;
        lo = std::min(lo, b->y);
        hi = std::max(hi, b->y);
    }
    EXPECT_FALSE(b->hasChased);
    // One degree per frame at one pixel per frame: down first, about 57 pixels each way, and back
    // on its spot after two full turns.
    EXPECT_NEAR(hi - y0, 57.3f, 1.5f);
    EXPECT_NEAR(y0 - lo, 57.3f, 1.5f);
    EXPECT_NEAR(b->y, y0, 1.5f);
    EXPECT_FALSE(p->dead);
    // Just inside 300 it swoops.
    b->x = PlayerCornerX() + 299 - b->cx;
    b->y = PlayerCornerY() - b->cy;
    Frame();
    EXPECT_EQ(b->chasePhase, 1);
}

TEST_F(BatBugTest, SwoopsAlongTheLineItFirstSawAndMissesAPlayerWhoMoved) {
    // 200 pixels right of the player on the same row.
    BatBug* b = BatAt(PlayerCornerX() + 200, PlayerCornerY() + 19);
    Frame();
    EXPECT_EQ(b->chasePhase, 1) << "nearer than 300: the swoop starts on the next frame";
    Frame();
    ASSERT_EQ(b->chasePhase, 2);
    EXPECT_TRUE(b->hasChased);
    const float deg = b->chaseDeg;
    EXPECT_NEAR(std::cos(deg), 1.0f, 0.01f) << "the bat is to the right of the player";
    // The player climbs a row up at once; the bat keeps its line below them.
    PlacePlayer(4, -3);
    Frame();
    EXPECT_LT(b->velX, 0.0f) << "it heads left";
    float fastest = 0;
    int f = 0;
    for (; f < 400 && b->chasePhase == 2; ++f) {
        Frame();
        ASSERT_FLOAT_EQ(b->chaseDeg, deg);
        fastest = std::max(fastest, std::fabs(b->velX));
    }
    EXPECT_EQ(b->chasePhase, 0) << "farther than 250 the swoop ends";
    EXPECT_FALSE(p->dead) << "the swoop missed";
    // Each axis is sped up only while below 2 pixels per frame.
    EXPECT_GT(fastest, 1.9f);
    EXPECT_LE(fastest, 2.0f + 0.1f + 1e-4f);
}

TEST_F(BatBugTest, HoveringItBrakesAndOnlyAfterASwoopCreepsTowardsThePlayer) {
    // Far to the player's right and a little below: beyond 300 pixels, so no swoop.
    BatBug* creeper = BatAt(PlayerCornerX() + 330, PlayerCornerY() + 40);
    BatBug* never = BatAt(PlayerCornerX() + 330, PlayerCornerY() + 40);
    for (BatBug* b : {creeper, never}) b->velX = 1.05f;  // still flying from a swoop
    creeper->hasChased = 1;
    const float cx0 = creeper->x, nx0 = never->x;
    Frames(11);
    EXPECT_FLOAT_EQ(never->velX, 0.0f) << "braked by 0.1 a frame, then stopped";
    // The bob moves both alike; the creeper also steps one pixel left and one up each frame.
    const float driftX = never->x - nx0;
    EXPECT_NEAR(creeper->x - cx0, driftX - 11, 1e-3f);
    const float ny = never->y, cy = creeper->y;
    const float nx = never->x, cxNow = creeper->x;
    Frames(10);
    EXPECT_FLOAT_EQ(never->x, nx);
    EXPECT_FLOAT_EQ(creeper->x, cxNow - 10);
    EXPECT_NEAR((creeper->y - cy) - (never->y - ny), -10.0f, 1e-3f);
    EXPECT_EQ(never->chasePhase, 0);
}

TEST_F(BatBugTest, OnATieItCreepsDownAndRight) {
    BatBug* b = BatAt(0, 0);
    b->hasChased = 1;
    b->waverAmp = 0;  // no bob, to see the creep alone
    b->x = p->GetCenterX() - b->cx - b->cw / 2;
    b->y = p->GetCenterY() - b->cy - b->ch / 2 - 400;  // straight above, out of reach
    b->AI();
    EXPECT_FLOAT_EQ(b->GetCenterX(), p->GetCenterX() + 1);
    EXPECT_FLOAT_EQ(b->GetCenterY(), p->GetCenterY() - 399);
}

TEST_F(BatBugTest, TouchKillsUnlessThePlayerIsImmune) {
    BatBug* b = BatAt(PlayerCornerX() + 5, PlayerCornerY() + 5);
    p->invinceTimer = 50;
    Frame();
    EXPECT_FALSE(p->dead);
    p->invinceTimer = 0;
    b->x = p->x + p->cx + p->offX - b->cx;
    b->y = p->y + p->cy - b->cy + 10;
    Frame();
    EXPECT_TRUE(p->dead);
}

TEST_F(BatBugTest, TheGunKillsItAndItFallsOffTheScreen) {
    PlacePlayer(1, -2);
    // On the player's row, beyond swooping distance.
    BatBug* b = BatAt(7 * 64 + 10, -2 * 64 + 20);
    b->waverAmp = 0;  // keep it on the row the gun traces
    p->Aim(1, 0);
    int f = 0;
    for (; f < 3000 && !b->dead; ++f) {
        p->Fire();
        Frame();
    }
    ASSERT_TRUE(b->dead) << "twenty hits";
    EXPECT_TRUE(b->applyGravity);
    EXPECT_FALSE(p->dead);
    const float y0 = b->y;
    Frame();
    EXPECT_GT(b->y, y0);
    for (f = 0; f < 400 && InList(b); ++f) Frame();
    EXPECT_FALSE(InList(b)) << "removed once below the screen";
}

}  // namespace
