// A lizard clinging to one wall tile. When the player comes within 240 pixels vertically it lets
// down a chain, one link every few frames, until the chain is twelve links long or solid wall lies
// below; the chain bars the climber's way for as long as the lizard lives. It never moves and
// hurts nobody. Killed, it falls and the whole chain breaks off with it.
#pragma once

#include "game/enemies/ChainLink.h"
#include "game/entities/Climber.h"
#include "game/entities/EntityLink.h"

class ChainLizard : public Climber {
public:
    int type;                     // picture variant; the level files only place 0
    EntityLink<ChainLink> chain;  // the top link, null until the chain starts

    // How near the player must come, vertically, for the chain to start.
    static constexpr float kWakeDistance = 240.0f;

    ChainLizard(int sside, float sx, float sy, int stype);

    void Die() override;
    void AI() override;
    const char* ClassName() const override { return "ChainLizard"; }

    // Lets the top link down, once.
    void StartChain();
};
