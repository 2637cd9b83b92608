// A large creature fixed to the wall. Every 101 frames it spews a burst of wall blasts, the bursts
// alternating between eight shots flying straight out from the four corners of its mouth and four
// shots flying out diagonally from its centre. It hurts the player on contact; killed, it shrivels
// where it hangs and vanishes.
#pragma once

#include "game/entities/Climber.h"

class Barfer : public Climber {
public:
    AnimationData aBarf;
    int barfDir;    // which burst comes next: 0 the eight straight shots, 1 the four diagonals
    int barfTimer;  // frames until the next burst
    int barfTimerMax;

    // Speed of every shot of a burst, in pixels per frame.
    static constexpr float kShotSpeed = 2.0f;
    // The frame of the burst animation on which the shots leave the mouth.
    static constexpr int kBurstFrame = 2;

    Barfer(int sside, float sx, float sy);

    void Update() override;
    void AI() override;
    void Die() override;
    const char* ClassName() const override { return "Barfer"; }

private:
    void Burst();
    void Shoot(float sx, float sy, float svelX, float svelY);
};
