#include "frontend/session.h"

#include <stdlib.h>

#include <algorithm>

#include "frontend/controls.h"
#include "game/farm.h"

namespace {

// A whole game is a few thousand changes of buttons.
const size_t kRecordingRoom = 1 << 16;

// The presses that change the number, increases first: a decrease is ignored below 0, and
// once every increase is made no decrease can reach below the number typed.
const u32 kTypedButtons[6] = {KEY_R, KEY_DUP, KEY_DRIGHT, KEY_L, KEY_DDOWN, KEY_DLEFT};

s64 floorMod10(s64 n) { return ((n % 10) + 10) % 10; }

const char* inLanguage(const char* english, const char* french) {
    return farm.systemLanguage == CFG_LANGUAGE_FR ? french : english;
}

} // namespace

void PlayerSession::start(const std::vector<ReplayRun>* script) {
    script_ = ReplayCursor{};
    script_.runs = script;
    heldAtLastScan_ = 0;
    frames_ = 0;
    pressFrames_ = 0;
    recording_ = ReplayScript{};
    recording_.runs.reserve(kRecordingRoom);
    settingsTaken_ = false;
    framesTaken_ = 0;
    notesTaken_ = 0;
    runTaken_ = 0;
    framesBeforeRun_ = 0;
    stopTyping();
}

void PlayerSession::stopTyping() {
    for (s32& count : counts_) count = 0;
    presses_ = 0;
    confirm_ = false;
}

u64 PlayerSession::skipIdle() {
    u64 skipped = script_.skipIdle();
    if (skipped == 0) return 0;
    appendFrames(&recording_.runs, 0, skipped);
    frames_ += skipped;
    heldAtLastScan_ = 0;
    return skipped;
}

// The fewest presses from the number on the question to `target`: each of ones, tens and
// hundreds is either made up or overshot and taken back (9 is up, then left); more than
// nine of one kind is never fewest. The first of equal choices is kept.
void PlayerSession::aimAt(s32 target) {
    target_ = target;
    s64 change = (s64)target - farm.inputValue;
    s64 best[3] = {}, fewest = -1;
    for (s64 ones : {floorMod10(change), floorMod10(change) - 10}) {
        s64 rest = (change - ones) / 10;
        for (s64 tens : {floorMod10(rest), floorMod10(rest) - 10}) {
            s64 hundreds = (rest - tens) / 10;
            s64 presses = llabs(ones) + llabs(tens) + llabs(hundreds);
            if (fewest >= 0 && presses >= fewest) continue;
            fewest = presses, best[0] = hundreds, best[1] = tens, best[2] = ones;
        }
    }
    for (int i = 0; i < 3; i++) {
        counts_[i] = (s32)(best[i] > 0 ? best[i] : 0);
        counts_[i + 3] = (s32)(best[i] < 0 ? -best[i] : 0);
    }
    presses_ = fewest;
}

bool PlayerSession::type(char key, std::string* why) {
    bool digit = key >= '0' && key <= '9';
    if (!digit && key != '\b' && key != '\n') {
        *why = inLanguage("Only digits, erase and confirm are typed.", "Seuls les chiffres, l'effacement et la validation se tapent.");
        return false;
    }
    if (playingScript()) {
        *why = inLanguage("The recording is still playing.", "L'enregistrement se joue encore.");
        return false;
    }
    if (confirm_) {
        *why = inLanguage("The answer is still being entered.", "La réponse est encore en cours de saisie.");
        return false;
    }
    if (key == '\n') {
        confirm_ = true;
        return true;
    }
    if (!isQuestionPhase(farm.gameState)) {
        *why = inLanguage("Numbers are typed on a question.", "Les nombres se tapent sur une question.");
        return false;
    }
    s64 number = typing() ? target_ : farm.inputValue;
    number = digit ? number * 10 + (key - '0') : number / 10;
    if (number > kMaxTypedNumber) {
        *why = std::string(inLanguage("At most ", "Au plus ")) + std::to_string(kMaxTypedNumber) +
               inLanguage(": a longer number is refused.", " : un nombre plus long est refusé.");
        return false;
    }
    aimAt((s32)number);
    return true;
}

