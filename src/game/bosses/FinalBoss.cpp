#include "game/bosses/FinalBoss.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/DetMath.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/EyeCrawler.h"
#include "game/enemies/LaserClimber.h"
#include "game/enemies/Spider.h"
#include "game/enemies/WallBlast.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Explosion.h"

EntityLink<FinalBoss> FinalBoss::debug_boss;

namespace {
constexpr float kPi = 3.14159265358979f;

void PlaySound(GSound* s) {
    if (s) s->Play();
}
GameEngine* Eng() { return GameEngine::gEngine; }
void Shake(float ax, float ay, float speed, float dur) {
    if (Eng()) Eng()->Shake(ax, ay, speed, dur);
}
// The wall each form is fought on.
int FormSide(int form) { return form == FinalBoss::kFormFlying ? 2 : (form == FinalBoss::kFormSmall ? 4 : 1); }
}  // namespace

FinalBoss::FinalBoss(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, Entity::final_boss_sheet, x, y, 64, 64, 0, 0);
    Sprite::SetAnimationData(&aIdle, 0, 0, 7, 0);
    Sprite::SetAnimationData(&aBlink, 0, 4, 12, 1);
    Sprite::SetAnimationData(&aBlink2, 0, 4, 6, 1);
    Sprite::SetAnimationData(&aEyeFly, 0, 3, 12, 2);
    Sprite::SetAnimationData(&aEyeShoot, 0, 2, 42, 3);
    Sprite::SetAnimationData(&aEyeSmall, 0, 2, 32, 12);
    Sprite::SetAnimationData(&aEyeMult, 1, 1, 32, 0);
    HP = MaxHP = 400;
    SetBox(0, 0, 120, 120);
    isBoss = 1;
    AIdist = 5000;
    wallDraw = 1;
    blinkTimer = 100;
    blinkTimerMax = 400;
    aiPhase = kPhaseAwaitCamera;
    aiTimer = 0;
    aiTimerMax = 100;
    aiLoop = 0;
    aiTargetArea = kFormFlying;
    aiLastTargetArea = -1;
    aiPhaseTimer = kFormFrames;
    targetShot = nullptr;
    for (BOOL& w : wallBlasterLoc) w = 0;
    EyeFlyTransformed = 0;
    EyeSmallHitTimer = 0;
    chasePhase = kChaseDrift;
    waverSpeed = kPi / 180;
    waverDeg = 0;
    waverAmp = 0;
    chaseSpeed = 2.0f;
    chaseDeg = kPi / 2;
    turnSpeed = kPi / 360;
    hasChased = 0;
    Idle();
}

void FinalBoss::SetFrames(int w, int h) { sprite->LoadImageA(Entity::final_boss_sheet, w, h, 0, 0); }

void FinalBoss::SetBox(int scx, int scy, int scw, int sch) {
    cx = scx;
    cy = scy;
    cw = scw;
    ch = sch;
}

// ---- the three forms --------------------------------------------------------------------------

void FinalBoss::EyeFlyTransform() {
    if (EyeFlyTransformed) return;
    EyeFlyTransformed = 1;
    SetFrames(96, 96);
    x -= 42;
    SetBox(42, 16, 128, 100);
    sprite->PlayAnimation(&aEyeFly);
    wallDraw = 0;
    hurtPlayer = 0;
}

void FinalBoss::EyeFlyTransformBack() {
    if (!EyeFlyTransformed) return;
    EyeFlyTransformed = 0;
    SetFrames(64, 64);
    x = kHomeX;
    y = kHomeY;
    velX = velY = 0;
    SetBox(0, 0, 120, 120);
    Idle();
    wallDraw = 1;
    hurtPlayer = 0;
}

void FinalBoss::EyeSmallTransform() {
    if (EyeFlyTransformed) return;
    EyeFlyTransformed = 1;
    SetFrames(64, 32);
    y += 64;
    SetBox(0, 0, 128, 64);
    sprite->PlayAnimation(&aEyeSmall);
}

void FinalBoss::EyeSmallTransformBack() {
    if (!EyeFlyTransformed) return;
    EyeFlyTransformed = 0;
    SetFrames(64, 64);
    y -= 64;
    SetBox(0, 0, 120, 120);
    Idle();
    wallDraw = 1;
    hurtPlayer = 0;
}

void FinalBoss::EyeMultTransform() {
    if (EyeFlyTransformed) return;
    EyeFlyTransformed = 1;
    SetFrames(64, 64);
    SetBox(0, 0, 128, 128);
    sprite->PlayAnimation(&aEyeMult);
    canHit = 0;
    canFlameHit = 0;
}

