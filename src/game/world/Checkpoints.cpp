// Where the player comes back after losing a life, how a game starts over, how the camera is
// pinned during fights, how the player is placed at a level's start, the new-weapon
// announcement and the black screen.
#include <cstdio>

#include "engine/GL.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/entities/Entity.h"
#include "game/flow/MenuElement.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

BOOL Building::restartPending = 0;

namespace {
// Depth of the entity pass in progress (a restart asked for inside it waits for its end).
int entityPassDepth = 0;
// The restart keeps its own count of segments.
const int kRestartLevelCount = 14;

void SetView(int side) { GameEngine::gEngine->rotx = 450.0f - 90.0f * side; }

void RestartNow() {
    delete Player::body;
    Player::body = new Player(5, -45);
    Player::Lives = Player::StartingLives;

    Building::lineCross = 0;

    Entity::ClearListAfterPlayer();
    Entity::entList.push_back(Player::body);

    Building::sceneTimer = 0;
    Building::scenePhase = 0;
    Building::triggerCrabBoss = 0;
    Building::triggerBoss2 = 0;
    Building::triggerBossFinal = 0;
    Building::lockScreen = 0;
    // A game lost during the final boss's flicker must not start the next one blacked out.
    Building::fbBlack = 0;
    Building::showNewWeapon = 0;
    // A banner still sliding would otherwise stay behind with nothing to finish it.
    delete Building::newWeaponElement;
    Building::newWeaponElement = nullptr;

    for (int i = 0; i < kRestartLevelCount; ++i) {
        delete Building::b[i];
        char name[32];
        std::snprintf(name, sizeof(name), "Level%d", i + 1);
        Building::b[i] = new Building(name, 8, 50, 50 * i);
    }
    Building::cur = Building::b[0];
    Building::b[0]->AddAllEntities();

    Building::StartMainMenu();
}
}  // namespace

void Building::SaveStepLocation(int tx, int ty, int side) {
    int i = saveStepCount % 5;
    lastCheckPointX[i] = tx;
    lastCheckPointY[i] = ty;
    lastCheckPointSide[i] = side;
}

void Building::MoveToLastCheckPoint() {
    // The slot written next holds the oldest of the five positions.
    int i = saveStepCount % 5;
    Player* p = Player::Get();
    if (!p) return;
    SetView(lastCheckPointSide[i]);
    p->side = lastCheckPointSide[i];
    p->SetPosition(lastCheckPointX[i], lastCheckPointY[i]);
    scrollY = 64.0f * lastCheckPointY[i] - 192;
}

void Building::LockScreen(int lo, int hi) {
    lockScreen = 1;
    lockLo = lo;
    lockHi = hi;
}

void Building::UnlockScreen() { lockScreen = 0; }

void Building::MovePlayerToPosition(int sside, int sx, int sy) {
    Player* p = Player::Get();
    if (!p) return;
    p->SetPosition(sx, tower::RowAtHeight(sy));
    scrollY = -64.0f * sy;
    p->side = sside;
    SetView(sside);
}

void Building::RestartGame() {
    if (entityPassDepth > 0) {
        restartPending = 1;
        return;
    }
    restartPending = 0;
    RestartNow();
}

void Building::UpdateEntities() {
    ++entityPassDepth;
    Entity::UpdateAll();
    --entityPassDepth;
    if (restartPending && entityPassDepth == 0) {
        restartPending = 0;
        RestartNow();
    }
}

void Building::ShowNewWeapon(int i) {
    // A second announcement replaces the first rather than leaking it.
    delete newWeaponElement;
    showNewWeapon = i;
    newWeaponElement = new MenuElement(i == 1 ? imFlamer : imBazooka, 640, 0, 0, 0, 0);
    newWeaponElement->sound = i == 1 ? wavFlameGet : wavBazookaGet;
}

void Building::EndShowWeapon() {
    if (newWeaponElement) newWeaponElement->targetX = -640;
}

void Building::UpdateNewWeapon() {
    if (!newWeaponElement) {
        showNewWeapon = 0;
        return;
    }
    newWeaponElement->Update();
    if (newWeaponElement->x == -640) {
        delete newWeaponElement;
        newWeaponElement = nullptr;
        showNewWeapon = 0;
    }
}

void Building::DrawNewWeapon() {
    if (!newWeaponElement) return;
    GameEngine::SetDepthTest(false);
    GameEngine::gEngine->DrawImage(0, imDither, 0, 0, 1.0f, 0, 1, 1);
    newWeaponElement->Draw();
    GameEngine::SetDepthTest(true);
}

void Building::GoBlack() { fbBlack = 1; }
void Building::UnBlack() { fbBlack = 0; }
namespace {
long g_lastBlackToggle = -1000;
}

void Building::GoBlackToggle() {
    fbBlack = !fbBlack;
    if (GameEngine::gEngine) g_lastBlackToggle = GameEngine::gEngine->frameCount;
}

bool Building::FlickerActive(long frame) { return frame - g_lastBlackToggle <= 2 && frame >= g_lastBlackToggle; }
