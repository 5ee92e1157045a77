// What the window keeps between sessions: the game being played, as its recording, so
// that a closed window or a stray Escape loses nothing, and the player's layout. The
// session's storage for the player (frontend/home.h) is a file: the kept year, or
// --record's.
#pragma once

#include <string>

// $XDG_STATE_HOME/quorvandelle, or ~/.local/state/quorvandelle; empty when neither
// variable is set.
std::string stateFolder(void);

// The file the player's session is read from and written to.
void keepSessionAt(const std::string& path);

// F12: the picture as a PNG in `folder`, named with the date and time and noted in the
// recording at its frame; the player is told where it went. Returns the file's path, or
// "" when it failed.
std::string saveScreenshot(const std::string& folder);

// The window's layouts, as the console's emulators offer them.
enum WindowLayout { BothScreens, UpperScreenOnly, SideBySide, kLayoutCount };

const char* layoutName(WindowLayout layout);
// The layout the settings file at `path` names; both screens when it names none.
WindowLayout readLayout(const std::string& path);
bool writeLayout(const std::string& path, WindowLayout layout, std::string* error);
