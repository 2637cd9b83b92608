// Shared set-up of the creature and hazard tests: the real pictures and sounds, an open tower
// (segments with no level files, so every tile is open wall), a real player at element 0 of the
// entity list standing on side 1, and a frame that runs the occupancy pass, the list update and
// the drawing (which steps every sprite's animation), as the game loop does during play.
#pragma once

#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>

#include <algorithm>
#include <vector>

#include "../support/EntityQueries.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/enemies/Pickup.h"
#include "game/entities/Entity.h"
#include "game/flow/MainMenu.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Electricity.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

class CreatureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::EnsureGL();
        platform::SetDataDir(BRACKMOOR_DATA_DIR);
        static bool loaded = false;
        if (!loaded) {
            int f, c;
            Uint16 fmt;
            if (Mix_QuerySpec(&f, &fmt, &c) == 0) GameEngine::gEngine->SoundInit();
            Player::Init();
            Entity::Init();
            Building::Init();
            Pickup::Init();
            Electricity::Init();
            InitMainMenu();
            loaded = true;
        }
    }

    void SetUp() override {
        Entity::DeleteAll();
        Building::DestroyAll();
        for (int i = 0; i < levelCount; ++i) Building::b[i] = new Building("OpenWall", 8, 50, 50 * i);
        Building::cur = Building::b[0];
        Building::lockScreen = 0;
        Building::pauseOn = Building::MainMenuOn = 0;
        Building::scenePhase = 0;
        Building::fbBlack = 0;
        Building::showNewWeapon = 0;
        GameEngine::gEngine->rotx = 360;
        GSound::SoundOn = TRUE;
        Sprite::frozen = nullptr;
        Halt();

        Player::body = new Player(5, -45);
        Entity::entList.push_back(Player::body);
        Player::Lives = Player::StartingLives;
        p = Player::body;
        PlacePlayer(4, -2);
    }

    void TearDown() override {
        Halt();
        Entity::DeleteAll();
        Building::DestroyAll();
        Building::showNewWeapon = 0;
    }

    // Puts the player on a tile of side 1 and the camera so the player stands in its dead band.
    void PlacePlayer(int tx, int ty, int pside = 1) {
        p->SetPosition(tx, ty);
        p->side = pside;
        p->Idle();  // standing, ready to aim and fire
        Building::scrollY = std::min(-32.0f, p->y - 208.0f);
    }

    // One play frame: occupancy, every entity's update, then the drawing.
    void Frame() {
        if (Building::cur) Building::cur->FindBlockedLocations();
        Entity::UpdateAll();
        Entity::DrawAll();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    template <class T>
    static std::vector<T*> All() {
        return AllOf<T>();
    }
    template <class T>
    T* Add(T* e) {
        Entity::entList.push_back(e);
        return e;
    }

    // Sound checks: whether the audio device is open, and how many channels play a sound now.
    static bool AudioOpen() {
        int f, c;
        Uint16 fmt;
        return Mix_QuerySpec(&f, &fmt, &c) != 0;
    }
    static int Playing(GSound* s) {
        if (!s || !s->sound) return 0;
        int n = 0;
        for (int ch = 0; ch < Mix_AllocateChannels(-1); ++ch)
            if (Mix_Playing(ch) && Mix_GetChunk(ch) == s->sound) ++n;
        return n;
    }
    static void Halt() {
        if (AudioOpen()) Mix_HaltChannel(-1);
    }

    Player* p = nullptr;
};
