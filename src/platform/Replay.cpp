#include "platform/Replay.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/TextFile.h"
#include "platform/win32.h"

namespace platform {

int KeyNameToVk(const std::string& name) {
    if (name == "LEFT") return VK_LEFT;
    if (name == "RIGHT") return VK_RIGHT;
    if (name == "UP") return VK_UP;
    if (name == "DOWN") return VK_DOWN;
    if (name == "ENTER") return VK_RETURN;
    if (name == "ESCAPE") return VK_ESCAPE;
    if (name.size() == 1) {
        char c = name[0];
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    }
    return -1;
}

const char* VkToKeyName(int vk) {
    static char single[256][2];
    switch (vk) {
        case VK_LEFT: return "LEFT";
        case VK_RIGHT: return "RIGHT";
        case VK_UP: return "UP";
        case VK_DOWN: return "DOWN";
        case VK_RETURN: return "ENTER";
        case VK_ESCAPE: return "ESCAPE";
        default: break;
    }
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        single[vk][0] = static_cast<char>(vk);
        single[vk][1] = 0;
        return single[vk];
    }
    return nullptr;
}

bool ParseReplayText(const std::string& text, const std::string& name, std::vector<ReplayEvent>* out,
                     std::string* error) {
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    long lastFrame = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = name + ":" + std::to_string(lineNo) + ": " + why;
        out->clear();  // a broken recording gives no events, not the ones before the fault
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream ls(line);
        std::string frameTok, keyTok, stateTok, extra;
        if (!(ls >> frameTok)) continue;  // blank or comment
        if (!(ls >> keyTok >> stateTok)) return fail("expected 'FRAME KEY down|up'");
        if (ls >> extra) return fail("unexpected '" + extra + "' after the key state");
        char* end = nullptr;
        errno = 0;
        long frame = std::strtol(frameTok.c_str(), &end, 10);
        if (errno != 0 || *end != 0 || frameTok.empty() || frameTok[0] == '-' || frameTok[0] == '+')
            return fail("frame '" + frameTok + "' is not a number of frames");
        if (frame < lastFrame) return fail("frame " + frameTok + " comes before frame " + std::to_string(lastFrame));
        int vk = KeyNameToVk(keyTok);
        if (vk < 0) return fail("unknown key '" + keyTok + "'");
        bool down;
        if (stateTok == "down")
            down = true;
        else if (stateTok == "up")
            down = false;
        else
            return fail("key state must be 'down' or 'up', not '" + stateTok + "'");
        out->push_back({frame, vk, down});
        lastFrame = frame;
    }
    return true;
}

bool LoadReplayFile(const std::string& file, std::vector<ReplayEvent>* out, std::string* error) {
    // A recording of hours of play is a few megabytes.
    const long long kMaxReplayBytes = 64LL * 1024 * 1024;
    std::string text;
    if (!ReadTextFile(file, "replay file", kMaxReplayBytes, &text, error)) return false;
    return ParseReplayText(text, file, out, error);
}

std::string FormatReplay(const std::vector<ReplayEvent>& events) {
    std::string s = "# brackmoor input recording: FRAME KEY down|up\n";
    for (const ReplayEvent& e : events) {
        const char* n = VkToKeyName(e.vk);
        if (!n) continue;
        s += std::to_string(e.frame) + " " + n + (e.down ? " down\n" : " up\n");
    }
    return s;
}

void ReplayRecorder::Key(long frame, int vk, bool down) {
    if (vk < 0 || vk > 255 || !VkToKeyName(vk)) return;
    if (held_[vk] == down) return;  // auto-repeat or a release we never saw pressed
    held_[vk] = down;
    events_.push_back({frame, vk, down});
}

}  // namespace platform
