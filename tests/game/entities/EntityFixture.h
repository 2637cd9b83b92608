// Shared pieces of the entity tests: a clean entity list and camera for each test, a probe
// entity that counts its calls, and a sprite that animates without an engine to draw with.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/Sprite.h"
#include "game/entities/Entity.h"
#include "game/world/Building.h"

// An entity that records what the base does to it.
class Probe : public Entity {
public:
    int aiCalls = 0;
    int updates = 0;
    int dieCalls = 0;
    std::string name = "Probe";
    bool thinksEverywhere = false;
    bool shownBlackedOut = false;
    // When set, the probe clears its own alive flag during its next update.
    bool vanishOnUpdate = false;

    void Update() override {
        ++updates;
        Entity::Update();
        if (vanishOnUpdate) alive = false;
    }
    void AI() override { ++aiCalls; }
    void Die() override {
        ++dieCalls;
        Entity::Die();
    }
    const char* ClassName() const override { return name.c_str(); }
    bool ThinksEverywhere() const override { return thinksEverywhere; }
    bool ShownWhenBlackedOut() const override { return shownBlackedOut; }
};

// A sprite with no engine: it animates on Update but draws nothing.
inline Sprite* HeadlessSprite() { return new Sprite(1, nullptr, nullptr, 0, 0, 64, 64, 0, 0); }

class EntityListTest : public ::testing::Test {
protected:
    void SetUp() override {
        Entity::DeleteAll();
        Building::scrollY = -32.0f;
        Building::fbBlack = 0;
    }
    void TearDown() override { Entity::DeleteAll(); }

    // A player-like entity at element 0 with a 40 x 64 box at (x, y).
    Probe* AddPlayer(float px, float py, int pside = 1) {
        Probe* p = new Probe;
        p->name = "Player";
        p->x = px;
        p->y = py;
        p->side = pside;
        p->cw = 40;
        p->ch = 64;
        Entity::entList.push_back(p);
        return p;
    }
    Probe* Add(float px, float py, int pside = 1) {
        Probe* e = new Probe;
        e->x = px;
        e->y = py;
        e->side = pside;
        e->cw = 32;
        e->ch = 32;
        Entity::entList.push_back(e);
        return e;
    }
};
