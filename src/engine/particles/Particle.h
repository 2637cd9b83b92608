// One short-lived particle of an emitter: it moves with constant acceleration, ages one step per
// update and, when asked to, fades from opaque to clear over its life. Colour particles draw as
// thin upright streaks, image particles as a tinted, scaled picture.
#pragma once

#include "platform/win32.h"

class GameEngine;
class GImage;
class Sprite;

class Particle {
public:
    GameEngine* gEngine;
    float x, y;
    float velX, velY;
    float accX, accY;
    int age;
    int maxAge;
    float size;
    BOOL fade;
    int side;

    Particle(GameEngine* sEngine, int sside, float sx, float sy, float ssize, int smaxAge);
    virtual ~Particle() {}
    Particle(const Particle&) = delete;
    Particle& operator=(const Particle&) = delete;

    // Every field from the arguments; age 0, still, not fading.
    virtual void Init(GameEngine* sEngine, int sside, float sx, float sy, float ssize, int smaxAge);
    // One step of motion and age; nothing once the particle has lived its life.
    virtual void Update(float ScrollX, float ScrollY);
    virtual void Draw(float ScrollX, float ScrollY) {}
    // Called once, on the update that ends the particle's life.
    virtual void Terminate() {}

    void SetVel(float svelX, float svelY) {
        velX = svelX;
        velY = svelY;
    }
    void SetAcc(float saccX, float saccY) {
        accX = saccX;
        accY = saccY;
    }

protected:
    // The colour the particle draws in: r, g, b over 255, alpha falling over the life when fading.
    void ApplyColor(int r, int g, int b);
};

class ColorParticle : public Particle {
public:
    int r, g, b;

    ColorParticle(GameEngine* sEngine, int sside, float sx, float sy, float ssize, int smaxAge, int sr, int sg, int sb);
    // A streak trunc(size) wide and 25 times as tall (before the engine's doubling).
    void Draw(float ScrollX, float ScrollY) override;
};

class ImgParticle : public ColorParticle {
public:
    Sprite* sprite;  // the whole picture; owned

    ImgParticle(GameEngine* sEngine, int sside, GImage* image, float sx, float sy, float ssize, int smaxAge, int sr,
                int sg, int sb);
    ~ImgParticle() override;
    // The picture tinted by r, g, b at scale size.
    void Draw(float ScrollX, float ScrollY) override;
};
