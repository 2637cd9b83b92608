// The player's weapons: choosing one, and firing the gun (a tile-by-tile hit scan), the flame
// thrower (a chain of flame segments) and the bazooka (a rocket).
#include <cstdlib>

#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/WallBlastSmoke.h"
#include "game/entities/Blood.h"
#include "game/player/Bazooka.h"
#include "game/player/BulletShell.h"
#include "game/player/Flame.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Tower.h"

namespace {

void PlaySound(GSound* s) {
    if (s) s->Play();
}

// Muzzle offsets in picture pixels by weapon and aim; rows are aimDirY = -1, 0, 1, columns
// aimDirX = -1, 0, 1.
const int kMuzzle[3][3][3][2] = {
    // gun
    {{{26, 19}, {34, 13}, {44, 17}}, {{22, 30}, {48, 30}, {48, 30}}, {{20, 37}, {34, 47}, {47, 45}}},
    // flame thrower
    {{{15, 5}, {36, 0}, {60, 7}}, {{5, 29}, {48, 30}, {61, 29}}, {{9, 47}, {35, 62}, {60, 55}}},
    // bazooka
    {{{14, 7}, {31, 0}, {50, 7}}, {{9, 25}, {48, 30}, {57, 24}}, {{6, 43}, {30, 57}, {50, 48}}},
};

}  // namespace

void Player::NextWeapon() {
    // The gun is always owned, so at most three steps find a usable weapon.
    for (int tries = 0; tries < 3; ++tries) {
        weapon += 1;
        if (weapon > 2) weapon = 0;
        if (haveWeapon[weapon] && (weapon == 0 || ammo[weapon] > 0)) break;
    }
    ChangeWeapon(weapon);
}

void Player::ChangeWeapon(int wep) {
    weapon = wep;
    sprite->LoadImageA(sprite_sheet[wep], 64, 64, 0, 0);
    Idle();
}

Entity* Player::HitScan(int fromX, int fromY, int aX, int aY, const std::function<bool(Entity*)>& counts) {
    int cX = fromX, cY = fromY;
    const float topRow = Building::scrollY / tower::kTileSize;
    for (;;) {
        if (tower::OffTheWall(cX)) return nullptr;
        if (cY < topRow || cY > topRow + 6) return nullptr;
        cX += aX;
        cY += aY;
        for (Entity* e : Entity::entList) {
            if (e == this || dynamic_cast<Blood*>(e) || e->dead || e->side != side || !e->canHit) continue;
            if (counts && !counts(e)) continue;
            if (e->boxCollide(cX * 64 + 1, cY * 64 + 1, 62, 62)) return e;
        }
        // With no aim the trace would test the same tile for ever.
        if (aX == 0 && aY == 0) return nullptr;
    }
}

void Player::Fire() {
    if (!idleing || climbHold || dead) return;
    if (weapon < 0 || weapon > 2) return;
    if (weapon == 2 && shotDelay > 0) return;
    if ((weapon == 1 || weapon == 2) && ammo[weapon] < 1) return;

    // Holding the key loops the three-frame fire animation of the current aim pose.
    Sprite::SetAnimationData(&aFire, aIdle.start, aIdle.start + 2, 1, aIdle.layer);
    sprite->PlayAnimation(&aFire);

    const int* n = kMuzzle[weapon][aimDirY + 1][aimDirX + 1];
    int muzzleX = static_cast<int>(2 * n[0] + x + offX);
    int muzzleY = static_cast<int>(2 * n[1] + y + offY);
    bool cycleTick = sprite->onFrameEnter(1) || sprite->onFrameEnter(4);

    if (weapon == 0) {
        if (!cycleTick) return;
        float shellVelX = static_cast<float>(std::rand() % 300) / 300.0f - 1.0f;
        Entity::entList.push_back(new BulletShell(side, muzzleX, muzzleY, shellVelX, 0.0f));
        PlaySound(wavFire2);
        if (Entity* e = HitScan(tX, tY, aimDirX, aimDirY)) e->Hit(aimDirX, aimDirY);
        return;
    }

    if (weapon == 1) {
        if (cycleTick) PlaySound(Entity::wavFlamer);
        --ammo[1];
        if (startFlame && startFlame->dirX == aimDirX && startFlame->dirY == aimDirY) {
            startFlame->Reignite();
        } else {
            // A chain in another direction is left to burn out by itself.
            startFlame = new Flame(side, muzzleX, muzzleY, aimDirX, aimDirY, 1);
            Entity::entList.push_back(startFlame);
        }
        return;
    }

    // Bazooka.
    PlaySound(wavBazooka);
    shotDelay = 50;
    --ammo[2];
    GameEngine::gEngine->Shake(0, 4, 5, 10);
    Entity::entList.push_back(new Bazooka(side, muzzleX, muzzleY, aimDirX, aimDirY));
    for (int i = 0; i < 3; ++i) {
        float vx = static_cast<float>(std::rand() % 200 - 100) / 100.0f;
        float vy = static_cast<float>(-200 - std::rand() % 200) / 100.0f;
        Entity::entList.push_back(new WallBlastSmoke(side, muzzleX, muzzleY, vx, vy));
    }
}
