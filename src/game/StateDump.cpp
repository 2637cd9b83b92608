// The game's state as JSON, written at exit with --dump-state; tests and tools read it.
#include <cstdio>

#include "engine/GameEngine.h"
#include "engine/JsonWriter.h"
#include "engine/RunOptions.h"
#include "game/bosses/CrabWalker.h"
#include "game/bosses/FinalBoss.h"
#include "game/enemies/EyeCrawler.h"
#include "game/enemies/LaserClimber.h"
#include "game/entities/Entity.h"
#include "game/flow/MainFile.h"
#include "game/flow/PlayState.h"
#include "game/world/Building.h"

namespace {

int CurrentSegmentIndex() {
    for (int i = 0; i < levelCount && i < Building::kMaxSegments; ++i) {
        if (Building::b[i] && Building::b[i] == Building::cur) return i;
    }
    return -1;
}

void WriteWorld(JsonWriter& j) {
    j.Int("segment", CurrentSegmentIndex());
    j.BeginArray("segments");
    for (int i = 0; i < levelCount && i < Building::kMaxSegments; ++i) {
        const Building* s = Building::b[i];
        if (!s) continue;
        j.BeginObject();
        char name[32];
        std::snprintf(name, sizeof(name), "Level%d", i + 1);
        j.String("name", name);
        j.Int("y", s->y);
        j.Bool("addedEntList", s->addedEntList != 0);
        // Entities still waiting in the segment (handed ones belong to the list below).
        j.Int("waiting", s->addedEntList ? 0 : static_cast<long long>(s->addList.size()));
        j.EndObject();
    }
    j.EndArray();
    j.BeginArray("entities");
    for (Entity* e : Entity::entList) {
        j.BeginObject();
        j.String("class", e->ClassName());
        j.Int("side", e->side);
        j.Float("x", e->x);
        j.Float("y", e->y);
        j.Int("HP", e->HP);
        j.Bool("dead", e->dead != 0);
        if (auto* crab = dynamic_cast<CrabWalker*>(e)) {
            j.Int("aiPhase", crab->aiPhase);
            j.Int("aiTimer", crab->aiTimer);
        } else if (auto* eye = dynamic_cast<FinalBoss*>(e)) {
            j.Int("aiPhase", eye->aiPhase);
            j.Int("aiTimer", eye->aiTimer);
            j.Int("aiTargetArea", eye->aiTargetArea);
            j.Int("aiLastTargetArea", eye->aiLastTargetArea);
            j.Int("aiPhaseTimer", eye->aiPhaseTimer);
            j.Bool("EyeFlyTransformed", eye->EyeFlyTransformed != 0);
            j.Int("chasePhase", eye->chasePhase);
            j.Int("EyeSmallHitTimer", eye->EyeSmallHitTimer);
            j.Bool("canHit", eye->canHit != 0);
        } else if (auto* robot = dynamic_cast<LaserClimber*>(e)) {
            j.Float("velY", robot->velY);
            j.Int("aiTimer", robot->aiTimer);
            j.Int("shotTimer", robot->shotTimer);
        } else if (auto* shell = dynamic_cast<EyeCrawler*>(e)) {
            j.Bool("hasEye", shell->hasEye != 0);
            j.Int("recoverTimer", shell->recoverTimer);
            j.Int("tX", shell->tX);
            j.Int("tY", shell->tY);
        }
        j.EndObject();
    }
    j.EndArray();
}

}  // namespace

std::string GameStateJson(GameEngine* e) {
    JsonWriter j;
    j.BeginObject();
    j.Int("frame", e->frameCount);
    j.Int("seed", GameSeed());
    j.Float("scrollY", Building::scrollY);
    j.Float("rotx", e->rotx);
    j.Float("fadePerc", e->fadePerc);
    WriteWorld(j);
    WritePlayState(j);
    j.EndObject();
    return j.Text();
}
