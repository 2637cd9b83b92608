#include "game/bosses/CrabWalker.h"

#include <cstdlib>

#include "engine/GImage.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "game/enemies/WallBlast.h"
#include "game/player/Player.h"
#include "game/world/Building.h"
#include "game/world/Explosion.h"
#include "game/world/FallingBlock.h"

GImage* CrabWalker::sprite_sheet = nullptr;
GSound* CrabWalker::wavSmash = nullptr;
GSound* CrabWalker::wavDie = nullptr;

namespace {
constexpr float kSpeed = 1.5f;  // riding the edge, pixels per frame

void PlaySound(GSound* s) {
    if (s) s->Play();
}
}  // namespace

void CrabWalker::Init() {
    sprite_sheet = GImage::CreateNew("data/enemy/crabwalker.png");
    wavSmash = new GSound("data/enemy/stomp.wav");
}

CrabWalker::CrabWalker(int sside, int sx, int sy) {
    side = sside;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    sprite = new Sprite(side, GameEngine::gEngine, sprite_sheet, x, y, 64, 160, 0, 0);
    sprite->pos = 1;
    Sprite::SetAnimationData(&aIdle, 0, 3, 7, 0);
    Sprite::SetAnimationData(&aFire, 0, 6, 7, 1);
    Sprite::SetAnimationData(&aSpaz, 0, 1, 7, 0);
    Sprite::SetAnimationData(&aDead, 0, 5, 7, 2);
    cx = 26;
    cy = 86;
    cw = 32;
    ch = 140;
    isBoss = 1;
    HP = MaxHP = 200;
    bloodRate = 15;
    Idle();
    aiPhase = kPhaseLineUp;
    aiTimer = aiShotCount = aiLoop = 0;
    fireAmount = 10;
    AIdist = 48000;
}

void CrabWalker::FaceRightEdge() {
    x = kRightEntry;
    sprite->pos = 1;
    cx = 26;
    cy = 86;
    cw = 32;
    ch = 140;
}

void CrabWalker::FaceLeftEdge() {
    x = kLeftEntry;
    sprite->pos = -1;
    cx = 64;
    cy = 86;
    cw = 32;
    ch = 140;
}

void CrabWalker::Jump() {
    if (velX != 0) return;
    velX = x > 320 ? 15.0f : -15.0f;
}

void CrabWalker::SwitchEdges() {
    if (x > 320)
        FaceLeftEdge();
    else
        FaceRightEdge();
}

void CrabWalker::Fire(int fCount) {
    PlaySound(Entity::wavCrabShoot);
    aiShotCount += 1;
    for (int i = 0; i < fCount; ++i) {
        float bx = x + 20 + 2 * (std::rand() % 17);
        float by = y + 132 + 2 * (std::rand() % 24);
        WallBlast* shot = new WallBlast(side, bx, by);
        Entity::entList.push_back(shot);
        shot->velX = -2.0f * sprite->pos;
        shot->velY = 0;
        shot->waverY = 1;
    }
}

void CrabWalker::OffScreen() {
    // The dying crab leaves by its own rule, far below the screen, so that the screen is unlocked
    // exactly once.
}

void CrabWalker::Die() {
    if (aiPhase == kPhaseDying || dead) return;
    aiTimer = 0;
    aiPhase = kPhaseDying;
    sprite->SetAnimationOff();
    GameEngine::gEngine->MusicStop();
}

