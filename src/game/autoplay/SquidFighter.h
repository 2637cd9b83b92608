// A player for the squid's arena: it leaves the squid's own tiles for the open rows below it,
// dodges shots and tentacle tips (a tip is taken to sweep on at its pace of growth), fires at the
// squid whenever a line reaches it, at a tentacle in the way otherwise, and walks back under the
// squid when that is safe.
#pragma once

#include "game/autoplay/Keys.h"
#include "game/world/Tower.h"

class BossSquid;

namespace autoplay {

// The squid, or null.
BossSquid* FindSquid();

class SquidFighter {
public:
    // The top row of the squid's locked screen.
    static constexpr int kTopRow = tower::kSquidArenaTop / tower::kTileSize;

    // The keys for this frame (held keys are cleared first).
    void Think(Keys* k);

    int Dodges() const { return dodges_; }

private:
    int dodges_ = 0;
};

}  // namespace autoplay
