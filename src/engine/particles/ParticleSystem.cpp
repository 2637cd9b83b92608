#include "engine/particles/ParticleSystem.h"

#include <cstdlib>

namespace {
// A random extra of 0..n; a range of -1 is rewritten to 0 first. Every call takes one rand(),
// whatever the range, so the sequence of draws does not depend on the ranges.
int R(int& n) {
    if (n == -1) n = 0;
    return static_cast<int>(rand() % (static_cast<long long>(n) + 1));
}
}  // namespace

void listEmptyDelete(std::list<Particle*>& l) {
    for (Particle* p : l) delete p;
    l.clear();
}

ParticleSystem::ParticleSystem() { Init(nullptr, 0, 0, 0, 0, 0); }

ParticleSystem::~ParticleSystem() { listEmptyDelete(pList); }

void ParticleSystem::Init(GameEngine* sEngine, int sx, int sy, int sMax, int ssize, int sage) {
    gEngine = sEngine;
    x = static_cast<float>(sx);
    y = static_cast<float>(sy);
    maxParticles = sMax;
    size = ssize;
    maxAge = sage;
    xRange = yRange = 0;
    sizeRange = 0;
    maxAgeRange = 0;
    side = 0;
    iVelX = iVelY = 0;
    iVelXrange = iVelYrange = 0;
    iAccX = iAccY = 0;
    iAccXrange = iAccYrange = 0;
    on = FALSE;
    fade = FALSE;
    // The emitter owns its particles: starting afresh must not leak the ones still alive.
    listEmptyDelete(pList);
}

void ParticleSystem::SetPosition(int sx, int sxr, int sy, int syr) {
    x = static_cast<float>(sx);
    xRange = sxr;
    y = static_cast<float>(sy);
    yRange = syr;
}

void ParticleSystem::SetVelocity(float sVelX, int sVelXrange, float sVelY, int sVelYrange) {
    iVelX = sVelX;
    iVelXrange = sVelXrange;
    iVelY = sVelY;
    iVelYrange = sVelYrange;
}

void ParticleSystem::SetAcceleration(float sAccX, int sAccXrange, float sAccY, int sAccYrange) {
    iAccX = sAccX;
    iAccXrange = sAccXrange;
    iAccY = sAccY;
    iAccYrange = sAccYrange;
}

void ParticleSystem::SetAge(int sa, int sar) {
    maxAge = sa;
    maxAgeRange = sar;
}

void ParticleSystem::SetSize(int ss, int ssr) {
    size = ss;
    sizeRange = ssr;
}

void ParticleSystem::Move(float sx, float sy) {
    x = sx;
    y = sy;
}

void ParticleSystem::SetMax(int m) { maxParticles = m < 0 ? 0 : m; }

void ParticleSystem::Start(BOOL onceOnly) {
    if (onceOnly) {
        listEmptyDelete(pList);
        for (int i = 0; i < maxParticles; ++i) CreateNew();
    }
    on = onceOnly ? FALSE : TRUE;
}

void ParticleSystem::Update(float ScrollX, float ScrollY) {
    if (on && static_cast<long long>(pList.size()) < maxParticles) CreateNew();
    for (auto it = pList.begin(); it != pList.end();) {
        Particle* p = *it;
        p->Update(ScrollX, ScrollY);
        if (p->age >= p->maxAge) {
            it = pList.erase(it);
            delete p;
        } else {
            ++it;
        }
    }
}

void ParticleSystem::Draw(float ScrollX, float ScrollY) {
    for (Particle* p : pList) p->Draw(ScrollX, ScrollY);
}

ParticleSystem::Draws ParticleSystem::DrawBasics(int r, int& rRange, int g, int& gRange, int b, int& bRange) {
    Draws d;
    d.maxAge = maxAge + R(maxAgeRange);
    d.x = x + R(xRange);
    d.y = y + R(yRange);
    d.size = static_cast<float>(size + R(sizeRange));
    d.r = r + R(rRange);
    d.g = g + R(gRange);
    d.b = b + R(bRange);
    return d;
}

void ParticleSystem::FinishNew(Particle* p) {
    float vx = iVelX + R(iVelXrange) / 100.0f;
    float vy = iVelY + R(iVelYrange) / 100.0f;
    p->SetVel(vx, vy);
    float ax = iAccX + R(iAccXrange) / 100.0f;
    float ay = iAccY + R(iAccYrange) / 100.0f;
    p->SetAcc(ax, ay);
    p->fade = fade;
}

ColorParticleSystem::ColorParticleSystem(GameEngine* sEngine, int sside, int sx, int sy, int sMax, int ssize,
                                         int sage) {
    Init(sEngine, sx, sy, sMax, ssize, sage);
    side = sside;
    r = g = b = 0;
    rRange = gRange = bRange = 0;
    on = FALSE;
}

void ColorParticleSystem::CreateNew() {
    Draws d = DrawBasics(r, rRange, g, gRange, b, bRange);
    Particle* p = new ColorParticle(gEngine, side, d.x, d.y, d.size, d.maxAge, d.r, d.g, d.b);
    pList.push_front(p);
    FinishNew(p);
}

void ColorParticleSystem::SetColor(int sr, int srr, int sg, int sgr, int sb, int sbr) {
    r = sr;
    rRange = srr;
    g = sg;
    gRange = sgr;
    b = sb;
    bRange = sbr;
    if (r + rRange >= 256) rRange = 255 - r;
    if (g + gRange >= 256) gRange = 255 - g;
    if (b + bRange >= 256) bRange = 255 - b;
}

ImgParticleSystem::ImgParticleSystem(GameEngine* sEngine, int sside, GImage* im, int sx, int sy, int sMax, int ssize,
                                     int sage)
    : ColorParticleSystem(sEngine, sside, sx, sy, sMax, ssize, sage), image(im) {}

void ImgParticleSystem::CreateNew() {
    Draws d = DrawBasics(r, rRange, g, gRange, b, bRange);
    Particle* p = new ImgParticle(gEngine, side, image, d.x, d.y, d.size, d.maxAge, d.r, d.g, d.b);
    pList.push_front(p);
    FinishNew(p);
}
