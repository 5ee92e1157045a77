// The game in a web page: the console model's frontend for the page's own layer
// (web/page.js). The game's loop runs as on the console; while it waits for a vertical
// blank, or while the page is hidden, it is suspended and the browser goes on.
#include <emscripten.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "app/app.h"
#include "game/farm.h"
#include "gfx/render.h"
#include "frontend/controls.h"
#include "frontend/history.h"
#include "frontend/howto.h"
#include "frontend/outputs.h"
#include "frontend/pacing.h"
#include "frontend/replay.h"
#include "frontend/session.h"
#include "platform/host_console.h"

// What the page's layer does for the game (web/page.js).
EM_JS(void, pageTakeButtons, (u32* held, u32* pressed), { Module.page.takeButtons(held, pressed); });
EM_JS(void, pageShow, (const u8* rgba), { Module.page.show(rgba); });
EM_JS(int, pagePaused, (), { return Module.page.paused(); });
EM_JS(int, pageLanguage, (), { return Module.page.language(); });
EM_JS(void, pageSeed, (char* text, int size), { stringToUTF8(Module.page.seed(), text, size); });
EM_ASYNC_JS(void, pageUnpaused, (), { await Module.page.unpaused(); });
EM_ASYNC_JS(void, pageSleep, (double ms), { await new Promise(wake => setTimeout(wake, ms)); });
EM_ASYNC_JS(void, pageGameOver, (), { await Module.page.gameOver(); });
// The kept game, if the page is to resume it (a copy the game frees), or null.
EM_ASYNC_JS(char*, pageKeptGame, (), {
  const text = await Module.page.keptGame();
  if (!text) return 0;
  const size = lengthBytesUTF8(text) + 1, copy = _malloc(size);
  stringToUTF8(text, copy, size);
  return copy;
});
EM_ASYNC_JS(void, pageRefused, (const char* why), { await Module.page.refused(UTF8ToString(why)); });
EM_JS(void, pageResumed, (int month), { Module.page.resumed(month); });
EM_JS(int, pageShared, (), { return Module.page.shared(); });
EM_JS(void, pageWarn, (), { Module.page.warn(); });
EM_ASYNC_JS(int, pagePlayShared, (), { return await Module.page.playShared() ? 1 : 0; });
EM_JS(void, pageScriptOver, (), { Module.page.scriptOver(); });
EM_JS(void, pagePressed, (), { Module.page.pressed(); });
EM_JS(int, pageRestarting, (), { return Module.page.restarting(); });
EM_JS(void, pageYear, (int ended), { Module.page.year(ended); });

namespace {

// The screens as the page shows them: in the screenshot's layout, then as the canvas takes them.
ShownPicture shown;
u8 canvasPixels[SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 4];
const size_t kLowerLeft = (TOP_COLUMNS - BOTTOM_COLUMNS) / 2;

class WebPage final : public HostFrontend {
  public:
    // A kept game (`kept`) is replayed first, frames back to back, shown once it is over.
    // A shared recording (`fast` false) plays at the console's pace until it is over or
    // the player jumps to its end.
    void start(u64 clockMs, u8 language, const std::vector<ReplayRun>* kept, bool fast) {
        clockMs_ = clockMs;
        language_ = language;
        session_.start(kept);
        atOnce_ = fast;
        resuming_ = fast && kept != nullptr;
        tellResumed_ = true;
        history_.reset();
        shown.reset();
        show();
        firstVBlankMs_ = emscripten_get_now();
    }

    // Hidden, the console sits in its HOME menu; with the help open, the game waits too.
    // A new game asked for ends this one.
    bool keepRunning() override {
        if (pagePaused()) pageUnpaused();
        return !pageRestarting();
    }

    void sampleButtons(u32* held, u32* pressedSinceLastScan) override {
        u32 liveHeld = 0;
        u32 livePressed = 0;
        pageTakeButtons(&liveHeld, &livePressed);
        bool scripted = session_.playingScript();
        u32 down = session_.scan(liveHeld, livePressed, held, pressedSinceLastScan);
        if (scripted && !session_.playingScript()) pageScriptOver();
        if (!(scripted && atOnce_) && down != 0) pagePressed(); // the page keeps the game again
    }

    // Sleeps until the next vertical blank; rounded up, so that no frame starts before it.
    // A kept game replays at once; the console's pace starts again after it.
    void waitForVBlank() override {
        if (replayingAtOnce()) return;
        if (resuming_) {
            resuming_ = false;
            firstVBlankMs_ = emscripten_get_now();
            if (tellResumed_) pageResumed(farm.month);
        }
        double elapsedMs = emscripten_get_now() - firstVBlankMs_;
        u64 next = nextVBlankNs((u64)(elapsedMs * 1e6));
        pageSleep(next / 1e6 - elapsedMs + 0.999);
    }

    void presented(const u8* top, const u8* bottom) override {
        noteMonth();
        if (replayingAtOnce()) return;
        if (shown.update(top, bottom)) show(); // else the page already shows it
    }

    // The month-by-month numbers; the page shows the year's once it has ended.
    void noteMonth() {
        u8 before = history_.lastMonth;
        history_.observe(farm);
        if (farm.month < before) pageYear(0);
        if (farm.month != before && farm.gameState == GameOver) pageYear(1);
    }
    std::string yearCsv() const { return history_.csv(history_.yearStart); }
    // The rest of a shared recording at once.
    void jump() {
        atOnce_ = true;
        resuming_ = true;
        tellResumed_ = false;
    }

