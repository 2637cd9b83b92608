// A collectable on the wall: a person to rescue (an extra life), the flame thrower or the
// bazooka. Touching it collects it at once. The first copy of a weapon hands it over with the
// new-weapon announcement; later copies only add ammunition. It cannot be shot, burnt or harm.
#pragma once

#include "game/entities/Entity.h"

class GImage;

class Pickup : public Entity {
public:
    int type;  // 0 rescue, 1 flame thrower, 2 bazooka

    // "data/other1.png": pickups, generators, explosions and the bazooka's rocket.
    static GImage* pickup_sheet;

    static constexpr int kFlameAmmo = 250;
    static constexpr int kBazookaAmmo = 10;

    static void Init();

    Pickup(int sside, int sx, int sy, int stype);

    void Update() override;
    void OnCollect();
    const char* ClassName() const override { return "Pickup"; }
};
