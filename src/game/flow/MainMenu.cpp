#include "game/flow/MainMenu.h"

#include "engine/GImage.h"
#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/flow/MenuElement.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Progress.h"
#include "game/world/Tower.h"

#ifndef SWP_NOSIZE
#define SWP_NOSIZE 0x0001
#endif
#ifndef SW_MINIMIZE
#define SW_MINIMIZE 6
#endif
#ifndef SW_RESTORE
#define SW_RESTORE 9
#endif

GImage *imBuilding = nullptr, *imSky = nullptr, *imChar = nullptr, *imTitle = nullptr, *imTallow = nullptr,
       *imTovr = nullptr, *imGUIBox = nullptr, *imGUIText = nullptr, *imCursor = nullptr, *imPause = nullptr;
GImage* imLvlText[3] = {nullptr, nullptr, nullptr};
GSound *wavTitleCrush = nullptr, *wavTitleLand = nullptr, *wavTallowLand = nullptr, *wavBoxLand = nullptr,
       *wavSelect = nullptr, *wavEnter = nullptr, *wavNarrator = nullptr;
GMusic* musTitle = nullptr;
Sprite* pauseBKGsp = nullptr;
MenuElement *menSky = nullptr, *menBuilding = nullptr, *menChar = nullptr, *menTitle = nullptr, *menTallow = nullptr,
            *menTovr = nullptr, *menGUIBox = nullptr, *menGUIBox2 = nullptr, *menGUIText = nullptr,
            *menCursor = nullptr;
MenuElement* menLvlText[3] = {nullptr, nullptr, nullptr};
BOOL musStart = 0;