void FinalBoss::EyeMultTransformBack() {
    if (!EyeFlyTransformed) return;
    EyeFlyTransformed = 0;
    SetFrames(64, 64);
    y = kHomeY;
    SetBox(0, 0, 120, 120);
    Idle();
    wallDraw = 1;
    hurtPlayer = 0;
}

void FinalBoss::EyeFlyToggle() {
    if (EyeFlyTransformed)
        EyeFlyTransformBack();
    else
        EyeFlyTransform();
}

void FinalBoss::EyeSmallToggle() {
    if (EyeFlyTransformed)
        EyeSmallTransformBack();
    else
        EyeSmallTransform();
}

void FinalBoss::EyeMultToggle() {
    if (EyeFlyTransformed)
        EyeMultTransformBack();
    else
        EyeMultTransform();
}

void FinalBoss::ToggleForm() {
    switch (aiTargetArea) {
        case kFormFlying: EyeFlyToggle(); break;
        case kFormSmall: EyeSmallToggle(); break;
        default: EyeMultToggle(); break;  // kFormCrawlers
    }
}

void FinalBoss::TransformBack() {
    switch (aiTargetArea) {
        case kFormFlying: EyeFlyTransformBack(); break;
        case kFormSmall: EyeSmallTransformBack(); break;
        default: EyeMultTransformBack(); break;  // kFormCrawlers
    }
}

void FinalBoss::EyeSmallHit() {
    // Shown open, and held open while the timer runs.
    sprite->CurFrame = 0;
    sprite->AnimationDelayC = 0;
    sprite->SetAnimationOff();
    EyeSmallHitTimer = 100;
    Shake(8, 0, 5, 50);
}

// ---- per frame --------------------------------------------------------------------------------

void FinalBoss::Update() {
    // Blinking while at rest.
    if (sprite->isCurrentAnimation(&aIdle)) {
        if (--blinkTimer <= 0) sprite->PlayAnimation(&aBlink);
    } else if (sprite->isCurrentAnimation(&aBlink) && sprite->isAnimationFinishedNext()) {
        Idle();
        blinkTimer = blinkTimerMax;
    }

    // The slit eye: open (frame 0) it can be hit until its timer runs out, then it closes over
    // two frames and stays shut (frame 2).
    if (sprite->isCurrentAnimation(&aEyeSmall)) {
        if (sprite->CurFrame == 0) {
            canHit = 1;
            if (EyeSmallHitTimer > 0) --EyeSmallHitTimer;
            if (EyeSmallHitTimer == 0) sprite->SetAnimationOn();
        } else if (sprite->CurFrame == 2) {
            canHit = 0;
            sprite->SetAnimationOff();
        }
    }

    // The eye is never killed by damage: at the floor a form's fight ends, and the death
    // sequence starts from home.
    if (HP <= 9) {
        HP = 10;
        if (InFormFight()) aiPhase = kPhaseFormEnd;
    }

    Entity::Update();
}

void FinalBoss::Die() { alive = false; }

void FinalBoss::Hit(int locX, int locY) {
    Shake(8, 0, 5, 20);
    if (HP % 5 == 0) PlaySound(wavEBHit);
    Entity::Hit(locX, locY);
}

