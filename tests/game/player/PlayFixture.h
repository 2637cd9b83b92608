// Shared set-up of the player, controls, menu and level-script tests: the real pictures and
// sounds, an open tower (segments built from level names that have no files, so every tile is
// open wall), a fresh player at element 0 of the entity list, the game-wide flags at their
// start values and a private save folder for the progress files.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/GMusic.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/entities/Entity.h"
#include "game/flow/HandleKeys.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MenuElement.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/HandleTriggers.h"
#include "platform/Backend.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

// The message queue's own state (defined with the queue).
namespace platform {
void ResetMessageQueue();
bool QuitRequested();
}  // namespace platform

class PlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::EnsureGL();
        platform::SetDataDir(BRACKMOOR_DATA_DIR);
        static bool loaded = false;
        if (!loaded) {
            Building::LoadMusic();
            Player::Init();
            Entity::Init();
            Building::Init();
            InitMainMenu();
            loaded = true;
        }
    }

    void SetUp() override {
        save = testsupport::MakeTempDir("play");
        ASSERT_FALSE(save.empty());
        platform::SetSaveDir(save);
        platform::ResetMessageQueue();
        e = GameEngine::gEngine;
        std::fill(std::begin(e->keys), std::end(e->keys), false);
        e->rotx = 360;
        e->rotxdir = 1;
        e->fadePerc = 0;
        e->music = nullptr;
        GMusic::musicOn = TRUE;

        Entity::DeleteAll();
        Building::DestroyAll();
        BuildOpenTower();

        Building::scrollY = -576;
        Building::lockScreen = 0;
        Building::lockLo = Building::lockHi = 0;
        Building::saveStepCount = 0;
        for (int i = 0; i < 5; ++i) {
            Building::lastCheckPointX[i] = 5;
            Building::lastCheckPointY[i] = 4;
            Building::lastCheckPointSide[i] = 1;
        }
        Building::triggerCrabBoss = Building::triggerBoss2 = Building::triggerBossFinal = 0;
        Building::lineCross = 0;
        Building::BuildingUnlock = 0;
        Building::pauseOn = Building::MainMenuOn = 0;
        Building::menuPos = 0;
        Building::scenePhase = 0;
        Building::showNewWeapon = 0;
        Building::fbBlack = 0;
        Building::restartPending = 0;
        triggerCrabBossWait = 0;
        leftDel = rightDel = upDel = downDel = changeDel = pauseDel = menuDel = heldDel = 0;

        Player::body = new Player(5, -45);
        Entity::entList.push_back(Player::body);
        Player::Lives = Player::StartingLives;
        p = Player::body;
        p->SetPosition(4, -2);
        p->side = 1;
    }

    void TearDown() override {
        Entity::DeleteAll();
        Building::DestroyAll();
    }

    // Fourteen segments with no level files: every tile is open wall.
    static void BuildOpenTower() {
        for (int i = 0; i < levelCount; ++i) Building::b[i] = new Building("OpenWall", 8, 50, 50 * i);
        Building::cur = Building::b[0];
    }

    // One play frame of the player alone: its update, then the animation step its drawing makes.
    void Frame() {
        Player::Get()->Update();
        Player::Get()->sprite->Step();
    }
    // Frames until the player stands still (a step glides for 16 frames).
    void Settle(int frames = 24) {
        for (int i = 0; i < frames; ++i) Frame();
    }
    // One frame of input and game loop, as the frame loop runs them.
    void InputFrame() {
        HandleKeys(e);
        GameLoop(e);
        for (Entity* x : Entity::entList)
            if (x->sprite) x->sprite->Step();
    }
    void Press(int vk) { e->keys[vk] = true; }
    void Release(int vk) { e->keys[vk] = false; }

    void WriteSave(const std::string& name, const std::string& text) {
        ASSERT_TRUE(testsupport::WriteText(save + "/" + name, text));
    }
    std::string ReadSave(const std::string& name) { return testsupport::ReadFile(save + "/" + name); }

    GameEngine* e = nullptr;
    Player* p = nullptr;
    std::string save;
};
