#include "game/flow/MainFile.h"

#include <cstdio>
#include <cstdlib>

#include "engine/GFont.h"
#include "engine/GL.h"
#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "engine/Random.h"
#include "engine/Sprite.h"
#include "game/bosses/CrabWalker.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/EyeCrawler.h"
#include "game/enemies/LaserClimber.h"
#include "game/enemies/Pickup.h"
#include "game/entities/Entity.h"
#include "game/flow/MainMenu.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Electricity.h"
#include "game/world/HandleTriggers.h"
#include "game/world/Progress.h"
#include "game/world/Tower.h"
#include "game/world/World.h"
#include "platform/Options.h"
#include "platform/Settings.h"

GFont* bkmFont = nullptr;

namespace {
unsigned g_seed = 0;
}  // namespace

unsigned GameSeed() { return g_seed; }

void GameInit(GameEngine* gEngine, HINSTANCE hInstance) {
    // Whoever starts the game runs it (the program's main, or a test driving the game in-process):
    // its thread is the game's before the sound device starts mixing on another.
    RegisterGameThread();
    gEngine->Init(hInstance, "Brackmoor", 640, 480, true);
    const platform::Options& o = platform::CurrentOptions();
    g_seed = o.haveSeed ? o.seed : static_cast<unsigned>(GetTickCount());
    std::srand(g_seed);
    Building::LoadMusic();
    bkmFont = new GFont("data/font/bkmfont.cff", 1.0f);
    Building::BuildingUnlock = progress::ReadUnlock();
    progress::ReadBestLives();  // the game remembers both progress files from here on
}

void GameStart(GameEngine* gEngine) {
    gEngine->SetClearColor(GColor(116 / 255.0f, 140 / 255.0f, 37 / 255.0f, 1));

    Player::Init();
    Entity::Init();
    Building::Init();
    Pickup::Init();
    CrabWalker::Init();
    Electricity::Init();
    LaserClimber::Init();
    InitMainMenu();
    EyeCrawler::Init();

    GMusic::musicOn = TRUE;
    GSound::SoundOn = TRUE;
    Building::scenePhase = 0;
    Player::Lives = Player::StartingLives;
    gEngine->SelectFont(bkmFont);

    Player::body = new Player(5, -45);
    Entity::entList.push_back(Player::body);

    GSound::master_volume = 30;

    Building::BuildAll();

    Building::cur = Building::b[0];
    if (Building::cur) Building::cur->AddAllEntities();
    Player::body->SetPosition(5, 4);

    // The start position: normally level 1; a side digit and a row count start elsewhere.
    int side = tower::kLevelStarts[0].side, n = tower::kLevelStarts[0].height;
    bool development = gEngine->cmdLine[0] != 0;
    if (development) {
        side = gEngine->cmdLine[0] - '0';
        n = std::atoi(gEngine->cmdLine + 1);
        if (side < 1 || side > 4 || n < 0 || n > 50 * levelCount - 10) {
            char msg[320];
            std::snprintf(msg, sizeof(msg), "Start position \"%s\" is outside the tower; starting at level 1",
                          gEngine->cmdLine);
            MessageBoxA(nullptr, msg, "", MB_OK);
            side = tower::kLevelStarts[0].side;
            n = tower::kLevelStarts[0].height;
            development = false;
        }
    }
    Player::body->SetPosition(4, tower::RowAtHeight(n));
    Building::scrollY = -(n * 64.0f);
    Player::body->side = side;
    gEngine->rotx = 450.0f - 90.0f * side;
    if (development) {
        char msg[64];
        std::snprintf(msg, sizeof(msg), "side: %d Tile: %d", side, n);
        MessageBoxA(nullptr, msg, "", MB_OK);
    }

    Building::StartMainMenu();
    Building::scenePhase = 0;
}

