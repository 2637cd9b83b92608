// The automatic player (--autoplay): it plays from the title through the credits, pressing keys
// through the run options' before-input hook exactly as a recording is played back, so an autoplayed
// run can be recorded, traced and played back like any other. A key pressed by a person ends it
// and hands the game back on the title.
//
// What it reads: the game's named state, read-only. That is the entity list (each thing's class,
// place, box, motion, animation and flags such as harmful or hittable), the player's tile, aim,
// lives and weapons, the tower's walls and occupied tiles, the scroll and the screen lock, the
// menus and the level script's triggers, and the bosses' own state (the eye's phase and form, the
// robots' timers, the crawlers' animations, the crab's phase). It asks the game's own code for the
// climbing rule and the gun's hit scan, and the tower's facts from game/world/Tower.h. It answers
// only with the keys a person would hold and never writes the game's state.
#pragma once

#include <memory>

#include "engine/RunOptions.h"
#include "game/autoplay/GameBot.h"
#include "game/autoplay/Keys.h"

namespace autoplay {

class Autoplay : public runoptions::KeySource {
public:
    // startLevel: the level to choose in the title menu (2 and 3 need the progress that unlocks them).
    explicit Autoplay(int startLevel = 1);
    ~Autoplay() override;

    // Installs this player as the run's key source; it plays from the next frame on.
    void Start();

    void BeforeInput(GameEngine* e) override;
    void PersonPressed(GameEngine* e, int vk) override;

    // Whether it is still playing (not handed back to a person).
    bool Playing() const { return playing_; }
    const GameBot& Bot() const { return *bot_; }

private:
    // Lets go of every key, brings back the title and leaves the game to the person.
    void HandBack(GameEngine* e);

    int startLevel_;
    std::unique_ptr<GameBot> bot_;
    Keys keys_;
    long frame_ = 0;
    bool playing_ = false;
    bool handBack_ = false;
    bool leftTitle_ = false;
    int personKey_ = -1;  // the key the person pressed, left held when the player lets go
};

}  // namespace autoplay
