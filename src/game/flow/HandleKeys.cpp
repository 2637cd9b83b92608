#include "game/flow/HandleKeys.h"

#include "engine/GameEngine.h"
#include "game/flow/MenuElement.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

int leftDel = 0;
int rightDel = 0;
int upDel = 0;
int downDel = 0;
int changeDel = 0;
int pauseDel = 0;

static GameEngine* Eng() { return GameEngine::gEngine; }

int HKActivateUp() { return (Eng()->keys[VK_UP] || Eng()->JoyStickY() == -1) ? 1 : 0; }
int HKActivateDown() { return (Eng()->keys[VK_DOWN] || Eng()->JoyStickY() == 1) ? 1 : 0; }
int HKActivateLeft() { return (Eng()->keys[VK_LEFT] || Eng()->JoyStickX() == -1) ? 1 : 0; }
int HKActivateRight() { return (Eng()->keys[VK_RIGHT] || Eng()->JoyStickX() == 1) ? 1 : 0; }
int HKActivatePauseKey() { return (Eng()->keys[VK_ESCAPE] || Eng()->JoyButton(9)) ? 1 : 0; }
int HKActivateJumpKey() { return (Eng()->keys['Z'] || Eng()->JoyButton(1)) ? 1 : 0; }
int HKActivateActKey1() { return (Eng()->keys['X'] || Eng()->JoyButton(1)) ? 1 : 0; }
int HKActivateActKey2() { return (Eng()->keys['C'] || Eng()->JoyButton(0)) ? 1 : 0; }
int HKActivateActKey3() { return (Eng()->keys[VK_RETURN] || Eng()->JoyButton(3)) ? 1 : 0; }

// Play is frozen while the tower turns between sides.
static bool Turning(GameEngine* e) { return static_cast<int>(e->rotx) % 90 != 0; }

void HandleKeys(GameEngine* gEngine) {
    // The ending: once the credits are over and the screen has faded out completely, any action key
    // quits. (The boss's death also ends on a black screen, with the fire key likely still held:
    // that must not skip the credits.)
    if (Building::scenePhase > 0) {
        if (Building::scenePhase == 100 && gEngine->fadePerc >= 1.0f &&
            (HKActivateActKey3() || HKActivateActKey2() || HKActivateActKey1() || HKActivatePauseKey()))
            PostQuitMessage(0);
        return;
    }

    // A new weapon is being shown: confirm dismisses it once it has slid in.
    if (Building::showNewWeapon) {
        if (HKActivateActKey3() && Building::newWeaponElement && Building::newWeaponElement->atTarget())
            Building::EndShowWeapon();
        return;
    }

    // The pause key toggles once per press, on the title too.
    if (HKActivatePauseKey()) {
        if (pauseDel == 0) {
            pauseDel = 1;
            Building::pauseOn = !Building::pauseOn;
        }
    } else {
        pauseDel = 0;
    }

    if (Building::MainMenuOn || Building::pauseOn) {
        bool select = HKActivateActKey3() || HKActivateActKey2() || HKActivateActKey1();
        if (select && changeDel == 0) {
            Building::ActivateSelection();
            changeDel = 1;
        } else if (!select) {
            changeDel = 0;
        }
        if (HKActivateUp()) {
            if (upDel == 0) {
                Building::menuPos -= 1;
                upDel = 1;
            }
        } else {
            upDel = 0;
        }
        if (HKActivateDown()) {
            if (downDel == 0) {
                Building::menuPos += 1;
                downDel = 1;
            }
        } else {
            downDel = 0;
        }
        if (HKActivatePauseKey() && Building::MainMenuOn) PostQuitMessage(0);
        return;
    }

    if (Turning(gEngine) || Building::pauseOn) return;
    Player* p = Player::Get();
    if (!p) return;

    if (HKActivateActKey1()) {
        // Climb mode: diagonals first, then each held direction on its own, every frame.
        p->climbHold = 1;
        int l = HKActivateLeft(), r = HKActivateRight(), u = HKActivateUp(), d = HKActivateDown();
        if (r && d) p->Climb(1, 1);
        if (r && u) p->Climb(1, -1);
        if (l && d) p->Climb(-1, 1);
        if (l && u) p->Climb(-1, -1);
        if (l) p->Climb(-1, 0);
        leftDel = l;
        if (r) p->Climb(1, 0);
        rightDel = r;
        if (u) p->Climb(0, -1);
        upDel = u;
        if (d) p->Climb(0, 1);
        downDel = d;
    } else {
        // Aim mode: the last matching call wins, so a held diagonal aims diagonally.
        if (HKActivateActKey2()) p->Fire();
        int l = HKActivateLeft(), r = HKActivateRight(), u = HKActivateUp(), d = HKActivateDown();
        if (l) p->Aim(-1, 0);
        if (r) p->Aim(1, 0);
        if (u) p->Aim(0, -1);
        if (d) p->Aim(0, 1);
        if (r && d) p->Aim(1, 1);
        if (r && u) p->Aim(1, -1);
        if (l && d) p->Aim(-1, 1);
        if (l && u) p->Aim(-1, -1);
        if (changeDel == 1 && HKActivateActKey3()) {
            changeDel = 0;
            p->NextWeapon();
        } else if (!HKActivateActKey3()) {
            changeDel = 1;
        }
    }
}
