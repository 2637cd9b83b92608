// The whole crab fight through the game's own frame: the controls, the level script and the entity
// pass, on an open stretch of wall just below the arena. The player climbs to the arena, the crab
// arrives 180 frames after the arena row is reached, goes through its whole cycle, and falls to
// the gun, after which the screen unlocks.
#include <algorithm>
#include <cmath>
#include <vector>

#include "../player/PlayFixture.h"
#include "CrabCycle.h"
#include "game/autoplay/Danger.h"
#include "game/bosses/CrabWalker.h"
#include "game/enemies/Pickup.h"
#include "game/enemies/WallBlast.h"
#include "game/flow/MainFile.h"
#include "game/world/FallingBlock.h"

using autoplay::danger::ClearForStep;
using autoplay::danger::FindCrab;

class CrabFightTest : public PlayTest {
protected:
    static void SetUpTestSuite() {
        // The fight reads no pixels: render-free, the same fight at a fraction of the cost.
        testsupport::UseRenderFree();
        PlayTest::SetUpTestSuite();
        static bool loaded = false;
        if (!loaded) {
            Pickup::Init();
            CrabWalker::Init();
            loaded = true;
        }
    }

    // One frame as the frame loop runs it: input, the game loop, then the entities drawn (which
    // also advances their animations and the player's blinking immunity).
    void GameFrame() {
        HandleKeys(e);
        GameLoop(e);
        Entity::DrawAll();
        ++frame;
    }

    // A careful player: when something harmful is about to reach its tile it steps to the
    // neighbouring tile that stays clear longest; otherwise it stands and fires at the edge the
    // crab is on.
    void Dodge(CrabWalker* c) {
        for (int vk : {static_cast<int>('X'), VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) e->keys[vk] = false;
        e->keys['C'] = true;
        if (!p->dead && p->idleing) {
            const int horizon = 90;
            int here = ClearForStep(p, 0, 0, horizon);
            if (here <= 45) {
                static const int kMoves[8][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
                int bdx = 0, bdy = 0;
                auto inArena = [&](int dx, int dy) {
                    int tx = p->tX + dx, ty = p->tY + dy;
                    return tx >= 2 && tx <= 7 && ty >= -224 && ty <= -219;  // blocks drop onto the top row
                };
                if (autoplay::danger::BestStep(
                        kMoves, here, [&](int dx, int dy) { return ClearForStep(p, dx, dy, horizon); }, inArena, &bdx,
                        &bdy)) {
                    Step(bdx, bdy);
                    ++dodges;
                    return;
                }
            } else {
                // Nothing close: drift back to the middle of the screen, keeping room to dodge.
                int dx = p->tX < 4 ? 1 : (p->tX > 5 ? -1 : 0);
                int dy = p->tY < -222 ? 1 : (p->tY > -222 ? -1 : 0);
                if ((dx || dy) && ClearForStep(p, dx, dy, horizon) > horizon) {
                    Step(dx, dy);
                    return;
                }
            }
        }
        bool right = c->x > 320;
        e->keys[VK_RIGHT] = right;
        e->keys[VK_LEFT] = !right;
    }

    void Step(int dx, int dy) {
        e->keys['X'] = true;
        e->keys['C'] = false;
        if (dy) e->keys[dy < 0 ? VK_UP : VK_DOWN] = true;
        if (dx) e->keys[dx < 0 ? VK_LEFT : VK_RIGHT] = true;
    }

    long frame = 0;
    int dodges = 0;
};

TEST_F(CrabFightTest, TheCrabArrivesFightsThroughItsCycleAndFallsToTheGun) {
    // Seven rows below the arena row on an open wall, the level script not yet started.
    p->SetPosition(4, -215);
    Building::scrollY = p->y - 192;
    srand(5);

    // Climb until the arena row is reached.
    Press('X');
    Press(VK_UP);
    long arenaReachedAt = -1;
    while (frame < 2000 && arenaReachedAt < 0) {
        GameFrame();
        if (p->tY <= -222) arenaReachedAt = frame;
    }
    Release('X');
    Release(VK_UP);
    ASSERT_GE(arenaReachedAt, 0) << "the climb to the arena";
    EXPECT_TRUE(Building::lockScreen);
    EXPECT_EQ(Building::lockLo, -14400);
    EXPECT_EQ(Building::triggerCrabBoss, 3);
    EXPECT_EQ(e->music, Building::bossMus);

    // The crab arrives 180 frames after the arena row was first reached (counting that frame).
    long crabAt = -1;
    while (frame < arenaReachedAt + 400 && crabAt < 0) {
        GameFrame();
        if (FindCrab()) crabAt = frame;
    }
    ASSERT_GE(crabAt, 0) << "no crab";
    EXPECT_EQ(crabAt - arenaReachedAt, 179);
    EXPECT_EQ(Building::triggerCrabBoss, 4);
    CrabWalker* crab = FindCrab();
    EXPECT_EQ(crab->side, p->side);

    // The fight: fire held, aimed at whichever edge the crab is on.
    std::vector<int> phases{crab->aiPhase};
    Press('C');
    bool crabGone = false;
    while (frame < crabAt + 20000 && !crabGone) {
        CrabWalker* c = FindCrab();
        if (!c) {
            crabGone = true;
            break;
        }
        ASSERT_EQ(c, crab) << "one crab only";
        if (c->aiPhase != phases.back()) phases.push_back(c->aiPhase);
        Dodge(c);
        GameFrame();
        ASSERT_GE(Player::Lives, 0) << "the game was lost at frame " << frame;
    }
    Release('C');
    ASSERT_TRUE(crabGone) << "the crab was not beaten; phases seen: " << phases.size();

    // The whole cycle was seen before it died.
    const std::vector<int> cycle = CrabCycle();
    ASSERT_GE(phases.size(), cycle.size());
    EXPECT_EQ(std::vector<int>(phases.begin(), phases.begin() + cycle.size()), cycle);
    EXPECT_EQ(phases.back(), CrabWalker::kPhaseDying) << "it died";
    EXPECT_FALSE(Building::lockScreen) << "the screen unlocks once it has fallen away";
    EXPECT_GT(dodges, 0);
    EXPECT_GE(Player::Lives, 0) << "the player survived";
}
