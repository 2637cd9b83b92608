#include "game/autoplay/GameBot.h"

#include <cstdio>

#include "engine/GameEngine.h"
#include "game/autoplay/Danger.h"
#include "game/bosses/BossSquid.h"
#include "game/bosses/FinalBoss.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

namespace autoplay {

void GameBot::Think(long frame, Keys* k) {
    Player* p = Player::Get();
    GameEngine* e = GameEngine::gEngine;
    if (Building::pauseOn && !Building::MainMenuOn) {
        // The game paused itself when the window lost the focus: carry on (a person's own key would
        // have taken the game over instead).
        k->Clear();
        k->down[Keys::kPause] = !pauseHeld_;
        pauseHeld_ = k->down[Keys::kPause];
        mode_ = "leaving the pause";
        return;
    }
    pauseHeld_ = false;
    if (Building::scenePhase != Building::kSceneNone) {
        k->Clear();
        // The credits are over and the veil is full: any key ends the game.
        if (Building::scenePhase == Building::kSceneVeilCloses && e->fadePerc >= 1.0f) k->down[Keys::kFire] = true;
        mode_ = "watching the ending";
        return;
    }
    if (p && !Building::MainMenuOn) {
        if (p->dead && !wasDead_) {
            ++deaths_[tower::LevelOfRow(p->tY) - 1];
            Note(frame, p);
        }
        wasDead_ = p->dead != 0;
    }
    if (Building::triggerBossFinal >= 1 && FinalBoss::debug_boss) {
        finalFighter_.Think(k);
        mode_ = "fighting the eye";
        return;
    }
    BossSquid* squid = FindSquid();
    if (squid && !squid->dead && Building::lockScreen) {
        squidFighter_.Think(k);
        mode_ = "fighting the squid";
        return;
    }
    // Climbing: to the crab's arena, then the squid's, then the top of the tower.
    int goal = tower::kFinalRow;
    if (Building::MainMenuOn || (Building::triggerCrabBoss != 4 && p && p->tY > tower::kLevelTwoLine))
        goal = tower::kCrabArenaRow;
    else if (Building::triggerBoss2 == 0)
        goal = tower::kSquidRow;
    if (!climber_ || goal != goal_) {
        climber_.reset(new LevelBot(goal, startLevel_));
        goal_ = goal;
    }
    climber_->Think(frame, k);
    mode_ = "climbing";
}

std::string GameBot::Status() const {
    return mode_ + (climber_ && mode_ == "climbing" ? "; " + climber_->Status() : std::string());
}

void GameBot::Note(long frame, Player* p) {
    Entity* near = danger::NearestHarm(p);
    char buf[200];
    std::snprintf(buf, sizeof(buf), "frame %ld, level %d, side %d tile (%d, %d), %s: nearest harm %s", frame,
                  tower::LevelOfRow(p->tY), p->side, p->tX, p->tY, mode_.c_str(), near ? near->ClassName() : "none");
    notes_.push_back(buf);
}

}  // namespace autoplay
