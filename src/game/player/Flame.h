// One segment of a flame jet. The muzzle segment (length 1) lights the next one further out, up
// to four; each burns everything flammable it overlaps and goes out three updates after it was
// last re-lit, so a released trigger lets the chain die from the muzzle outwards.
#pragma once

#include <vector>

#include "game/entities/Entity.h"

class Flame : public Entity {
public:
    Flame* next;       // the next segment further out, or null
    float flameScale;  // 1.0, 1.5, 2.0, 2.5 from the muzzle out
    int length;        // position in the chain, 1 at the muzzle
    int igniteTimer;   // frames until the next segment is lit; -1 when not counting
    int life;          // frames left to burn unless re-lit
    int dirX, dirY;

    Flame(int sside, int sx, int sy, int sDirX, int sDirY, int slength);
    // A segment that goes away takes every link to it along: the segment before it and the
    // player's muzzle reference are cleared, so nothing points at freed memory.
    ~Flame() override;

    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Flame"; }

    void Reignite();
    // Segments from f outwards along next (0 for null).
    static int GetLength(Flame* f);

    // Every segment currently allocated (for clearing links when one is freed).
    static const std::vector<Flame*>& Live();
};
