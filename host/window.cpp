#include "host/window.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include <filesystem>
#include <string_view>
#include <system_error>
#include <thread>

#include "app/app.h"
#include "gfx/render.h"
#include "host/outputs.h"
#include "host/pacing.h"

namespace {

const char kTitle[] = "Quorvandelle";
const size_t kPictureBytes = (size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3;

// The offscreen and dummy drivers show nothing: without a display the player is told
// so rather than given an invisible window, unless SDL_VIDEODRIVER asks for one.
bool startVideo(void) {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && asked[0] != '\0') return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); i++) {
        std::string_view name = SDL_GetVideoDriver(i);
        if (name == "offscreen" || name == "dummy" || name == "evdev") continue;
        // Wayland cannot be reached without its runtime folder; trying only prints noise.
        if (name == "wayland" && SDL_getenv("XDG_RUNTIME_DIR") == nullptr) continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, SDL_GetVideoDriver(i));
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    }
    return false;
}

} // namespace

GameWindow::~GameWindow() { close(); }

bool GameWindow::open(const WindowSettings& settings, std::string* error) {
    close();
    settings_ = settings;
    started_ = true;
    if (!startVideo()) {
        *error = "no display to open the window on";
        close();
        return false;
    }
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER); // without it the keyboard still plays
    SDL_StopTextInput();

    int scale = settings_.scale;
    window_ = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               SCREENSHOT_WIDTH * scale, SCREENSHOT_HEIGHT * scale,
                               SDL_WINDOW_RESIZABLE);
    // No vsync: the console's own refresh paces the game, not the monitor's.
    if (window_ != nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ != nullptr) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING,
                                     SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    }
    if (texture_ == nullptr) {
        *error = std::string("cannot open the window: ") + SDL_GetError();
        close();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    // Whole console pixels, sharp, with black bars around when the window's shape differs.
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(renderer_, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);

    // Until the first frame the screens are black, as the all-zero buffers are.
    picture_.assign(kPictureBytes, 0);
    shownTop_.assign(TOP_FRAMEBUFFER_BYTES, 0);
    shownBottom_.assign(BOTTOM_FRAMEBUFFER_BYTES, 0);
    SDL_UpdateTexture(texture_, nullptr, picture_.data(), SCREENSHOT_WIDTH * 3);
    draw();

    session_.start(settings_.script);
    closed_ = false;
    minimised_ = false;
    firstVBlank_ = std::chrono::steady_clock::now();
    return true;
}

void GameWindow::close() {
    if (!started_) return;
    buttons_.closeControllers();
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    SDL_Quit();
    started_ = false;
}

void GameWindow::pump() {
    // Drained with PeepEvents: after a wait, SDL_PollEvent can stop short of the newest events.
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) handle(event);
}

void GameWindow::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        closed_ = true;
        return;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: closed_ = true; break;
        case SDL_WINDOWEVENT_MINIMIZED: minimised_ = true; break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            minimised_ = false;
            redraw_ = true;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: redraw_ = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: buttons_.releaseAll(); break;
        default: break;
        }
        return;
    case SDL_KEYDOWN:
        if (event.key.repeat) break;
        if (event.key.keysym.scancode == SDL_SCANCODE_F11) {
            bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
            SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
            redraw_ = true;
            return;
        }
        if (event.key.keysym.scancode == SDL_SCANCODE_F12) {
            saveScreenshot();
            return;
        }
        break;
    default: break;
    }
    buttons_.handle(event);
}

bool GameWindow::keepRunning() {
    pump();
    // Minimised, the console sits in its HOME menu: the game waits for it to come back.
    while (minimised_ && !closed_) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 250)) handle(event);
    }
    if (redraw_ && !closed_) draw();
    return !closed_;
}

void GameWindow::sampleButtons(u32* held, u32* pressedSinceLastScan) {
    pump();
    u32 liveHeld, livePressed;
    buttons_.take(&liveHeld, &livePressed);
    session_.scan(liveHeld, livePressed, held, pressedSinceLastScan);
}

void GameWindow::waitForVBlank() {
    if (!settings_.paced) return;
    using namespace std::chrono;
    u64 elapsed = (u64)duration_cast<nanoseconds>(steady_clock::now() - firstVBlank_).count();
    // Sleeps until then: the game uses no processor while it waits.
    std::this_thread::sleep_until(firstVBlank_ + nanoseconds(nextVBlankNs(elapsed)));
}

void GameWindow::presented(const u8* top, const u8* bottom) {
    if (memcmp(top, shownTop_.data(), shownTop_.size()) == 0 &&
        memcmp(bottom, shownBottom_.data(), shownBottom_.size()) == 0) {
        return; // the window already shows it
    }
    memcpy(shownTop_.data(), top, shownTop_.size());
    memcpy(shownBottom_.data(), bottom, shownBottom_.size());
    composeScreenshotInto(top, bottom, picture_.data());
    SDL_UpdateTexture(texture_, nullptr, picture_.data(), SCREENSHOT_WIDTH * 3);
    draw();
}

void GameWindow::draw() {
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    redraw_ = false;
}

std::string GameWindow::saveScreenshot() {
    namespace fs = std::filesystem;
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    char stamp[32];
    strftime(stamp, sizeof stamp, "quorvandelle-%Y%m%d-%H%M%S", &local);

    // Two in the same second get a number rather than one over the other.
    fs::path folder = settings_.screenshotFolder;
    fs::path path = folder / (std::string(stamp) + ".png");
    std::error_code ignored;
    for (int n = 2; fs::exists(path, ignored); n++) {
        path = folder / (std::string(stamp) + "-" + std::to_string(n) + ".png");
    }

    std::string error;
    std::string title;
    std::string saved;
    if (writeFileWhole(path.string(), encodePng(picture_, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT), &error)) {
        fs::path shown = fs::absolute(path, ignored).lexically_normal();
        saved = (shown.empty() ? path : shown).string();
        title = std::string(kTitle) + " - screenshot saved to " + saved;
        // The recording notes the frame it shows: the frames before this note replay to it.
        session_.note("screenshot " + saved);
        printf("quorvandelle: screenshot saved to %s\n", saved.c_str());
        fflush(stdout);
    } else {
        title = std::string(kTitle) + " - screenshot not saved: " + error;
        fprintf(stderr, "quorvandelle: screenshot not saved: %s\n", error.c_str());
    }
    SDL_SetWindowTitle(window_, title.c_str());
    return saved;
}

int playInWindow(const Options& options, const ReplayScript& script, u64 clockMs, u8 language) {
    WindowSettings settings;
    settings.scale = options.scale;
    settings.script = &script.runs;
    GameWindow window;
    std::string error;
    if (!window.open(settings, &error)) {
        fprintf(stderr, "quorvandelle: %s; to play without a window, run it with --headless --replay FILE\n",
                error.c_str());
        return 2;
    }
    hostConsoleSetFrontend(&window);
    appMain();
    hostConsoleSetFrontend(nullptr);
    window.close();

    if (options.recordPath.empty()) return 0;
    if (!writeFileWhole(options.recordPath, window.recordingText(clockMs, language), &error)) {
        fprintf(stderr, "quorvandelle: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
