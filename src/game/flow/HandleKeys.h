// Keyboard and joystick to game actions. Each action is a predicate true when its key or its
// joystick control is active; one-per-press actions use the held-state flags below.
#pragma once

class GameEngine;

int HKActivateUp();
int HKActivateDown();
int HKActivateLeft();
int HKActivateRight();
int HKActivatePauseKey();
int HKActivateJumpKey();
int HKActivateActKey1();
int HKActivateActKey2();
int HKActivateActKey3();

// Held-state flags. leftDel..downDel: the direction was held last frame (a menu moves once per
// press). pauseDel: the pause key is held. changeDel: in a menu, 1 while a select key must be let
// go before it selects; in play, 1 while the weapon key is up, so that its next press changes weapon.
extern int leftDel, rightDel, upDel, downDel, changeDel, pauseDel;
// menuDel: the last call handled a menu. heldDel: the climb (1), fire (2) and weapon (4) keys that
// closed a menu or the new-weapon notice; each acts in play only after it has been released.
extern int menuDel, heldDel;

// Play resumes: `closingKeys` (heldDel bits: the action keys that closed the menu) are kept from
// acting until they are released; any other key held down acts at once.
void LeaveToPlay(int closingKeys);

void HandleKeys(GameEngine* gEngine);
