#include "desktop/window.h"

#include <errno.h>
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
#include "frontend/howto.h"
#include "frontend/pacing.h"
#include "game/farm.h"

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
const int kResumedSeconds = 10;

// A text of the table in the game's font, as lines of at most `width` characters.
std::vector<std::string> wrapped(const char* text, size_t width) { return wrapText(inGameFont(text), width); }

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

int fittingScale(int usableWidth, int usableHeight, int asked, int width, int height) {
    int fits = std::min((usableWidth - kFrameRoomX) / width, (usableHeight - kFrameRoomY) / height);
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
    // Whole console pixels, sharp, with black bars around when the window's shape differs.
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    SDL_SetTextureScaleMode(helpTexture_, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(helpTexture_, SDL_BLENDMODE_BLEND);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    layout_ = settings_.layout;
    applyLayout();
    makeHelpPages();
    SDL_ShowWindow(window_);

    // Until the first frame the screens are black, as the all-zero buffers are.
    shown_.reset();
    SDL_UpdateTexture(texture_, nullptr, shown_.rgb().data(), SCREENSHOT_WIDTH * 3);
    helpPage_ = 0;
    draw();
    tell(say("F1: controls", "F1 : commandes"), kHintSeconds);

    if (!settings_.clockNs) {
        settings_.clockNs = [] {
            return (u64)std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    }
    if (!settings_.sleepUntilNs) {
        settings_.sleepUntilNs = [](u64 ns) {
            std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ns)));
        };
    }
    session_.start(settings_.script);
    announce_ = settings_.scriptAtOnce;
    newYear_ = false;
    closed_ = false;
    minimised_ = false;
    firstVBlankNs_ = settings_.clockNs();
    return true;
}

// Both screens as the console holds them, the upper alone, or the two side by side.
namespace {
struct LayoutSize {
    int width, height;
};
LayoutSize layoutSize(WindowLayout layout) {
    switch (layout) {
    case UpperScreenOnly: return {TOP_COLUMNS, SCREEN_ROWS};
    case SideBySide: return {TOP_COLUMNS + BOTTOM_COLUMNS, SCREEN_ROWS};
    default: return {SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT};
    }
}
} // namespace

void GameWindow::applyLayout() {
    LayoutSize size = layoutSize(layout_);
    SDL_RenderSetLogicalSize(renderer_, size.width, size.height);
    SDL_SetWindowMinimumSize(window_, size.width, size.height);
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) == 0) fitToDisplay();
    redraw_ = true;
}

// The screens of a picture in the screenshot's arrangement, placed as the layout puts them.
void GameWindow::copyScreens(SDL_Texture* texture) {
    const SDL_Rect top{0, 0, TOP_COLUMNS, SCREEN_ROWS};
    const SDL_Rect bottom{(TOP_COLUMNS - BOTTOM_COLUMNS) / 2, SCREEN_ROWS, BOTTOM_COLUMNS, SCREEN_ROWS};
    const SDL_Rect beside{TOP_COLUMNS, 0, BOTTOM_COLUMNS, SCREEN_ROWS};
    switch (layout_) {
    case UpperScreenOnly: SDL_RenderCopy(renderer_, texture, &top, &top); break;
    case SideBySide:
        SDL_RenderCopy(renderer_, texture, &top, &top);
        SDL_RenderCopy(renderer_, texture, &bottom, &beside);
        break;
    default: SDL_RenderCopy(renderer_, texture, nullptr, nullptr); break;
    }
}

// The largest whole scale that fits the display's usable area (or the one asked for,
// when it fits), the window centred in that area.
void GameWindow::fitToDisplay() {
    int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
        usable = SDL_Rect{0, 0, SCREENSHOT_WIDTH + kFrameRoomX, SCREENSHOT_HEIGHT + kFrameRoomY};
    }
    LayoutSize size = layoutSize(layout_);
    int scale = fittingScale(usable.w, usable.h, settings_.scale, size.width, size.height);
    if (settings_.scale > scale) {
        fprintf(stderr, "quorvandelle: --scale %d does not fit the display (%dx%d); using --scale %d\n",
                settings_.scale, usable.w, usable.h, scale);
    }
    int width = size.width * scale;
    int height = size.height * scale;
    SDL_SetWindowSize(window_, width, height);
    // The title bar stands above the window's own area: the two together are centred.
    int x = usable.x + (usable.w - width) / 2;
    int y = usable.y + (usable.h - height + kFrameRoomY) / 2;
    y = std::max(usable.y, std::min(y, usable.y + usable.h - height));
    SDL_SetWindowPosition(window_, std::max(usable.x, x), y);
}

