#include "game/autoplay/Reach.h"

#include "engine/Sprite.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

namespace autoplay {

Tile PlayerTile(Player* p) { return Tile{p->side, p->tX, p->tY}; }

bool Ready(Player* p) { return !(p->sprite && p->sprite->AnimationOn && !p->idleing); }

bool StepAllowedNow(Player* p, int dx, int dy) { return p->CanClimb(dx, dy) != 0; }

bool StepNowFrom(const Tile& p, int dx, int dy, Tile* out) {
    if (!WallStep(p, dx, dy, out)) return false;
    Building* seg = SegmentOfRow(p.ty);
    return tower::StepOpen(p.tx, p.ty, dx, dy,
                           [&](int tx, int ty) { return seg->openSpot(p.side, tx, ty, FALSE) != 0; });
}

Entity* GunTarget(Player* p, int ax, int ay) { return GunTargetFrom(p, PlayerTile(p), ax, ay); }

Entity* GunTargetFrom(Player* p, const Tile& from, int ax, int ay) {
    if (ax == 0 && ay == 0) return nullptr;
    return p->HitScan(from.tx, from.ty, ax, ay);
}

}  // namespace autoplay
