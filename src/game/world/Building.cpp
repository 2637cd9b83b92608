#include "game/world/Building.h"

#include <cstdio>
#include <cstring>

#include "engine/GImage.h"
#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/entities/Entity.h"
#include "game/world/Generator.h"
#include "game/world/Tower.h"

int levelCount = 14;

Building* Building::b[Building::kMaxSegments] = {};
Building* Building::cur = nullptr;
float Building::scrollY = 32.0f;
BuildingBlock* Building::blankDummy = nullptr;
Entity* (*Building::factory)(const char*, int, int, int, int, int) = &Entity::Create;
GImage* Building::imTiles = nullptr;
GImage* Building::imBkgLeft1 = nullptr;
GImage* Building::imBkgRight1 = nullptr;
GImage* Building::imBkgLeft2 = nullptr;
GImage* Building::imBkgRight2 = nullptr;
GImage* Building::imBkgLeft4 = nullptr;
GImage* Building::imBkgRight4 = nullptr;
GImage* Building::imBkgLeft5 = nullptr;
GImage* Building::imBkgRight5 = nullptr;
GImage* Building::hudBKG = nullptr;
Sprite* Building::hudBKGsp = nullptr;

GSound* Building::wavFlameGet = nullptr;
GSound* Building::wavBazookaGet = nullptr;
GImage* Building::imFlamer = nullptr;
GImage* Building::imBazooka = nullptr;
GImage* Building::imDither = nullptr;
MenuElement* Building::newWeaponElement = nullptr;
int Building::showNewWeapon = 0;

int Building::lastCheckPointX[5] = {5, 5, 5, 5, 5};
int Building::lastCheckPointY[5] = {4, 4, 4, 4, 4};
int Building::lastCheckPointSide[5] = {1, 1, 1, 1, 1};
int Building::saveStepCount = 0;
int Building::saveStepCountMax = 5;
BOOL Building::lockScreen = 0;
int Building::lockLo = 0;
int Building::lockHi = 0;
BOOL Building::fbBlack = 0;

int Building::lineCross = 0;
int Building::triggerCrabBoss = 0;
int Building::triggerBoss2 = 0;
int Building::triggerBossFinal = 0;
int Building::BuildingUnlock = 0;

BOOL Building::pauseOn = 0;
BOOL Building::MainMenuOn = 0;
int Building::menuPos = 0;

int Building::scenePhase = 0;
int Building::sceneTimer = 0;
GImage* Building::creditClouds = nullptr;
GImage* Building::creditClouds2 = nullptr;
GImage* Building::creditCity = nullptr;
Sprite* Building::creditSp = nullptr;
Sprite* Building::creditClouds2Sp = nullptr;
Sprite* Building::creditCitySp = nullptr;

GMusic* Building::levelMus = nullptr;
GMusic* Building::level2Mus = nullptr;
GMusic* Building::level3Mus = nullptr;
GMusic* Building::bossMus = nullptr;
GMusic* Building::finalBossMus = nullptr;
GMusic* Building::endMus = nullptr;

void Building::Init() {
    imTiles = GImage::CreateNew("data/building/tiles.png");
    imBkgLeft1 = GImage::CreateNew("data/building/bkgleft1.png");
    imBkgRight1 = GImage::CreateNew("data/building/bkgright1.png");
    imBkgLeft2 = GImage::CreateNew("data/building/bkgleft2.png");
    imBkgRight2 = GImage::CreateNew("data/building/bkgright2.png");
    imBkgLeft4 = GImage::CreateNew("data/building/bkgleft4.png");
    imBkgRight4 = GImage::CreateNew("data/building/bkgright4.png");
    imBkgLeft5 = GImage::CreateNew("data/building/bkgleft5.png");
    imBkgRight5 = GImage::CreateNew("data/building/bkgright5.png");
    creditClouds = GImage::CreateNew("data/building/credit_clouds1.png");
    creditClouds2 = GImage::CreateNew("data/building/credit_clouds2.png");
    creditCity = GImage::CreateNew("data/building/credit_city.png");
    // Init runs once; a second call (tests) must not leak what the first made.
    delete wavFlameGet;
    delete wavBazookaGet;
    wavFlameGet = new GSound("data/menu/flameget.wav");
    wavBazookaGet = new GSound("data/menu/bazookaget.wav");
    imFlamer = GImage::CreateNew("data/bugtorcher.png");
    imBazooka = GImage::CreateNew("data/bugzooka.png");
    imDither = GImage::CreateNew("data/dither.png");
    hudBKG = GImage::CreateNew("data/hudBKG.png");
    delete hudBKGsp;
    hudBKGsp = new Sprite(0, GameEngine::gEngine, hudBKG, 50, 300, 0, 0, 0, 0);
    delete blankDummy;
    blankDummy = new BuildingBlock(0, 0, 0);
    for (int i = 0; i < 5; ++i) {
        lastCheckPointX[i] = 5;
        lastCheckPointY[i] = 4;
        lastCheckPointSide[i] = 1;
    }
    for (auto& seg : b) seg = nullptr;
}

