// Replay scripts: the buttons newly pressed in each frame, as text.
//
//   # a comment runs to the end of the line
//   seed=7 language=fr      settings, before the first frame only
//   version=1.0.0 draws=glibc   what made a recording (frontend/recording.h)
//   A . . DRIGHT*3 A+START  one token a frame; '.' is no button; *N repeats
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host_console.h"

struct ReplayRun {
    u32 buttons; // what hidKeysDown returns in each of these frames
    u64 frames;
};

// A comment that stands before frame `frame` (counted from 0) of a script.
struct ReplayNote {
    u64 frame;
    std::string text;
};

struct ReplayScript {
    std::optional<u64> seed;
    std::optional<u8> language;
    std::optional<std::string> version; // of the program that recorded it
    std::optional<std::string> draws;   // the C library whose rand() it played with
    std::vector<ReplayRun> runs;
    std::vector<ReplayNote> notes; // written by formatReplayScript; a parsed script has none
    u64 pressFrames = 0;           // the frames in which a button goes down
};

// Parses a whole script; on failure returns false and sets `error` to
// "NAME:LINE:COLUMN: what is wrong", with whatever it repeats of the text made printable.
bool parseReplayScript(std::string_view text, std::string_view name, ReplayScript* script,
                       std::string* error);

// The most frames one token may repeat: a year is about 10^4 frames.
constexpr u64 kMaxRepeat = 10000000;
// What a script may hold, far beyond what a player makes: a year is a few thousand
// presses in some kilobytes, on lines under a hundred bytes; a note names a file. Frames
// with no button are not bounded: they cost nothing to replay.
constexpr u64 kMaxPressFrames = 100000;
constexpr size_t kMaxLineBytes = 8192;
constexpr size_t kMaxTokenBytes = 256;

// Text repeated from the input in a message: at most `longest` characters, control
// characters and bytes that are not text written as \xHH, cut with "...".
std::string printable(std::string_view text, size_t longest = 40);
// The length of the character of text (UTF-8, no control character but tab and line
// ends) at `at`; 0 when the bytes there are not text.
size_t textCharacterLength(std::string_view text, size_t at);

// The C library whose rand() this program draws with: a recording replays to the same
// game only where the same one draws ("glibc", "newlib", "musl").
const char* drawsHere(void);
// This program's version.
const char* programVersion(void);

// "en", "fr" or a console language code 0-255.
std::optional<u8> parseLanguage(std::string_view text);
// A button by its name in scripts ("A", "DUP", ...; any case).
std::optional<u32> buttonMask(std::string_view name);
// A whole decimal number from 0 to 2^64 - 1.
std::optional<u64> parseU64(std::string_view text);

// START ends the game: the frames from the first that presses it on are cut, so that a
// kept game played again goes on where it was.
void cutAtStart(std::vector<ReplayRun>* runs);

// Adds `frames` frames of these buttons, folded into the last run when it has the same.
void appendFrames(std::vector<ReplayRun>* runs, u32 buttons, u64 frames);

// The script's text: settings first, then one token a run ("A+START", ".", "DUP*3"),
// and each note as a '#' comment line between the frames it stands between.
std::string formatReplayScript(const ReplayScript& script);
// The token of one frame's buttons, without a repeat count.
std::string formatButtons(u32 buttons);

// Frames with no button change nothing once a press has shown: its edit reaches the
// screen two frames later, and every frame is drawn whole. So a replay at once plays
// this many frames of a run with no button and counts the rest.
constexpr u64 kIdleFramesPlayed = 2;

// Frames from a script, one after another; no allocation while playing.
struct ReplayCursor {
    const std::vector<ReplayRun>* runs = nullptr;
    size_t run = 0;
    u64 usedInRun = 0;

    // The next frame's buttons; false when the script is over.
    bool next(u32* buttons);
    // Passes over the rest of a run with no button once kIdleFramesPlayed of its frames
    // are played; returns the frames passed over.
    u64 skipIdle();
    // Whether frames are left.
    bool more() const;
};

// Plays a script headless, frames back to back; the system asks the program to close
// after the script's last frame.
struct ScriptPlayer : HostFrontend {
    ReplayCursor cursor;
    u32 buttons = 0;

    bool keepRunning() override { return cursor.next(&buttons); }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = buttons;
    }
};
