// A quarter of a broken block: it flies apart and falls in an arc. It cannot be hit and hurts no
// one; once it has fallen well below the view it is removed.
#pragma once

#include "game/entities/Entity.h"

class BlockPiece : public Entity {
public:
    int frame, layer;  // the picture cell it shows
    int sizeX, sizeY;  // its frame size in sheet pixels
    int breakTimer;

    // A piece this far below the bottom of the view is gone for good and is removed.
    static constexpr float kGoneBelowView = 480.0f;

    BlockPiece(int sside, float sx, float sy, int ssizeX, int ssizeY, int sF, int sL);

    void Update() override;
    void Break() {}
    const char* ClassName() const override { return "BlockPiece"; }
};