void Building::LoadMusic() {
    levelMus = new GMusic("Data/music/level_1.xm");
    level2Mus = new GMusic("Data/music/level_2.xm");
    level3Mus = new GMusic("Data/music/level_3.xm");
    bossMus = new GMusic("Data/music/boss_1.xm");
    finalBossMus = new GMusic("Data/music/boss_final.xm");
    endMus = new GMusic("Data/music/end.xm");
}

Building::Building(char* filename, int sw, int sh, int sy) { Construct(filename, sw, sh, sy); }

Building::Building(const char* filename, int sw, int sh, int sy) { Construct(filename, sw, sh, sy); }

void Building::Construct(const char* filename, int sw, int sh, int sy) {
    w = sw;
    h = sh;
    y = sy;
    addedEntList = 0;
    scrollY = 0;
    block = new BuildingBlock***[4];
    for (int s = 0; s < 4; ++s) {
        block[s] = new BuildingBlock**[w];
        for (int k = 0; k < w; ++k) {
            block[s][k] = new BuildingBlock*[h];
            for (int r = 0; r < h; ++r) block[s][k][r] = new BuildingBlock(0, 0, 0);
        }
        // The two edge columns show the corner pictures.
        for (int r = 0; r < h; ++r) {
            if (w > 0) {
                block[s][0][r]->frame = 0;
                block[s][0][r]->layer = 2;
            }
            if (w > 1) {
                block[s][w - 1][r]->frame = 1;
                block[s][w - 1][r]->layer = 2;
            }
        }
    }
    for (int s = 1; s <= 4; ++s) {
        char name[300];
        std::snprintf(name, sizeof(name), "%s_Side%d.zlv", filename, s);
        LoadSide(s, name);
    }
}

Building::~Building() {
    if (!addedEntList) {
        for (Entity* e : addList) delete e;
        addList.clear();
    }
    for (int s = 0; s < 4; ++s) {
        for (int k = 0; k < w; ++k) {
            for (int r = 0; r < h; ++r) delete block[s][k][r];
            delete[] block[s][k];
        }
        delete[] block[s];
    }
    delete[] block;
}

int Building::GetActualTileX(int tx) { return tx - 1; }

int Building::GetActualTileY(int ty) { return tower::FileRow(ty, h); }

BuildingBlock* Building::GetBlock(int side, int tx, int ty) {
    int ax = GetActualTileX(tx);
    int ay = GetActualTileY(ty);
    if (side >= 1 && side <= 4 && ax >= 0 && ax < w && ay >= 0 && ay < h) return block[side - 1][ax][ay];
    blankDummy->blocked = 0;
    // Off the grid the edge columns are solid (nothing to hold between segments at a corner),
    // everything else is open air a climber may pass through.
    blankDummy->type = (ax == 0 || ax == w - 1) ? 1 : 0;
    return blankDummy;
}

BOOL Building::openSpot(int side, int tx, int ty, BOOL ignoreBlocked) {
    if (GetBlock(side, tx, ty)->type != 0) return FALSE;
    if (GetBlock(side, tx, ty - 1)->blocked == 0 || ignoreBlocked) return TRUE;
    return FALSE;
}

