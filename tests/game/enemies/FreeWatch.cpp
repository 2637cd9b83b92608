#include "FreeWatch.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define FREEWATCH_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FREEWATCH_ASAN 1
#endif
#endif

#ifdef FREEWATCH_ASAN
// Under AddressSanitizer the allocator is the sanitizer's: replacing operator delete here would
// mix its allocations with free(). A freed block sits poisoned in its quarantine instead, which
// tells the same thing.
#include <sanitizer/asan_interface.h>

namespace {
const void* gWatched = nullptr;
}  // namespace

namespace freewatch {
void Watch(const void* ptr) { gWatched = ptr; }
bool Freed() { return gWatched && __asan_address_is_poisoned(gWatched); }
}  // namespace freewatch

#else

namespace {
const void* gWatched = nullptr;
bool gFreed = false;
void NoteFree(void* ptr) {
    if (ptr && ptr == gWatched) gFreed = true;
}
}  // namespace

namespace freewatch {
void Watch(const void* ptr) {
    gWatched = ptr;
    gFreed = false;
}
bool Freed() { return gFreed; }
}  // namespace freewatch

void* operator new(std::size_t n) {
    if (void* ptr = std::malloc(n ? n : 1)) return ptr;
    throw std::bad_alloc();
}
void operator delete(void* ptr) noexcept {
    NoteFree(ptr);
    std::free(ptr);
}
void operator delete(void* ptr, std::size_t) noexcept {
    NoteFree(ptr);
    std::free(ptr);
}

#endif
