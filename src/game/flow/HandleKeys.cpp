#include "game/flow/HandleKeys.h"

#include "engine/GameEngine.h"
#include "game/flow/MenuElement.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "platform/Settings.h"

int leftDel = 0;
int rightDel = 0;
int upDel = 0;
int downDel = 0;
int changeDel = 0;
int pauseDel = 0;
int menuDel = 0;
int heldDel = 0;

static GameEngine* Eng() { return GameEngine::gEngine; }

// A joystick button counts through the button the player's settings give its action.
static int Button(platform::Action a) {
    return Eng()->JoyButton(platform::JoyButtonFor(platform::CurrentSettings(), a));
}

int HKActivateUp() { return (Eng()->keys[VK_UP] || Eng()->JoyStickY() == -1) ? 1 : 0; }
int HKActivateDown() { return (Eng()->keys[VK_DOWN] || Eng()->JoyStickY() == 1) ? 1 : 0; }
int HKActivateLeft() { return (Eng()->keys[VK_LEFT] || Eng()->JoyStickX() == -1) ? 1 : 0; }
int HKActivateRight() { return (Eng()->keys[VK_RIGHT] || Eng()->JoyStickX() == 1) ? 1 : 0; }
int HKActivatePauseKey() { return (Eng()->keys[VK_ESCAPE] || Button(platform::Action::Pause)) ? 1 : 0; }
int HKActivateJumpKey() { return (Eng()->keys['Z'] || Button(platform::Action::Jump)) ? 1 : 0; }
int HKActivateActKey1() { return (Eng()->keys['X'] || Button(platform::Action::Climb)) ? 1 : 0; }
int HKActivateActKey2() { return (Eng()->keys['C'] || Button(platform::Action::Fire)) ? 1 : 0; }
int HKActivateActKey3() { return (Eng()->keys[VK_RETURN] || Button(platform::Action::Weapon)) ? 1 : 0; }

namespace {
enum HeldKey { kHeldClimb = 1, kHeldFire = 2, kHeldWeapon = 4 };

// The action keys down at this moment, as HeldKey bits.
int ActionKeysDown() {
    return (HKActivateActKey1() ? kHeldClimb : 0) | (HKActivateActKey2() ? kHeldFire : 0) |
           (HKActivateActKey3() ? kHeldWeapon : 0);
}

// Whether an action key counts in play: not while it is still held from the menu it closed.
int InPlay(int down, int bit) {
    if (!(heldDel & bit)) return down;
    if (!down) heldDel &= ~bit;
    return 0;
}
}  // namespace

void LeaveToPlay(int closingKeys) {
    menuDel = 0;
    heldDel = closingKeys;
}

namespace {

// Play is frozen while the tower turns between sides.
bool Turning(GameEngine* e) { return static_cast<int>(e->rotx) % 90 != 0; }

// The ending: once the credits are over and the screen has faded out completely, any action key
// quits. (The boss's death also ends on a black screen, with the fire key likely still held: that
// must not skip the credits.)
void EndingKeys(GameEngine* e) {
    if (Building::scenePhase == Building::kSceneVeilCloses && e->fadePerc >= 1.0f &&
        (HKActivateActKey3() || HKActivateActKey2() || HKActivateActKey1() || HKActivatePauseKey()))
        PostQuitMessage(0);
}

// A new weapon is being shown: confirm dismisses it once it has slid in.
void NewWeaponKeys() {
    if (HKActivateActKey3() && Building::newWeaponElement && Building::newWeaponElement->atTarget()) {
        Building::EndShowWeapon();
        LeaveToPlay(kHeldWeapon);
    }
}

// The pause key toggles once per press, on the title too.
void PauseKey() {
    if (HKActivatePauseKey()) {
        if (pauseDel == 0) {
            pauseDel = 1;
            Building::pauseOn = !Building::pauseOn;
            if (!Building::pauseOn && !Building::MainMenuOn) LeaveToPlay(0);  // the pause key is no action key
        }
    } else {
        pauseDel = 0;
    }
}

// A direction moves the menu's cursor once per press; `held` remembers the press.
void MenuStep(int down, int& held, int step) {
    if (!down) {
        held = 0;
        return;
    }
    if (held == 0) {
        Building::menuPos += step;
        held = 1;
    }
}

void MenuKeys() {
    // However a menu opens (the pause key, the window losing focus, a restart), a select key that
    // was already down must be let go before it selects anything.
    if (!menuDel) {
        menuDel = 1;
        changeDel = 1;
    }
    bool select = HKActivateActKey3() || HKActivateActKey2() || HKActivateActKey1();
    if (select && changeDel == 0) {
        Building::ActivateSelection();
        changeDel = 1;
        if (!Building::MainMenuOn && !Building::pauseOn) LeaveToPlay(ActionKeysDown());
    } else if (!select) {
        changeDel = 0;
    }
    MenuStep(HKActivateUp(), upDel, -1);
    MenuStep(HKActivateDown(), downDel, 1);
    if (HKActivatePauseKey() && Building::MainMenuOn) PostQuitMessage(0);
}

// Climb mode: diagonals first, then each held direction on its own, every frame.
void ClimbKeys(Player* p) {
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
}

// Aim mode: the last matching call wins, so a held diagonal aims diagonally. The weapon changes
// once per press.
void AimKeys(Player* p, int fireKey, int weaponKey) {
    if (fireKey) p->Fire();
    int l = HKActivateLeft(), r = HKActivateRight(), u = HKActivateUp(), d = HKActivateDown();
    if (l) p->Aim(-1, 0);
    if (r) p->Aim(1, 0);
    if (u) p->Aim(0, -1);
    if (d) p->Aim(0, 1);
    if (r && d) p->Aim(1, 1);
    if (r && u) p->Aim(1, -1);
    if (l && d) p->Aim(-1, 1);
    if (l && u) p->Aim(-1, -1);
    if (changeDel == 1 && weaponKey) {
        changeDel = 0;
        p->NextWeapon();
    } else if (!weaponKey) {
        changeDel = 1;
    }
}

void PlayKeys(GameEngine* e) {
    // Whatever left a menu for play without passing through here is a way out too.
    if (menuDel) LeaveToPlay(ActionKeysDown());
    const int climbKey = InPlay(HKActivateActKey1(), kHeldClimb);
    const int fireKey = InPlay(HKActivateActKey2(), kHeldFire);
    const int weaponKey = InPlay(HKActivateActKey3(), kHeldWeapon);

    if (Turning(e) || Building::pauseOn) return;
    Player* p = Player::Get();
    if (!p) return;
    if (climbKey)
        ClimbKeys(p);
    else
        AimKeys(p, fireKey, weaponKey);
}

}  // namespace

void HandleKeys(GameEngine* gEngine) {
    if (Building::scenePhase > 0) {
        EndingKeys(gEngine);
        return;
    }
    if (Building::showNewWeapon) {
        NewWeaponKeys();
        return;
    }
    PauseKey();
    if (Building::MainMenuOn || Building::pauseOn) {
        MenuKeys();
        return;
    }
    PlayKeys(gEngine);
}
