// The game's state as JSON, written at exit with --dump-state; tests and tools read it.
#include "engine/GameEngine.h"
#include "engine/Harness.h"
#include "game/flow/JsonWriter.h"
#include "game/flow/MainFile.h"

std::string GameStateJson(GameEngine* e) {
    JsonWriter j;
    j.BeginObject();
    j.Int("frame", e->frameCount);
    j.Int("seed", GameSeed());
    j.Float("scrollY", 0);
    j.Float("rotx", e->rotx);
    j.Float("fadePerc", e->fadePerc);
    j.EndObject();
    return j.Text();
}