void FinalBoss::AI() {
    switch (aiPhase) {
        case kPhaseAwaitCamera:  // waiting for the camera to reach the arena
            aiTargetArea = kFormCrawlers;
            if (Building::scrollY <= kArenaScroll) {
                if (Eng()) Eng()->MusicLoop(Building::finalBossMus);
                aiPhase = kPhaseHome;
            }
            break;

        case kPhaseHome:
            aiTimer = 100;
            aiPhase = kPhaseExposed;
            break;

        case kPhaseExposed:  // exposed at home
            canHit = canFlameHit = 1;
            if (--aiTimer <= 0) {
                PlaySound(wavEBTeleport);
                aiPhase = HP <= 10 ? kPhaseDeathStart : kPhaseFlickerOut;
                aiTimer = 100;
                // Never the same form twice in a row.
                do {
                    aiTargetArea = std::rand() % 3;
                } while (aiTargetArea == aiLastTargetArea);
                aiLastTargetArea = aiTargetArea;
            }
            break;

        case kPhaseFlickerOut:  // flickering out: an even number of toggles leaves the eye in its home form
            if (aiTimer % 10 != 0) {
                Building::GoBlackToggle();
                ToggleForm();
            }
            Shake(0, 8, 5, 120);
            if (--aiTimer <= 0) {
                aiPhase = HP <= 10 ? kPhaseDeathStart : kPhaseBlackout;
                Building::UnBlack();
                aiTimer = 0;
            }
            break;

        case kPhaseBlackout:
            Building::GoBlack();
            if (aiTimer >= 0) --aiTimer;
            if (aiTimer < 0) {
                ToggleForm();  // always a transform here
                aiPhase = kPhaseArrive;
            }
            break;

        case kPhaseArrive: {  // arrival on the form's wall
            const int s = FormSide(aiTargetArea);
            Building::MovePlayerToPosition(s, 4, 682);
            side = s;
            Building::UnBlack();
            aiTimer = 100;
            aiPhase = kPhaseArrivalPause;
            break;
        }

        case kPhaseArrivalPause:
            if (--aiTimer <= 0) aiPhase = kPhaseFormStart;
            break;

        case kPhaseFormStart:  // the form's fight begins
            aiLoop = 0;
            aiPhaseTimer = kFormFrames;
            Shake(0, 8, 5, 120);
            aiTimer = 300;
            if (aiTargetArea == kFormFlying) {
                chasePhase = kChaseDrift;
                aiPhase = kPhaseFlyStart;
            } else {
                aiPhase = aiTargetArea == kFormSmall ? kPhaseSmallStart : kPhaseCrawlersStart;
            }
            break;

        case kPhaseFormEnd: {  // the form ends: everything but the player and the eye goes
            canHit = canFlameHit = 0;
            Entity* player = Entity::ThePlayer();
            for (size_t i = 1; i < entList.size(); ++i) {
                Entity* e = entList[i];
                if (e != player && !dynamic_cast<FinalBoss*>(e)) e->alive = false;
            }
            Building::UnBlack();
            PlaySound(wavEBTeleport);
            aiTimer = 100;
            aiPhase = kPhaseFlickerBack;
            break;
        }

        case kPhaseFlickerBack:  // flickering back: an odd number of toggles brings the eye home
            ToggleForm();
            if (aiTimer % 10 != 0) Building::GoBlackToggle();
            Shake(0, 8, 5, 120);
            if (--aiTimer < 0) {
                Building::UnBlack();
                aiTimer = 100;
                aiPhase = kPhaseHoldHome;
            }
            break;

        case kPhaseHoldHome:  // home, holding the player on the home wall
            Building::MovePlayerToPosition(kHomeSide, 4, 681);
            Building::scrollY = kArenaScroll;
            Building::LockScreen(kArenaScroll, kArenaScroll);
            side = kHomeSide;
            Building::UnBlack();
            if (aiTimer >= 0) --aiTimer;
            if (aiTimer < 0) aiPhase = kPhaseHomeAgain;
            break;

        case kPhaseHomeAgain:
            Building::UnBlack();
            aiTimer = 50;
            TransformBack();
            aiPhase = HP <= 10 ? kPhaseDeathStart : kPhaseExposed;
            break;

        case kPhaseDeathStart:
            aiTimer = 1500;
            if (Eng()) Eng()->MusicStop();
            aiPhase = kPhaseDying;
            break;

        case kPhaseDying:
            Dying();
            break;

        // The flying eye.
        case kPhaseFlyStart:
            aiTimer = 300;
            aiPhase = kPhaseFly;
            break;
        case kPhaseFly:
            FlyingEye();
            break;
        case kPhaseFlyShootPose:
            sprite->PlayAnimation(&aEyeShoot);
            aiPhase = kPhaseFlyShootWait;
            break;
        case kPhaseFlyShootWait:
            if (sprite->isAnimationFinishedNext()) {
                sprite->PlayAnimation(&aEyeFly);
                velX = velY = 0;
                aiPhase = kPhaseFlyRing;
            }
            break;
        case kPhaseFlyRing: {  // a ring of eight shots
            PlaySound(wavEBMegaBlast);
            const float bx = GetCenterX(), by = GetCenterY();
            for (int k = 0; k < 8; ++k) {
                const float a = static_cast<float>(k) * kPi / 4;
                auto* shot = new WallBlast(side, bx, by);
                shot->velX = -detmath::Cos(a) * 2;
                shot->velY = -detmath::Sin(a) * 2;
                entList.push_back(shot);
            }
            aiPhase = kPhaseFlyStart;
            break;
        }

        // The slit eye and its two robots.
        case kPhaseSmallStart: {
            aiTimer = 150;
            auto* right = new LaserClimber(side, 576, y + 80);
            auto* left = new LaserClimber(side, 0, y);
            left->sprite->pos = -1;
            left->velY = -left->velY;
            right->buddy = left;
            left->buddy = right;
            right->boss = this;
            left->boss = this;
            entList.push_back(right);
            entList.push_back(left);
            aiPhase = kPhaseSmall;
            break;
        }
        case kPhaseSmall:
            break;

        // The crawlers, one of which carries the eye.
        case kPhaseCrawlersStart: {
            wallDraw = hurtPlayer = canHit = canFlameHit = 0;
            const float tx = x / 64, ty = y / 64;
            const float at[4][2] = {{tx, ty}, {tx + 1, ty}, {tx, ty + 1}, {tx + 1, ty + 1}};
            for (int i = 0; i < 4; ++i) {
                auto* c = new EyeCrawler(side, at[i][0], at[i][1]);
                eCrawl[i] = c;
                entList.push_back(c);
            }
            EyeCrawler* carrier = eCrawl[std::rand() % 4];
            carrier->hasEye = 1;
            carrier->boss = this;
            y = 0;  // the eye itself is out of play
            aiTimer = 200;
            aiPhase = kPhaseCrawlers;
            break;
        }
        case kPhaseCrawlers:
            if (--aiTimer <= 0) CrawlerShot();
            break;

        default:  // kPhaseEnded: the ending runs
            break;
    }

    // A form's fight lasts at most so long, hurt or not.
    if (InFormFight() && --aiPhaseTimer <= 0) aiPhase = kPhaseFormEnd;
}

