// Particle emitters: the random draws of a new particle, emission and bursts over long runs with
// every particle accounted for, and the pixels both kinds of particle put on the screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/GImage.h"
#include "engine/GameEngine.h"
#include "engine/Sprite.h"
#include "engine/particles/ParticleSystem.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

using testsupport::PixelAt;
using testsupport::ReadFrame;

namespace {

// Particles that count how many were made, deleted and terminated.
struct Tally {
    int made = 0, deleted = 0, terminated = 0;
};
Tally tally;

class CountedParticle : public Particle {
public:
    explicit CountedParticle(int life) : Particle(nullptr, 0, 0, 0, 1, life) { ++tally.made; }
    ~CountedParticle() override { ++tally.deleted; }
    void Terminate() override { ++tally.terminated; }
};

class CountingSystem : public ParticleSystem {
public:
    void CreateNew() override { pList.push_front(new CountedParticle(maxAge)); }
};

int Count(const std::vector<unsigned char>& f, unsigned rgb) {
    int n = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) n += PixelAt(f, x, y) == rgb;
    return n;
}

int Red(unsigned rgb) { return static_cast<int>(rgb >> 16); }

}  // namespace

TEST(Particles, NewParticleTakesElevenDrawsInOrder) {
    ColorParticleSystem s(&gEngine, 3, 100, 200, 10, 4, 30);
    s.SetPosition(100, 9, 200, 0);
    s.SetAge(30, -1);
    s.SetSize(4, 2);
    s.SetColor(200, 100, 0, -1, 250, 20);
    EXPECT_EQ(s.rRange, 55);  // 200 + 55 is the brightest red
    EXPECT_EQ(s.gRange, -1);
    EXPECT_EQ(s.bRange, 5);
    s.SetVelocity(-1.0f, 200, 0.5f, -1);
    s.SetAcceleration(0, 3, 0.25f, 10);
    s.SetFadeOn();

    srand(77);
    int d[12];
    for (int& v : d) v = rand();
    srand(77);
    s.CreateNew();
    // Every draw is taken, even for an empty range, so the next one is the twelfth.
    EXPECT_EQ(rand(), d[11]);

    ASSERT_EQ(s.pList.size(), 1u);
    auto* p = dynamic_cast<ColorParticle*>(s.pList.front());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->maxAge, 30);
    EXPECT_EQ(s.maxAgeRange, 0);  // -1 was rewritten
    EXPECT_EQ(s.gRange, 0);
    EXPECT_EQ(s.iVelYrange, 0);
    EXPECT_FLOAT_EQ(p->x, 100.0f + d[1] % 10);
    EXPECT_FLOAT_EQ(p->y, 200.0f);
    EXPECT_FLOAT_EQ(p->size, 4.0f + d[3] % 3);
    EXPECT_EQ(p->r, 200 + d[4] % 56);
    EXPECT_EQ(p->g, 0);
    EXPECT_EQ(p->b, 250 + d[6] % 6);
    EXPECT_FLOAT_EQ(p->velX, -1.0f + (d[7] % 201) / 100.0f);
    EXPECT_FLOAT_EQ(p->velY, 0.5f);
    EXPECT_FLOAT_EQ(p->accX, (d[9] % 4) / 100.0f);
    EXPECT_FLOAT_EQ(p->accY, 0.25f + (d[10] % 11) / 100.0f);
    EXPECT_TRUE(p->fade);
    EXPECT_EQ(p->side, 3);
    EXPECT_EQ(p->age, 0);

    // The next particle goes in front; SetFadeOff changes only particles made after it.
    s.SetFadeOff();
    s.CreateNew();
    EXPECT_NE(s.pList.front(), p);
    EXPECT_EQ(s.pList.back(), p);
    EXPECT_FALSE(s.pList.front()->fade);
    EXPECT_TRUE(p->fade);

    // Motion: the acceleration joins the velocity before the position moves.
    p->SetVel(1, -2);
    p->SetAcc(0.5f, 1);
    float x0 = p->x, y0 = p->y;
    p->Update(0, 0);
    p->Update(0, 0);
    EXPECT_FLOAT_EQ(p->x, x0 + 1.5f + 2.0f);
    EXPECT_FLOAT_EQ(p->y, y0 - 1.0f + 0.0f);
    EXPECT_EQ(p->age, 2);
}

