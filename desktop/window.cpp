#include "desktop/window.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <thread>

#include "app/app.h"
#include "gfx/render.h"
#include "frontend/outputs.h"
#include "frontend/pacing.h"

namespace {

const char kTitle[] = "Quorvandelle";
const size_t kPictureBytes = (size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3;

// Room kept beside the picture for the window's frame and title bar, which the system
// draws outside the window's own size.
const int kFrameRoomX = 16;
const int kFrameRoomY = 48;

// How long the title tells something before it is plain again.
const int kHintSeconds = 5;
const int kScreenshotSeconds = 3;

// Words of a text of the table, in the game's font, as lines of at most `width` characters.
std::vector<std::string> wrapped(const char* text, size_t width) {
    std::vector<std::string> lines(1);
    std::string words = inGameFont(text);
    for (size_t at = 0; at < words.size();) {
        size_t end = words.find(' ', at);
        std::string word = words.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? words.size() : end + 1;
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width) lines.emplace_back();
        lines.back() += (lines.back().empty() ? "" : " ") + word;
    }
    return lines;
}

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

int fittingScale(int usableWidth, int usableHeight, int asked) {
    int fits = std::min((usableWidth - kFrameRoomX) / SCREENSHOT_WIDTH,
                        (usableHeight - kFrameRoomY) / SCREENSHOT_HEIGHT);
    fits = std::max(fits, 1);
    return asked > 0 ? std::min(asked, fits) : fits;
}

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

