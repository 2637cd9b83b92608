#include "game/world/HandleTriggers.h"

#include "engine/GameEngine.h"
#include "game/bosses/BossSquid.h"
#include "game/bosses/CrabWalker.h"
#include "game/bosses/FinalBoss.h"
#include "game/entities/Entity.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Progress.h"
#include "game/world/Tower.h"

int triggerCrabBossWait = 0;

namespace {
int Row() { return Player::Get()->tY; }
}  // namespace

void HandleTriggers() {
    GameEngine* e = GameEngine::gEngine;
    Player* p = Player::Get();
    if (Building::scenePhase != 0 || !p) return;

    // Level 2 line.
    if (Row() < tower::kLevelTwoLine) {
        if (Building::triggerCrabBoss == 0 || Building::triggerCrabBoss == 4) e->MusicLoop(Building::level2Mus);
        Building::triggerCrabBoss = 100;
        if (Building::lineCross == 0) {
            progress::RecordArrival(1, Player::Lives);
            Building::lineCross = 1;
        }
        if (Building::BuildingUnlock <= 0) progress::RaiseUnlock(1);
    }

    // Level 3 line.
    if (Row() < tower::kLevelThreeLine) {
        if (Building::triggerBoss2 == 0 || Building::triggerBoss2 == 1) e->MusicLoop(Building::level3Mus);
        Building::triggerBoss2 = 100;
        if (Building::lineCross == 1) {
            progress::RecordArrival(2, Player::Lives);
            Building::lineCross = 2;
        }
        if (Building::BuildingUnlock <= 1) progress::RaiseUnlock(2);
    }

    // The crab walker: one step per frame, so its first three steps always take three frames.
    int& crab = Building::triggerCrabBoss;
    if (crab == 0 && Row() <= tower::kCrabStirRows[0]) {
        crab = 1;
        e->MusicFade(300);
    } else if (crab == 1 && Row() <= tower::kCrabStirRows[1]) {
        crab = 2;
        e->Shake(0, 8, 5, 30);
    } else if (crab == 2 && Row() <= tower::kCrabStirRows[2]) {
        crab = 3;
        e->Shake(0, 8, 5, 30);
        triggerCrabBossWait = 180;
    } else if (crab == 3 && (Row() <= tower::kCrabArenaRow || Building::lockScreen)) {
        // Once the screen is locked the countdown runs wherever the player is.
        --triggerCrabBossWait;
        Building::LockScreen(tower::kCrabArenaTop, tower::kCrabArenaTop);
        e->MusicLoop(Building::bossMus);
        if (triggerCrabBossWait <= 0) {
            Entity::entList.push_back(new CrabWalker(p->side, 640, tower::kCrabArenaTop));
            crab = 4;
        }
    }

    // The squid.
    if (Row() <= tower::kSquidRow && Building::triggerBoss2 == 0) {
        Building::triggerBoss2 = 1;
        e->MusicLoop(Building::bossMus);
        Entity::entList.push_back(new BossSquid(3, 224, -29632));
        Building::LockScreen(tower::kSquidArenaTop, tower::kSquidArenaTop);
    }

    // The final boss.
    if (Row() <= tower::kFinalRow && Building::triggerBossFinal == 0) {
        Building::triggerBossFinal = 1;
        e->MusicFade(100);
        FinalBoss* boss = new FinalBoss(3, 256, -43392);
        Entity::entList.push_back(boss);
        FinalBoss::debug_boss = boss;
        int s = static_cast<int>(Building::scrollY);
        Building::LockScreen(s, s);
    }

    // The approach: the player is walked up and the camera rises until the arena is in view.
    if (Building::triggerBossFinal == 1) {
        if (Building::scrollY > FinalBoss::kArenaScroll) {
            p->Climb(0, -1);
            if (Building::scrollY + 384 > p->y) {
                Building::scrollY -= 1;
                int s = static_cast<int>(Building::scrollY);
                Building::LockScreen(s, s);
            }
        } else {
            Building::triggerBossFinal = 2;
            Building::LockScreen(FinalBoss::kArenaScroll, FinalBoss::kArenaScroll);
            Building::scrollY = FinalBoss::kArenaScroll;  // a camera that rose past the arena is drawn at it already
            e->MusicLoop(Building::finalBossMus);
        }
    }
}
