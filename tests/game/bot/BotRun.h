// What the in-process runs of the automatic player share: their environment switches, starting a
// game as the headless runner would, the frame loop with the player pressing keys through the
// harness (as --autoplay does), a description of the player's surroundings for failure messages,
// and writing the recording with its trace.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/GameEngine.h"
#include "engine/RunOptions.h"
#include "game/autoplay/Autoplay.h"
#include "game/entities/Blood.h"
#include "game/entities/Entity.h"
#include "game/flow/MainFile.h"
#include "game/player/Player.h"
#include "platform/Options.h"
#include "platform/Paths.h"
#include "platform/Replay.h"
#include "support/TestSupport.h"

namespace platform {
void ResetMessageQueue();
bool QuitRequested();
}  // namespace platform

namespace botrun {

inline std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// BRACKMOOR_BOT_SEED, or the run's own seed.
inline unsigned SeedOr(unsigned fallback) {
    const std::string v = Env("BRACKMOOR_BOT_SEED");
    return v.empty() ? fallback : static_cast<unsigned>(std::atol(v.c_str()));
}

// Starts a game in this process as the headless runner would: the shipped data, a fresh progress
// folder made under `tag` (holding `unlock` as the unlocked level when above 0), the seed, the
// recording of the keys into `record` and the trace beside it (FILE.trace for FILE.replay) when
// `record` is given, and nothing drawn unless `drawn`. False when a step fails.
inline bool StartGame(const char* tag, unsigned seed, int unlock, const std::string& record, bool drawn) {
    platform::SetDataDir(BRACKMOOR_DATA_DIR);
    const std::string save = testsupport::MakeTempDir(tag);
    if (save.empty()) return false;
    if (unlock > 0 && !testsupport::WriteText(save + "/color.dat", std::to_string(unlock))) return false;
    platform::SetSaveDir(save);
    platform::Options& o = platform::CurrentOptions();
    o.haveSeed = true;
    o.seed = seed;
    if (!record.empty()) {
        o.recordFile = record;
        o.traceFile = record.substr(0, record.rfind(".replay")) + ".trace";
        if (!runoptions::Prepare()) return false;
    }
    if (!drawn) testsupport::UseRenderFree();
    GameEngine::gEngine = &gEngine;
    // The game's start-up claims this thread as the game's, before the sound device mixes on another.
    GameInit(&gEngine, nullptr);
    GameStart(&gEngine);
    return true;
}

// Runs frames with `player` pressing the keys until after(frame) says to stop (it may fail the
// test too) or maxFrames have run. Returns the number of frames run.
// BRACKMOOR_BOT_VERBOSE=1 prints what the player is doing every 500 frames.
template <class After>
long Play(autoplay::Autoplay* player, long maxFrames, After after) {
    const bool verbose = !Env("BRACKMOOR_BOT_VERBOSE").empty();
    player->Start();
    for (long frame = 0; frame < maxFrames; ++frame) {
        gEngine.RunFrame();
        if (verbose && frame % 500 == 0) std::printf("frame %ld: %s\n", frame, player->Bot().Status().c_str());
        if (!after(frame)) return frame + 1;
    }
    return maxFrames;
}

// What the player is doing and what stands near it on its wall: the things a failure should name.
inline std::string Situation(const autoplay::Autoplay& player) {
    Player* p = Player::Get();
    std::string out = player.Bot().Status();
    if (!p) return out;
    out += "; lives " + std::to_string(Player::Lives) + ", side " + std::to_string(p->side) + " tile (" +
           std::to_string(p->tX) + ", " + std::to_string(p->tY) + ")";
    for (Entity* e : Entity::entList) {
        if (e == p || e->side != p->side || e->dead || dynamic_cast<Blood*>(e)) continue;
        const int tx = static_cast<int>(std::floor(e->GetCenterX() / 64.0f));
        const int ty = static_cast<int>(std::floor(e->GetCenterY() / 64.0f));
        if (std::abs(ty - p->tY) > 6) continue;
        out += "\n  " + std::string(e->ClassName()) + " at (" + std::to_string(tx) + ", " + std::to_string(ty) + ")" +
               (e->canHit ? "" : ", cannot be shot") + (e->hurtPlayer ? ", harmful" : "");
    }
    for (const std::string& note : player.Bot().DeathNotes()) out += "\n  life lost: " + note;
    return out;
}

// Writes the recorded keys under `head` into the recording and finishes the trace; the recording
// stops there.
inline bool WriteRecording(const std::string& head) {
    platform::Options& o = platform::CurrentOptions();
    const bool written = platform::WriteFileAtomically(o.recordFile, head + runoptions::RecordingText());
    o.recordFile.clear();
    const bool traced = runoptions::Finish(&gEngine);
    o.traceFile.clear();
    return written && traced;
}

}  // namespace botrun
