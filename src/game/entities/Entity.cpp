#include "game/entities/Entity.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/DetMath.h"
#include "engine/GImage.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/entities/Blood.h"
#include "game/entities/EntityLink.h"
#include "game/world/Building.h"

GImage* Entity::enemy_sheet_1 = nullptr;
GImage* Entity::boss_sheet_1 = nullptr;
GImage* Entity::block_sheet_1 = nullptr;
GImage* Entity::final_boss_sheet = nullptr;
GSound* Entity::wavDie0 = nullptr;
GSound* Entity::wavDie1 = nullptr;
GSound* Entity::wavDie2 = nullptr;
GSound* Entity::wavDie3 = nullptr;
GSound* Entity::wavBlockBreak = nullptr;
GSound* Entity::wavBlockHit = nullptr;
GSound* Entity::wavRescue = nullptr;
GSound* Entity::wavFlamer = nullptr;
GSound* Entity::wavCrawl = nullptr;
GSound* Entity::wavBouncerFlip = nullptr;
GSound* Entity::wavExplosion = nullptr;
GSound* Entity::wavFireShot = nullptr;
GSound* Entity::wavCrabShoot = nullptr;
GSound* Entity::wavSquidShoot = nullptr;
GSound* Entity::wavSquidSplat = nullptr;
GSound* Entity::wavSquidArm = nullptr;
GSound* Entity::wavSquidArmDie = nullptr;
GSound* Entity::wavBarferDie = nullptr;
GSound* Entity::wavGenDie = nullptr;
GSound* Entity::wavAllGenDie = nullptr;
GSound* Entity::wavEBTeleport = nullptr;
GSound* Entity::wavEBLasers = nullptr;
GSound* Entity::wavEBGoo = nullptr;
GSound* Entity::wavEBMegaBlast = nullptr;
GSound* Entity::wavEBHit = nullptr;

std::vector<Entity*>& Entity::entList = *new std::vector<Entity*>();

namespace {
Entity* FirstInList() { return Entity::entList.empty() ? nullptr : Entity::entList[0]; }
void TouchByDying(Entity* player) { player->Die(); }
}  // namespace

Entity* (*Entity::playerGetter)() = FirstInList;
void (*Entity::playerOnHit)(Entity* player) = TouchByDying;

Entity* Entity::ThePlayer() { return playerGetter ? playerGetter() : FirstInList(); }

Entity::Entity() {
    aFire = AnimationData{0, 0, 0, 0};
    Sprite::SetAnimationData(&aDead, 4, 4, 5, 0);
    sprite = nullptr;
    x = y = 0;
    velX = velY = 0;
    side = 1;
    cx = cy = cw = ch = 0;
    offX = offY = 0;
    HP = MaxHP = 50;
    AIdist = 480.0f;
    invinceTimer = 0;
    invinceTimerMax = 100;
    color = 0;
    Sprite::SetAnimationData(&aIdle, 0, 0, 5, 1);
    idleing = 0;
    applyGravity = 0;
    dead = 0;
    hurtPlayer = 0;
    isBoss = 0;
    canHit = 1;
    canFlameHit = 1;
    bloodRate = 3;
    wallDraw = 0;
    alive = true;
}

Entity::~Entity() {
    // Links from other entities to this one turn null rather than dangle.
    EntityLinkBase::Forget(this);
    delete sprite;
}

