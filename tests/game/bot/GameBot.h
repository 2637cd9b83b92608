// A player for the whole game: it starts from the title menu, climbs each level with the level
// bot (towards the crab's arena, then the squid's, then the top), hands the squid's arena to the
// squid fighter and the final boss to its fighter, and presses a key once the credits are over.
// Like the others it reads only what a player could see and answers with keys.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "../bosses/FinalFighter.h"
#include "../bosses/SquidFighter.h"
#include "../support/Danger.h"
#include "Bot.h"
#include "engine/GameEngine.h"
#include "game/bosses/FinalBoss.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

namespace bot {

class GameBot {
public:
    explicit GameBot(int startLevel = 1) : startLevel_(startLevel) {}

    // The level the player's row is in (1..3).
    static int LevelOfRow(int ty) { return ty > -240 ? 1 : (ty > -480 ? 2 : 3); }

    void Think(long frame, Keys* k) {
        Player* p = Player::Get();
        GameEngine* e = GameEngine::gEngine;
        if (Building::scenePhase > 0) {
            k->Clear();
            // The credits are over and the veil is full: any key ends the game.
            if (Building::scenePhase == 100 && e->fadePerc >= 1.0f) k->down['C'] = true;
            mode_ = "watching the ending";
            return;
        }
        if (p && !Building::MainMenuOn) {
            if (p->dead && !wasDead_) {
                ++deaths_[LevelOfRow(p->tY) - 1];
                Note(frame, p);
            }
            wasDead_ = p->dead != 0;
        }
        if (Building::triggerBossFinal >= 1 && FinalBoss::debug_boss) {
            finalFighter_.Think(k);
            mode_ = "fighting the eye";
            return;
        }
        BossSquid* squid = fight::FindSquid();
        if (squid && !squid->dead && Building::lockScreen) {
            squidFighter_.Think(k);
            mode_ = "fighting the squid";
            return;
        }
        // Climbing: to the crab's arena, then the squid's, then the top of the tower.
        int goal = -673;
        if (Building::MainMenuOn || (Building::triggerCrabBoss != 4 && p && p->tY > -240))
            goal = -222;
        else if (Building::triggerBoss2 == 0)
            goal = -461;
        if (!climber_ || goal != goal_) {
            climber_.reset(new LevelBot(goal, startLevel_));
            goal_ = goal;
        }
        climber_->Think(frame, k);
        mode_ = "climbing";
    }

    bool Stuck() const { return climber_ && climber_->Stuck(); }
    std::string Status() const {
        return mode_ + (climber_ && mode_ == "climbing" ? "; " + climber_->Status() : std::string());
    }
    const int* DeathsPerLevel() const { return deaths_; }
    // One line per life lost: when, where, doing what, and the nearest harmful thing.
    const std::vector<std::string>& DeathNotes() const { return notes_; }

private:
    void Note(long frame, Player* p) {
        Entity* near = danger::NearestHarm(p);
        char buf[200];
        std::snprintf(buf, sizeof(buf), "frame %ld, level %d, side %d tile (%d, %d), %s: nearest harm %s", frame,
                      LevelOfRow(p->tY), p->side, p->tX, p->tY, mode_.c_str(), near ? near->ClassName() : "none");
        notes_.push_back(buf);
    }

    int startLevel_;
    int goal_ = 0;
    std::unique_ptr<LevelBot> climber_;
    fight::SquidFighter squidFighter_;
    fight::FinalFighter finalFighter_;
    std::string mode_ = "starting";
    bool wasDead_ = false;
    int deaths_[3] = {0, 0, 0};
    std::vector<std::string> notes_;
};

}  // namespace bot
