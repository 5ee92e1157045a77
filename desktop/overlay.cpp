#include "desktop/overlay.h"

#include <string.h>

#include <algorithm>

#include "frontend/controls.h"
#include "frontend/help.h"
#include "frontend/outputs.h"
#include "gfx/render.h"

namespace {

const size_t kLinesOnPage = 21;

std::vector<std::string> wrapped(const std::string& text, size_t width) { return wrapText(inGameFont(text.c_str()), width); }

} // namespace

std::vector<HelpPage> helpPages(u8 language) {
    std::vector<HelpPage> pages;
    for (const HelpSection& section : helpSections(language, WindowHelp)) {
        // Blocks: a row in two columns (what, keys), or a paragraph; a block that does not
        // fit below the others starts a page of its own.
        std::vector<std::vector<std::pair<std::string, std::string>>> blocks;
        for (const HelpRow& row : section.rows) {
            std::vector<std::string> what = wrapped(row.what, 24), how = wrapped(row.how, 24);
            blocks.emplace_back();
            for (size_t i = 0; i < std::max(what.size(), how.size()); i++) {
                blocks.back().push_back({i < what.size() ? what[i] : "", i < how.size() ? how[i] : ""});
            }
        }
        for (const std::string& paragraph : section.paragraphs) {
            blocks.emplace_back();
            for (const std::string& line : wrapped(paragraph, 48)) blocks.back().push_back({line, ""});
        }
        pages.push_back({inGameFont(section.title.c_str()), {}});
        for (const auto& block : blocks) {
            if (!pages.back().lines.empty() && pages.back().lines.size() + 1 + block.size() > kLinesOnPage) {
                pages.push_back({pages.back().title, {}});
            }
            if (!pages.back().lines.empty()) pages.back().lines.push_back({"", ""});
            pages.back().lines.insert(pages.back().lines.end(), block.begin(), block.end());
        }
    }
    return pages;
}

void drawHelpPage(const std::vector<HelpPage>& pages, size_t page, u8 language, u8* rgba) {
    const HelpPage& shown = pages[page];
    std::vector<u8> screen(TOP_FRAMEBUFFER_BYTES, 0);
    drawText(shown.title.c_str(), (TOP_COLUMNS - 8 * (s32)shown.title.size()) / 2, 8, 255, 0, 0, screen.data(), 0);
    s32 y = 24;
    for (const auto& [left, right] : shown.lines) {
        if (left.empty() && right.empty()) {
            y += 4; // between two blocks
            continue;
        }
        drawText(left.c_str(), 8, y, 255, 255, 255, screen.data(), 0);
        drawText(right.c_str(), 208, y, 255, 255, 255, screen.data(), 0);
        y += 9;
    }
    bool last = page + 1 >= pages.size();
    std::string closing = controlText(last ? ControlText{"ANY KEY CLOSES THIS HELP.", "UNE TOUCHE FERME CETTE AIDE."}
                                           : ControlText{"F1: MORE. ANY OTHER KEY CLOSES THE HELP.",
                                                         "F1 : LA SUITE. UNE AUTRE TOUCHE FERME L'AIDE."},
                                      language);
    drawText(closing.c_str(), 8, SCREEN_ROWS - 14, 255, 255, 0, screen.data(), 0);
    std::vector<u8> rgb((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3);
    composeScreenshotInto(screen.data(), nullptr, rgb.data());
    for (size_t i = 0, j = 0; i < rgb.size(); i += 3, j += 4) {
        memcpy(&rgba[j], &rgb[i], 3);
        rgba[j + 3] = rgb[i] | rgb[i + 1] | rgb[i + 2] ? 255 : 216;
    }
}
