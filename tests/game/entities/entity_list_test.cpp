// The entity list: one pass updates every entity in order, including those appended during the
// pass; an entity that clears its own alive flag is removed and deleted at once and the next one
// still runs; the drawing order puts wall entities first, then the player, then the rest.
#include <algorithm>

#include "EntityFixture.h"
#include "game/entities/Blood.h"

namespace {

using EntityListPass = EntityListTest;

// Counts its destructor calls so that a test can see the list free it.
class Tracked : public Probe {
public:
    static int destroyed;
    ~Tracked() override { ++destroyed; }
};
int Tracked::destroyed = 0;

// Appends a new probe to the list during its first update.
class Spawner : public Probe {
public:
    Probe* child = nullptr;
    void Update() override {
        Probe::Update();
        if (!child) {
            child = new Probe;
            Entity::entList.push_back(child);
        }
    }
};

// Hits another entity during its update, as a weapon would.
class Shooter : public Probe {
public:
    Entity* target = nullptr;
    void Update() override {
        Probe::Update();
        target->Hit(0, 0);
    }
};

TEST_F(EntityListPass, SelfRemovalFreesAtOnceAndTheNextStillUpdates) {
    AddPlayer(0, 0);
    Tracked::destroyed = 0;
    Tracked* a = new Tracked;
    a->vanishOnUpdate = true;
    Tracked* b = new Tracked;
    b->vanishOnUpdate = true;  // two in a row: the index must not advance past the second
    Probe* c = Add(0, 0);
    Entity::entList.insert(Entity::entList.begin() + 1, {a, b});
    Entity::UpdateAll();
    EXPECT_EQ(Tracked::destroyed, 2);
    ASSERT_EQ(Entity::entList.size(), 2u);
    EXPECT_EQ(Entity::entList[1], c);
    EXPECT_EQ(c->updates, 1);
}

TEST_F(EntityListPass, LastEntityRemovingItselfEndsThePass) {
    Probe* p = AddPlayer(0, 0);
    Tracked::destroyed = 0;
    Tracked* t = new Tracked;
    t->vanishOnUpdate = true;
    Entity::entList.push_back(t);
    Entity::UpdateAll();
    EXPECT_EQ(Tracked::destroyed, 1);
    ASSERT_EQ(Entity::entList.size(), 1u);
    EXPECT_EQ(p->updates, 1);
}

TEST_F(EntityListPass, EntitiesAppendedDuringThePassUpdateThatFrame) {
    AddPlayer(0, 0);
    Spawner* s = new Spawner;
    Entity::entList.push_back(s);
    // Enough entities after it that the append reallocates the list storage.
    for (int i = 0; i < 40; ++i) Add(0, 0);
    Entity::entList.shrink_to_fit();
    Entity::UpdateAll();
    ASSERT_NE(s->child, nullptr);
    EXPECT_EQ(s->child->updates, 1);
    EXPECT_EQ(Entity::entList.back(), s->child);
    for (Entity* e : Entity::entList) EXPECT_EQ(static_cast<Probe*>(e)->updates, 1);
}

TEST_F(EntityListPass, BloodFromAHitDuringThePassMovesThatFrame) {
    AddPlayer(0, 0);
    Probe* victim = Add(200, 200);
    Shooter* s = new Shooter;
    s->target = victim;
    Entity::entList.push_back(s);
    Entity::UpdateAll();
    ASSERT_EQ(Entity::entList.size(), 6u);
    for (size_t i = 3; i < 6; ++i) {
        Blood* b = dynamic_cast<Blood*>(Entity::entList[i]);
        ASSERT_NE(b, nullptr);
        // Updated once: gravity has been added to its starting velocity.
        float startY = static_cast<float>(static_cast<int>(victim->GetCenterY()));
        EXPECT_FLOAT_EQ(b->y, startY + (b->velY - 0.25f));
    }
}

TEST_F(EntityListPass, TheDeadAreRemovedOnlyOnceOffScreen) {
    AddPlayer(0, 0);
    Tracked::destroyed = 0;
    Tracked* t = new Tracked;
    t->y = 100;
    t->HP = 0;
    Entity::entList.push_back(t);
    Building::scrollY = -32;
    int frames = 0;
    while (Tracked::destroyed == 0 && frames < 200) {
        Entity::UpdateAll();
        ++frames;
    }
    EXPECT_EQ(Tracked::destroyed, 1);
    EXPECT_EQ(Entity::entList.size(), 1u);
    EXPECT_GT(frames, 1);
}

TEST_F(EntityListPass, DrawOrderIsWallEntitiesThePlayerThenTheRest) {
    Probe* player = AddPlayer(0, 0);
    player->wallDraw = 1;  // the player is placed by position, not by its flag
    Probe* r1 = Add(0, 0);
    Probe* w1 = Add(0, 0);
    w1->wallDraw = 1;
    Probe* r2 = Add(0, 0);
    Probe* w2 = Add(0, 0);
    w2->wallDraw = 1;
    std::vector<Entity*> order = Entity::DrawOrder();
    std::vector<Entity*> expected = {w1, w2, player, r1, r2};
    EXPECT_EQ(order, expected);
}

TEST_F(EntityListPass, BlackedOutScreenShowsOnlyTheFinalBoss) {
    AddPlayer(0, 0);
    Probe* w = Add(0, 0);
    w->wallDraw = 1;
    Probe* boss = Add(0, 0);
    boss->shownBlackedOut = true;
    boss->wallDraw = 1;
    Add(0, 0);
    std::vector<Entity*> order = Entity::DrawOrder(true);
    ASSERT_EQ(order.size(), 1u);
    EXPECT_EQ(order[0], boss);
}

TEST_F(EntityListPass, HiddenEntitiesKeepTheirDrawBookkeepingWhileBlackedOut) {
    // What is not shown still steps its animation and counts down the player's immunity, so
    // nothing timed by an animation frame repeats or stalls in the dark.
    Probe* player = AddPlayer(0, 0);
    Probe* creature = Add(0, 0);
    Probe* boss = Add(0, 0);
    boss->shownBlackedOut = true;
    AnimationData walk{0, 3, 0, 0};
    for (Probe* e : {player, creature, boss}) {
        e->sprite = HeadlessSprite();
        e->sprite->PlayAnimation(&walk);
    }
    player->invinceTimer = 50;
    for (int i = 0; i < 3; ++i) Entity::DrawAll(true);
    EXPECT_EQ(player->invinceTimer, 47);
    for (Probe* e : {player, creature, boss}) EXPECT_EQ(e->sprite->CurFrame, 3) << e->name;
}

TEST_F(EntityListPass, RestartClearKeepsNoPointerToTheDeletedPlayer) {
    Entity* oldPlayer = AddPlayer(0, 0);
    Tracked::destroyed = 0;
    Entity::entList.push_back(new Tracked);
    Entity::entList.push_back(new Tracked);
    // The player's owner deletes it first; the clear must not touch element 0 again.
    delete oldPlayer;
    Entity::ClearListAfterPlayer();
    EXPECT_EQ(Tracked::destroyed, 2);
    EXPECT_TRUE(Entity::entList.empty());
}

}  // namespace
