// A player for the whole game: it starts from the title menu, climbs each level with the level
// bot (towards the crab's arena, then the squid's, then the top), hands the squid's arena to the
// squid fighter and the final boss to its fighter, and presses a key once the credits are over.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/autoplay/FinalFighter.h"
#include "game/autoplay/Keys.h"
#include "game/autoplay/LevelBot.h"
#include "game/autoplay/SquidFighter.h"

class Player;

namespace autoplay {

class GameBot {
public:
    // startLevel: the level chosen in the title menu (2 and 3 need the progress that unlocks them).
    explicit GameBot(int startLevel = 1) : startLevel_(startLevel) {}

    // Decides this frame's keys from the game state. Call once per frame before the frame runs;
    // `frame` counts the frames since the bot began.
    void Think(long frame, Keys* k);

    bool Stuck() const { return climber_ && climber_->Stuck(); }
    // What the bot is doing, for progress and failure messages.
    std::string Status() const;
    // Lives lost in levels 1, 2 and 3.
    const int* DeathsPerLevel() const { return deaths_; }
    // One line per life lost: when, where, doing what, and the nearest harmful thing.
    const std::vector<std::string>& DeathNotes() const { return notes_; }

private:
    void Note(long frame, Player* p);

    int startLevel_;
    int goal_ = 0;
    std::unique_ptr<LevelBot> climber_;
    SquidFighter squidFighter_;
    FinalFighter finalFighter_;
    std::string mode_ = "starting";
    bool wasDead_ = false;
    bool pauseHeld_ = false;
    int deaths_[3] = {0, 0, 0};
    std::vector<std::string> notes_;
};

}  // namespace autoplay
