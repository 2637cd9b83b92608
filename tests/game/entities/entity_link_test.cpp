// Links between entities turn null when the entity they point at is freed, however it goes.
#include <memory>

#include "EntityFixture.h"
#include "game/entities/EntityLink.h"

namespace {

using EntityLinks = EntityListTest;

// A creature that keeps a link to another and reads it every update.
class Follower : public Probe {
public:
    EntityLink<Probe> leader;
    float seenX = -1;
    void Update() override {
        Probe::Update();
        if (leader) seenX = leader->x;
    }
};

TEST_F(EntityLinks, LinkClearsWhenTheListFreesItsTarget) {
    AddPlayer(0, 0);
    Probe* leader = Add(42, 0);
    Follower* f = new Follower;
    f->leader = leader;
    Entity::entList.push_back(f);
    Entity::UpdateAll();
    EXPECT_FLOAT_EQ(f->seenX, 42);
    leader->vanishOnUpdate = true;
    Entity::UpdateAll();
    EXPECT_EQ(f->leader.get(), nullptr);
    EXPECT_FALSE(f->leader);
    f->seenX = -1;
    Entity::UpdateAll();  // no use of freed memory: the follower sees no leader
    EXPECT_FLOAT_EQ(f->seenX, -1);
}

TEST_F(EntityLinks, EveryLinkToTheTargetClears) {
    auto* target = new Probe;
    EntityLink<Probe> a = target;
    EntityLink<Entity> b;
    b = target;
    EntityLink<Probe> c = a;  // copies link too
    EXPECT_EQ(EntityLinkBase::CountLinksTo(target), 3);
    delete target;
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_EQ(b.get(), nullptr);
    EXPECT_EQ(c.get(), nullptr);
}

TEST_F(EntityLinks, RetargetedOrDestroyedLinksStopWatching) {
    auto* first = new Probe;
    auto* second = new Probe;
    {
        EntityLink<Probe> l = first;
        l = second;
        EXPECT_EQ(EntityLinkBase::CountLinksTo(first), 0);
        EXPECT_EQ(EntityLinkBase::CountLinksTo(second), 1);
        EntityLink<Probe> other = second;
        other = other;  // self-assignment keeps it
        EXPECT_EQ(EntityLinkBase::CountLinksTo(second), 2);
        EXPECT_EQ(other.get(), second);
    }
    // The links are gone; deleting the target afterwards must not touch them.
    EXPECT_EQ(EntityLinkBase::CountLinksTo(second), 0);
    delete first;
    delete second;
}

TEST_F(EntityLinks, LinkOwnedByTheTargetItself) {
    // A creature that links to itself (or its own part) is freed cleanly.
    Follower* f = new Follower;
    f->leader = f;
    EXPECT_EQ(EntityLinkBase::CountLinksTo(f), 1);
    delete f;
}

}  // namespace
