// A swarm's shared group: each baby leaves it when deleted (by the list, a restart or directly),
// the members left never see a freed baby, and the last one to go frees the group.
#include "CreatureFixture.h"
#include "FreeWatch.h"
#include "game/enemies/PopperBaby.h"
#include "game/enemies/PopperSack.h"

namespace {

class PopperGroupTest : public CreatureTest {
protected:
    void TearDown() override {
        freewatch::Watch(nullptr);
        CreatureTest::TearDown();
    }
    // Bursts a sac far from the player and watches its swarm's group.
    std::vector<PopperBaby*> Burst() {
        p->invinceTimer = 100000;
        Add(new PopperSack(1, 6 * 64, -4 * 64))->HP = 0;
        Frame();
        auto babies = All<PopperBaby>();
        EXPECT_EQ(babies.size(), 8u);
        if (!babies.empty()) {
            freewatch::Watch(babies[0]->group);
        }
        return babies;
    }
};

TEST_F(PopperGroupTest, MembersLeaveOneByOneAndTheLastFreesTheGroup) {
    auto babies = Burst();
    ASSERT_EQ(babies.size(), 8u);
    PopperGroup* g = babies[0]->group;
    // Seven go through the list: each one's entry goes, nothing else changes.
    for (int i = 0; i < 7; ++i) {
        babies[i]->alive = false;
        Frame();
        ASSERT_FALSE(freewatch::Freed()) << "after " << i + 1;
        ASSERT_EQ(g->size(), static_cast<size_t>(7 - i));
        for (auto& link : *g) ASSERT_NE(link.get(), nullptr);
        for (auto& link : *g) ASSERT_NE(link.get(), babies[i]);
    }
    EXPECT_EQ((*g)[0].get(), babies[7]);
    EXPECT_EQ(babies[7]->group, g);
    babies[7]->alive = false;
    Frame();
    EXPECT_TRUE(freewatch::Freed());
}

TEST_F(PopperGroupTest, ARestartFreesTheWholeSwarmAndItsGroup) {
    auto babies = Burst();
    ASSERT_EQ(babies.size(), 8u);
    Entity::DeleteAll();
    EXPECT_TRUE(freewatch::Freed());
    // The fixture's tear-down expects a player.
    Player::body = new Player(5, -45);
    Entity::entList.push_back(Player::body);
    p = Player::body;
}

TEST_F(PopperGroupTest, ABabyOutsideAnyGroupFliesAtThePlayerAlone) {
    PopperBaby* b = Add(new PopperBaby(1, p->x + 300, p->y, nullptr));
    const float x0 = b->x;
    Frames(30);
    EXPECT_LT(b->x, x0) << "towards the player on the left";
    EXPECT_LT(b->velX, 0.0f);
    b->alive = false;
    Frame();
    EXPECT_FALSE(InList(b));
}

}  // namespace
