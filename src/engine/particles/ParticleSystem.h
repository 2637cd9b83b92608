// Particle emitters: an emitter owns its live particles and makes new ones with a randomised
// position, size, colour, lifetime, velocity and acceleration, either one per update (continuous
// emission, up to a cap) or all at once (a burst). Emitters are off when made.
//
// Every random extra is rand() % (range + 1) added to a base: ranges only add, so a spread around a
// value takes a lower base (velocity base -1.0 with range 200 gives -1.00 to 1.00; velocity and
// acceleration ranges are in hundredths). A range of -1 counts as 0.
#pragma once

#include <list>

#include "engine/particles/Particle.h"
#include "platform/win32.h"

class GameEngine;
class GImage;

// Deletes every particle of the list and leaves it empty.
void listEmptyDelete(std::list<Particle*>& l);

class ParticleSystem {
public:
    GameEngine* gEngine;
    float x, y;
    int xRange, yRange;
    BOOL on;
    BOOL fade;
    int size, sizeRange;
    int maxAge, maxAgeRange;
    int maxParticles;
    int side;
    float iVelX;
    int iVelXrange;
    float iVelY;
    int iVelYrange;
    float iAccX;
    int iAccXrange;
    float iAccY;
    int iAccYrange;
    std::list<Particle*> pList;  // live particles, owned

    ParticleSystem();
    virtual ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Makes one particle at the front of the list (the plain emitter makes nothing).
    virtual void CreateNew() {}

    // Origin, cap, size and lifetime from the arguments; every range, the side, the motion and both
    // switches back to 0. Particles still alive are deleted.
    void Init(GameEngine* sEngine, int sx, int sy, int sMax, int ssize, int sage);

    void SetPosition(int sx, int sxr, int sy, int syr);
    void SetVelocity(float sVelX, int sVelXrange, float sVelY, int sVelYrange);
    void SetAcceleration(float sAccX, int sAccXrange, float sAccY, int sAccYrange);
    void SetAge(int sa, int sar);
    void SetSize(int ss, int ssr);
    // Moves the origin only; the ranges stay.
    void Move(float sx, float sy);

    // The cap on live particles and the size of a burst (below 0 counts as 0). Particles already
    // alive above a lowered cap live out their lives; no new ones come until the count drops below.
    void SetMax(int m);
    // Whether new particles fade out over their lives; particles already alive keep theirs.
    void SetFadeOn() { fade = TRUE; }
    void SetFadeOff() { fade = FALSE; }

    void Toggle() { on = !on; }
    // With onceOnly: replaces the live particles by a burst of maxParticles new ones and leaves
    // emission off. Without: starts continuous emission.
    void Start(BOOL onceOnly);
    // Stops continuous emission; the live particles live out their lives.
    void SetOff() { on = FALSE; }
    // A burst: Start(TRUE).
    void StartOnce() { Start(TRUE); }

    // Emits one particle if running and below the cap, then moves every particle once and deletes
    // those whose life is over.
    void Update(float ScrollX, float ScrollY);
    // Draws every particle, the scroll subtracted from its position.
    void Draw(float ScrollX, float ScrollY);

protected:
    // The random draws for one new particle, in the order they are taken.
    struct Draws {
        int maxAge;
        float x, y;
        float size;
        int r, g, b;
    };
    // Steps 1 and 2 of making a particle: normalised ranges and the draws for lifetime, position
    // and size, then the colour from the given bases and ranges (rewritten when -1).
    Draws DrawBasics(int r, int& rRange, int g, int& gRange, int b, int& bRange);
    // Steps 3 and 4: velocity, acceleration and fade of a particle just pushed to the front.
    void FinishNew(Particle* p);
};

class ColorParticleSystem : public ParticleSystem {
public:
    int r, g, b;
    int rRange, gRange, bRange;

    ColorParticleSystem(GameEngine* sEngine, int sside, int sx, int sy, int sMax, int ssize, int sage);

    void CreateNew() override;
    // Stores the colour and its ranges, each range cut so that base + range stays within 255.
    void SetColor(int sr, int srr, int sg, int sgr, int sb, int sbr);
};

class ImgParticleSystem : public ColorParticleSystem {
public:
    GImage* image;  // belongs to the image cache

    ImgParticleSystem(GameEngine* sEngine, int sside, GImage* im, int sx, int sy, int sMax, int ssize, int sage);

    void CreateNew() override;
};
