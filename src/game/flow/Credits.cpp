#include "game/flow/Credits.h"

#include "game/world/Building.h"

namespace credits {
namespace {
// The studio and its people (all of them made up for the game).
const Card kCards[kCardCount] = {
    {1, {"CREATED BY TALLOWMERE"}},
    {1, {"DESIGN BY IDA AND BRAM"}},
    {1, {"PROGRAMMING BY OSWIN HALE"}},
    {1, {"ART AND ANIMATION BY NELL"}},
    {1, {"MUSIC BY TOBIAS WREN"}},
    {7, {"THANKS TO", "HESTER VOSS", "ANSEL PRY", "JUNO MARSH", "EMRYS COLE", "LIESEL DRAKE", "OTTO FERNLEY"}},
    {1, {"THANKS FOR PLAYING"}},
};
}  // namespace

const Card& CardAt(int i) { return kCards[i]; }

const Card* CardForPhase(int scenePhase) {
    if (scenePhase < Building::kSceneFirstCard || scenePhase > Building::kSceneLastCard) return nullptr;
    return &kCards[(scenePhase - Building::kSceneFirstCard) / 2];
}

}  // namespace credits
