// The page's home for the player (frontend/home.h): each device function is a call into
// the page's scripts (web/*.js, under Module.page). The game's loop runs as on the console;
// while it waits (a vertical blank, a hidden page, a question), it is suspended and the
// browser goes on.
#include <emscripten.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "frontend/home.h"
#include "frontend/outputs.h"
#include "frontend/pacing.h"
#include "frontend/player.h"
#include "frontend/replay.h"
#include "gfx/render.h"

namespace {

// A text from the page's scripts as UTF-8, copied for the game (which frees it) with its
// length, NUL bytes and all; or null.
EM_JS(char*, pageText, (const char* what, int* length), {
  const text = Module.page[UTF8ToString(what)]();
  if (text === null || text === undefined) return 0;
  const bytes = new TextEncoder().encode(text), copy = _malloc(bytes.length + 1);
  HEAPU8.set(bytes, copy);
  HEAP32[length >> 2] = bytes.length;
  return copy;
});

// Whether the text was there, and what it was.
bool takeText(const char* what, std::string* text) {
    int length = 0;
    char* copy = pageText(what, &length);
    if (copy != nullptr) text->assign(copy, (size_t)length);
    free(copy);
    return copy != nullptr;
}

// The screens as the canvas takes them: RGBA, clear beside the narrower lower screen so
// that the page shows through.
u8 canvasPixels[SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 4];
const size_t kLowerLeft = (TOP_COLUMNS - BOTTOM_COLUMNS) / 2;

} // namespace

EM_JS(void, pageButtons, (u32* held, u32* pressed), { Module.page.takeButtons(held, pressed); });
EM_JS(int, pagePaused, (), { return Module.page.paused(); });
EM_ASYNC_JS(void, pageUnpaused, (), { await Module.page.unpaused(); });
EM_ASYNC_JS(void, pageSleep, (double ms), { await new Promise((wake) => setTimeout(wake, ms)); });
EM_JS(void, pageShow, (const u8* rgba), { Module.page.show(rgba); });
EM_JS(void, pageTell, (int lasting, const char* text), { Module.page.tell(lasting, UTF8ToString(text)); });
EM_ASYNC_JS(int, pageAsk, (const char* question, const char* first, const char* second), {
  return await Module.page.ask(UTF8ToString(question), UTF8ToString(first), UTF8ToString(second));
});
EM_JS(void, pageYear, (const char* table), { Module.page.year(UTF8ToString(table)); });
EM_JS(void, pageAdvice, (const char* lines), { Module.page.advice(UTF8ToString(lines)); });
EM_JS(void, pageSay, (const char* text), { Module.page.speak(UTF8ToString(text)); });
EM_JS(int, pageStore, (int whole, const char* text, char* why, int size), {
  const failed = Module.page.store(whole, UTF8ToString(text));
  if (failed) stringToUTF8(failed, why, size);
  return failed ? 0 : 1;
});
EM_ASYNC_JS(void, pageReady, (), { await Module.page.prepare(); });
EM_ASYNC_JS(int, pageHoldYear, (int takeOver, char* why, int size), {
  if (await Module.page.holdYear(takeOver)) return 1;
  stringToUTF8(Module.page.say('elsewhere'), why, size);
  return 0;
});
EM_JS(int, pageLanguage, (), { return Module.page.language; });

void homeButtons(u32* held, u32* pressed) { pageButtons(held, pressed); }
void homeWaitWhilePaused(void) { pageUnpaused(); }

void homeShow(const u8* rgb) {
    u8* out = canvasPixels;
    for (size_t y = 0; y < SCREENSHOT_HEIGHT; y++) {
        for (size_t x = 0; x < SCREENSHOT_WIDTH; x++, rgb += 3, out += 4) {
            memcpy(out, rgb, 3);
            out[3] = y >= SCREEN_ROWS && (x < kLowerLeft || x >= kLowerLeft + BOTTOM_COLUMNS) ? 0 : 255;
        }
    }
    pageShow(canvasPixels);
}

u64 homeNowNs(void) { return (u64)(emscripten_get_now() * 1e6); }
// Rounded up, so that no frame starts before its blank.
void homeSleepUntilNs(u64 ns) { pageSleep((double)ns / 1e6 - emscripten_get_now() + 0.999); }
bool homePaused(void) { return pagePaused() != 0; }
bool homeClosing(void) { return false; }
void homeTell(NoticeKind kind, const std::string& text) { pageTell(kind == LastingNotice, text.c_str()); }
int homeAsk(const std::string& question, const std::string& first, const std::string& second) {
    return pageAsk(question.c_str(), first.c_str(), second.c_str());
}
void homeYear(const std::string& table) { pageYear(table.c_str()); }
void homeAdvice(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    pageAdvice(text.c_str());
}
void homeSay(const std::string& text) { pageSay(text.c_str()); }

bool homeHoldYear(bool takeOver, std::string* why) {
    char elsewhere[256] = "";
    bool held = pageHoldYear(takeOver, elsewhere, sizeof elsewhere);
    return *why = elsewhere, held;
}

KeptRead homeReadKept(std::string* text, std::string*) {
    return takeText("readKept", text) && !text->empty() ? KeptFound : NothingKept;
}

// The text in place of the kept year (`whole`), or added to it.
bool store(int whole, const std::string& text, std::string* why) {
    char failed[256] = "";
    bool kept = pageStore(whole, text.c_str(), failed, sizeof failed);
    return *why = failed, kept;
}
bool homeKeepWhole(const std::string& text, std::string* why) { return store(1, text, why); }
bool homeKeepLines(const std::string& lines, std::string* why) { return store(0, lines, why); }

// Once the page has read its address (a link to play, ?seed=, ?language=), the player
// plays one game after another: the page asks what follows one that START ended.
int main() {
    pageReady();
    PlayerSetup setup;
    setup.language = (u8)pageLanguage();
    std::string seed;
    takeText("seed", &seed);
    setup.seedAsked = parseU64(seed).has_value();
    setup.seed = parseU64(seed).value_or(clockNowMs());
    setup.keeping = KeepYear;
    setup.asks = true;
    setup.speaks = true;
    playerRun(setup);
}