// The help's pages in the game's font and language: the controls in two columns (what a
// control does, and its keys), then how to play; each fills what the upper screen holds.
void GameWindow::makeHelpPages() {
    u8 language = settings_.language;
    std::vector<std::vector<HelpLine>> controls;
    for (size_t i = 0; i < kControlCount; i++) {
        const Control& control = kControls[i];
        std::vector<std::string> what = wrapped(controlText(control.what, language), 24);
        std::vector<std::string> keys = wrapped(controlText(control.keyboard, language), 24);
        std::vector<HelpLine> block;
        for (size_t line = 0; line < std::max(what.size(), keys.size()); line++) {
            block.push_back({line < what.size() ? what[line] : "", line < keys.size() ? keys[line] : ""});
        }
        controls.push_back(block);
    }
    std::vector<HelpLine> pad;
    for (const std::string& line :
         wrapped((say("CONTROLLER: ", "MANETTE : ") + controllerButtons(language)).c_str(), 48)) {
        pad.push_back({line, ""});
    }
    controls.push_back(pad);
    HowToPlay rules = howToPlay(language);
    std::vector<std::vector<HelpLine>> paragraphs;
    for (const std::string& paragraph : rules.paragraphs) {
        std::vector<HelpLine> block;
        for (const std::string& line : wrapText(paragraph, 48)) block.push_back({line, ""});
        paragraphs.push_back(block);
    }

    // A block that does not fit below the others starts a page of its own.
    const size_t kLinesOnPage = 21;
    helpPages_.clear();
    auto paginate = [&](const std::string& title, const std::vector<std::vector<HelpLine>>& blocks) {
        helpPages_.push_back({title, {}});
        for (const std::vector<HelpLine>& block : blocks) {
            std::vector<HelpLine>& lines = helpPages_.back().lines;
            if (!lines.empty() && lines.size() + 1 + block.size() > kLinesOnPage) {
                helpPages_.push_back({title, {}});
            }
            if (!helpPages_.back().lines.empty()) helpPages_.back().lines.push_back({"", ""});
            for (const HelpLine& line : block) helpPages_.back().lines.push_back(line);
        }
    };
    paginate(say("CONTROLS", "COMMANDES"), controls);
    paginate(rules.title, paragraphs);
}

// The help's page over a darkened picture.
void GameWindow::drawHelp() {
    const HelpPage& page = helpPages_[(size_t)std::max(helpPage_ - 1, 0)];
    std::vector<u8> screen(TOP_FRAMEBUFFER_BYTES, 0);
    drawText(page.title.c_str(), (TOP_COLUMNS - 8 * (s32)page.title.size()) / 2, 8, 255, 0, 0, screen.data(), 0);
    s32 y = 24;
    for (const HelpLine& line : page.lines) {
        if (line.left.empty() && line.right.empty()) {
            y += 4; // between two blocks
            continue;
        }
        drawText(line.left.c_str(), 8, y, 255, 255, 255, screen.data(), 0);
        drawText(line.right.c_str(), 208, y, 255, 255, 255, screen.data(), 0);
        y += 9;
    }
    bool last = helpPage_ >= (int)helpPages_.size();
    std::string closing = last ? say("ANY KEY CLOSES THIS HELP.", "UNE TOUCHE FERME CETTE AIDE.")
                               : say("F1: MORE. ANY OTHER KEY CLOSES THE HELP.", "F1 : LA SUITE. UNE AUTRE TOUCHE FERME L'AIDE.");
    drawText(closing.c_str(), 8, SCREEN_ROWS - 14, 255, 255, 0, screen.data(), 0);
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

void GameWindow::tell(const std::string& text, int seconds) { setTitle(std::string(kTitle) + " - " + text, seconds); }

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
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: redraw_ = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: buttons_.releaseAll(); break;
        default: break;
        }
        return;
    // A renderer that lost its textures gets the picture again.
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        SDL_UpdateTexture(texture_, nullptr, shown_.rgb().data(), SCREENSHOT_WIDTH * 3);
        if (helpPage_ > 0) drawHelp();
        redraw_ = true;
        return;
    case SDL_KEYDOWN: {
        if (event.key.repeat) break;
        ControlAction action = windowAction(event.key.keysym.scancode);
        if (action == FullScreen) {
            bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
            SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
            // Back in a window, its size is set again: without a window manager SDL would
            // go on drawing for the full screen's size, off the window. Then the picture
            // is drawn again for the new mode.
            if (full) fitToDisplay();
            draw();
            redraw_ = true;
            return;
        }
        if (action == Screenshot) {
            saveScreenshot();
            return;
        }
        if (action == ShowHelp || helpPage_ > 0) {
            // F1 turns the page, any other key closes it and does nothing else
            bool next = action == ShowHelp && helpPage_ < (int)helpPages_.size();
            showHelp(next ? helpPage_ + 1 : 0);
            return;
        }
        if (action == NextLayout) {
            layout_ = (WindowLayout)((layout_ + 1) % kLayoutCount);
            applyLayout();
            std::string error;
            if (!settings_.settingsPath.empty() && !writeLayout(settings_.settingsPath, layout_, &error)) {
                fprintf(stderr, "quorvandelle: the layout is not remembered: %s\n", error.c_str());
            }
            return;
        }
        if (action == NewYear) {
            askNewYear();
            return;
        }
        // Digits and erasing become the presses that reach the number typed; A, while
        // they are fed, confirms it once it is reached rather than stopping them.
        char typed = typedKey(event.key.keysym.scancode);
        if (typed == 0 && session_.typing() && buttons_.keyButton(event.key.keysym) == KEY_A) typed = '\n';
        if (typed != 0) {
            std::string why;
            if (!session_.type(typed, &why) && !session_.playingScript()) {
                tell(why, kHintSeconds);
            }
            return;
        }
        break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
        if (helpPage_ > 0) {
            showHelp(0);
            return;
        }
        break;
    default: break;
    }
    buttons_.handle(event);
}

