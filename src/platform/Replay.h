// Recorded input: a text file of key presses and releases by frame number.
//
//   # comment
//   FRAME KEY down|up
//
// KEY is one of LEFT RIGHT UP DOWN X C Z ENTER ESCAPE, a letter A-Z or a digit 0-9. Frames count from
// 0; the events of a frame are applied before that frame's input handling; frames never decrease.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct ReplayEvent {
    long frame;
    int vk;  // virtual-key code
    bool down;
};

// The virtual-key code of a key name, or -1.
int KeyNameToVk(const std::string& name);
// The name of a key a replay can hold, or nullptr.
const char* VkToKeyName(int vk);

// Parses replay text; on failure returns false with "NAME:LINE: reason" in *error and *out empty.
bool ParseReplayText(const std::string& text, const std::string& name, std::vector<ReplayEvent>* out,
                     std::string* error);
bool LoadReplayFile(const std::string& file, std::vector<ReplayEvent>* out, std::string* error);

std::string FormatReplay(const std::vector<ReplayEvent>& events);

// Feeds a loaded replay into the game frame by frame.
class ReplayPlayer {
public:
    explicit ReplayPlayer(std::vector<ReplayEvent> events) : events_(std::move(events)) {}
    // Calls apply(vk, down) for every event of `frame`, in file order.
    template <class F>
    void ApplyFrame(long frame, F apply) {
        while (next_ < events_.size() && events_[next_].frame <= frame) {
            apply(events_[next_].vk, events_[next_].down);
            ++next_;
        }
    }
    bool Finished() const { return next_ >= events_.size(); }

private:
    std::vector<ReplayEvent> events_;
    size_t next_ = 0;
};

// Collects what the player pressed, ignoring auto-repeat.
class ReplayRecorder {
public:
    void Key(long frame, int vk, bool down);
    const std::vector<ReplayEvent>& Events() const { return events_; }

private:
    std::vector<ReplayEvent> events_;
    bool held_[256] = {};
};

}  // namespace platform