void FinalBoss::FlyingEye() {
    hurtPlayer = canHit = canFlameHit = 1;
    aiTimer -= 1;
    if (aiTimer % 150 == 0) {
        // Spiders drop from under the eye while its centre is over the wall's inner columns.
        const float tx = (x + cx + cw / 2) / 64;
        if (tx > 1 && tx < 8) {
            PlaySound(wavEBGoo);
            auto* s = new Spider(side, tx, (y + cy) / 64 + 1);
            s->y -= 32;
            entList.push_back(s);
        }
    }
    if (aiTimer <= 0) aiPhase = kPhaseFlyShootPose;

    Entity* player = Entity::ThePlayer();
    if (!player) return;
    switch (chasePhase) {
        case kChaseDrift:
            if (distToEntity(player) < 300) chasePhase = kChaseAim;
            if (velX > 0.1f)
                velX -= 0.1f;
            else if (velX < -0.1f)
                velX += 0.1f;
            else
                velX = 0;
            if (hasChased) {
                velY = 0;
                y += GetCenterY() > player->GetCenterY() ? -1 : 1;
                x += GetCenterX() > player->GetCenterX() ? -1 : 1;
            }
            break;
        case kChaseAim:
            hasChased = 1;
            chaseDeg = detmath::Atan2(GetCenterY() - player->GetCenterY(), GetCenterX() - player->GetCenterX());
            chasePhase = kChaseCharge;
            break;
        default:  // kChaseCharge
            if (std::fabs(velX) < chaseSpeed) velX -= 0.2f * detmath::Cos(chaseDeg);
            if (std::fabs(velY) < chaseSpeed) velY -= 0.2f * detmath::Sin(chaseDeg);
            if (distToEntity(player) > 250) chasePhase = kChaseDrift;
            break;
    }
}

void FinalBoss::CrawlerShot() {
    // One of the four, drawn at random, is told to fire; a shell already gone from the list hands
    // the order to the next one still there.
    const int first = std::rand() % 4;
    for (int k = 0; k < 4; ++k) {
        EyeCrawler* c = eCrawl[(first + k) % 4];
        if (!c || !c->alive) continue;
        aiTimer = c->ShootAtPlayer() ? 200 : 50;
        return;
    }
    aiTimer = 50;
}

void FinalBoss::Dying() {
    GameEngine* e = Eng();
    if (aiTimer <= 0) {
        aiPhase = kPhaseEnded;
        Building::scenePhase = Building::kSceneStart;
        return;
    }
    auto blast = [this] {
        const int ex = std::rand() % 512;
        const int ey = static_cast<int>(y) + std::rand() % 240 - 128;
        entList.push_back(new Explosion(side, ex, ey, FALSE));
    };
    if (aiTimer % 10 == 0) blast();
    if (aiTimer <= 1399) {
        if (aiTimer % 5 == 0) blast();
        Shake(8, 0, 5, 20);
    }
    if (aiTimer <= 799 && e) {
        if (e->fadePerc < 1) {
            e->fadePerc += 0.01f;
        } else {
            e->fadePerc = 1;
            aiPhase = kPhaseEnded;
            Building::scenePhase = Building::kSceneStart;
        }
    }
    aiTimer -= 1;
}

void FinalBoss::FormatDebugLine(char* out, int size) {
    FinalBoss* b = debug_boss;
    if (!b || size <= 0) {
        if (size > 0) out[0] = 0;
        return;
    }
    std::snprintf(out, static_cast<size_t>(size), "HP=%d, EntCount:%d", b->HP, static_cast<int>(entList.size()));
}