namespace {

Sprite* pauseTextSp = nullptr;

void Play(GSound* s) {
    if (s) s->Play();
}

// Sprites stop animating while the pause menu or a weapon announcement is up.
bool WorldFrozen() { return Building::pauseOn || Building::showNewWeapon != 0; }

void UpdateElement(MenuElement* m) {
    if (m) m->Update();
}
void DrawElement(MenuElement* m) {
    if (m) m->Draw();
}
bool AtTarget(MenuElement* m) { return m && m->atTarget(); }

void DeleteElement(MenuElement*& m) {
    delete m;
    m = nullptr;
}

MenuElement* Make(GImage* im, int sx, int sy, int tx, int ty, int delay, GSound* sound) {
    MenuElement* m = new MenuElement(im, sx, sy, tx, ty, delay);
    m->sound = sound;
    return m;
}

// The level box shows the labels up to the highest unlocked level (never past the third).
int LastLevelLabel() {
    int n = Building::BuildingUnlock;
    if (n < 0) return -1;
    return n > 2 ? 2 : n;
}

// Places the player at the start of level 1, 2 or 3 and sends the title away.
void StartLevel(int level) {
    LevelStart s = LevelStartOf(level);
    Building::lineCross = level - 1;
    Building::MovePlayerToPosition(s.side, 4, s.rows);
    Building::StartGame();
    if (level >= 2) {
        progress::BestLives b = progress::ReadBestLives();
        if (b.have[level - 2]) Player::Lives = b.value[level - 2];
    }
}

void GoFullScreen() {
    GameEngine* e = GameEngine::gEngine;
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = 640;
    mode.dmPelsHeight = 480;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
    ShowCursor(FALSE);
    SetWindowLongA(e->hwnd, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    SetWindowPos(e->hwnd, nullptr, 0, -25, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_FRAMECHANGED);
    ShowWindow(e->hwnd, SW_MINIMIZE);
    ShowWindow(e->hwnd, SW_RESTORE);
}

}  // namespace

LevelStart LevelStartOf(int level) {
    const tower::LevelStart& s = tower::kLevelStarts[level >= 2 && level <= 3 ? level - 1 : 0];
    return {s.side, s.height};
}

// With the player's "pause when the window loses focus" setting, leaving the window pauses play
// (the title menu, a weapon notice and the ending need no pause).
void PauseOnFocusLoss() {
    if (!Building::MainMenuOn && !Building::showNewWeapon && Building::scenePhase == 0) Building::pauseOn = 1;
}

void InitMainMenu() {
    imBuilding = GImage::CreateNew("data/Menu/building1.png");
    imSky = GImage::CreateNew("data/Menu/sky1.png");
    imChar = GImage::CreateNew("data/Menu/character_1.png");
    imTitle = GImage::CreateNew("data/Menu/bkmLogo1.png");
    imTallow = GImage::CreateNew("data/Menu/tallow.png");
    imTovr = GImage::CreateNew("data/Menu/tovr.png");
    imGUIBox = GImage::CreateNew("data/Menu/guiBox.png");
    imGUIText = GImage::CreateNew("data/Menu/guiText.png");
    imCursor = GImage::CreateNew("data/Menu/cursor.png");
    imPause = GImage::CreateNew("data/Menu/pause.png");
    imLvlText[0] = GImage::CreateNew("data/Menu/lvl1.png");
    imLvlText[1] = GImage::CreateNew("data/Menu/lvl2.png");
    imLvlText[2] = GImage::CreateNew("data/Menu/lvl3.png");
    wavTitleCrush = new GSound("data/menu/titlecrush.wav");
    wavTitleLand = new GSound("data/menu/titleland.wav");
    wavTallowLand = new GSound("data/menu/tallowland.wav");
    wavBoxLand = new GSound("data/menu/boxland.wav");
    wavSelect = new GSound("data/menu/select.wav");
    wavEnter = new GSound("data/menu/enter.wav");
    wavNarrator = new GSound("data/menu/narrator.wav");
    musTitle = new GMusic("data/music/title.xm");
    pauseBKGsp = new Sprite(0, GameEngine::gEngine, imGUIBox, 122, 154, 0, 0, 0, 0);
    pauseTextSp = new Sprite(0, GameEngine::gEngine, imPause, 122, 164, 0, 0, 0, 0);
    for (MenuElement*& m : menLvlText) m = nullptr;
    Sprite::frozen = WorldFrozen;
    GameEngine::gEngine->onFocusLost = PauseOnFocusLoss;
}

void Building::StartMainMenu() {
    MainMenuOn = 1;
    musStart = 0;
    GameEngine::gEngine->MusicLoop(musTitle);

    MenuElement** all[] = {&menSky,        &menBuilding,   &menChar,      &menTitle,   &menTallow,
                           &menTovr,       &menGUIBox,     &menGUIBox2,   &menGUIText, &menCursor,
                           &menLvlText[0], &menLvlText[1], &menLvlText[2]};
    for (MenuElement** m : all) DeleteElement(*m);

    menTallow = Make(imTallow, 0, 0, -640, 0, 100, nullptr);
    menTovr = Make(imTovr, 0, 0, 640, 0, 270, nullptr);
    menTitle = Make(imTitle, 10, -150, 10, 0, 0, wavTitleCrush);
    menChar = Make(imChar, 640, 138, -75, 138, 0, wavTitleLand);
    menSky = Make(imSky, 0, 0, 0, 0, 0, nullptr);
    menBuilding = Make(imBuilding, -640, 0, 0, 0, 0, wavTitleLand);
    menGUIBox = Make(imGUIBox, 122, 500, 122, 200, 0, nullptr);
    menGUIBox2 = Make(imGUIBox, 700, 200, 540, 200, 0, nullptr);
    menGUIText = Make(imGUIText, 122, 500, 122, 200, 0, nullptr);
    menCursor = Make(imCursor, 147, 500, 147, 220, 0, wavSelect);
    menCursor->beenAtTarget = 1;
    for (int i = 0; i < 3; ++i) menLvlText[i] = Make(imLvlText[i], 770, 220 + 50 * i, 570, 220 + 50 * i, 0, nullptr);
}

void UpdateMainMenu() {
    static int lastMenuPos = 0;
    static BOOL narPlay = 0;
    if (!menGUIBox) return;

    if (!menGUIBox->atTarget()) Building::menuPos = 0;

    if (Building::MainMenuOn) {
        int& p = Building::menuPos;
        if (p <= 4) {
            if (p < 0) p = 0;
            if (p > 2) p = 2;
        }
        if (p > 5) {
            if (p <= 9) p = 10;
            if (p > 10 + Building::BuildingUnlock) p = 10 + Building::BuildingUnlock;
        }
        if (p != lastMenuPos) {
            Play(wavSelect);
            lastMenuPos = p;
        }
    }

    // The two logos come first; nothing else moves until both have slid away.
    UpdateElement(menTallow);
    UpdateElement(menTovr);
    if (!AtTarget(menTallow) || !AtTarget(menTovr)) {
        narPlay = 0;
        return;
    }

    UpdateElement(menSky);
    UpdateElement(menBuilding);
    UpdateElement(menChar);
    menGUIText->x = menGUIBox->x;
    menGUIText->y = menGUIBox->y;

    if (AtTarget(menChar) && AtTarget(menBuilding)) UpdateElement(menTitle);

    if (AtTarget(menTitle)) {
        if (Building::MainMenuOn && !musStart) {
            GameEngine::gEngine->Shake(0, 8, 5, 30);
            musStart = 1;
        }
        if (!narPlay) {
            Play(wavNarrator);
            narPlay = 1;
        }
    } else if (Building::MainMenuOn) {
        // The box rises only once the title has landed.
        menGUIBox->delay = 50;
    }

    UpdateElement(menCursor);
    menCursor->acc = 2.5f;
    int p = Building::menuPos;
    if (p >= 10 && p < 20) {
        menCursor->targetY = menGUIBox2->y + 17 + 50 * (p - 10);
        menCursor->x = menGUIBox2->x + 2;
    } else {
        menCursor->targetY = menGUIBox->y + 20 + 50 * p;
        menCursor->x = menGUIBox->x + 25;
    }

    UpdateElement(menGUIBox);
    if (Building::menuPos <= 5 && Building::MainMenuOn) return;
    UpdateElement(menGUIBox2);
    for (int i = 0; i <= LastLevelLabel(); ++i) UpdateElement(menLvlText[i]);
}

void DrawMainMenu() {
    if (!menGUIBox) return;
    GameEngine::SetDepthTest(false);
    for (MenuElement* m :
         {menSky, menBuilding, menChar, menTitle, menTovr, menTallow, menGUIBox, menGUIBox2, menGUIText, menCursor})
        DrawElement(m);
    for (int i = 0; i <= LastLevelLabel(); ++i) DrawElement(menLvlText[i]);
    // A second cursor 300 pixels to the right brackets the selection.
    menCursor->x += 300;
    menCursor->Draw();
    menCursor->x -= 300;
    GameEngine::SetDepthTest(true);
}

void Building::ActivateSelection() {
    if (!AtTarget(menGUIBox)) return;
    Play(wavEnter);
    switch (menuPos) {
        case 0:
            if (BuildingUnlock != 0)
                menuPos = 10;
            else
                StartLevel(1);
            break;
        case 1: GoFullScreen(); break;
        case 2: PostQuitMessage(0); break;
        case 10:
        case 11:
        case 12: StartLevel(menuPos - 9); break;
        case 20: pauseOn = 0; break;
        case 21:
            RestartGame();
            pauseOn = 0;
            break;
        default: break;
    }
}

void Building::StartGame() {
    for (MenuElement* m : {menSky, menBuilding, menChar, menTitle, menTallow})
        if (m) m->targetX = -640;
    if (menTitle) menTitle->delay = 50;
    for (MenuElement* m : {menGUIBox, menGUIBox2, menCursor, menLvlText[0], menLvlText[1], menLvlText[2]})
        if (m) m->targetX = 800;
    if (menGUIBox) menGUIBox->delay = 0;
    if (menGUIBox2) menGUIBox2->delay = 0;
    GameEngine::gEngine->MusicLoop(levelMus);
    MainMenuOn = 0;
}

void Building::PauseMenuUpdate() {
    static int lastMenuPos = 20;
    if (menuPos < 20) menuPos = 20;
    if (menuPos > 21) menuPos = 21;
    if (menuPos != lastMenuPos) {
        Play(wavSelect);
        lastMenuPos = menuPos;
    }
    if (!menCursor || !pauseBKGsp) return;
    menCursor->acc = 2.5f;
    menCursor->x = pauseBKGsp->x + 25;
    menCursor->y = pauseBKGsp->y + 76 + 50 * (menuPos - 20);
    menCursor->targetX = menCursor->x;
}

void Building::PauseMenuDraw() {
    if (pauseBKGsp) {
        pauseBKGsp->x = 122;
        pauseBKGsp->y = 154;
        pauseBKGsp->Draw();
    }
    if (pauseTextSp) {
        pauseTextSp->x = 122;
        pauseTextSp->y = 164;
        pauseTextSp->Draw();
    }
    DrawElement(menCursor);
}