// The next typed press, or 0 when none is due.
u32 PlayerSession::typedPress() {
    for (int i = 0; i < 6; i++) {
        if (counts_[i] == 0) continue;
        counts_[i]--, presses_--;
        return kTypedButtons[i];
    }
    if (!confirm_) return 0;
    confirm_ = false;
    return KEY_A;
}

u32 PlayerSession::scan(u32 liveHeld, u32 livePressed, u32* held, u32* pressedSinceLastScan) {
    *held = liveHeld;
    *pressedSinceLastScan = livePressed;
    u32 scripted;
    if (script_.next(&scripted)) {
        // The live buttons wait for the end of the script; what they did meanwhile is dropped.
        *held = 0;
        *pressedSinceLastScan = scripted;
    } else if (typing()) {
        // One action a frame: a button of the player's own stops the typed presses there.
        if ((livePressed | newlyPressed(liveHeld, heldAtLastScan_)) != 0) {
            stopTyping();
        } else {
            *pressedSinceLastScan = typedPress();
        }
    }
    // What hidKeysDown returns this frame.
    u32 keysDown = *pressedSinceLastScan | newlyPressed(*held, heldAtLastScan_);
    heldAtLastScan_ = *held;
    appendFrames(&recording_.runs, keysDown, 1);
    frames_++;
    pressFrames_ += keysDown != 0;
    return keysDown;
}

void PlayerSession::note(const std::string& text) {
    recording_.notes.push_back(ReplayNote{frames_, text});
}

namespace {

void recordingSettings(ReplayScript* script, u64 clockMs, u8 language) {
    script->seed = clockMs;
    script->language = language;
    script->version = programVersion();
    script->draws = drawsHere();
}

} // namespace

std::string PlayerSession::recordingText(u64 clockMs, u8 language) const {
    ReplayScript script = recording_;
    recordingSettings(&script, clockMs, language);
    return formatReplayScript(script);
}

std::string PlayerSession::keptText(u64 clockMs, u8 language) const {
    ReplayScript script;
    script.runs = recording_.runs;
    cutAtStart(&script.runs);
    recordingSettings(&script, clockMs, language);
    return formatReplayScript(script);
}

std::string PlayerSession::takeLines(u64 clockMs, u8 language, bool all) {
    const std::vector<ReplayRun>& runs = recording_.runs;
    const std::vector<ReplayNote>& notes = recording_.notes;
    u64 end = all || runs.empty() ? frames_ : frames_ - runs.back().frames;
    if (notesTaken_ < notes.size()) end = std::max(end, notes.back().frame);
    if (settingsTaken_ && end <= framesTaken_ && notesTaken_ == notes.size()) return "";

    ReplayScript part;
    if (!settingsTaken_) recordingSettings(&part, clockMs, language);
    // From the first run not taken whole; the last run may still grow, so it stays there.
    u64 start = framesBeforeRun_;
    for (size_t run = runTaken_; run < runs.size() && start < end; run++) {
        u64 from = std::max(start, framesTaken_), to = std::min(start + runs[run].frames, end);
        if (from < to) part.runs.push_back(ReplayRun{runs[run].buttons, to - from});
        start += runs[run].frames;
    }
    for (; notesTaken_ < notes.size(); notesTaken_++) {
        part.notes.push_back(ReplayNote{notes[notesTaken_].frame - framesTaken_, notes[notesTaken_].text});
    }
    settingsTaken_ = true;
    framesTaken_ = std::max(end, framesTaken_);
    for (; runTaken_ + 1 < runs.size() && framesBeforeRun_ + runs[runTaken_].frames <= framesTaken_; runTaken_++) {
        framesBeforeRun_ += runs[runTaken_].frames;
    }
    return formatReplayScript(part);
}
