#include "frontend/session.h"

#include "frontend/controls.h"

namespace {

// A whole game is a few thousand changes of buttons.
const size_t kRecordingRoom = 1 << 16;

} // namespace

void PlayerSession::start(const std::vector<ReplayRun>* script) {
    script_ = ReplayCursor{};
    script_.runs = script;
    heldAtLastScan_ = 0;
    frames_ = 0;
    recording_ = ReplayScript{};
    recording_.runs.reserve(kRecordingRoom);
}

void PlayerSession::scan(u32 liveHeld, u32 livePressed, u32* held, u32* pressedSinceLastScan) {
    *held = liveHeld;
    *pressedSinceLastScan = livePressed;
    u32 scripted;
    if (script_.next(&scripted)) {
        // The live buttons wait for the end of the script; what they did meanwhile is dropped.
        *held = 0;
        *pressedSinceLastScan = scripted;
    }
    // What hidKeysDown returns this frame.
    u32 keysDown = *pressedSinceLastScan | newlyPressed(*held, heldAtLastScan_);
    heldAtLastScan_ = *held;
    appendFrames(&recording_.runs, keysDown, 1);
    frames_++;
}

void PlayerSession::note(const std::string& text) {
    recording_.notes.push_back(ReplayNote{frames_, text});
}

std::string PlayerSession::recordingText(u64 clockMs, u8 language) const {
    ReplayScript script = recording_;
    script.seed = clockMs;
    script.language = language;
    script.version = programVersion();
    script.draws = drawsHere();
    return formatReplayScript(script);
}