void Entity::Init() {
    enemy_sheet_1 = GImage::CreateNew("data/enemy/enemy_sheet1.png");
    boss_sheet_1 = GImage::CreateNew("data/enemy/boss1.png");
    block_sheet_1 = GImage::CreateNew("data/building/block_sheet1.png");
    final_boss_sheet = GImage::CreateNew("data/enemy/eye_boss1.png");
    wavDie0 = new GSound("data/enemy/kill.wav");
    wavDie1 = new GSound("data/enemy/slugdie.wav");
    wavDie2 = new GSound("data/enemy/squish.wav");
    wavDie3 = new GSound("data/enemy/wallDie.wav");
    wavBlockBreak = new GSound("data/enemy/blockbreak.wav");
    wavBlockHit = new GSound("data/enemy/blockhit.wav");
    wavRescue = new GSound("data/enemy/rescue.wav");
    wavFlamer = new GSound("data/enemy/flamer.wav");
    wavCrawl = new GSound("data/enemy/crawl.wav");
    wavBouncerFlip = new GSound("data/enemy/bouncerFlip.wav");
    wavExplosion = new GSound("data/enemy/Explosion.wav");
    wavFireShot = new GSound("data/enemy/fireShot.wav");
    wavCrabShoot = new GSound("data/enemy/crabShoot.wav");
    wavSquidShoot = new GSound("data/enemy/squidShoot.wav");
    wavSquidSplat = new GSound("data/enemy/squidSplat.wav");
    wavSquidArm = new GSound("data/enemy/squidArm.wav");
    wavSquidArmDie = new GSound("data/enemy/squidArmDie.wav");
    wavBarferDie = new GSound("data/enemy/barferdie.wav");
    wavGenDie = new GSound("data/enemy/Gendie.wav");
    wavAllGenDie = new GSound("data/enemy/AllGendie.wav");
    wavEBTeleport = new GSound("data/enemy/EBTeleport.wav");
    wavEBLasers = new GSound("data/enemy/EBLasers.wav");
    wavEBGoo = new GSound("data/enemy/EBGoo.wav");
    wavEBMegaBlast = new GSound("data/enemy/EBMegaBlast.wav");
    wavEBHit = new GSound("data/enemy/EBHit.wav");
}

// ---- geometry ---------------------------------------------------------------------------------

float Entity::GetCenterX() { return static_cast<float>(cx) + x + static_cast<float>(cw / 2); }
float Entity::GetCenterY() { return static_cast<float>(cy) + y + static_cast<float>(ch / 2); }

BOOL Entity::boxCollide(float sx, float sy, float sw, float sh) {
    float x1 = cx + x + offX;
    float y1 = cy + y + offY;
    float w1 = static_cast<float>(cw);
    float h1 = static_cast<float>(ch);
    bool overlapX = (x1 >= sx && sx + sw >= x1) || (sx >= x1 && x1 + w1 >= sx);
    bool overlapY = (y1 >= sy && sy + sh >= y1) || (sy >= y1 && y1 + h1 >= sy);
    return (overlapX && overlapY) ? TRUE : FALSE;
}

BOOL Entity::hitEntity(Entity* ent) {
    if (!ent || ent->side != side) return FALSE;
    return boxCollide(ent->cx + ent->x + ent->offX, ent->cy + ent->y + ent->offY, static_cast<float>(ent->cw),
                      static_cast<float>(ent->ch));
}

float Entity::distToEntity(Entity* ent) {
    float dx = (cx + x) - (ent->cx + ent->x);
    float dy = (cy + y) - (ent->cy + ent->y);
    return std::sqrt(dx * dx + dy * dy);
}

float Entity::angleToEntity(Entity* ent, int, int) {
    return detmath::Atan2(GetCenterY() - ent->GetCenterY(), GetCenterX() - ent->GetCenterX());
}

Building* Entity::GetBuilding() {
    int idx = (6 - GetTileY()) / 50;
    // Rows below the lowest segment or above the highest have no segment.
    if (idx < 0 || idx >= 50) return nullptr;
    return Building::b[idx];
}

int Entity::GetTileX() { return static_cast<int>(GetCenterX() / 64); }
int Entity::GetTileY() { return static_cast<int>(GetCenterY() / 64); }

// ---- behaviour --------------------------------------------------------------------------------

