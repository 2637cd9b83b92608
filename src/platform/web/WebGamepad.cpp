// clang-format off
// (the JavaScript inside EM_ASM and EM_JS must stay exactly as written)
// Joystick 0 through the browser's Gamepad API. The page always has this one joystick: it follows
// the first pad connected (also one connected after the start) and is neutral while there is none,
// so a browser's empty pad slots never show as joysticks that cannot be opened. Buttons are
// numbered as the Linux driver numbers a common pad, so the native default buttons fit.
#include <SDL/SDL.h>
#include <emscripten.h>

namespace {
constexpr int kButtons = 11;
SDL_Joystick* const kPad = reinterpret_cast<SDL_Joystick*>(1);
int g_axis[2] = {0, 0};
unsigned g_buttons = 0;

// Reads the first connected pad: the left stick or the pad's cross as two axes, and the buttons
// reordered from the browser's standard layout (A B X Y LB RB back start guide LS RS).
EM_JS(int, ReadFirstPad, (int* axes, unsigned* buttons), {
    var pads = (navigator.getGamepads ? navigator.getGamepads() : []) || [];
    var pad = null;
    for (var i = 0; i < pads.length; i++) if (pads[i] && pads[i].connected) { pad = pads[i]; break; }
    HEAP32[axes >> 2] = 0;
    HEAP32[(axes >> 2) + 1] = 0;
    HEAPU32[buttons >> 2] = 0;
    if (!pad) return 0;
    function pressed(b) { var x = pad.buttons[b]; return !!x && (x.pressed || x.value > 0.5); }
    var standard = pad.mapping === 'standard';
    var order = standard ? [0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11] : [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10];
    var bits = 0;
    for (var n = 0; n < order.length; n++) if (pressed(order[n])) bits |= 1 << n;
    HEAPU32[buttons >> 2] = bits >>> 0;
    var x = pad.axes.length > 0 ? pad.axes[0] : 0, y = pad.axes.length > 1 ? pad.axes[1] : 0;
    if (standard) {
        if (pressed(14)) x = -1;
        if (pressed(15)) x = 1;
        if (pressed(12)) y = -1;
        if (pressed(13)) y = 1;
    }
    HEAP32[axes >> 2] = Math.round(Math.max(-1, Math.min(1, x)) * 32767);
    HEAP32[(axes >> 2) + 1] = Math.round(Math.max(-1, Math.min(1, y)) * 32767);
    return 1;
});
}  // namespace

extern "C" {

int SDL_NumJoysticks(void) { return EM_ASM_INT({ return navigator.getGamepads ? 1 : 0; }); }

SDL_Joystick* SDL_JoystickOpen(int index) { return index == 0 ? kPad : nullptr; }

void SDL_JoystickClose(SDL_Joystick*) {}

void SDL_JoystickUpdate(void) {
    unsigned buttons = 0;
    ReadFirstPad(g_axis, &buttons);
    g_buttons = buttons;
}

int SDL_JoystickNumAxes(SDL_Joystick* pad) { return pad == kPad ? 2 : 0; }
int SDL_JoystickNumButtons(SDL_Joystick* pad) { return pad == kPad ? kButtons : 0; }

Sint16 SDL_JoystickGetAxis(SDL_Joystick* pad, int axis) {
    if (pad != kPad || axis < 0 || axis > 1) return 0;
    return static_cast<Sint16>(g_axis[axis]);
}

Uint8 SDL_JoystickGetButton(SDL_Joystick* pad, int button) {
    if (pad != kPad || button < 0 || button >= kButtons) return 0;
    return (g_buttons >> button) & 1u;
}

}  // extern "C"
