// A slug that clings to the left or right edge of the screen and crawls up and down within 160
// pixels of where it was placed. After each stretch of crawling it stops and spits one wall blast
// straight across the screen, then crawls on, sometimes turning back. It hurts on contact, and its
// remains stay on the wall until they scroll off the bottom.
#pragma once

#include "game/entities/Entity.h"

class Slug : public Entity {
public:
    AnimationData aFire;      // spitting (its own, in place of the base's slot)
    AnimationData aWalkUp;    // crawling up
    AnimationData aWalkDown;  // crawling down
    int walkDelayMax;         // 64 or 65; kept for the record, nothing reads it
    int walkDelay;            // frames of crawling left before the next spit
    int walkDir;              // 1 down, -1 up
    int lowY, hiY;            // lower and upper limits of the crawl, as centre y
    float speed;              // pixels per frame

    // How far from its starting centre the slug may crawl, up or down.
    static constexpr int kCrawlRange = 160;
    // Horizontal speed of its spit.
    static constexpr float kSpitSpeed = 3.0f;

    Slug(int sside, int sx, int sy);

    void Update() override;
    void Draw() override;
    void AI() override;
    void Die() override;
    void Fire();
    const char* ClassName() const override { return "Slug"; }

    // Whether the base update runs the AI this frame (on the player's side, alive, and near the
    // player vertically or the player dead).
    bool WouldRunAI();
    // Plays the crawl animation of the current direction.
    void PlayWalk();
    // Turns back at the crawl limits.
    void KeepInRange();
};
