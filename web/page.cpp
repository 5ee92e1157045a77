// The game in a web page: the console model's frontend for the page's own layer
// (web/page.js). The game's loop runs as on the console; while it waits for a vertical
// blank, or while the page is hidden, it is suspended and the browser goes on.
#include <emscripten.h>
#include <string.h>

#include <string>

#include "app/app.h"
#include "gfx/render.h"
#include "frontend/controls.h"
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

namespace {

// The screens as the page shows them: in the screenshot's layout, then as the canvas takes them.
ShownPicture shown;
u8 canvasPixels[SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 4];
const size_t kLowerLeft = (TOP_COLUMNS - BOTTOM_COLUMNS) / 2;

class WebPage final : public HostFrontend {
  public:
    void start(u64 clockMs, u8 language) {
        clockMs_ = clockMs;
        language_ = language;
        session_.start(nullptr);
        shown.reset();
        show();
        firstVBlankMs_ = emscripten_get_now();
    }

    // Hidden, the console sits in its HOME menu; with the help open, the game waits too.
    bool keepRunning() override {
        if (pagePaused()) pageUnpaused();
        return true;
    }

    void sampleButtons(u32* held, u32* pressedSinceLastScan) override {
        u32 liveHeld = 0;
        u32 livePressed = 0;
        pageTakeButtons(&liveHeld, &livePressed);
        session_.scan(liveHeld, livePressed, held, pressedSinceLastScan);
    }

    // Sleeps until the next vertical blank; rounded up, so that no frame starts before it.
    void waitForVBlank() override {
        double elapsedMs = emscripten_get_now() - firstVBlankMs_;
        u64 next = nextVBlankNs((u64)(elapsedMs * 1e6));
        pageSleep(next / 1e6 - elapsedMs + 0.999);
    }

    void presented(const u8* top, const u8* bottom) override {
        if (shown.update(top, bottom)) show(); // else the page already shows it
    }

    std::string recording() const { return session_.recordingText(clockMs_, language_); }
    void note(const std::string& text) { session_.note(text); }
    bool type(char key, std::string* why) { return session_.type(key, why); }

  private:
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
    u64 clockMs_ = 0;
    u8 language_ = CFG_LANGUAGE_EN;
    double firstVBlankMs_ = 0;
};

WebPage page;
std::string download; // the last file asked for, kept until the next

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

// The table of controls for the page's keys, controller and help, in one language; the
// stick's marks; a button by its name in scripts.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webControls(int language) {
    static std::string json;
    json = controlsJson((u8)language);
    return json.c_str();
}

// A key typed on the page ('0' to '9', '\b' erases, '\n' confirms): why it was refused, or
// nothing.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webType(int key) {
    static std::string why;
    why.clear();
    if (!page.type((char)key, &why) && why.empty()) why = "?";
    return why.c_str();
}

// How to play, for the help: its title, then its paragraphs, a line each.
extern "C" EMSCRIPTEN_KEEPALIVE const char* webHowToPlay(int language) {
    static std::string text;
    HowToPlay howto = howToPlay((u8)language);
    text = howto.title;
    for (const std::string& paragraph : howto.paragraphs) text += "\n" + paragraph;
    return text.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE u32 webStick(u32 before, float x, float y) { return stickButtons(before, x, y); }

extern "C" EMSCRIPTEN_KEEPALIVE u32 webButton(const char* name) { return buttonMask(name).value_or(0); }

// One game after another: START ends one, and the page offers the next.
int main() {
    for (;;) {
        char seed[24];
        pageSeed(seed, sizeof seed);
        u64 clockMs = parseU64(seed).value_or(0);
        u8 language = (u8)pageLanguage();
        hostConsoleReset(clockMs, language);
        page.start(clockMs, language);
        hostConsoleSetFrontend(&page);
        appMain();
        hostConsoleSetFrontend(nullptr);
        pageGameOver();
    }
}
