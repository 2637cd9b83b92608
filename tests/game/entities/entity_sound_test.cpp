// The hit sound of the base: it sounds when a hit leaves an even number of hit points.
#include <gtest/gtest.h>

#include "EntityFixture.h"
#include "engine/GSound.h"
#include "engine/GameEngine.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

namespace {

class EntityHitSound : public EntityListTest {
protected:
    static void SetUpTestSuite() {
        dir = testsupport::MakeTempDir("entity-sound");
        platform::SetDataDir(dir);
        ASSERT_TRUE(testsupport::WriteToneWav(dir + "/hit.wav", 22050 * 5, 8000));
        GameEngine e;
        e.SoundInit();
        int f, c;
        Uint16 fmt;
        open = Mix_QuerySpec(&f, &fmt, &c) != 0;
    }
    void SetUp() override {
        EntityListTest::SetUp();
        if (!open) GTEST_SKIP() << "no audio device, not even the dummy one";
        platform::SetDataDir(dir);
        GSound::SoundOn = TRUE;
        Mix_HaltChannel(-1);
        saved = Entity::wavBlockHit;
        Entity::wavBlockHit = new GSound("data/hit.wav");
        ASSERT_NE(Entity::wavBlockHit->sound, nullptr);
    }
    void TearDown() override {
        if (open) {
            Mix_HaltChannel(-1);
            delete Entity::wavBlockHit;
            Entity::wavBlockHit = saved;
        }
        EntityListTest::TearDown();
    }
    GSound* saved = nullptr;
    static std::string dir;
    static bool open;
};
std::string EntityHitSound::dir;
bool EntityHitSound::open = false;

TEST_F(EntityHitSound, SoundsOnEvenHitPointsIncludingZero) {
    Probe* e = Add(0, 0);
    e->HP = 3;
    e->Hit(0, 0);  // 2
    EXPECT_TRUE(Entity::wavBlockHit->isPlaying());
    Mix_HaltChannel(-1);
    e->Hit(0, 0);  // 1
    EXPECT_FALSE(Entity::wavBlockHit->isPlaying());
    e->Hit(0, 0);  // 0
    EXPECT_TRUE(Entity::wavBlockHit->isPlaying());
    Mix_HaltChannel(-1);
    // Below zero (hit again before the death in the next update): -1 is odd, -2 even.
    e->Hit(0, 0);
    EXPECT_FALSE(Entity::wavBlockHit->isPlaying());
    e->Hit(0, 0);
    EXPECT_TRUE(Entity::wavBlockHit->isPlaying());
}

TEST_F(EntityHitSound, IgnoredHitMakesNoSound) {
    Probe* e = Add(0, 0);
    e->HP = 3;
    e->canHit = 0;
    e->Hit(0, 0);
    EXPECT_FALSE(Entity::wavBlockHit->isPlaying());
}

}  // namespace