void GameWindow::showHelp(int page) {
    helpPage_ = page;
    if (page > 0) drawHelp();
    draw();
    // What was pressed while the help was shown is not played afterwards.
    u32 held, pressed;
    if (page == 0) buttons_.take(&held, &pressed);
}

void GameWindow::askNewYear() {
    if (!settings_.keepsGame) {
        tell(say("F5 is for the kept game (without --record, --replay or --seed)",
                 "F5 ne sert qu'a la partie gardee (sans --record, --replay ni --seed)"),
             kHintSeconds);
        return;
    }
    if (std::chrono::steady_clock::now() < newYearUntil_) {
        newYear_ = true;
        return;
    }
    newYearUntil_ = std::chrono::steady_clock::now() + std::chrono::seconds(kHintSeconds);
    tell(say("F5 again: a new year, this one forgotten", "F5 encore : une nouvelle annee, celle-ci oubliee"),
         kHintSeconds);
}

void GameWindow::startNewYear(u64 clockMs) {
    settings_.clockMs = clockMs;
    settings_.script = nullptr;
    if (record_ != nullptr) fclose(record_);
    record_ = nullptr;
    session_.start(nullptr);
    announce_ = newYear_ = false;
    newYearUntil_ = {};
    shown_.reset();
    SDL_UpdateTexture(texture_, nullptr, shown_.rgb().data(), SCREENSHOT_WIDTH * 3);
    setTitle(kTitle, 0);
}

void GameWindow::recordTo(FILE* file) {
    record_ = file;
    recordFailed_ = false;
}

void GameWindow::keepAt(const std::string& path) { keptPath_ = path; }

// Whole lines only, each flushed, so that a window killed now leaves a script that reads.
void GameWindow::writeLines(bool all) {
    if (record_ == nullptr && !keptPath_.empty() && !resuming()) {
        std::error_code ignored; // told by fopen's failure
        std::filesystem::create_directories(std::filesystem::path(keptPath_).parent_path(), ignored);
        record_ = fopen(keptPath_.c_str(), "w");
        if (record_ == nullptr) {
            fprintf(stderr, "quorvandelle: %s: cannot write: %s; this game is not kept\n", keptPath_.c_str(),
                    strerror(errno));
            keptPath_.clear();
        }
    }
    if (record_ == nullptr || recordFailed_) return;
    std::string lines = session_.takeLines(settings_.clockMs, settings_.language, all);
    if (lines.empty()) return;
    if (fwrite(lines.data(), 1, lines.size(), record_) != lines.size() || fflush(record_) != 0) recordFailed_ = true;
}

bool GameWindow::finishRecording(std::string* error) {
    writeLines(true);
    bool failed = recordFailed_;
    if (record_ != nullptr && fclose(record_) != 0) failed = true;
    if (failed) *error = std::string("the recording is incomplete: ") + strerror(errno);
    record_ = nullptr;
    keptPath_.clear();
    return !failed;
}

void GameWindow::plainTitleWhenDue() {
    if (titleLasts_ || std::chrono::steady_clock::now() < titleUntil_) return;
    setTitle(kTitle, 0);
}

bool GameWindow::keepRunning() {
    pump();
    // Minimised, the console sits in its HOME menu; while the controls are shown the
    // player reads them: either way the game waits, and no frame runs.
    while ((minimised_ || helpPage_ > 0) && !closed_) {
        if (redraw_) draw();
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 250)) handle(event);
        plainTitleWhenDue();
    }
    plainTitleWhenDue();
    if (redraw_ && !closed_ && !resuming()) draw();
    return !closed_ && !newYear_;
}

void GameWindow::sampleButtons(u32* held, u32* pressedSinceLastScan) {
    pump();
    u32 liveHeld, livePressed;
    buttons_.take(&liveHeld, &livePressed);
    session_.scan(liveHeld, livePressed, held, pressedSinceLastScan);
    writeLines(false);
}