TEST(Particles, EmissionAndBurstsAccountForEveryParticle) {
    tally = Tally();
    {
        CountingSystem s;
        s.Init(&gEngine, 0, 0, 3, 1, 5);
        EXPECT_FALSE(s.on);
        s.Update(0, 0);
        EXPECT_TRUE(s.pList.empty()) << "an emitter is off until started";

        // Continuous emission: at most one new particle per update, never above the cap.
        s.Start(FALSE);
        EXPECT_TRUE(s.on);
        for (int u = 0; u < 40; ++u) {
            int before = tally.made;
            s.Update(0, 0);
            EXPECT_LE(tally.made - before, 1);
            EXPECT_LE(s.pList.size(), 3u);
            EXPECT_EQ(tally.made - tally.deleted, static_cast<int>(s.pList.size()));
            int prevAge = 0;
            for (Particle* p : s.pList) {
                EXPECT_LT(p->age, p->maxAge);
                EXPECT_GE(p->age, prevAge);  // newest in front
                prevAge = p->age;
            }
            if (u < 3) {
                EXPECT_EQ(s.pList.size(), static_cast<size_t>(u + 1));
            }
        }
        EXPECT_EQ(tally.terminated, tally.deleted) << "every particle ends through Terminate once";

        // Toggled off, the live ones run out and none come.
        s.Toggle();
        EXPECT_FALSE(s.on);
        int made = tally.made;
        for (int u = 0; u < 5; ++u) s.Update(0, 0);
        EXPECT_TRUE(s.pList.empty());
        EXPECT_EQ(tally.made, made);

        // A burst replaces the live particles, all new, and leaves emission off.
        s.Start(FALSE);
        s.Update(0, 0);
        s.Update(0, 0);
        ASSERT_EQ(s.pList.size(), 2u);
        int deleted = tally.deleted;
        s.Start(TRUE);
        EXPECT_FALSE(s.on);
        EXPECT_EQ(tally.deleted, deleted + 2);
        ASSERT_EQ(s.pList.size(), 3u);
        for (Particle* p : s.pList) EXPECT_EQ(p->age, 0);
        for (int u = 0; u < 4; ++u) s.Update(0, 0);
        EXPECT_EQ(s.pList.size(), 3u);
        s.Update(0, 0);
        EXPECT_TRUE(s.pList.empty()) << "a burst all dies together";

        // StartOnce bursts at the cap SetMax gives; a cap below 0 counts as 0.
        s.SetMax(5);
        s.StartOnce();
        EXPECT_EQ(s.pList.size(), 5u);
        EXPECT_FALSE(s.on);
        s.SetMax(-2);
        EXPECT_EQ(s.maxParticles, 0);
        s.StartOnce();
        EXPECT_TRUE(s.pList.empty());

        // A lowered cap lets the live ones live out their lives and then holds.
        s.SetMax(4);
        s.Start(FALSE);
        for (int u = 0; u < 4; ++u) s.Update(0, 0);
        s.SetMax(1);
        s.Update(0, 0);
        EXPECT_EQ(s.pList.size(), 3u);  // the oldest died, none came
        for (int u = 0; u < 10; ++u) {
            s.Update(0, 0);
            EXPECT_LE(s.pList.size(), 3u);
        }
        EXPECT_EQ(s.pList.size(), 1u);

        // SetOff stops emission but the live particle keeps moving.
        s.SetOff();
        EXPECT_FALSE(s.on);
        int age = s.pList.front()->age;
        s.Update(0, 0);
        ASSERT_EQ(s.pList.size(), 1u);
        EXPECT_EQ(s.pList.front()->age, age + 1);

        // A lifetime of 0: the particle is gone at its first update, without Terminate.
        s.SetAge(0, 0);
        s.SetMax(2);
        s.StartOnce();
        int terminated = tally.terminated;
        s.Update(0, 0);
        EXPECT_TRUE(s.pList.empty());
        EXPECT_EQ(tally.terminated, terminated);

        // Init starts afresh and does not leak what is alive; the destructor deletes the rest.
        s.SetMax(3);
        s.SetAge(9, 0);
        s.StartOnce();
        s.Init(&gEngine, 0, 0, 2, 1, 9);
        EXPECT_TRUE(s.pList.empty());
        EXPECT_EQ(tally.made, tally.deleted);
        s.StartOnce();
    }
    EXPECT_EQ(tally.made, tally.deleted);
}

class ParticleRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::EnsureGL();
        dir = testsupport::MakeTempDir("particles");
        platform::SetDataDir(dir);
        std::vector<unsigned char> white(4 * 4 * 4, 255);
        ASSERT_TRUE(testsupport::WritePng(dir + "/dot.png", 4, 4, white));
    }
    void SetUp() override {
        gEngine.rotx = 0;
        gEngine.roty = 0;
        gEngine.ShakeX = gEngine.ShakeY = 0;
        glClearColor(0, 0, 0, 1);
        Clear();
        gEngine.ResetColor();
    }
    static void Clear() {
        gEngine.FlushQuads();  // what was drawn before goes before the clear
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    static std::string dir;
};
std::string ParticleRender::dir;

