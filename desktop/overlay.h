// What the window draws in the game's font over or beside the console's picture: the
// help, page after page, over the darkened picture; the advice on the question asked.
#pragma once

#include <string>
#include <vector>

#include "platform/ctru.h"

struct HelpPage {
    std::string title;
    std::vector<std::pair<std::string, std::string>> lines; // two columns, or one; two empty: a gap
};

// The help's sections in the game's font, each block kept whole on a page the size of the
// upper screen.
std::vector<HelpPage> helpPages(u8 language);

// Page `page` of `pages` as RGBA, 400x480: the text lit, the rest a dark veil. The last
// line says how the help goes on or closes.
void drawHelpPage(const std::vector<HelpPage>& pages, size_t page, u8 language, u8* rgba);

// The advice's lines in the game's font, each wrapped to the place's width, as RGBA rows
// `width` x `height`, clear between the letters: what a refusal said in yellow, the rest
// in light blue, unlike the console's own text.
void drawAdvice(const std::vector<std::string>& lines, int width, int height, u8* rgba);
