// How to play: the rules and prices a new player needs, in the game's language, with
// the very numbers the farm applies. Written in the game's font (capitals, no accents),
// so that the window draws it as it is; the page and the README say the same.
#pragma once

#include <string>
#include <vector>

#include "platform/ctru.h"

struct HowToPlay {
    std::string title;
    std::vector<std::string> paragraphs; // a sale, a coupling, food, cages, the close, the value, the grades
};

// French for the console's French language code, else English, as the game.
HowToPlay howToPlay(u8 language);
