// What a home does for the player (frontend/player.h): the window, the page and the
// tests' own each give these plain functions of their devices, in one file of their
// own. They decide nothing about the game.
#pragma once

#include <string>
#include <vector>

#include "platform/ctru.h"

// Input: handles whatever the home received since the last call (its own keys too:
// help, layout, typing, which it hands to the player) and gives the console's buttons
// held now and those that went down since the last call, even if up again.
void homeButtons(u32* held, u32* pressed);

// Picture: what the console's screens show, 400x480 RGB in the screenshot's layout, each
// time it changes.
void homeShow(const u8* rgb);

// Clock: a steady time in nanoseconds, and a sleep until such a time.
u64 homeNowNs(void);
void homeSleepUntilNs(u64 ns);

// Whether the game waits (the window minimised, the page hidden, the help open), and a
// wait that returns once it need not, or once the home is closing.
bool homePaused(void);
void homeWaitWhilePaused(void);

// Whether the player closed the home (the window's close button).
bool homeClosing(void);

// Storage of the year being kept. Only one copy of the game keeps a year at a time:
// homeHoldYear holds it for this one, false (with why) when another holds it; with
// `takeOver` it takes it from the other, which stops keeping it. Then: the year's text as
// last written; the text written whole in place of it; lines added to it, in whole lines
// or not at all. False, with the reason, when it cannot be done.
bool homeHoldYear(bool takeOver, std::string* why);
enum KeptRead { NothingKept, KeptFound, KeptUnreadable };
KeptRead homeReadKept(std::string* text, std::string* why);
bool homeKeepWhole(const std::string& text, std::string* why);
bool homeKeepLines(const std::string& lines, std::string* why);

// Notices: one that leaves by itself after a few seconds, or a state that stays shown
// until another replaces it (an empty text clears it).
enum NoticeKind { PassingNotice, LastingNotice };
void homeTell(NoticeKind kind, const std::string& text);

// A question with one or two answers, in the player's words; returns the answer's index.
// Only a home that can ask is asked (PlayerSetup::asks).
int homeAsk(const std::string& question, const std::string& first, const std::string& second);

// The year's months, as MonthHistory::table writes them, when a year has ended; empty
// when a new one begins.
void homeYear(const std::string& table);

// Beside the screens: advice on the question being asked (frontend/advice.h), each time it
// changes; none on other screens.
void homeAdvice(const std::vector<std::string>& lines);

// For a home that reads the game aloud (PlayerSetup::speaks): what the screen shown now
// says that the one before did not, a line each.
void homeSay(const std::string& text);
