// One segment of the tower: four sides of w x h tiles (8 x 50), stacked 50 rows above the
// segment below it, with the entities its level files place on it. The class statics hold the
// game-wide state: the segments, the camera, checkpoints, the screen lock, the level script, the
// menus, the ending and the shared pictures, sounds and music.
#pragma once

#include <string>
#include <vector>

#include "game/world/BuildingBlock.h"
#include "platform/win32.h"

class Entity;
class GImage;
class GMusic;
class GSound;
class MenuElement;
class Sprite;

namespace level {
struct SideFile;
}

// The number of segments the game builds.
extern int levelCount;

class Building {
public:
    int w;                         // columns per side
    int h;                         // rows per side
    int y;                         // vertical index of the segment in tile rows (segment i: 50 * i)
    BuildingBlock**** block;       // block[side - 1][column][row], row 0 at the top
    BOOL addedEntList;             // the entities were handed to the entity list
    std::vector<Entity*> addList;  // owned until handed over

    static constexpr int kMaxSegments = 50;
    static constexpr int kMaxRows = 256;

    // The tower.
    static Building* b[kMaxSegments];
    static Building* cur;
    static float scrollY;
    static BuildingBlock* blankDummy;
    static GImage* imTiles;
    static GImage* imBkgLeft1;
    static GImage* imBkgRight1;
    static GImage* imBkgLeft2;
    static GImage* imBkgRight2;
    static GImage* imBkgLeft4;
    static GImage* imBkgRight4;
    static GImage* imBkgLeft5;
    static GImage* imBkgRight5;
    static GImage* hudBKG;
    static Sprite* hudBKGsp;

    // New-weapon announcement.
    static GSound* wavFlameGet;
    static GSound* wavBazookaGet;
    static GImage* imFlamer;
    static GImage* imBazooka;
    static GImage* imDither;
    static MenuElement* newWeaponElement;
    static int showNewWeapon;

    // Checkpoints, screen lock, black screen.
    static int lastCheckPointX[5];
    static int lastCheckPointY[5];
    static int lastCheckPointSide[5];
    static int saveStepCount;
    static int saveStepCountMax;
    static BOOL lockScreen;
    static int lockLo;
    static int lockHi;
    static BOOL fbBlack;

    // Level script.
    static int lineCross;
    static int triggerCrabBoss;
    static int triggerBoss2;
    static int triggerBossFinal;
    static int BuildingUnlock;

    // Menus.
    static BOOL pauseOn;
    static BOOL MainMenuOn;
    static int menuPos;

    // Ending.
    static int scenePhase;  // the ending's step: one of the kScene values below
    static int sceneTimer;  // frames into the step; a card's brightness, in 200ths, while the credits show
    // The ending's steps (scenePhase). The numbers are kept as they are: state dumps and traces record them.
    static constexpr int kSceneNone = 0;           // no ending: the game plays
    static constexpr int kSceneStart = 1;          // sets up the sky, the falling character and the music
    static constexpr int kSceneFall = 2;           // falls for 150 frames behind the black veil
    static constexpr int kSceneVeilLifts = 10;     // the veil lifts
    static constexpr int kSceneCreditsStart = 11;  // the credits begin
    static constexpr int kSceneFirstCard = 15;     // each card fades in (odd step) and out (even step): 15..28
    static constexpr int kSceneLastCard = 28;
    static constexpr int kSceneCreditsEnd = 29;   // the credits are over
    static constexpr int kSceneVeilCloses = 100;  // the veil closes; once it is black, a key quits
    static GImage* creditClouds;
    static GImage* creditClouds2;
    static GImage* creditCity;
    static Sprite* creditSp;
    static Sprite* creditClouds2Sp;
    static Sprite* creditCitySp;

    // Music.
    static GMusic* levelMus;
    static GMusic* level2Mus;
    static GMusic* level3Mus;
    static GMusic* bossMus;
    static GMusic* finalBossMus;
    static GMusic* endMus;

    Building(char* filename, int sw, int sh, int sy);
    Building(const char* filename, int sw, int sh, int sy);
    ~Building();
    Building(const Building&) = delete;
    Building& operator=(const Building&) = delete;

    static void Init();
    // Loads the six music tracks (the game's start-up does this before the world exists).
    static void LoadMusic();

    BuildingBlock* GetBlock(int side, int tx, int ty);
    int GetActualTileX(int tx);
    int GetActualTileY(int ty);
    BOOL openSpot(int side, int tx, int ty, BOOL ignoreBlocked);
    void FindBlockedLocations();
    void AddAllEntities();
    static Entity* SpecialCreate(BuildingBlock* block, int side, int tX, int tY, int w, int h);
    // The factory the loader and SpecialCreate make entities with (Entity::Create; tests record
    // the arguments through it).
    static Entity* (*factory)(const char* cName, int w, int h, int side, int cX, int cY);
    // How the loader loads a tile picture ("data/tiles/NAME", through the image cache) and how it
    // reports a level it cannot use (a message box). The fuzzer replaces both.
    static void (*loadTilePicture)(const char* gamePath);
    static void (*reportLevelProblem)(const char* text);
    void Draw();
    static void DrawBackground();

    // Reads side 1..4 from "data/ZLevel/" + lName. A file that cannot be opened or is malformed
    // is reported in a message box and leaves the side as the constructor made it.
    void LoadSide(int side, char* lName);
    void LoadSide(int side, const char* lName);
    // The same for the bytes of a file already read; gamePath names it in messages.
    void LoadSideText(int side, const char* gamePath, const std::string& bytes);
    // Sets the tiles of one side from a parsed file and creates its entities (breakable blocks
    // found in the layers, then the placements in file order) into addList.
    void ApplySide(int side, const level::SideFile& f);

    // The segment that holds tile row ty (truncating division), or null outside the tower.
    static Building* SegmentForRow(int ty);
    static int SegmentIndexForRow(int ty);
    // Checkpoints, restart, screen lock, new-weapon announcement, black screen (defined with the
    // checkpoint code).
    static void SaveStepLocation(int tx, int ty, int side);
    static void MoveToLastCheckPoint();
    static void LockScreen(int lo, int hi);
    static void UnlockScreen();
    static void MovePlayerToPosition(int sside, int sx, int sy);
    static void RestartGame();
    static void ShowNewWeapon(int i);
    static void EndShowWeapon();
    static void UpdateNewWeapon();
    static void DrawNewWeapon();
    static void GoBlack();
    static void UnBlack();
    static void GoBlackToggle();
    // True while the screen is flickering between black and the scene (a toggle within the last
    // two frames); the "reduce flashing" setting then draws a steady veil instead.
    static bool FlickerActive(long frame);

    // Title and pause menus (defined with the menus).
    static void StartMainMenu();
    static void ActivateSelection();
    static void StartGame();
    static void PauseMenuUpdate();
    static void PauseMenuDraw();

    // Ending scene (defined with the ending).
    static void UpdateFinalScene();
    static void DrawFinalScene();

    // Destroys every segment (tests and restart).
    static void DestroyAll();
    // Builds the levelCount segments from "Level1".."Level<levelCount>".
    static void BuildAll();

    // One pass over the entity list; a restart asked for during it (the player's own update)
    // is carried out at the end of the pass, so no entity is used after it is freed.
    static void UpdateEntities();
    static BOOL restartPending;

private:
    void Construct(const char* filename, int sw, int sh, int sy);
};

int CharToInt(char c);
