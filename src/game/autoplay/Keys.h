// The keys the automatic player holds for one frame, and the presses that make a climbing step or
// a shot: the same keys a person would hold.
#pragma once

#include "platform/win32.h"

namespace autoplay {

struct Keys {
    bool down[256] = {};
    void Clear() {
        for (bool& d : down) d = false;
    }
    // Arrows towards (dx, dy), each -1, 0 or 1.
    void Arrows(int dx, int dy) {
        if (dx) down[dx < 0 ? VK_LEFT : VK_RIGHT] = true;
        if (dy) down[dy < 0 ? VK_UP : VK_DOWN] = true;
    }
    // A climbing step by (dx, dy): the climb key with the arrows.
    void Step(int dx, int dy) {
        down[kClimb] = true;
        Arrows(dx, dy);
    }
    // A shot along (ax, ay): the fire key with the arrows.
    void Fire(int ax, int ay) {
        down[kFire] = true;
        Arrows(ax, ay);
    }

    static constexpr int kClimb = 'X';
    static constexpr int kFire = 'C';
    static constexpr int kConfirm = VK_RETURN;
    static constexpr int kPause = VK_ESCAPE;
};

// Every key the automatic player uses, in the order their changes are passed to the game (and
// written into a recording).
constexpr int kPlayerKeys[] = {VK_LEFT,      VK_RIGHT,    VK_UP,          VK_DOWN,
                               Keys::kClimb, Keys::kFire, Keys::kConfirm, Keys::kPause};

}  // namespace autoplay