    // Hidden until it has its size and place on the display it opens on.
    window_ = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    // No vsync: the console's own refresh paces the game, not the monitor's.
    if (window_ != nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ != nullptr) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING,
                                     SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
        helpTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC,
                                         SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    }
    if (texture_ == nullptr || helpTexture_ == nullptr) {
        *error = std::string("cannot open the window: ") + SDL_GetError();
        close();
        return false;
    }
    fitToDisplay();
    SDL_SetWindowMinimumSize(window_, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    // Whole console pixels, sharp, with black bars around when the window's shape differs.
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    SDL_SetTextureScaleMode(helpTexture_, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(helpTexture_, SDL_BLENDMODE_BLEND);
    SDL_RenderSetLogicalSize(renderer_, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    drawHelp();
    SDL_ShowWindow(window_);

    // Until the first frame the screens are black, as the all-zero buffers are.
    shown_.reset();
    SDL_UpdateTexture(texture_, nullptr, shown_.rgb().data(), SCREENSHOT_WIDTH * 3);
    helpShown_ = false;
    draw();
    bool french = settings_.language == CFG_LANGUAGE_FR;
    setTitle(std::string(kTitle) + (french ? " - F1 : commandes" : " - F1: controls"), kHintSeconds);

    session_.start(settings_.script);
    closed_ = false;
    minimised_ = false;
    firstVBlank_ = std::chrono::steady_clock::now();
    return true;
}

// The largest whole scale that fits the display's usable area (or the one asked for,
// when it fits), the window centred in that area.
void GameWindow::fitToDisplay() {
    int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
        usable = SDL_Rect{0, 0, SCREENSHOT_WIDTH + kFrameRoomX, SCREENSHOT_HEIGHT + kFrameRoomY};
    }
    int scale = fittingScale(usable.w, usable.h, settings_.scale);
    if (settings_.scale > scale) {
        fprintf(stderr, "quorvandelle: --scale %d does not fit the display (%dx%d); using --scale %d\n",
                settings_.scale, usable.w, usable.h, scale);
    }
    int width = SCREENSHOT_WIDTH * scale;
    int height = SCREENSHOT_HEIGHT * scale;
    SDL_SetWindowSize(window_, width, height);
    // The title bar stands above the window's own area: the two together are centred.
    int x = usable.x + (usable.w - width) / 2;
    int y = usable.y + (usable.h - height + kFrameRoomY) / 2;
    y = std::max(usable.y, std::min(y, usable.y + usable.h - height));
    SDL_SetWindowPosition(window_, std::max(usable.x, x), y);
}

// The controls over a darkened picture, drawn once, in the game's font and language.
void GameWindow::drawHelp() {
    u8 language = settings_.language;
    bool french = language == CFG_LANGUAGE_FR;
    std::vector<u8> screen(TOP_FRAMEBUFFER_BYTES, 0);
    const char* title = french ? "COMMANDES" : "CONTROLS";
    drawText(title, (TOP_COLUMNS - 8 * (s32)strlen(title)) / 2, 8, 255, 0, 0, screen.data(), 0);
    // Two columns of 24 characters: what a control does, and its keys.
    const s32 lineHeight = 9;
    s32 y = 26;
    std::string controller = french ? "MANETTE :" : "CONTROLLER:";
    for (size_t i = 0; i < kControlCount; i++) {
        const Control& control = kControls[i];
        std::vector<std::string> what = wrapped(controlText(control.what, language), 24);
        std::vector<std::string> keys = wrapped(controlText(control.keyboard, language), 24);
        for (size_t line = 0; line < std::max(what.size(), keys.size()); line++) {
            if (line < what.size()) drawText(what[line].c_str(), 8, y, 255, 255, 255, screen.data(), 0);
            if (line < keys.size()) drawText(keys[line].c_str(), 208, y, 255, 255, 255, screen.data(), 0);
            y += lineHeight;
        }
        y += 3;
        if (control.controller.english) {
            controller += std::string(controller.back() == ':' ? " " : ", ") + controlText(control.controller, language);
        }
    }
    for (const std::string& line : wrapped(controller.c_str(), 48)) {
        drawText(line.c_str(), 8, y + 3, 255, 255, 255, screen.data(), 0);
        y += lineHeight;
    }
    const char* closing = french ? "UNE TOUCHE FERME CETTE AIDE." : "ANY KEY CLOSES THIS HELP.";
    drawText(closing, 8, y + 10, 255, 255, 255, screen.data(), 0);
    std::vector<u8> rgb(kPictureBytes);
    composeScreenshotInto(screen.data(), nullptr, rgb.data());
    std::vector<u8> rgba((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 4);
    for (size_t i = 0, j = 0; i < rgb.size(); i += 3, j += 4) {
        bool lit = rgb[i] | rgb[i + 1] | rgb[i + 2];
        memcpy(&rgba[j], &rgb[i], 3);
        rgba[j + 3] = lit ? 255 : 216;
    }
    SDL_UpdateTexture(helpTexture_, nullptr, rgba.data(), SCREENSHOT_WIDTH * 4);
}

void GameWindow::setTitle(const std::string& title, int seconds) {
    SDL_SetWindowTitle(window_, title.c_str());
    titleLasts_ = seconds == 0;
    titleUntil_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
}

void GameWindow::close() {
    if (!started_) return;
    buttons_.closeControllers();
    if (helpTexture_) SDL_DestroyTexture(helpTexture_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    helpTexture_ = nullptr;
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
    case SDL_KEYDOWN: {
        if (event.key.repeat) break;
        ControlAction action = windowAction(event.key.keysym.scancode);
        if (action == FullScreen) {
            bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
            SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
            redraw_ = true;
            return;
        }
        if (action == Screenshot) {
            saveScreenshot();
            return;
        }
        if (action == ShowHelp || helpShown_) {
            showHelp(!helpShown_); // any other key closes it, and does nothing else
            return;
        }
        break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
        if (helpShown_) {
            showHelp(false);
            return;
        }
        break;
    default: break;
    }
    buttons_.handle(event);
}

void GameWindow::showHelp(bool shown) {
    helpShown_ = shown;
    draw();
    // What was pressed while the controls were shown is not played afterwards.
    u32 held, pressed;
    if (!shown) buttons_.take(&held, &pressed);
}

void GameWindow::plainTitleWhenDue() {
    if (titleLasts_ || std::chrono::steady_clock::now() < titleUntil_) return;
    setTitle(kTitle, 0);
}

bool GameWindow::keepRunning() {
    pump();
    // Minimised, the console sits in its HOME menu; while the controls are shown the
    // player reads them: either way the game waits, and no frame runs.
    while ((minimised_ || helpShown_) && !closed_) {
        if (redraw_) draw();
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 250)) handle(event);
        plainTitleWhenDue();
    }
    plainTitleWhenDue();
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
    if (!shown_.update(top, bottom)) return; // the window already shows it
    SDL_UpdateTexture(texture_, nullptr, shown_.rgb().data(), SCREENSHOT_WIDTH * 3);
    draw();
}

void GameWindow::draw() {
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    if (helpShown_) SDL_RenderCopy(renderer_, helpTexture_, nullptr, nullptr);
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
    std::string saved;
    if (writeFileWhole(path.string(), encodePng(shown_.rgb(), SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT), &error)) {
        fs::path shown = fs::absolute(path, ignored).lexically_normal();
        saved = (shown.empty() ? path : shown).string();
        // The recording notes the frame it shows: the frames before this note replay to it.
        session_.note("screenshot " + saved);
        setTitle(std::string(kTitle) + " - screenshot saved to " + saved, kScreenshotSeconds);
        printf("quorvandelle: screenshot saved to %s\n", saved.c_str());
        fflush(stdout);
    } else {
        setTitle(std::string(kTitle) + " - screenshot not saved: " + error, kScreenshotSeconds);
        fprintf(stderr, "quorvandelle: screenshot not saved: %s\n", error.c_str());
    }
    return saved;
}

int playInWindow(const Options& options, const ReplayScript& script, u64 clockMs, u8 language) {
    WindowSettings settings;
    settings.scale = options.scale;
    settings.language = language;
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
