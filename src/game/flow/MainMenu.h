// The title sequence and its menu, and the pause menu. The title is built from menu elements:
// two logos, then the tower scene assembles, the title drops with a crash, the menu box rises.
// The menu's own state is here; the flags shared with the game (MainMenuOn, pauseOn, menuPos,
// BuildingUnlock) are statics of Building, and the menu's Building operations (StartMainMenu,
// ActivateSelection, StartGame, PauseMenuUpdate, PauseMenuDraw) are defined in MainMenu.cpp.
#pragma once

#include "platform/win32.h"

class GImage;
class GMusic;
class GSound;
class MenuElement;
class Sprite;

void InitMainMenu();
void UpdateMainMenu();
void DrawMainMenu();
// Pauses play when the window loses focus (installed as the engine's focus-lost hook).
void PauseOnFocusLoss();

// Pictures, sounds and elements of the menus (loaded by InitMainMenu, elements made by
// Building::StartMainMenu).
extern GImage *imBuilding, *imSky, *imChar, *imTitle, *imTallow, *imTovr, *imGUIBox, *imGUIText, *imCursor, *imPause;
extern GImage* imLvlText[3];
extern GSound *wavTitleCrush, *wavTitleLand, *wavTallowLand, *wavBoxLand, *wavSelect, *wavEnter, *wavNarrator;
extern GMusic* musTitle;
extern Sprite* pauseBKGsp;
extern MenuElement *menSky, *menBuilding, *menChar, *menTitle, *menTallow, *menTovr, *menGUIBox, *menGUIBox2,
    *menGUIText, *menCursor;
extern MenuElement* menLvlText[3];
extern BOOL musStart;

// Where a level starts: its side and its row count r (tile (4, 7 - r), scrollY -64 r).
struct LevelStart {
    int side;
    int rows;
};
LevelStart LevelStartOf(int level);
