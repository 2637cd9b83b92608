// The ending: the character falls through a sky of drifting clouds above a distant city while the
// credits fade in and out one card at a time; then the picture fades to black and a key quits.
#include <algorithm>

#include "engine/GImage.h"
#include "engine/GL.h"
#include "engine/GMusic.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "game/flow/Credits.h"
#include "game/player/Player.h"
#include "game/world/Building.h"

namespace {

// A whole-picture sprite, made once and kept for any later ending.
void MakeOnce(Sprite*& sp, GImage* image, float x, float y) {
    if (sp) return;
    sp = new Sprite(0, GameEngine::gEngine, image, x, y, 0, 0, 0, 0);
}

// Clouds rise and wrap round; the copy drawn below keeps the sky filled.
void Drift(Sprite* sp, float speed) {
    if (!sp) return;
    sp->y -= speed;
    const float span = 2.0f * static_cast<float>(sp->frameh);
    if (sp->y < -span) sp->y += span;
}

void DrawTwice(Sprite* sp) {
    if (!sp) return;
    sp->Update();
    const float y0 = sp->y;
    sp->y = y0 + 2.0f * static_cast<float>(sp->frameh);
    sp->Draw();
    sp->y = y0;
}

}  // namespace

void Building::UpdateFinalScene() {
    GameEngine* e = GameEngine::gEngine;
    float& fade = e->fadePerc;
    switch (scenePhase) {
        case kSceneStart: {
            MakeOnce(creditSp, creditClouds, 0, 0);
            MakeOnce(creditCitySp, creditCity, 0, 240);
            MakeOnce(creditClouds2Sp, creditClouds2, 0, 0);
            sceneTimer = 0;
            if (Player* p = Player::Get()) p->sprite->PlayAnimation(&p->aDeadFall);
            e->MusicLoop(endMus);
            scenePhase = kSceneFall;
            break;
        }
        case kSceneFall:
            if (++sceneTimer > 150) {
                sceneTimer = 0;
                scenePhase = kSceneVeilLifts;
            }
            break;
        case kSceneVeilLifts:
            if (fade > 0) fade -= 0.0025f;
            if (!(fade > 0)) {
                fade = 0;
                scenePhase = kSceneCreditsStart;
            }
            break;
        case kSceneCreditsStart:
            sceneTimer = 0;
            scenePhase = kSceneFirstCard;
            break;
        case kSceneCreditsEnd:
            sceneTimer = 0;
            scenePhase = kSceneVeilCloses;
            break;
        case kSceneVeilCloses:  // it ends at exactly 1, where a key quits
            ++sceneTimer;
            fade = fade < 1.0f ? std::min(1.0f, fade + 0.001f) : 1.0f;
            break;
        default:
            if (scenePhase >= kSceneFirstCard && scenePhase <= kSceneLastCard) {
                // Each card fades in over 200 frames and holds for 50 (odd step), then fades out.
                if (scenePhase % 2 == 1) {
                    if (++sceneTimer > 250) {
                        sceneTimer = 200;
                        ++scenePhase;
                    }
                } else if (--sceneTimer < 0) {
                    sceneTimer = 0;
                    ++scenePhase;
                }
            }
            break;
    }

    Drift(creditSp, 5);
    Drift(creditClouds2Sp, 10);
    if (creditCitySp) creditCitySp->y -= 0.1f;
}

void Building::DrawFinalScene() {
    static int textX = 256;
    static int textY = 180;
    GameEngine* e = GameEngine::gEngine;

    GameEngine::SetDepthTest(false);
    e->SetColor(0.4549f, 0.5490f, 0.1451f, 1.0f);
    e->DrawBox(0, 0, 0, 640, 480, 0);
    e->ResetColor();

    if (creditCitySp) creditCitySp->Update();
    DrawTwice(creditSp);
    if (Player* p = Player::Get()) {
        p->sprite->x = 256;
        p->sprite->y = 200;
        p->sprite->side = 0;
        p->sprite->Update();
    }
    DrawTwice(creditClouds2Sp);

    e->SetColor(0, 0, 0, e->fadePerc);
    e->DrawBox(0, 0, 0, 640, 480, 0);
    e->ResetColor();

    const credits::Card* card = credits::CardForPhase(scenePhase);
    if (card) {
        e->SetColor(0.0471f, 0.1216f, 0.0471f, static_cast<float>(sceneTimer) / 200.0f);
        if (card->lineCount == 1) {
            e->DrawTextA(static_cast<float>(textX), static_cast<float>(textY), "%s", card->lines[0]);
        } else {
            e->DrawTextA(64, static_cast<float>(textY), "%s", card->lines[0]);
            for (int i = 1; i < card->lineCount; ++i)
                e->DrawTextA(128, static_cast<float>(textY + 20 * i), "%s", card->lines[i]);
        }
        e->ResetColor();
    }
}