void Building::FindBlockedLocations() {
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < w; ++k)
            for (int r = 0; r < h; ++r) block[s][k][r]->blocked = 0;

    Entity* player = Entity::ThePlayer();
    if (!player) return;
    const float reach = static_cast<float>(h * 32);
    for (Entity* e : Entity::entList) {
        if (e == player || !e->wallDraw || e->dead) continue;
        if (!(e->distToEntity(player) < reach)) continue;
        // A generator's base stands on its row; the wire it feeds is the tile above.
        const int rowShift = dynamic_cast<Generator*>(e) ? 1 : 0;
        const float bottom = e->y + e->cy + e->ch;
        const float right = e->x + e->cx + e->cw;
        for (int fy = static_cast<int>(e->y + e->cy); fy < bottom; fy += 64) {
            for (int fx = static_cast<int>(e->x + e->cx); fx < right; fx += 64) {
                GetBlock(e->side, fx / 64, fy / 64 - rowShift)->blocked = 1;
            }
        }
    }
}

void Building::AddAllEntities() {
    if (addedEntList) return;
    addedEntList = 1;
    for (Entity* e : addList) Entity::entList.push_back(e);
}

Entity* Building::SpecialCreate(BuildingBlock* blk, int side, int tX, int tY, int w, int h) {
    if (blk->type != 2) return nullptr;
    blk->type = 0;
    return factory ? factory("BREAKABLEBLOCK", w, h, side, tX * 64, tY * 64) : nullptr;
}

void Building::Draw() {
    const int startX = 320 - 32 * w;
    const int startY = 480 - (y + h) * 64;
    // Only rows the picture shows: the same test the drawing primitive culls a 64-pixel tile
    // with, made once per row instead of once per tile (14 segments hold 22400 tiles).
    bool rowShown[kMaxRows];
    const int rows = h < kMaxRows ? h : kMaxRows;
    for (int r = 0; r < rows; ++r) {
        const float fy = static_cast<float>(startY + 64 * r) - scrollY - 32;
        const int yP = static_cast<int>(fy);
        rowShown[r] = !(yP > 480 || yP + 64 < 0);
    }
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < w; ++k)
            for (int r = 0; r < h; ++r)
                if (r >= rows || rowShown[r])
                    block[s][k][r]->Draw(static_cast<float>(startX + 64 * k), static_cast<float>(startY + 64 * r),
                                         s + 1);
}

void Building::DrawBackground() {
    GameEngine* e = GameEngine::gEngine;
    GameEngine::SetDepthTest(false);
    e->SetColor(0.4549f, 0.5490f, 0.1451f, 1.0f);
    e->DrawBox(0, 0, 0, 640, 480, -100);
    e->ResetColor();

    const float S = scrollY;
    Sprite sp(0, e, imBkgLeft5, 0, 0, 0, 0, 0, 0);
    struct Strip {
        GImage* im;
        float x, y;
    };
    const Strip strips[] = {
        {imBkgLeft5, 0, -1320 - S / 40}, {imBkgLeft4, 0, -840 - S / 40},     {imBkgLeft2, 0, 0 - S / 40},
        {imBkgLeft1, 0, -960 - S / 6},   {imBkgRight5, 576, -1320 - S / 40}, {imBkgRight4, 576, -840 - S / 40},
        {imBkgRight2, 576, 0 - S / 40},  {imBkgRight1, 576, -960 - S / 4},
    };
    for (const Strip& st : strips) {
        sp.LoadImageA(st.im, 0, 0, 0, 0);
        sp.x = st.x;
        sp.y = st.y;
        sp.Draw();
    }
    GameEngine::SetDepthTest(true);
}

int Building::SegmentIndexForRow(int ty) { return tower::SegmentOfRow(ty); }

Building* Building::SegmentForRow(int ty) {
    int i = SegmentIndexForRow(ty);
    if (i < 0 || i >= levelCount || i >= kMaxSegments) return nullptr;
    return b[i];
}

void Building::DestroyAll() {
    for (auto& seg : b) {
        delete seg;
        seg = nullptr;
    }
    cur = nullptr;
}

void Building::BuildAll() {
    for (int i = 0; i < levelCount && i < kMaxSegments; ++i) {
        delete b[i];
        char name[32];
        std::snprintf(name, sizeof(name), "Level%d", i + 1);
        b[i] = new Building(name, 8, 50, i * 50);
    }
}
