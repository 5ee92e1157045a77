// The interactive player, written once for every home: the window, the page and the
// tests' own (frontend/home.h). It runs the game's own loop on the console model at the
// console's pace with the player's buttons and typed numbers; plays a recording first,
// at the console's pace or at once; keeps the year as it goes and brings it back; tells
// the player what happens and asks before anything replaces a kept year; notes the year
// month by month; and starts the next game when one ends.
#pragma once

#include <string>
#include <vector>

#include "frontend/recording.h"
#include "frontend/replay.h"

enum Keeping : u8 {
    KeepNothing,   // nothing is written
    KeepYear,      // the year is brought back at start and kept as it is played
    KeepRecording, // the session is written as it is played (--record), nothing brought back
};

struct PlayerSetup {
    u8 language = CFG_LANGUAGE_EN; // of a new game; a kept or played recording may say its own
    bool languageAsked = false;    // the command line named it: it wins over a recording's
    u64 seed = 0;                  // the console clock of the first new game, ms since 1900
    bool seedAsked = false;        // ?seed=: a kept year of another seed is asked about
    Keeping keeping = KeepNothing;
    bool asks = false;  // the home can ask the player (the page); else it never is (the window)
    bool speaks = false; // the home reads each new screen's text aloud (the page)
    bool paced = true;  // false: frames back to back (tests)
    // Played first at the console's pace, then the live buttons take over (--replay in the
    // window); it was accepted by the rule already.
    const ReplayScript* script = nullptr;
};

// Plays until the home closes, or START ends a game in a home that does not ask. Returns
// false when the session could not be written whole (KeepRecording).
bool playerRun(const PlayerSetup& setup);

// What the home tells the player.
// A key typed: '0' to '9', '\b' erases; '\n' is the A key, which confirms a number being
// typed. False when it is not the typing's (A with no number typed: the home presses A).
bool playerKey(char key);
// A new year, this one forgotten: the kept year is asked about first where the home asks.
void playerNewYear(void);
// A recording opened (a link, a file): it is judged by the rule when the game in play has
// ended; `failed` says why it could not even be read (a link cut short).
void playerOpen(const std::string& text, RecordingOrigin origin, const std::string& failed = "");
// The rest of the recording playing at the console's pace, at once.
void playerJumpToEnd(void);
// A comment in the recording before the next frame, such as "screenshot FILE".
void playerNote(const std::string& text);

// What the home asks of the player.
// What the screens show now, 400x480 RGB.
const std::vector<u8>& playerPicture(void);
// The session as a replay script, its seed and language first.
std::string playerRecording(void);
// The farm as the state file writes it.
std::string playerStateJson(void);
// The whole screen shown now as text, a line each, to be read again.
std::string playerScreenText(void);
// Whether a recording is being played at the console's pace (the page offers its end).
bool playerPlayingRecording(void);
