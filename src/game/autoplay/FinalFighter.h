// A player for the final boss. It dodges shots, spiders, the charging eye and the robots' coming
// beam; shoots the eye whenever it can be hit; in the slit-eye form it halts one robot or the other
// with shots until their next meeting puts the beam across the eye; in the crawler form it chips at
// shells until one cracks the way the carrier's does, then keeps shooting that one.
#pragma once

#include <vector>

#include "game/autoplay/Keys.h"
#include "game/entities/EntityLink.h"

class Entity;
class EyeCrawler;
class FinalBoss;
class Player;

namespace autoplay {

class FinalFighter {
public:
    // The keys for this frame (held keys are cleared first).
    void Think(Keys* k);

private:
    Entity* Target(Player* p, FinalBoss* b);
    Entity* CrawlerTarget(Player* p);
    bool ShellSeen(EyeCrawler* c) const;

    EntityLink<EyeCrawler> carrier_;
    // Shells seen cracking the ordinary way: not the carrier.
    std::vector<EntityLink<EyeCrawler>> empty_;
};

}  // namespace autoplay