void Entity::Update() {
    Entity* player = ThePlayer();

    bool runAI = false;
    if (ThinksEverywhere()) {
        runAI = true;
    } else if (player && side == player->side && !dead) {
        runAI = std::fabs(GetCenterY() - player->GetCenterY()) < AIdist || player->dead;
    }
    if (runAI) AI();

    x += velX;
    y += velY;

    if (HP <= 0) Die();

    if (applyGravity) velY += 0.25f;

    if (dead && y + offY - Building::scrollY > 480) OffScreen();

    if (!dead && hurtPlayer && player && player != this && hitEntity(player) && player->invinceTimer == 0 &&
        playerOnHit) {
        playerOnHit(player);
    }
}

void Entity::Draw() {
    if (invinceTimer > 0) {
        if (sprite) {
            if (invinceTimer % 10 == 0)
                sprite->Hide();
            else if (invinceTimer % 5 == 0)
                sprite->Show();
            if (invinceTimer == 1) sprite->Show();
        }
        --invinceTimer;
    }
    if (!sprite) return;
    sprite->x = x + offX;
    sprite->y = y - Building::scrollY + offY;
    sprite->side = side;
    sprite->Update();
}

void Entity::Idle() {
    if (sprite) sprite->PlayAnimation(&aIdle);
    idleing = 1;
}

void Entity::Die() {
    if (dead) return;
    dead = 1;
    applyGravity = 1;
    if (sprite) sprite->PlayAnimation(&aDead);
}

void Entity::AI() {}

void Entity::OffScreen() { alive = false; }

void Entity::Hit(int, int) {
    if (!canHit || !alive || dead) return;
    --HP;
    int bx = static_cast<int>(GetCenterX() + offX);
    int by = static_cast<int>(GetCenterY() + offY);
    for (int i = 0; i < bloodRate; ++i) {
        float bvx = static_cast<float>(std::rand() % 300) / 300.0f - 1.0f;
        float bvy = -static_cast<float>(std::rand() % 1200) / 300.0f;
        entList.push_back(new Blood(side, bx, by, bvx, bvy));
    }
    if (HP % 2 == 0 && wavBlockHit) wavBlockHit->Play();
}

// ---- the list ---------------------------------------------------------------------------------

void Entity::UpdateAll() {
    for (size_t i = 0; i < entList.size();) {
        Entity* e = entList[i];
        e->Update();
        // The update may have appended to the list (reallocating it), so look the entity up by
        // index again rather than through an iterator.
        if (!entList[i]->alive) {
            Entity* gone = entList[i];
            entList.erase(entList.begin() + static_cast<long>(i));
            delete gone;
        } else {
            ++i;
        }
    }
}

std::vector<Entity*> Entity::DrawOrder(bool blackedOut) {
    Entity* player = ThePlayer();
    std::vector<Entity*> wall, rest, order;
    for (Entity* e : entList) {
        if (e == player) continue;
        if (blackedOut && !e->ShownWhenBlackedOut()) continue;
        (e->wallDraw ? wall : rest).push_back(e);
    }
    order.reserve(wall.size() + rest.size() + 1);
    order.insert(order.end(), wall.begin(), wall.end());
    if (player && !blackedOut) order.push_back(player);
    order.insert(order.end(), rest.begin(), rest.end());
    return order;
}

void Entity::DrawAll(bool blackedOut) {
    // Drawn in the usual order either way; what is hidden is drawn with pixels off.
    Entity* player = ThePlayer();
    std::vector<Entity*> all = DrawOrder(false);
    for (Entity* e : all) {
        const bool hidden = blackedOut && (e == player || !e->ShownWhenBlackedOut());
        PixelsOff off(GameEngine::gEngine, hidden);
        e->Draw();
    }
}

void Entity::ClearListAfterPlayer() {
    for (size_t i = 1; i < entList.size(); ++i) delete entList[i];
    entList.clear();
}

void Entity::DeleteAll() {
    std::vector<Entity*> all;
    all.swap(entList);
    for (Entity* e : all) delete e;
}
