// What the window keeps between sessions: the game being played, as its recording, so
// that a closed window or a stray Escape loses nothing, and the player's layout.
#pragma once

#include <string>

#include "frontend/replay.h"

// $XDG_STATE_HOME/quorvandelle, or ~/.local/state/quorvandelle; empty when neither
// variable is set.
std::string stateFolder(void);

enum KeptGame { NoKeptGame, KeptGameRefused, KeptGameFound };

// Reads the kept game at `path` as the script that brings it back: the whole session
// up to the frame that ended it with START, which is left out so that the game goes on.
// A file that does not read back (edited, made by another version or with another
// C library's draws, without its seed) is refused with the reason, and left as it is.
KeptGame readKeptGame(const std::string& path, ReplayScript* script, std::string* why);

// The window's layouts, as the console's emulators offer them.
enum WindowLayout { BothScreens, UpperScreenOnly, SideBySide, kLayoutCount };

const char* layoutName(WindowLayout layout);
// The layout the settings file at `path` names; both screens when it names none.
WindowLayout readLayout(const std::string& path);
bool writeLayout(const std::string& path, WindowLayout layout, std::string* error);
