#include "game/bosses/BossSquid.h"

#include <cmath>
#include <cstdlib>

#include "engine/DetMath.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/bosses/SquidArm.h"
#include "game/bosses/SquidTarget.h"
#include "game/enemies/WallBlast.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Explosion.h"

namespace {
void PlaySound(GSound* s) {
    if (s) s->Play();
}
}  // namespace

BossSquid::BossSquid(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, Entity::boss_sheet_1, x, y, 96, 96, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 1, 7, 1);
    Sprite::SetAnimationData(&aDead, 0, 4, 14, 2);
    Sprite::SetAnimationData(&aIdleLeft, 2, 3, 7, 1);
    Sprite::SetAnimationData(&aIdleRight, 0, 1, 7, 2);
    Sprite::SetAnimationData(&aComeOut, 0, 4, 10, 4);
    Sprite::SetAnimationData(&aGoIn, 0, 4, 10, 3);
    Idle();
    cx = 64;
    cy = 64;
    cw = 64;
    ch = 128;
    HP = MaxHP = 120;
    bloodRate = 10;
    isBoss = 1;
    wallDraw = 1;
    hurtPlayer = 0;  // the body never hurts
    shotTimer = 0;
    shotTimerMax = 60;
    shotSpeed = 2.0f;
    armDelay = 10;
    aiPhase = kPhaseEmerge;
    shotsTaken = 0;
    targetShot = nullptr;
    aiTimer = 0;
    armTargetX = armTargetY = 0;
    sprite->PlayAnimation(&aComeOut);
}

bool BossSquid::CentreInBody(float px, float py) const {
    return px > x && px <= x + cx + cw && py > y + cy && py <= y + cy + ch;
}

bool BossSquid::CornerInBody(int px, int py) const {
    return x <= px && px <= x + cx + cw && y + cy <= py && py <= y + cy + ch;
}

void BossSquid::ChooseArmTarget() {
    Player* player = Player::Get();
    if (HP <= MaxHP / 2 && player) {
        armTargetX = player->tX;
        armTargetY = player->tY;
        return;
    }
    armTargetX = static_cast<int>(x / 64);
    armTargetY = static_cast<int>(y / 64);
    do {
        armTargetX = std::rand() % 8 + 1;
        armTargetY = static_cast<int>(Building::scrollY / 64 + std::rand() % 7);
    } while (CornerInBody(64 * armTargetX, 64 * armTargetY));
}

void BossSquid::CreateArm(int uX, int uY, int sDir) {
    PlaySound(Entity::wavSquidArm);
    const float px = 64.0f * uX, py = 64.0f * uY;
    // Both are built before either joins the list, so the tip does not cut its own root.
    auto* root = new SquidArm(side, px, py, px, py, sDir);
    auto* tip = new SquidArm(side, px, py, px, py, sDir);
    root->nextArm = tip;
    root->spawnTimer = -1;
    tip->lastArm = root;
    Entity::entList.push_back(root);
    Entity::entList.push_back(tip);
}

void BossSquid::Die() {
    if (aiPhase == kPhaseDying) return;
    aiPhase = kPhaseDying;
    GameEngine::gEngine->Shake(0, 8, 5, 150);
    GameEngine::gEngine->MusicStop();
    aiTimer = 0;
}

void BossSquid::Update() {
    if (dead && sprite->isAnimationFinished()) sprite->SetAnimationOff();

    if (aiPhase == kPhaseDying && !dead) {
        aiTimer += 1;
        if (aiTimer % 10 == 0) {
            int ex = static_cast<int>(x) + cx + std::rand() % cw - 64;
            int ey = static_cast<int>(y) + cy + std::rand() % ch - 64;
            Entity::entList.push_back(new Explosion(side, ex, ey, FALSE));
        }
        if (aiTimer > 170) {
            dead = 1;
            sprite->PlayAnimation(&aDead);
            Building::UnlockScreen();
            for (Entity* e : Entity::entList)
                if (auto* arm = dynamic_cast<SquidArm*>(e)) arm->Die();
        }
    }

    Entity::Update();
}

