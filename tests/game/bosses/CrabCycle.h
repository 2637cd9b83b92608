// The order in which the crab goes through its attack states in one whole cycle of its fight: four
// rounds of lining up and leaping across, two descents, the shaking and the stomps, and on to the
// next cycle.
#pragma once

#include <vector>

#include "game/bosses/CrabWalker.h"

inline std::vector<int> CrabCycle() {
    using C = CrabWalker;
    std::vector<int> phases;
    for (int round = 0; round < 4; ++round)
        phases.insert(phases.end(), {C::kPhaseLineUp, C::kPhaseLeap, C::kPhaseLeapLanding});
    phases.insert(phases.end(), {C::kPhaseDescentTop, C::kPhaseDescend, C::kPhaseSecondDescent, C::kPhaseDescentTop,
                                 C::kPhaseDescend, C::kPhaseShake, C::kPhaseStomp, C::kPhaseLineUp});
    return phases;
}
