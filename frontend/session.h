// A player's session on the console model: the buttons of a replay script first, then
// the live ones. Every frame is recorded as the console's scan read it, so that the
// recording replays headless to the very same end.
#pragma once

#include <string>
#include <vector>

#include "frontend/replay.h"

class PlayerSession {
  public:
    // Forgets the previous session; room for a long one is kept from the start, so that
    // recording does not allocate while playing.
    void start(const std::vector<ReplayRun>* script);

    // One scan of the buttons: the live ones in (held now, pressed since the last scan),
    // what the console reads out. While the script lasts its frames replace the live ones.
    void scan(u32 liveHeld, u32 livePressed, u32* held, u32* pressedSinceLastScan);

    // A comment in the recording before the next frame, such as "screenshot FILE".
    void note(const std::string& text);

    const std::vector<ReplayRun>& recording() const { return recording_.runs; }
    // The recording as a replay script, its seed and language first.
    std::string recordingText(u64 clockMs, u8 language) const;

  private:
    ReplayCursor script_;
    u32 heldAtLastScan_ = 0;
    u64 frames_ = 0;
    ReplayScript recording_;
};
