// A player that climbs a level by itself: it starts the game from the title, plans a climb to a
// goal row over the loaded tower with the climbing rules, climbs it, shoots what threatens or
// blocks the way, picks up the flame thrower when it lies near the way, and fights the crab
// walker in its arena until it falls. It answers each frame with the keys a person would hold.
#pragma once

#include <string>
#include <vector>

#include "game/autoplay/Keys.h"
#include "game/autoplay/TowerRoute.h"
#include "game/world/Tower.h"

class Player;
class Entity;
class CrabWalker;

namespace autoplay {

class LevelBot {
public:
    // goalRow: the row of the boss arena the climb aims for.
    // startLevel: the level chosen in the title menu (2 and 3 need the progress that unlocks them).
    explicit LevelBot(int goalRow = tower::kCrabArenaRow, int startLevel = 1)
        : goalRow_(goalRow), startLevel_(startLevel) {}

    // Decides this frame's keys from the game state. Call once per frame before the frame runs.
    void Think(long frame, Keys* keys);

    // What the bot is doing or what stopped it, for failure messages.
    const std::string& Status() const { return status_; }
    bool Stuck() const { return stuck_; }

private:
    void Menu(long frame, Keys* k);
    void Climb(long frame, Keys* k);
    void Fight(long frame, CrabWalker* crab, Keys* k);
    bool ShootThreat(Keys* k);
    bool ShootGenerator(long frame, const Tile& next, Keys* k);
    bool ShootFromLine(long frame, Entity* target, const std::string& what, Keys* k);
    bool AimAndFire(Player* p, int ax, int ay, Keys* k);
    void Step(int dx, int dy, Keys* k);
    // Takes the step unless a harmful thing would reach the player before it could move again.
    bool SafeStep(long frame, Player* p, int dx, int dy, Keys* k);
    // Frames until something harmful touches the player standing still (0, 0) or taking a step.
    int Clear(Player* p, int dx, int dy) const;
    static constexpr int kHorizon = 60;   // how far ahead threats are followed
    static constexpr int kDodgeAt = 30;   // closer than this, step aside
    static constexpr int kSafeStep = 40;  // a step needs this long clear
    void SetStatus(long frame, const std::string& s);

    int goalRow_;
    int startLevel_;
    std::string status_ = "not started";
    bool stuck_ = false;
    bool enterPressed_ = false;
    bool downPressed_ = false;
    long lastProgress_ = 0;
    int bestRow_ = 1 << 30;
    Tile waitingOn_;
    long waitingSince_ = -1;
    std::vector<Tile> avoid_;
    Route plan_;
    Tile planFrom_{0, 0, 0};
    int planLow_ = 0;
    size_t planAvoid_ = 0;
    // The barrier generator being shot at, known by its side and place.
    bool hasGenTarget_ = false;
    Tile genTarget_;
    float genX_ = 0, genY_ = 0;
};

}  // namespace autoplay
