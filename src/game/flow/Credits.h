// The cards of the ending's credits, one per pair of scene phases (fading in, then out).
#pragma once

namespace credits {

struct Card {
    int lineCount;
    const char* lines[7];  // one line, or a heading and the names under it
};

constexpr int kCardCount = 7;
// The seven cards in the order they are shown.
const Card& CardAt(int i);
// The card shown in a scene phase (15 and 16 show the first, ... 27 and 28 the seventh), or null.
const Card* CardForPhase(int scenePhase);

}  // namespace credits
