// Feeds arbitrary bytes to the progress readers as the unlocked-level file or the best-lives file
// (the first byte chooses): a file with any fault reads as holding nothing and is named once, with
// a line of it, however often it is read; a file without one gives values in range that read the
// same after the game writes them back.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "game/world/Progress.h"
#include "platform/Log.h"
#include "platform/Paths.h"

using namespace fuzzsupport;

namespace {
const int kMaxLives = 9999;  // the most a best-lives file may hold

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    platform::SetSaveDir(ScratchDir());
    platform::MakeFolders(ScratchDir() + "/data");
}

// How many messages reading twice gives, and checks they are well formed.
template <class Read>
int MessagesOfTwoReads(const std::string& path, const std::string& text, Read read) {
    const int before = platform::MessageCount();
    {
        QuietStderr quiet;
        read();
        read();
    }
    const int messages = platform::MessageCount() - before;
    if (messages > 1) Fail("a progress file was reported more than once");
    if (messages == 1) CheckMessage(platform::LastMessage(), path, text);
    return messages;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Setup();
    const bool lives = size > 0 && (data[0] & 1);
    const std::string text = size > 0 ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : "";
    const std::string path = ScratchDir() + (lives ? "/data/dist.dat" : "/data/color.dat");
    WriteFile(path, text);

    if (!lives) {
        int level = -1;
        const int messages = MessagesOfTwoReads(path, text, [&] { level = progress::ReadUnlock(); });
        if (level < 0 || level > 2) Fail("an unlocked level out of range");
        if (messages == 1 && level != 0) Fail("a broken unlock file still unlocked a level");
        if (messages == 0 && !progress::WriteUnlock(level)) Fail("cannot write the unlock file");
        if (messages == 0 && progress::ReadUnlock() != level) Fail("unlock write/read round trip");
        return 0;
    }
    progress::BestLives best;
    const int messages = MessagesOfTwoReads(path, text, [&] { best = progress::ReadBestLives(); });
    if (messages == 1 && (best.have[0] || best.have[1])) Fail("a broken lives file was partly applied");
    if (best.have[1] && !best.have[0]) Fail("a second value without a first");
    for (int i = 0; i < 2; ++i) {
        if (best.value[i] < 0 || best.value[i] > kMaxLives) Fail("best lives out of range");
        if (!best.have[i] && best.value[i] != 0) Fail("a missing value does not read as 0");
    }
    if (messages == 0 && best.have[1]) {
        if (!progress::WriteBestLives(best.value[0], best.value[1])) Fail("cannot write the lives file");
        progress::BestLives back = progress::ReadBestLives();
        if (!back.have[1] || back.value[0] != best.value[0] || back.value[1] != best.value[1])
            Fail("lives write/read round trip");
    }
    return 0;
}