TEST_F(ParticleRender, ColourParticlesDrawTallStreaksThatFade) {
    ColorParticleSystem s(&gEngine, 0, 110, 70, 1, 2, 10);
    s.SetColor(255, 0, 128, 0, 0, 0);
    s.StartOnce();
    ColorParticle* p = static_cast<ColorParticle*>(s.pList.front());
    s.Draw(10, 20);  // the scroll is taken off: the box starts at (100, 50)
    auto f = ReadFrame();
    // Size 2 is a box 2 wide and 50 tall before the doubling: 4 x 100 screen pixels.
    EXPECT_EQ(Count(f, 0xFF8000u), 4 * 100);
    EXPECT_EQ(PixelAt(f, 100, 50), 0xFF8000u);
    EXPECT_EQ(PixelAt(f, 103, 149), 0xFF8000u);
    EXPECT_EQ(PixelAt(f, 104, 100), 0u);
    EXPECT_EQ(PixelAt(f, 101, 150), 0u);
    float c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_EQ(c[0] + c[1] + c[2] + c[3], 4.0f) << "the colour is reset after drawing";

    // The same particle on the wall that faces the viewer lands on the same pixels.
    Clear();
    p->side = 1;
    s.Draw(10, 20);
    EXPECT_EQ(Count(ReadFrame(), 0xFF8000u), 4 * 100);

    // Fading: half way through its life a particle is half clear; without fade it stays opaque.
    Clear();
    p->side = 0;
    p->fade = TRUE;
    p->age = 5;
    s.Draw(10, 20);
    int red = Red(PixelAt(ReadFrame(), 101, 60));
    EXPECT_NEAR(red, 128, 2);
    Clear();
    p->fade = FALSE;
    s.Draw(10, 20);
    EXPECT_EQ(PixelAt(ReadFrame(), 101, 60), 0xFF8000u);

    // A particle without a life draws opaque (a lifetime of 1, not a division by 0).
    Clear();
    p->fade = TRUE;
    p->age = 0;
    p->maxAge = 0;
    s.Draw(10, 20);
    EXPECT_EQ(PixelAt(ReadFrame(), 101, 60), 0xFF8000u);
    EXPECT_EQ(p->maxAge, 1);
}

TEST_F(ParticleRender, ImageParticlesDrawTheTintedPictureAtTheirSize) {
    GImage* dot = GImage::CreateNew("data/dot.png");
    ASSERT_TRUE(dot->loaded);
    ImgParticleSystem s(&gEngine, 0, dot, 200, 100, 2, 1, 8);
    s.SetColor(0, 0, 255, 0, 0, 0);
    s.SetSize(3, 0);
    s.StartOnce();
    ASSERT_EQ(s.pList.size(), 2u);
    auto* a = static_cast<ImgParticle*>(s.pList.front());
    auto* b = static_cast<ImgParticle*>(s.pList.back());
    EXPECT_EQ(a->sprite->framew, 4) << "the sprite shows the whole picture";
    b->x = 300;  // the second one apart from the first
    s.Draw(0, 0);
    auto f = ReadFrame();
    // A 4 x 4 picture at scale 3 covers 24 x 24 screen pixels, tinted green.
    EXPECT_EQ(Count(f, 0x00FF00u), 2 * 24 * 24);
    EXPECT_EQ(PixelAt(f, 200, 100), 0x00FF00u);
    EXPECT_EQ(PixelAt(f, 223, 123), 0x00FF00u);
    EXPECT_EQ(PixelAt(f, 224, 100), 0u);
    EXPECT_EQ(PixelAt(f, 300, 100), 0x00FF00u);

    // Moved by its velocity and scrolled; fading at three quarters of its life.
    Clear();
    a->fade = TRUE;
    a->SetVel(5, 0);
    b->maxAge = 100;
    for (int u = 0; u < 6; ++u) s.Update(0, 0);
    ASSERT_EQ(s.pList.size(), 2u);
    s.Draw(0, 40);
    f = ReadFrame();
    EXPECT_EQ(PixelAt(f, 199 + 30, 60), 0u);
    int green = static_cast<int>((PixelAt(f, 200 + 30, 60) >> 8) & 0xFF);
    EXPECT_NEAR(green, 64, 2);
    EXPECT_EQ(PixelAt(f, 300, 60), 0x00FF00u);

    // An image emitter without a picture makes particles that draw nothing.
    Clear();
    ImgParticleSystem none(&gEngine, 0, nullptr, 10, 10, 3, 1, 5);
    none.StartOnce();
    none.Draw(0, 0);
    EXPECT_EQ(Count(ReadFrame(), 0u), 640 * 480);
}
