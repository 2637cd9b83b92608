#include "engine/particles/Particle.h"

#include "engine/GameEngine.h"
#include "engine/Sprite.h"

Particle::Particle(GameEngine* sEngine, int sside, float sx, float sy, float ssize, int smaxAge) {
    Particle::Init(sEngine, sside, sx, sy, ssize, smaxAge);
}

void Particle::Init(GameEngine* sEngine, int sside, float sx, float sy, float ssize, int smaxAge) {
    gEngine = sEngine;
    side = sside;
    x = sx;
    y = sy;
    size = ssize;
    maxAge = smaxAge;
    age = 0;
    velX = velY = 0;
    accX = accY = 0;
    fade = FALSE;
}

void Particle::Update(float ScrollX, float ScrollY) {
    if (age >= maxAge) return;
    velX += accX;
    velY += accY;
    x += velX;
    y += velY;
    ++age;
    if (age == maxAge) Terminate();
}

void Particle::ApplyColor(int r, int g, int b) {
    if (maxAge == 0) maxAge = 1;  // a particle without a life draws as if it had one update
    float alpha = 1.0f - (static_cast<float>(age) / maxAge) * (fade ? 1.0f : 0.0f);
    gEngine->ResetColor();
    gEngine->SetColor(r / 255.0f, g / 255.0f, b / 255.0f, alpha);
}

ColorParticle::ColorParticle(GameEngine* sEngine, int sside, float sx, float sy, float ssize, int smaxAge, int sr,
                             int sg, int sb)
    : Particle(sEngine, sside, sx, sy, ssize, smaxAge), r(sr), g(sg), b(sb) {}

void ColorParticle::Draw(float ScrollX, float ScrollY) {
    if (!gEngine) return;
    ApplyColor(r, g, b);
    int w = static_cast<int>(size);
    gEngine->DrawBox(side, static_cast<int>(x - ScrollX), static_cast<int>(y - ScrollY), w, 25 * w, 0);
    gEngine->ResetColor();
}

ImgParticle::ImgParticle(GameEngine* sEngine, int sside, GImage* image, float sx, float sy, float ssize, int smaxAge,
                         int sr, int sg, int sb)
    : ColorParticle(sEngine, sside, sx, sy, ssize, smaxAge, sr, sg, sb),
      sprite(new Sprite(sside, sEngine, image, sx, sy, 0, 0, 1, 1)) {}

ImgParticle::~ImgParticle() { delete sprite; }

void ImgParticle::Draw(float ScrollX, float ScrollY) {
    if (!gEngine) return;
    ApplyColor(r, g, b);
    sprite->x = x - ScrollX;
    sprite->y = y - ScrollY;
    sprite->scale = size;
    sprite->side = side;
    sprite->Update();
    gEngine->ResetColor();
}
