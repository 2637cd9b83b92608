#include "game/flow/PlayState.h"

#include "engine/JsonWriter.h"
#include "game/flow/MainMenu.h"
#include "game/flow/MenuElement.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/HandleTriggers.h"
#include "game/world/Progress.h"

void WritePlayState(JsonWriter& j) {
    j.Bool("MainMenuOn", Building::MainMenuOn != 0);
    j.Bool("pauseOn", Building::pauseOn != 0);
    j.Int("showNewWeapon", Building::showNewWeapon);
    j.Bool("fbBlack", Building::fbBlack != 0);
    j.Int("scenePhase", Building::scenePhase);
    j.Int("sceneTimer", Building::sceneTimer);
    j.Int("menuPos", Building::menuPos);
    // The menu accepts a choice once its box has risen into place.
    j.Bool("menuReady", menGUIBox && menGUIBox->atTarget());

    j.Int("Lives", Player::Lives);
    Player* p = Player::Get();
    if (p) {
        j.BeginObject("player");
        j.Int("tX", p->tX);
        j.Int("tY", p->tY);
        j.Int("side", p->side);
        j.Float("x", p->x);
        j.Float("y", p->y);
        j.Bool("dead", p->dead != 0);
        j.Bool("idleing", p->idleing != 0);
        j.Int("invinceTimer", p->invinceTimer);
        j.Int("aimDirX", p->aimDirX);
        j.Int("aimDirY", p->aimDirY);
        j.Int("weapon", p->weapon);
        j.BeginArray("ammo");
        for (int a : p->ammo) j.Int(nullptr, a);
        j.EndArray();
        j.BeginArray("haveWeapon");
        for (int h : p->haveWeapon) j.Bool(nullptr, h != 0);
        j.EndArray();
        j.EndObject();
    }

    j.Int("triggerCrabBoss", Building::triggerCrabBoss);
    j.Int("triggerCrabBossWait", triggerCrabBossWait);
    j.Int("triggerBoss2", Building::triggerBoss2);
    j.Int("triggerBossFinal", Building::triggerBossFinal);
    j.Int("lineCross", Building::lineCross);
    j.Bool("lockScreen", Building::lockScreen != 0);
    j.Int("lockLo", Building::lockLo);
    j.Int("lockHi", Building::lockHi);
    j.Int("saveStepCount", Building::saveStepCount);

    j.Int("BuildingUnlock", Building::BuildingUnlock);
    // What the game knows of its progress files: a state dump (and the per-frame trace hash) never
    // touches a file.
    progress::BestLives best = progress::KnownBestLives();
    j.BeginArray("bestLives");
    for (int i = 0; i < 2; ++i) {
        if (best.have[i]) j.Int(nullptr, best.value[i]);
    }
    j.EndArray();
    j.Int("unlockFile", progress::KnownUnlock());
}
