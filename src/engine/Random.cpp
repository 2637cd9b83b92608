// The game's random numbers come from rand(), seeded once from --seed. The sound libraries call
// rand() and random() too, from their own mixing thread, and in the C library both share one
// state: every sound would then shift the game's sequence by however far the mixer had got, and a
// replay would not play the same game twice. So the program defines these functions itself: calls
// from the game's thread use the game's generator, calls from any other thread a separate one.
#include "engine/Random.h"

#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace {
struct Generator {
    unsigned long long state = 1;
    void Seed(unsigned s) { state = s; }
    int Next() {
        // A 64-bit linear congruential step; the high bits give 31 good bits.
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) & 0x7FFFFFFF);
    }
};

Generator g_game;
Generator g_other;
std::mutex g_otherLock;
pthread_t g_gameThread;

std::atomic<bool> g_haveGameThread{false};

bool OnGameThread() {
    if (!g_haveGameThread.load(std::memory_order_acquire)) return true;
    return pthread_equal(pthread_self(), g_gameThread) != 0;
}

int Draw() {
    if (OnGameThread()) return g_game.Next();
    std::lock_guard<std::mutex> hold(g_otherLock);
    return g_other.Next();
}

void Plant(unsigned seed) {
    if (OnGameThread()) {
        g_game.Seed(seed);
        return;
    }
    std::lock_guard<std::mutex> hold(g_otherLock);
    g_other.Seed(seed);
}
}  // namespace

void RegisterGameThread() {
    g_gameThread = pthread_self();
    g_haveGameThread.store(true, std::memory_order_release);
}

// Where the game's sequence stands: part of the state a replay must reproduce.
unsigned long long GameRandomState() { return g_game.state; }

// glibc declares them as not throwing; other C libraries (the web build's) without that promise.
#ifdef __GLIBC__
#define BRACKMOOR_LIBC_NOEXCEPT noexcept
#else
#define BRACKMOOR_LIBC_NOEXCEPT
#endif

extern "C" {
int rand(void) BRACKMOOR_LIBC_NOEXCEPT { return Draw(); }
void srand(unsigned seed) BRACKMOOR_LIBC_NOEXCEPT { Plant(seed); }
long random(void) BRACKMOOR_LIBC_NOEXCEPT { return Draw(); }
void srandom(unsigned seed) BRACKMOOR_LIBC_NOEXCEPT { Plant(seed); }
}
