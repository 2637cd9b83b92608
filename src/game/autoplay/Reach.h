// What the player can do from where it stands: its tile, whether it is ready for the next step,
// which steps the game would take now, and what the gun would hit along each aim. All of it is
// asked of the game's own climbing and hit-scan code.
#pragma once

#include "game/autoplay/TowerRoute.h"

class Entity;
class Player;

namespace autoplay {

// The player's own tile.
Tile PlayerTile(Player* p);

// Whether the player takes a step now: not in the middle of a glide.
bool Ready(Player* p);

// Whether the player's Climb(dx, dy) would be accepted right now (walls, occupants, the screen
// lock, clinging creatures), without taking the step.
bool StepAllowedNow(Player* p, int dx, int dy);

// WallStep that also respects the tiles occupied right now.
bool StepNowFrom(const Tile& from, int dx, int dy, Tile* out);

// The entity the gun would hit from the player's tile aimed (ax, ay), or null (also for no aim).
Entity* GunTarget(Player* p, int ax, int ay);
// The same as if the player stood on `from` (on the screen as it is now).
Entity* GunTargetFrom(Player* p, const Tile& from, int ax, int ay);

}  // namespace autoplay
