#include "game/flow/MainFile.h"

#include <cstdio>
#include <cstdlib>

#include "engine/GFont.h"
#include "engine/GMusic.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "platform/Options.h"

GFont* bkmFont = nullptr;

namespace {
unsigned g_seed = 0;
}

unsigned GameSeed() { return g_seed; }

void GameInit(GameEngine* gEngine, HINSTANCE hInstance) {
    gEngine->Init(hInstance, "Brackmoor", 640, 480, true);
    const platform::Options& o = platform::CurrentOptions();
    g_seed = o.haveSeed ? o.seed : static_cast<unsigned>(GetTickCount());
    std::srand(g_seed);
    bkmFont = new GFont("data/font/bkmfont.cff", 1.0f);
}

void GameStart(GameEngine* gEngine) {
    gEngine->SetClearColor(GColor(116 / 255.0f, 140 / 255.0f, 37 / 255.0f, 1));
    GMusic::musicOn = TRUE;
    GSound::SoundOn = TRUE;
    gEngine->SelectFont(bkmFont);
    GSound::master_volume = 30;
}

void GameLoop(GameEngine* gEngine) { gEngine->ShakeUpd(); }

void GameDraw(GameEngine* gEngine) {}

void GameEnd(GameEngine*) {}