void GameLoop(GameEngine* gEngine) {
    // Exactly one mode runs: the weapon announcement, the title, the pause menu, the turn, play.
    if (Building::showNewWeapon) {
        Building::UpdateNewWeapon();
        return;
    }
    UpdateMainMenu();
    if (Building::MainMenuOn) return;
    if (Building::pauseOn) {
        Building::PauseMenuUpdate();
        return;
    }

    // During play the shake advances twice a frame (the frame loop steps it too).
    gEngine->ShakeUpd();

    // The player's segment and the one above it (populated ahead of the player), then either
    // the turn of the tower or the occupancy marks, the level script and the entity pass.
    Player* p = Player::Get();
    const int idx = ChooseSegment(p ? p->tY : 0);
    if (!TurnTower(gEngine)) {
        MarkOccupied(idx);
        HandleTriggers();
        Building::UpdateEntities();
    }

    if (Building::scenePhase > 0) Building::UpdateFinalScene();
}

void GameDraw(GameEngine* gEngine) {
    static int hudX = 5;
    static int hudY = 380;

    if (Building::scenePhase > 0) {
        // The ending replaces the picture, yet the world's entities still run: their draw pass
        // keeps its effect on the game (animations step, blasts burn out) with no pixels.
        {
            PixelsOff off(gEngine);
            Entity* player = Entity::ThePlayer();
            for (Entity* x : Entity::DrawOrder(false))
                if (x != player) x->Draw();
        }
        Building::DrawFinalScene();
        return;
    }

    Player* p = Player::Get();
    // With "reduce flashing", a screen flickering between black and the scene shows the scene under
    // a steady dim veil instead; the flag itself, and so the game, is left as it is.
    const bool veil = platform::CurrentSettings().reduceFlashing && Building::FlickerActive(gEngine->frameCount);
    const BOOL black = Building::fbBlack;
    if (veil) Building::fbBlack = 0;
    DrawWorld(gEngine, p ? p->side : 1);

    // Wall creatures, then the player, then the rest; a blacked-out screen shows only the final boss.
    Entity::DrawAll(Building::fbBlack != 0);
    Building::fbBlack = black;

    GameEngine::SetDepthTest(false);

    if (veil) {
        gEngine->SetColor(12 / 255.0f, 31 / 255.0f, 12 / 255.0f, 0.75f);
        gEngine->DrawBox(0, 0, 0, 640, 480, 0);
        gEngine->ResetColor();
    }

    if (Building::hudBKGsp) {
        gEngine->SetColor(1, 1, 1, 0.5f);
        Building::hudBKGsp->x = 3;
        Building::hudBKGsp->y = 375;
        Building::hudBKGsp->Update();
        gEngine->ResetColor();
    }

    gEngine->SetColor(1, 1, 1, 1);
    gEngine->SelectFont(bkmFont);
    int th = gEngine->curFont ? gEngine->curFont->tileH : 0;
    gEngine->DrawTextA(static_cast<float>(hudX), static_cast<float>(hudY), "a %d",
                       Player::Lives < 0 ? 0 : Player::Lives);
    gEngine->DrawTextA(static_cast<float>(hudX), static_cast<float>(hudY + 2 * th), "b9999");
    if (p && p->haveWeapon[1])
        gEngine->DrawTextA(static_cast<float>(hudX), static_cast<float>(hudY + 4 * th), "c%d", p->ammo[1]);
    if (p && p->haveWeapon[2])
        gEngine->DrawTextA(static_cast<float>(hudX), static_cast<float>(hudY + 6 * th), "d%d", p->ammo[2]);
    gEngine->ResetColor();

    // With --verbose, the final boss's hit points and the size of the entity list.
    if (platform::CurrentOptions().verbose && FinalBoss::debug_boss) {
        char line[64];
        FinalBoss::FormatDebugLine(line, sizeof(line));
        gEngine->DrawTextA(static_cast<float>(hudX), 20, "%s", line);
    }

    // The fade overlay covers the whole screen.
    gEngine->SetColor(0, 0, 0, gEngine->fadePerc);
    gEngine->DrawBox(0, 0, 0, 640, 480, 0);
    gEngine->ResetColor();

    if (Building::pauseOn) Building::PauseMenuDraw();

    GameEngine::SetDepthTest(true);

    if (Building::showNewWeapon) Building::DrawNewWeapon();

    DrawMainMenu();
}

void GameEnd(GameEngine*) {}
