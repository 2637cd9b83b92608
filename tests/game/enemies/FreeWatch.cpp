#include "FreeWatch.h"

#include <cstddef>
#include <cstdlib>
#include <new>

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
