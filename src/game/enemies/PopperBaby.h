// One of the eight tiny creatures a popper bug or a popper sack releases when it bursts. The swarm
// flocks after the player and clings to them; the player's climbing stops while three or more
// cling. A baby never kills, dies from one hit or burn, and expires by itself after about 400
// frames near the player.
#pragma once

#include <vector>

#include "game/entities/Entity.h"
#include "game/entities/EntityLink.h"

// The members of one swarm, shared by them all. Each baby leaves it when it is deleted, and the
// last one to leave deletes it.
using PopperGroup = std::vector<EntityLink<Entity>>;

class PopperBaby : public Entity {
public:
    int dieTimer;        // frames of life left near the player
    PopperGroup* group;  // the swarm this baby belongs to
    float targetVelX, targetVelY;

    // How fast a baby flies towards its aim point, how fast its velocity turns, and how near two
    // members must be to flock.
    static constexpr float kSpeed = 2.5f;
    static constexpr float kTurn = 0.05f;
    static constexpr float kFlockDistance = 20.0f;

    PopperBaby(int sside, float sx, float sy, PopperGroup* sgroup);
    ~PopperBaby() override;

    void Update() override;
    void AI() override;
    const char* ClassName() const override { return "PopperBaby"; }

    // Whether x, y is outside the part of the wall a baby may roam (around the view).
    bool OutOfView() const;

    // Bursts a swarm: eight babies at random points of the box (bx, by, bw, bh), appended to the
    // entity list and to a new group.
    static void Burst(int sside, float bx, float by, int bw, int bh);
};
