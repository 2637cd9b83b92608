#include "platform/web/WebKeys.h"

#include <emscripten/html5.h>

#include <cstring>
#include <vector>

#include "platform/Settings.h"
#include "platform/win32.h"

namespace platform {
namespace {
struct KeyEvent {
    int vk;
    bool down;
};
std::vector<KeyEvent> g_pending;
bool g_installed = false;

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    // F11 and Alt+Enter are the page's (full screen); keys held down repeat in the browser but
    // not in the game.
    if (std::strcmp(e->code, "F11") == 0 || (e->altKey && std::strcmp(e->code, "Enter") == 0)) return EM_FALSE;
    int vk = DomCodeToVk(e->code);
    if (vk == 0) return EM_FALSE;
    if (!e->repeat) g_pending.push_back({vk, type == EMSCRIPTEN_EVENT_KEYDOWN});
    // The game's keys never reach the page (no scrolling, no find-as-you-type).
    return EM_TRUE;
}
}  // namespace

int DomCodeToVk(const std::string& code) {
    if (code.size() == 4 && code.compare(0, 3, "Key") == 0 && code[3] >= 'A' && code[3] <= 'Z') return code[3];
    if (code.size() == 6 && code.compare(0, 5, "Digit") == 0 && code[5] >= '0' && code[5] <= '9') return code[5];
    if (code.size() >= 2 && code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        int n = code[1] - '0';
        if (code.size() == 3 && code[2] >= '0' && code[2] <= '9')
            n = n * 10 + (code[2] - '0');
        else if (code.size() != 2)
            return 0;
        return n >= 1 && n <= 12 ? VK_F1 + n - 1 : 0;
    }
    static const struct {
        const char* code;
        int vk;
    } kNamed[] = {
        {"ArrowLeft", VK_LEFT},
        {"ArrowRight", VK_RIGHT},
        {"ArrowUp", VK_UP},
        {"ArrowDown", VK_DOWN},
        {"Enter", VK_RETURN},
        {"NumpadEnter", VK_RETURN},
        {"Escape", VK_ESCAPE},
        {"Space", VK_SPACE},
        {"Backspace", VK_BACK},
        {"Tab", VK_TAB},
        {"ShiftLeft", VK_SHIFT},
        {"ShiftRight", VK_SHIFT},
        {"ControlLeft", VK_CONTROL},
        {"ControlRight", VK_CONTROL},
        {"AltLeft", VK_MENU},
        {"AltRight", VK_MENU},
        {"Pause", VK_PAUSE},
        {"PageUp", VK_PRIOR},
        {"PageDown", VK_NEXT},
        {"Home", VK_HOME},
        {"End", VK_END},
        {"Insert", VK_INSERT},
        {"Delete", VK_DELETE},
        {"Numpad8", VK_UP},
        {"Numpad2", VK_DOWN},
        {"Numpad4", VK_LEFT},
        {"Numpad6", VK_RIGHT},
    };
    for (const auto& k : kNamed)
        if (code == k.code) return k.vk;
    return 0;
}

void InstallWebKeys() {
    if (g_installed) return;
    g_installed = true;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
}

void PostWebKeys() {
    for (const KeyEvent& k : g_pending) {
        // One physical key reaches every action bound to it.
        for (int vk : MapKey(CurrentSettings(), k.vk))
            if (vk > 0) PostMessageA(nullptr, k.down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk), 0);
    }
    g_pending.clear();
}

}  // namespace platform