    std::string recording() const { return session_.recordingText(clockMs_, language_); }
    // The game to keep: the recording without a START that ended it, which the player
    // may take back.
    std::string kept() const { return session_.keptText(clockMs_, language_); }
    void note(const std::string& text) { session_.note(text); }
    bool type(char key, std::string* why) { return session_.type(key, why); }

  private:
    bool replayingAtOnce() const { return atOnce_ && session_.playingScript(); }

    // Beside the narrower lower screen the pixels are clear: the page shows through.
    void show() {
        u8* out = canvasPixels;
        const u8* in = shown.rgb().data();
        for (size_t y = 0; y < SCREENSHOT_HEIGHT; y++) {
            for (size_t x = 0; x < SCREENSHOT_WIDTH; x++, in += 3, out += 4) {
                bool beside = y >= SCREEN_ROWS && (x < kLowerLeft || x >= kLowerLeft + BOTTOM_COLUMNS);
                memcpy(out, in, 3);
                out[3] = beside ? 0 : 255;
            }
        }
        pageShow(canvasPixels);
    }

    PlayerSession session_;
    MonthHistory history_;
    bool atOnce_ = false; // the recording being played goes frames back to back, unseen
    // A replay at once whose end starts the console's pace again, and says so unless
    // the player jumped to it.
    bool resuming_ = false, tellResumed_ = true;
    u64 clockMs_ = 0;
    u8 language_ = CFG_LANGUAGE_EN;
    double firstVBlankMs_ = 0;
};

WebPage page;
std::string download; // the last file asked for, kept until the next

// A text for the page, which reads it at once: kept until the next one.
const char* toPage(std::string text) {
    static std::string held;
    held = std::move(text);
    return held.c_str();
}

} // namespace

// Files the page offers: what the screens show as a PNG, noted in the recording at its
// frame as the window notes its screenshots, and the session as a replay script.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webScreenshot(const char* name, int* size) {
    page.note(std::string("screenshot ") + name);
    download = encodePng(shown.rgb(), SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    *size = (int)download.size();
    return download.data();
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* webRecording(const char* /*name*/, int* size) {
    download = page.recording();
    *size = (int)download.size();
    return download.data();
}

// The game the page keeps in the browser's storage, and the year's months as CSV.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webKept() { return toPage(page.kept()); }

// The farm as the state file writes it.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webState() { return toPage(farmStateJson(farm)); }

extern "C" EMSCRIPTEN_KEEPALIVE void webJump() { page.jump(); }

extern "C" EMSCRIPTEN_KEEPALIVE const char* webYear() { return toPage(page.yearCsv()); }

// The table of controls for the page's keys, controller and help, in one language; the
// stick's marks; a button by its name in scripts.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webControls(int language) { return toPage(controlsJson((u8)language)); }

// A key typed on the page ('0' to '9', '\b' erases, '\n' confirms): why it was refused, or
// nothing.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webType(int key) {
    std::string why;
    if (!page.type((char)key, &why) && why.empty()) why = "?";
    return toPage(why);
}

// How to play, for the help: its title, then its paragraphs, a line each.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webHowToPlay(int language) {
    HowToPlay howto = howToPlay((u8)language);
    std::string text = howto.title;
    for (const std::string& paragraph : howto.paragraphs) text += "\n" + paragraph;
    return toPage(text);
}

extern "C" EMSCRIPTEN_KEEPALIVE u32 webStick(u32 before, float x, float y) { return stickButtons(before, x, y); }

extern "C" EMSCRIPTEN_KEEPALIVE u32 webButton(const char* name) { return buttonMask(name).value_or(0); }

namespace {

// Why a kept game cannot be resumed here, or nothing: it must read back whole, have its
// seed, and come from this version and these draws.
// A shared recording may come from another version; one that does not say whose draws
// it played with is played, with a warning.
std::string refusal(const char* text, bool shared, ReplayScript* script) {
    std::string error;
    if (!parseReplayScript(text, shared ? "recording" : "kept game", script, &error)) return error;
    if (!script->seed) return "it has no seed";
    if (shared && script->draws && (*script->draws == "glibc" || *script->draws == "newlib")) {
        return std::string("made on the ") + (*script->draws == "glibc" ? "desktop" : "console") +
               ": its litters and deaths would differ here";
    }
    if (!shared && !script->draws) return "it does not say whose random draws it played with";
    return replayMismatch(*script, !shared);
}

} // namespace

// One game after another: START ends one, and the page offers the next. A game the page
// kept is resumed first.
int main() {
    static ReplayScript script;
    for (;;) {
        char seed[24];
        pageSeed(seed, sizeof seed);
        u64 clockMs = parseU64(seed).value_or(0);
        u8 language = (u8)pageLanguage();
        const std::vector<ReplayRun>* kept = nullptr;
        bool shared = false;
        if (char* text = pageKeptGame()) {
            shared = pageShared() != 0;
            std::string why = refusal(text, shared, &script);
            free(text);
            if (!why.empty()) {
                pageRefused(why.c_str()); // until the player starts a new game
                continue;
            }
            clockMs = *script.seed;
            language = script.language.value_or(language);
            if (shared && !pagePlayShared()) continue; // back to the kept game
            kept = &script.runs;
            if (shared && !script.draws) pageWarn();
        }
        hostConsoleReset(clockMs, language);
        page.start(clockMs, language, kept, !shared);
        hostConsoleSetFrontend(&page);
        appMain();
        hostConsoleSetFrontend(nullptr);
        page.noteMonth();
        if (!pageRestarting()) pageGameOver();
    }
}
