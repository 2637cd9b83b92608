// Shared pieces of the world tests: a data folder of level files written on the fly, a factory
// that records what the loader asks for, and a player-like entity to measure distances from.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/entities/Entity.h"
#include "game/world/Building.h"
#include "game/world/LevelFormat.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

// An entity with a settable class name that counts how many of its kind are alive.
class WorldProbe : public Entity {
public:
    std::string name = "WorldProbe";
    static int liveCount;
    WorldProbe() { ++liveCount; }
    ~WorldProbe() override { --liveCount; }
    const char* ClassName() const override { return name.c_str(); }
};

struct FactoryCall {
    std::string name;
    int w, h, side, cX, cY;
};

class WorldTest : public ::testing::Test {
protected:
    static std::vector<FactoryCall> calls;

    // Records the call and makes a probe standing for the requested creature.
    static Entity* RecordingFactory(const char* cName, int w, int h, int side, int cX, int cY) {
        calls.push_back({cName, w, h, side, cX, cY});
        WorldProbe* p = new WorldProbe;
        p->name = cName;
        p->side = side;
        return p;
    }

    void SetUp() override {
        Entity::DeleteAll();
        calls.clear();
        oldFactory_ = Building::factory;
        Building::factory = &RecordingFactory;
        if (!Building::blankDummy) Building::blankDummy = new BuildingBlock(0, 0, 0);
        dataDir_ = testsupport::MakeTempDir("world");
        platform::SetDataDir(dataDir_);
        platform::MakeFolders(dataDir_ + "/ZLevel");
        messagesBefore_ = platform::MessageCount();
    }
    void TearDown() override {
        Building::DestroyAll();
        Entity::DeleteAll();
        Building::factory = oldFactory_;
    }

    // A side file with every tile "x" and no pictures, types or placements.
    static level::SideFile EmptySide() {
        level::SideFile f;
        f.header = {"test", "#"};
        f.w = 8;
        f.h = 50;
        for (auto& n : f.neighbours) n = "none";
        f.ResetLayers();
        return f;
    }
    void WriteSide(const std::string& level, int side, const std::string& text) {
        ASSERT_TRUE(
            testsupport::WriteText(dataDir_ + "/ZLevel/" + level + "_Side" + std::to_string(side) + ".zlv", text));
    }
    void WriteAllSides(const std::string& level, const level::SideFile& f) {
        for (int s = 1; s <= 4; ++s) WriteSide(level, s, level::Write(f));
    }
    int NewMessages() const { return platform::MessageCount() - messagesBefore_; }

    // A player-like entity at element 0 standing on tile (tx, ty).
    WorldProbe* AddPlayer(int tx, int ty, int side = 1) {
        WorldProbe* p = new WorldProbe;
        p->name = "Player";
        p->x = 64.0f * tx;
        p->y = 64.0f * ty;
        p->cw = 64;
        p->ch = 64;
        p->side = side;
        Entity::entList.insert(Entity::entList.begin(), p);
        return p;
    }
    // A wall creature whose 64 x 64 box covers tile (tx, ty).
    WorldProbe* AddWallCreature(int tx, int ty, int side = 1) {
        WorldProbe* e = new WorldProbe;
        e->x = 64.0f * tx;
        e->y = 64.0f * ty;
        e->cw = 64;
        e->ch = 64;
        e->side = side;
        e->wallDraw = 1;
        Entity::entList.push_back(e);
        return e;
    }

    std::string dataDir_;
    Entity* (*oldFactory_)(const char*, int, int, int, int, int) = nullptr;
    int messagesBefore_ = 0;
};
