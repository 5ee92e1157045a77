// A player's session on the console model: the buttons of a replay script first, then
// the live ones. Every frame is recorded as the console's scan read it, so that the
// recording replays headless to the very same end. A number typed on a question becomes
// the console's own presses, fed one a frame and recorded as such.
#pragma once

#include <string>
#include <vector>

#include "frontend/replay.h"

// The largest number that can be typed: about a thousand presses, 17 seconds of frames.
constexpr s32 kMaxTypedNumber = 99999;

class PlayerSession {
  public:
    // Forgets the previous session; room for a long one is kept from the start, so that
    // recording does not allocate while playing.
    void start(const std::vector<ReplayRun>* script);

    // One scan of the buttons: the live ones in (held now, pressed since the last scan),
    // what the console reads out. While the script lasts its frames replace the live ones.
    // Returns the buttons newly down in this frame, as recorded.
    u32 scan(u32 liveHeld, u32 livePressed, u32* held, u32* pressedSinceLastScan);

    // In a script played at once: passes over the rest of a run with no button once its
    // first frames are played, recorded as frames all the same. Returns the frames.
    u64 skipIdle();

    // A comment in the recording before the next frame, such as "screenshot FILE".
    void note(const std::string& text);

    // A key typed by the player: '0' to '9' append a digit to the number on the question,
    // '\b' erases its last digit, '\n' presses A once the number is reached (on any screen).
    // The session feeds the fewest presses that reach the number, increases first; typing
    // while they are fed extends it, and a button pressed meanwhile stops them. False, with
    // the reason in the game's language, when the key is refused and changes nothing.
    bool type(char key, std::string* why);
    // Whether typed presses are still to be fed.
    bool typing() const { return confirm_ || presses_ != 0; }
    // Whether frames of the script are still to be played.
    bool playingScript() const { return script_.more(); }
    // The frames in which a button went down, so far.
    u64 pressFrames() const { return pressFrames_; }

    const std::vector<ReplayRun>& recording() const { return recording_.runs; }
    // The recording as a replay script, its seed and language first.
    std::string recordingText(u64 clockMs, u8 language) const;
    // The game to keep: the same, without the START that ended it, which may be taken back.
    std::string keptText(u64 clockMs, u8 language) const;
    // The same, in whole lines as the game goes: what was not taken yet, up to the last
    // run that a later frame has ended (a note ends the run it falls in); with `all`, the
    // run still open too, as when the session ends. The settings come with the first lines.
    std::string takeLines(u64 clockMs, u8 language, bool all);

  private:
    void aimAt(s32 target);
    void stopTyping();
    u32 typedPress();

    ReplayCursor script_;
    u32 heldAtLastScan_ = 0;
    u64 frames_ = 0;
    u64 pressFrames_ = 0;
    ReplayScript recording_;
    bool settingsTaken_ = false;
    u64 framesTaken_ = 0;
    size_t notesTaken_ = 0;
    size_t runTaken_ = 0;      // the first run not yet taken whole
    u64 framesBeforeRun_ = 0;  // the frames of the runs before it
    // Typed presses still to feed: how many of each of kTypedButtons, and A after them.
    s32 target_ = 0;
    s32 counts_[6] = {};
    s64 presses_ = 0;
    bool confirm_ = false;
};
