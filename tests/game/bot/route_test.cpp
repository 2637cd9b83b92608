// The bot's reading of the climbing rules and its route planning, on the open test tower with
// walls put in by hand: the routes it plans must be ones the game's climber accepts step by step.
#include <algorithm>
#include <vector>

#include "../player/PlayFixture.h"
#include "game/autoplay/Danger.h"
#include "game/autoplay/Reach.h"
#include "game/autoplay/TowerRoute.h"
#include "game/enemies/WallBlast.h"
#include "game/world/BuildingBlock.h"

namespace {

// Makes the climber tile (side, tx, ty) solid wall (the game asks the block one row lower).
void Solid(int side, int tx, int ty) { autoplay::SegmentOfRow(ty)->GetBlock(side, tx, ty + 1)->type = 1; }

// A whole row of one side solid, but for the listed columns.
void SolidRow(int side, int ty, std::vector<int> gaps = {}) {
    for (int tx = 1; tx <= 8; ++tx)
        if (std::find(gaps.begin(), gaps.end(), tx) == gaps.end()) Solid(side, tx, ty);
}

}  // namespace

class BotRouteTest : public PlayTest {
protected:
    // Walks the route with the real player, one Climb per step, letting each glide finish.
    void Follow(const autoplay::Route& r) {
        for (size_t i = 0; i < r.Length(); ++i) {
            ASSERT_TRUE(autoplay::StepAllowedNow(p, r.dx[i], r.dy[i])) << "step " << i;
            ASSERT_TRUE(p->Climb(r.dx[i], r.dy[i])) << "step " << i;
            Settle();
            // The corner turn of the tower is the frame loop's business; here it is done at once.
            e->rotx = 450.0f - 90.0f * p->side;
            EXPECT_EQ(autoplay::PlayerTile(p), r.tiles[i]) << "step " << i;
        }
    }
};

TEST_F(BotRouteTest, AnOpenWallIsClimbedStraightUp) {
    autoplay::Route r = autoplay::PlanRoute(autoplay::PlayerTile(p), -20, 0, {});
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.Length(), 18u);
    for (size_t i = 0; i < r.Length(); ++i) EXPECT_TRUE(r.dx[i] == 0 && r.dy[i] == -1) << i;
    // Already there: an empty route.
    autoplay::Route none = autoplay::PlanRoute(autoplay::Tile{1, 4, -25}, -20, 0, {});
    EXPECT_TRUE(none.found);
    EXPECT_EQ(none.Length(), 0u);
}

TEST_F(BotRouteTest, ARouteThreadsTheGapsOfSolidBandsAndTheGameAcceptsEveryStep) {
    SolidRow(1, -6, {6});
    SolidRow(1, -10, {4});
    SolidRow(1, -11, {4, 5});
    autoplay::Route r = autoplay::PlanRoute(autoplay::PlayerTile(p), -14, 0, {});
    ASSERT_TRUE(r.found);
    // Twelve rows up: the two columns over to the first gap fit in diagonals, and the gaps are
    // entered straight from below (a diagonal cannot pass a solid corner). Going round the corner
    // would take 13 steps.
    EXPECT_EQ(r.Length(), 12u);
    bool throughFirst = false, throughSecond = false;
    for (const autoplay::Tile& t : r.tiles) {
        EXPECT_EQ(t.side, 1);
        if (t.ty == -6) throughFirst = t.tx == 6;
        if (t.ty == -10) throughSecond = t.tx == 4;
    }
    EXPECT_TRUE(throughFirst);
    EXPECT_TRUE(throughSecond);
    Follow(r);
    EXPECT_LE(p->tY, -14);
}

TEST_F(BotRouteTest, ASealedSideIsLeftRoundTheCorner) {
    SolidRow(1, -5);
    autoplay::Route r = autoplay::PlanRoute(autoplay::PlayerTile(p), -8, 0, {});
    ASSERT_TRUE(r.found);
    EXPECT_NE(r.tiles.back().side, 1);
    Follow(r);
    EXPECT_NE(p->side, 1);
    EXPECT_LE(p->tY, -8);
}

TEST_F(BotRouteTest, NoRouteThroughATowerSealedOnEverySide) {
    for (int side = 1; side <= 4; ++side) SolidRow(side, -5);
    EXPECT_FALSE(autoplay::PlanRoute(autoplay::PlayerTile(p), -8, 0, {}).found);
    // Nor above the search's lowest row.
    EXPECT_FALSE(autoplay::PlanRoute(autoplay::Tile{1, 4, 2}, -8, 0, {}).found);
}

TEST_F(BotRouteTest, AvoidedTilesAreGoneRound) {
    SolidRow(1, -5, {4, 5});
    autoplay::Route direct = autoplay::PlanRoute(autoplay::PlayerTile(p), -8, 0, {});
    ASSERT_TRUE(direct.found);
    autoplay::Route round = autoplay::PlanRoute(autoplay::PlayerTile(p), -8, 0, {autoplay::Tile{1, 4, -5}});
    ASSERT_TRUE(round.found);
    for (const autoplay::Tile& t : round.tiles) EXPECT_FALSE(t == (autoplay::Tile{1, 4, -5}));
    EXPECT_TRUE(std::any_of(round.tiles.begin(), round.tiles.end(), [](const autoplay::Tile& t) {
        return t == autoplay::Tile{1, 5, -5};
    }));
    // Both gaps avoided: round the corner instead.
    autoplay::Route corner =
        autoplay::PlanRoute(autoplay::PlayerTile(p), -8, 0, {autoplay::Tile{1, 4, -5}, autoplay::Tile{1, 5, -5}});
    ASSERT_TRUE(corner.found);
    EXPECT_NE(corner.tiles.back().side, 1);
}

