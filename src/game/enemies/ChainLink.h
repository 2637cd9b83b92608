// One link of a chain lizard's chain. Each link slides down to its place below the link above it
// and then, while the chain is short enough and open wall lies below, pays out the next link. The
// links occupy wall tiles, so a hanging chain bars the climber's way; they cannot be shot or burnt
// and hurt nobody. Broken off, every link drifts sideways and falls.
#pragma once

#include "game/entities/Entity.h"
#include "game/entities/EntityLink.h"

class ChainLink : public Entity {
public:
    EntityLink<ChainLink> lastLink;  // the link above (null for the top link)
    EntityLink<ChainLink> nextLink;  // the link below, or null
    float targetX, targetY;          // where the link is sliding to
    float speedX, speedY;            // slide speed per axis
    BOOL creatingLinks;              // has yet to decide whether to pay out the next link

    // The longest chain, in links, and the spacing between two links in pixels.
    static constexpr int kMaxLinks = 12;
    static constexpr float kLinkSpacing = 20.0f;
    // Picture cells: the plain link and the chain's end piece.
    static constexpr int kLinkFrame = 14;
    static constexpr int kEndFrame = 15;

    ChainLink(int sside, float sx, float sy, float sTargetX, float sTargetY);

    void Update() override;
    const char* ClassName() const override { return "ChainLink"; }

    // Links from this one up to the top, this one included (1 for the top link).
    int GetLength();
    // Sets this link and every link below it falling, each with its own sideways drift.
    void BreakOff();
    // Whether the wall tile under the point where the next link's bottom would hang is open.
    bool OpenBelow();
};
