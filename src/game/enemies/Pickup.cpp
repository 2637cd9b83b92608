#include "game/enemies/Pickup.h"

#include "engine/GImage.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

GImage* Pickup::pickup_sheet = nullptr;

void Pickup::Init() { pickup_sheet = GImage::CreateNew("data/other1.png"); }

Pickup::Pickup(int sside, int sx, int sy, int stype) {
    side = sside;
    x = static_cast<float>(sx * 64);
    y = static_cast<float>(sy * 64);
    type = stype;
    // Drawn on side 1 until the entity draw sets the real side.
    if (type == 0) {
        sprite = new Sprite(1, GameEngine::gEngine, pickup_sheet, 0, 0, 64, 64, 0, 0);
        Sprite::SetAnimationData(&aIdle, 0, 4, 5, 0);
        cx = 54;
        cy = 58;
        cw = 24;
        ch = 40;
        offX = -32;
    } else if (type == 1) {
        sprite = new Sprite(1, GameEngine::gEngine, pickup_sheet, 0, 0, 32, 32, 0, 0);
        Sprite::SetAnimationData(&aIdle, 10, 13, 5, 0);
        cx = 10;
        cy = 10;
        cw = 40;
        ch = 40;
    } else {
        sprite = new Sprite(1, GameEngine::gEngine, pickup_sheet, 0, 0, 32, 32, 0, 0);
        Sprite::SetAnimationData(&aIdle, 10, 13, 5, 1);
        cx = 10;
        cy = 10;
        cw = 24;
        ch = 24;
    }
    HP = MaxHP = 10;
    canHit = 0;
    canFlameHit = 0;
    hurtPlayer = 0;
    Idle();
}

void Pickup::Update() {
    Entity::Update();
    Player* player = Player::Get();
    if (alive && player && hitEntity(player)) OnCollect();
}

namespace {
void PlaySound(GSound* s) {
    if (s) s->Play();
}

// A weapon pickup: the first copy hands the weapon over with its announcement, later copies add
// ammunition with the rescue sound.
void CollectWeapon(Player* p, int wep, int amount) {
    if (p->haveWeapon[wep]) {
        PlaySound(Entity::wavRescue);
        p->ammo[wep] += amount;
    } else {
        p->haveWeapon[wep] = 1;
        p->ammo[wep] = amount;
        Building::ShowNewWeapon(wep);
    }
}
}  // namespace

void Pickup::OnCollect() {
    alive = false;
    Player* player = Player::Get();
    if (type == 0) {
        PlaySound(wavRescue);
        Player::Lives += 1;
    } else if (type == 1) {
        if (player) CollectWeapon(player, 1, kFlameAmmo);
    } else if (type == 2) {
        if (player) CollectWeapon(player, 2, kBazookaAmmo);
    }
}