TEST_F(BotRouteTest, WallStepsFollowTheClimbersRules) {
    autoplay::Tile out;
    // A diagonal cannot cut a corner.
    Solid(1, 4, -3);
    EXPECT_FALSE(autoplay::WallStep(autoplay::Tile{1, 4, -2}, 1, -1, &out)) << "the tile above is solid";
    EXPECT_FALSE(autoplay::WallStep(autoplay::Tile{1, 3, -3}, 1, 1, &out)) << "the tile beside is solid";
    EXPECT_TRUE(autoplay::WallStep(autoplay::Tile{1, 5, -2}, 1, -1, &out));
    EXPECT_EQ(out, (autoplay::Tile{1, 6, -3}));
    // Past the left edge onto the next side, the upward part dropped; past the right edge back.
    ASSERT_TRUE(autoplay::WallStep(autoplay::Tile{1, 1, -7}, -1, -1, &out));
    EXPECT_EQ(out, (autoplay::Tile{2, 8, -7}));
    ASSERT_TRUE(autoplay::WallStep(autoplay::Tile{1, 8, -7}, 1, 0, &out));
    EXPECT_EQ(out, (autoplay::Tile{4, 1, -7}));
    ASSERT_TRUE(autoplay::WallStep(autoplay::Tile{4, 8, -7}, 1, 0, &out));
    EXPECT_EQ(out, (autoplay::Tile{3, 1, -7}));
    EXPECT_FALSE(autoplay::WallStep(autoplay::Tile{1, 4, -7}, 0, 0, &out));
}

TEST_F(BotRouteTest, TheLiveCheckAgreesWithTheClimber) {
    Solid(1, 3, -3);
    Solid(1, 5, -2);
    const int moves[][2] = {{0, -1}, {-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}, {-1, 1}, {1, 1}};
    for (const auto& m : moves) {
        p->SetPosition(4, -2);
        Settle();
        bool predicted = autoplay::StepAllowedNow(p, m[0], m[1]);
        EXPECT_EQ(predicted, p->Climb(m[0], m[1]) != 0) << m[0] << "," << m[1];
        if (predicted) {
            EXPECT_FALSE(autoplay::StepAllowedNow(p, 0, -1)) << "refused while gliding";
        }
        Settle();
    }
    // The screen lock keeps the player inside its band and off the edge columns.
    Building::LockScreen(-576, -576);
    p->SetPosition(1, -2);
    Settle();
    EXPECT_FALSE(autoplay::StepAllowedNow(p, -1, 0));
    EXPECT_EQ(autoplay::StepAllowedNow(p, -1, 0), p->Climb(-1, 0) != 0);
}

TEST_F(BotRouteTest, TheGunTargetIsTheNearestHittableThingOnTheLine) {
    auto target = [](int row) {
        auto* t = new Entity();
        t->side = 1;
        t->x = 4 * 64;
        t->y = static_cast<float>(row * 64);
        t->cx = t->cy = 0;
        t->cw = t->ch = 64;
        t->canHit = 1;
        return t;
    };
    Building::scrollY = p->y - 192;  // the camera's resting place: the player's row on screen
    Entity* near = target(-5);
    Entity* far = target(-6);
    Entity::entList.push_back(far);
    Entity::entList.push_back(near);
    EXPECT_EQ(autoplay::GunTarget(p, 0, -1), near);
    EXPECT_EQ(autoplay::GunTarget(p, 0, 1), nullptr);
    EXPECT_EQ(autoplay::GunTarget(p, 1, -1), nullptr);
    near->canHit = 0;
    EXPECT_EQ(autoplay::GunTarget(p, 0, -1), far);
    far->side = 2;
    EXPECT_EQ(autoplay::GunTarget(p, 0, -1), nullptr) << "another side";
}

// The dodging players judge a step frame by frame along its glide: a step up out of a shot's line
// escapes it, staying put does not, and nothing counts while the player blinks after coming back.
TEST_F(BotRouteTest, AStepOutOfAShotsLineEscapesItAndABlinkingPlayerIsSafe) {
    auto* shot = new WallBlast(p->side, p->x + p->cx + p->offX - 120, p->y + p->cy + 48);
    shot->velX = 2;
    Entity::entList.push_back(shot);
    const int stay = autoplay::danger::ClearForGlide(p, 0, 0, 60);
    EXPECT_GT(stay, 30);
    EXPECT_LE(stay, 60) << "the shot reaches the player standing still";
    EXPECT_EQ(autoplay::danger::ClearForGlide(p, 0, -1, 60), 61) << "the step up leaves its line";
    EXPECT_LT(autoplay::danger::ClearForGlide(p, -1, 0, 60), stay) << "a step towards it meets it sooner";
    p->invinceTimer = 100;
    EXPECT_EQ(autoplay::danger::ClearForGlide(p, 0, 0, 60), 61) << "it arrives while the player cannot be hurt";
    p->invinceTimer = 0;
}
