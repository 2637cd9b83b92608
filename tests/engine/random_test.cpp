// The game's random sequence belongs to the game's thread: the sound libraries' calls from their
// mixing thread must not move it, or the same seed and input would not give the same game.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "engine/Random.h"

// The sound device opens its mixing thread before the game seeds its generator, so that thread
// may well draw first: the game's thread is the one registered, not the first to draw.
TEST(Random, TheGamesThreadIsTheRegisteredOneNotTheFirstToDraw) {
    std::thread([] {
        std::srand(99);
        (void)std::rand();
    }).join();
    RegisterGameThread();
    std::srand(1234);
    const unsigned long long seeded = GameRandomState();
    EXPECT_EQ(seeded, 1234u);
    (void)std::rand();
    EXPECT_NE(GameRandomState(), seeded);
    const unsigned long long now = GameRandomState();
    std::thread([] { (void)std::rand(); }).join();
    EXPECT_EQ(GameRandomState(), now);
}

TEST(Random, OtherThreadsDoNotDisturbTheGamesSequence) {
    RegisterGameThread();
    std::srand(1234);
    std::vector<int> plain;
    for (int i = 0; i < 20; ++i) plain.push_back(std::rand());

    std::srand(1234);
    std::vector<int> mixed;
    for (int i = 0; i < 20; ++i) {
        mixed.push_back(std::rand());
        // What a mixing thread does between two game frames.
        std::thread([] {
            std::srand(99);
            for (int k = 0; k < 100; ++k) {
                (void)std::rand();
                (void)random();
            }
        }).join();
    }
    EXPECT_EQ(plain, mixed);
    // random() on the game's thread is the same generator as rand().
    std::srand(7);
    int a = std::rand();
    srandom(7);
    EXPECT_EQ(static_cast<long>(a), random());
    for (int v : plain) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, RAND_MAX);
    }
}
