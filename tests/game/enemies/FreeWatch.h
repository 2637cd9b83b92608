// Lets a test see whether one particular heap block has been freed: this test program replaces the
// global operator delete, which notes when the watched block goes.
#pragma once

namespace freewatch {
// Watches ptr (null stops watching) and forgets any earlier free.
void Watch(const void* ptr);
// Whether the watched block has been freed since Watch.
bool Freed();
}  // namespace freewatch
