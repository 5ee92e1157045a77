// What the window keeps between sessions: the game being played, as its recording, so
// that a closed window or a stray Escape loses nothing; and its screenshots. The
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
