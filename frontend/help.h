// The help, written once for every home and in this order: the controls (what each does,
// and its keys or touch buttons), what a game controller plays, then how to play. The
// window draws it in the game's font, page after page; the page writes it out.
#pragma once

#include <string>
#include <vector>

#include "platform/ctru.h"

enum HelpFor { WindowHelp, PageHelp, TouchHelp };

struct HelpRow {
    std::string what, how;
};

struct HelpSection {
    std::string title;
    std::vector<HelpRow> rows;
    std::vector<std::string> paragraphs;
};

std::vector<HelpSection> helpSections(u8 language, HelpFor where);
// The same for the page, as JSON: [{"title":...,"rows":[[what,how],...],"paragraphs":[...]}, ...]
std::string helpJson(u8 language, HelpFor where);