void GameWindow::waitForVBlank() {
    if (!settings_.paced || resuming()) return;
    // Sleeps until then: the game uses no processor while it waits.
    u64 elapsed = settings_.clockNs() - firstVBlankNs_;
    settings_.sleepUntilNs(firstVBlankNs_ + nextVBlankNs(elapsed));
}

void GameWindow::presented(const u8* top, const u8* bottom) {
    if (resuming()) return; // only where it came back to is shown
    if (announce_) {
        announce_ = false;
        int month = std::min(std::max((int)farm.month, 1), 12);
        tell(say("game resumed, month ", "partie reprise, mois ") + std::to_string(month) +
                 say(" (F5 twice: a new year)", " (F5 deux fois : une nouvelle annee)"),
             kResumedSeconds);
    }
    if (!shown_.update(top, bottom)) return; // the window already shows it
    SDL_UpdateTexture(texture_, nullptr, shown_.rgb().data(), SCREENSHOT_WIDTH * 3);
    draw();
}

void GameWindow::draw() {
    SDL_RenderClear(renderer_);
    copyScreens(texture_);
    if (helpPage_ > 0) copyScreens(helpTexture_);
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
    if (writePngWhole(path.string(), shown_.rgb(), SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT, &error)) {
        fs::path shown = fs::absolute(path, ignored).lexically_normal();
        saved = (shown.empty() ? path : shown).string();
        // The recording notes the frame it shows: the frames before this note replay to it.
        session_.note("screenshot " + saved);
        tell("screenshot saved to " + saved, kScreenshotSeconds);
        printf("quorvandelle: screenshot saved to %s\n", saved.c_str());
        fflush(stdout);
    } else {
        tell("screenshot not saved: " + error, kScreenshotSeconds);
        fprintf(stderr, "quorvandelle: screenshot not saved: %s\n", error.c_str());
    }
    return saved;
}

int playInWindow(const Options& options, const ReplayScript& script, u64 clockMs, u8 language) {
    WindowSettings settings;
    settings.scale = options.scale;
    settings.language = language;
    settings.script = &script.runs;
    settings.clockMs = clockMs;
    const std::string folder = stateFolder();
    if (!folder.empty()) {
        settings.settingsPath = folder + "/settings.txt";
        settings.layout = readLayout(settings.settingsPath);
    }

    // The game is kept unless the command line says which one to play or where it goes.
    bool keeping = !folder.empty() && options.recordPath.empty() && options.replayPath.empty() && !options.seed;
    const std::string keptPath = folder + "/game.txt";
    ReplayScript kept;
    std::string why, notice;
    if (keeping) {
        KeptGame found = readKeptGame(keptPath, &kept, &why);
        if (found == KeptGameFound) {
            settings.script = &kept.runs;
            settings.scriptAtOnce = true;
            settings.clockMs = *kept.seed;
            if (!options.language && kept.language) settings.language = *kept.language;
        } else if (found == KeptGameRefused) {
            keeping = false;
            notice = "the kept game does not read back (" + why + "); it is left as it is, and this game is not kept";
        }
        if (!notice.empty()) fprintf(stderr, "quorvandelle: %s\n", notice.c_str());
    }
    settings.keepsGame = keeping;

    // A recording that could not be written is told before anything is played.
    FILE* record = nullptr;
    if (!options.recordPath.empty() && (record = fopen(options.recordPath.c_str(), "w")) == nullptr) {
        fprintf(stderr, "quorvandelle: %s: cannot write: %s\n", options.recordPath.c_str(), strerror(errno));
        return 2;
    }
    GameWindow window;
    std::string error;
    if (!window.open(settings, &error)) {
        fprintf(stderr, "quorvandelle: %s; to play without a window, run it with --headless --replay FILE\n",
                error.c_str());
        if (record != nullptr) fclose(record), remove(options.recordPath.c_str());
        return 2;
    }
    if (record != nullptr) window.recordTo(record);
    if (keeping) window.keepAt(keptPath);
    if (!notice.empty()) window.tell(notice, kResumedSeconds);

    hostConsoleReset(settings.clockMs, settings.language);
    hostConsoleSetFrontend(&window);
    appMain();
    while (window.newYearAsked()) {
        u64 now = clockNow();
        window.startNewYear(now);
        hostConsoleReset(now, settings.language);
        appMain();
    }
    hostConsoleSetFrontend(nullptr);
    bool recorded = window.finishRecording(&error);
    window.close();
    if (!recorded) {
        fprintf(stderr, "quorvandelle: %s: %s\n", record != nullptr ? options.recordPath.c_str() : keptPath.c_str(),
                error.c_str());
        return 1;
    }
    return 0;
}