void CrabWalker::Update() {
    GameEngine* e = GameEngine::gEngine;
    Player* player = Player::Get();

    if (dead) {
        if (sprite->isAnimationFinishedNext()) {
            applyGravity = 1;
            sprite->SetAnimationOff();
        }
        if (y > Building::scrollY + 1440 && alive) {
            alive = false;
            Building::UnlockScreen();
            e->Shake(0, 8, 5, 120);
        }
    }

    // The crab freezes while the player is down.
    if (player && player->dead && !dead && sprite->isCurrentAnimation(&aIdle)) sprite->SetAnimationOff();

    // It follows the player round a corner, onto a random edge.
    if (player && side != player->side) {
        side = player->side;
        velX = 0;
        sprite->SetAnimationOff();
        Idle();
        if (std::rand() % 2 == 0) {
            x = kRightEntry;
            sprite->pos = 1;
        } else {
            x = kLeftEntry;
            sprite->pos = -1;
        }
    }

    // Beyond its resting line the crab is pulled back towards the screen and lands with a stomp.
    if (x > 320) {
        if (x > kRightRest) {
            velX -= 1;
        } else {
            if (velX < 0) {
                PlaySound(wavSmash);
                e->Shake(0, 8, 5, 30);
            }
            velX = 0;
        }
    } else {
        if (x < kLeftRest) {
            velX += 1;
        } else {
            if (velX > 0) {
                PlaySound(wavSmash);
                e->Shake(0, 8, 5, 30);
            }
            velX = 0;
        }
    }

    if (sprite->isCurrentAnimation(&aFire) && sprite->onFrameEnter(4)) Fire(10);

    Entity::Update();

    if (sprite->isCurrentAnimation(&aFire) && sprite->isAnimationFinished()) {
        sprite->SetAnimationOff();
        Idle();
    }

    // Dying: fifteen explosions over 150 frames, then the body goes limp.
    if (aiPhase == kPhaseDying && !dead) {
        aiTimer += 1;
        if (aiTimer % 10 == 0) {
            int ex = static_cast<int>(x) + cx - 64 + std::rand() % (cw - 64);
            int ey = static_cast<int>(y) + cy + std::rand() % (ch - 64);
            Entity::entList.push_back(new Explosion(side, ex, ey, FALSE));
        }
        if (aiTimer > 150) {
            dead = 1;
            sprite->PlayAnimation(&aDead);
        }
    }
}

void CrabWalker::AI() {
    Player* player = Player::Get();
    if (!player) return;
    const bool playerAlive = !player->dead;

    switch (aiPhase) {
        case kPhaseLineUp:  // ride the edge to line up with the player, then fire two volleys
            if (playerAlive && !sprite->isCurrentAnimation(&aFire)) {
                float py = player->GetCenterY();
                if (py < y + cy + ch / 4) {
                    y -= kSpeed;
                } else if (py > y + cy + ch - ch / 4) {
                    y += kSpeed;
                } else if (aiShotCount <= 1) {
                    fireAmount = 10;
                    sprite->PlayAnimation(&aFire);
                }
            }
            if (aiShotCount > 1) aiPhase = kPhaseLeap;
            break;

        case kPhaseLeap:  // leap off the edge
            Jump();
            aiShotCount = 0;
            aiPhase = kPhaseLeapLanding;
            break;

        case kPhaseLeapLanding:  // at the top of the leap, come back in on the other edge somewhere on screen
            if (velX == 0) {
                SwitchEdges();
                aiLoop += 1;
                y = Building::scrollY - cy - 64 + std::rand() % 480;
                if (aiLoop <= 3) {
                    aiPhase = kPhaseLineUp;
                } else {
                    aiLoop = 0;
                    aiPhase = kPhaseDescentTop;
                }
            }
            break;

        case kPhaseSecondDescent:  // change edges for the second descent
            if (velX == 0) {
                SwitchEdges();
                aiPhase = kPhaseDescentTop;
            }
            break;

        case kPhaseDescentTop:  // start the descent one tile above the screen
            y = Building::scrollY - cy - 64;
            aiPhase = kPhaseDescend;
            break;

        case kPhaseDescend:  // descend, firing one shot per tile
            y += kSpeed;
            if (static_cast<int>(GetCenterY()) % 64 == 0) Fire(1);
            if (y + cy > player->y + 240 || !playerAlive) {
                Jump();
                aiShotCount = 0;
                if (aiLoop <= 0) {
                    aiLoop = 1;
                    aiPhase = kPhaseSecondDescent;
                } else {
                    aiLoop = 0;
                    aiTimer = 0;
                    aiPhase = kPhaseShake;
                }
            }
            break;

        case kPhaseShake:  // shake in the middle of the edge
            if (velX == 0) {
                y = Building::scrollY + 240 - cy - ch / 2;
                sprite->PlayAnimation(&aSpaz);
            }
            if (aiTimer <= 199) {
                aiTimer += 1;
            } else {
                aiTimer = 0;
                Jump();
                Idle();
                aiPhase = kPhaseStomp;
            }
            break;

        case kPhaseStomp:  // stomp: every landing shakes a block loose from the building above
            if (velX == 0) {
                if (aiTimer == 0) {
                    aiTimer = 1;
                } else {
                    aiTimer = 0;
                    Jump();
                    Entity::entList.push_back(
                        new FallingBlock(side, 64 + std::rand() % 512, static_cast<int>(Building::scrollY) - 64));
                    aiLoop += 1;
                }
            }
            if (aiLoop > 6) {
                aiLoop = 0;
                aiPhase = kPhaseLineUp;
            }
            break;

        default:  // kPhaseDying: the death sequence runs in Update
            break;
    }
}