void BossSquid::AI() {
    Player* player = Player::Get();
    switch (aiPhase) {
        case kPhaseEmerge:  // emerging: the body pushes aside any tentacle lying over it
            if (sprite->onFrameEnter(3)) {
                for (Entity* e : Entity::entList) {
                    auto* arm = dynamic_cast<SquidArm*>(e);
                    if (arm && CentreInBody(arm->GetCenterX(), arm->GetCenterY())) arm->Die();
                }
            }
            if (sprite->isCurrentAnimation(&aComeOut) && sprite->isAnimationFinishedNext()) {
                aiPhase = kPhaseVolley;
                Idle();
                canHit = canFlameHit = 1;
            }
            break;

        case kPhaseVolley:  // a volley of six shots at the player
            if (!player) break;
            if (player->GetCenterX() > GetCenterX())
                sprite->PlayAnimation(&aIdleRight);
            else
                sprite->PlayAnimation(&aIdleLeft);
            if (shotTimer < shotTimerMax) {
                shotTimer += 1;
            } else {
                PlaySound(Entity::wavSquidShoot);
                auto* shot = new WallBlast(side, x + kMouthX, y + kMouthY);
                Entity::entList.push_back(shot);
                shotsTaken += 1;
                float a = shot->angleToEntity(player);
                shot->velX = -detmath::Cos(a) * shotSpeed;
                shot->velY = -detmath::Sin(a) * shotSpeed;
                shotTimer = 0;
                if (shotsTaken > 5) {
                    aiPhase = kPhaseWithdraw;
                    shotsTaken = 0;
                }
            }
            break;

        case kPhaseWithdraw:
            sprite->PlayAnimation(&aGoIn);
            aiPhase = kPhaseSpitMarker;
            break;

        case kPhaseSpitMarker:  // withdrawn: spit the marker onto the chosen tile
            if (sprite->isAnimationFinishedNext()) {
                ChooseArmTarget();
                auto* marker = new SquidTarget(side, x + kMouthX, y + kMouthY, 64.0f * armTargetX, 64.0f * armTargetY);
                Entity::entList.push_back(marker);
                targetShot = marker;
                canHit = canFlameHit = 0;
                sprite->SetAnimationOff();
                armDelay = 50;
                aiPhase = kPhaseMarkerFlight;
            }
            break;

        case kPhaseMarkerFlight:  // wait for the marker to land (a marker gone from the list counts as landed)
            if (!targetShot) {
                aiPhase = kPhaseArmWait;
            } else if (targetShot->atTarget()) {
                aiPhase = kPhaseArmWait;
                targetShot->sprite->PlayAnimation(&targetShot->aDead);
                targetShot->wallDraw = 1;
                targetShot = nullptr;
            }
            break;

        case kPhaseArmWait:
            armDelay -= 1;
            if (armDelay <= 0) aiPhase = kPhaseArms;
            break;

        case kPhaseArms: {  // the tentacles: one along the marked row, one along its column
            GameEngine::gEngine->Shake(0, 8, 5, 40);
            if (std::rand() % 2 == 1)
                CreateArm(10, armTargetY, SquidArm::kGrowLeft);
            else
                CreateArm(-2, armTargetY, SquidArm::kGrowRight);
            if (std::rand() % 2 == 1)
                CreateArm(armTargetX, static_cast<int>(Building::scrollY / 64 + 8), SquidArm::kGrowUp);
            else
                CreateArm(armTargetX, static_cast<int>(Building::scrollY / 64 - 1), SquidArm::kGrowDown);
            armDelay = 100;
            aiPhase = kPhaseArmsOut;
            break;
        }

        case kPhaseArmsOut:
            armDelay -= 1;
            if (armDelay <= 0) {
                sprite->PlayAnimation(&aComeOut);
                aiPhase = kPhaseEmerge;
            }
            break;

        default:  // kPhaseDying: the death sequence runs in Update
            break;
    }
}
