#include "desktop/overlay.h"

#include <algorithm>

#include "frontend/controls.h"
#include "frontend/help.h"
#include "frontend/outputs.h"
#include "gfx/render.h"

namespace {

const size_t kLinesOnPage = 21;

std::vector<std::string> wrapped(const std::string& text, size_t width) { return wrapText(inGameFont(text.c_str()), width); }

// The top-left `width` x `height` of an upper screen drawn in the game's font, as RGBA
// rows: what is lit opaque, the rest with the alpha `unlit` (below the screen, unlit too).
void toRgba(const std::vector<u8>& screen, int width, int height, u8 unlit, u8* rgba) {
    for (int row = 0; row < height; row++) {
        for (int column = 0; column < width; column++, rgba += 4) {
            static const u8 kDark[3] = {0, 0, 0};
            const u8* pixel = row < SCREEN_ROWS ? &screen[3 * ((size_t)SCREEN_ROWS * column + SCREEN_ROWS - 1 - row)] : kDark;
            bool lit = pixel[0] | pixel[1] | pixel[2];
            rgba[0] = lit ? pixel[2] : 0, rgba[1] = lit ? pixel[1] : 0, rgba[2] = lit ? pixel[0] : 0;
            rgba[3] = lit ? 255 : unlit;
        }
    }
}

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
    toRgba(screen, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT, 216, rgba);
}

void drawAdvice(const std::vector<std::string>& lines, int width, int height, u8* rgba) {
    std::vector<u8> screen(TOP_FRAMEBUFFER_BYTES, 0);
    s32 y = 6;
    for (const std::string& advice : lines) {
        std::string line = inGameFont(advice.c_str());
        bool refusal = line.rfind("REFUSE", 0) == 0;
        for (const std::string& part : wrapText(line, (size_t)(width - 8) / 8)) {
            if (y + 7 >= std::min(height, (int)SCREEN_ROWS)) break;
            // Light blue, unlike any of the console's own text; a refusal in yellow.
            drawText(part.c_str(), 4, y, refusal ? 255 : 150, refusal ? 255 : 200, refusal ? 0 : 255, screen.data(), 0);
            y += 10;
        }
    }
    toRgba(screen, width, height, 0, rgba); // the screen shows between the letters
}
