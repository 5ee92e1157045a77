#include "desktop/window.h"

#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <string_view>
#include <thread>

#include "desktop/window_state.h"
#include "frontend/home.h"
#include "frontend/player.h"
#include "gfx/render.h"

namespace {

const char kTitle[] = "Quorvandelle";

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

Window w;

std::string say(const char* english, const char* french) {
    return w.settings.language == CFG_LANGUAGE_FR ? french : english;
}

// The title tells a passing notice for a while, else the lasting one, else nothing.
void updateTitle(void) {
    if (!w.passing.empty() && Clock::now() >= w.passingUntil) w.passing.clear();
    const std::string& told = w.passing.empty() ? w.lasting : w.passing;
    if (told == w.told) return;
    w.told = told;
    SDL_SetWindowTitle(w.sdl, (told.empty() ? kTitle : std::string(kTitle) + " - " + told).c_str());
}

SDL_Rect rect(LayoutBox box) { return {box.x, box.y, box.width, box.height}; }

// A picture in the screenshot's arrangement, placed as the layout puts its screens.
void copyScreens(SDL_Texture* texture) {
    const SDL_Rect top{0, 0, TOP_COLUMNS, SCREEN_ROWS};
    const SDL_Rect bottom{(TOP_COLUMNS - BOTTOM_COLUMNS) / 2, SCREEN_ROWS, BOTTOM_COLUMNS, SCREEN_ROWS};
    const SDL_Rect beside{TOP_COLUMNS, 0, BOTTOM_COLUMNS, SCREEN_ROWS};
    if (w.layout == BothScreens) SDL_RenderCopy(w.renderer, texture, nullptr, nullptr);
    else SDL_RenderCopy(w.renderer, texture, &top, &top);
    if (w.layout == SideBySide) SDL_RenderCopy(w.renderer, texture, &bottom, &beside);
}

// The advice in its place, drawn anew for the layout's room.
void placeAdvice(void) {
    LayoutBox place = advicePlace(w.layout);
    if (place.width == 0) return;
    std::vector<u8> rgba((size_t)place.width * place.height * 4);
    drawAdvice(w.adviceLines, place.width, place.height, rgba.data());
    SDL_Rect drawn{0, 0, place.width, place.height};
    SDL_UpdateTexture(w.advice, &drawn, rgba.data(), place.width * 4);
}

void draw(void) {
    SDL_RenderClear(w.renderer);
    copyScreens(w.picture);
    LayoutBox place = advicePlace(w.layout);
    SDL_Rect from{0, 0, place.width, place.height}, to = rect(place);
    if (place.width > 0) SDL_RenderCopy(w.renderer, w.advice, &from, &to);
    if (w.helpPage > 0) copyScreens(w.help);
    SDL_RenderPresent(w.renderer);
    w.redraw = false;
}

// The part of a display that windows may cover, its panels left out.
SDL_Rect usableArea(int display) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
    return usable;
}

// The room the window's frame and title bar take beside its own size.
const int kFrameRoomY = 48;

// The largest whole scale that fits the display's usable area (or the one asked for,
// when it fits), the window centred in that area.
void fitToDisplay(void) {
    SDL_Rect usable = usableArea(std::max(SDL_GetWindowDisplayIndex(w.sdl), 0));
    LayoutBox size = layoutSize(w.layout);
    int scale = fittingScale(usable.w, usable.h, w.settings.scale, size.width, size.height);
    if (w.settings.scale > scale) {
        fprintf(stderr, "quorvandelle: --scale %d does not fit the display (%dx%d); using --scale %d\n",
                w.settings.scale, usable.w, usable.h, scale);
    }
    SDL_SetWindowSize(w.sdl, size.width * scale, size.height * scale);
    // The title bar stands above the window's own area: the two together are centred.
    int y = usable.y + (usable.h - size.height * scale + kFrameRoomY) / 2;
    y = std::max(usable.y, std::min(y, usable.y + usable.h - size.height * scale));
    SDL_SetWindowPosition(w.sdl, std::max(usable.x, usable.x + (usable.w - size.width * scale) / 2), y);
}

void applyLayout(void) {
    LayoutBox size = layoutSize(w.layout);
    SDL_RenderSetLogicalSize(w.renderer, size.width, size.height);
    SDL_SetWindowMinimumSize(w.sdl, size.width, size.height);
    if ((SDL_GetWindowFlags(w.sdl) & SDL_WINDOW_FULLSCREEN) == 0) fitToDisplay();
    placeAdvice();
    w.redraw = true;
}

void showHelp(size_t page) {
    w.helpPage = page;
    if (page > 0) {
        std::vector<u8> rgba((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 4);
        drawHelpPage(w.pages, page - 1, w.settings.language, rgba.data());
        SDL_UpdateTexture(w.help, nullptr, rgba.data(), SCREENSHOT_WIDTH * 4);
    }
    draw();
    // What was pressed while the help was shown is not played afterwards.
    u32 held, pressed;
    if (page == 0) w.buttons.take(&held, &pressed);
}

bool openWindow(const WindowSettings& settings, std::string* error) {
    closeWindow();
    w.settings = settings;
    if (!startVideo()) {
        *error = "no display to open the window on";
        return SDL_Quit(), false;
    }
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER); // without it the keyboard still plays
    SDL_StopTextInput();
    // Hidden until it has its size and place on the display it opens on. No vsync: the
    // console's own refresh paces the game, not the monitor's.
    w.sdl = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, SCREENSHOT_WIDTH,
                             SCREENSHOT_HEIGHT, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (w.sdl != nullptr) w.renderer = SDL_CreateRenderer(w.sdl, -1, 0);
    if (w.renderer != nullptr) {
        w.picture = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING,
                                      SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
        w.help = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, SCREENSHOT_WIDTH,
                                   SCREENSHOT_HEIGHT);
        w.advice = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, SCREENSHOT_WIDTH,
                                     SCREEN_ROWS);
    }
    if (w.picture == nullptr || w.help == nullptr || w.advice == nullptr) {
        *error = std::string("cannot open the window: ") + SDL_GetError();
        return closeWindow(), false;
    }
    // Whole console pixels, sharp, with black bars around when the window's shape differs.
    SDL_SetTextureScaleMode(w.picture, SDL_ScaleModeNearest);
    SDL_SetTextureScaleMode(w.help, SDL_ScaleModeNearest);
    SDL_SetTextureScaleMode(w.advice, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(w.advice, SDL_BLENDMODE_BLEND);
    SDL_SetTextureBlendMode(w.help, SDL_BLENDMODE_BLEND);
    SDL_RenderSetIntegerScale(w.renderer, SDL_TRUE);
    SDL_SetRenderDrawColor(w.renderer, 0, 0, 0, 255);
    SDL_Rect usable = usableArea(0);
    w.layout = settings.layout.value_or(defaultLayout(usable.w, usable.h));
    w.adviceLines.clear();
    w.pages = helpPages(settings.language);
    w.closed = w.minimised = false;
    w.helpPage = 0;
    forgetButtons();
    w.passing = w.lasting = w.told = "";
    SDL_SetWindowTitle(w.sdl, kTitle);
    applyLayout();
    SDL_ShowWindow(w.sdl);
    homeShow(std::vector<u8>((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3, 0).data());
    homeTell(PassingNotice, say("F1: controls", "F1 : commandes"));
    return true;
}

void closeWindow(void) {
    w.buttons.closeControllers();
    if (w.advice) SDL_DestroyTexture(w.advice);
    if (w.help) SDL_DestroyTexture(w.help);
    if (w.picture) SDL_DestroyTexture(w.picture);
    if (w.renderer) SDL_DestroyRenderer(w.renderer);
    if (w.sdl) SDL_DestroyWindow(w.sdl);
    SDL_Quit();
    w.advice = w.help = w.picture = nullptr;
    w.renderer = nullptr;
    w.sdl = nullptr;
}

SDL_Window* gameWindow(void) { return w.sdl; }

int windowHelpPage(void) { return (int)w.helpPage; }

WindowLayout windowLayout(void) { return w.layout; }

// The window's home for the player.
void homeShow(const u8* rgb) {
    SDL_UpdateTexture(w.picture, nullptr, rgb, SCREENSHOT_WIDTH * 3);
    draw();
}

u64 homeNowNs(void) {
    return (u64)std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

void homeSleepUntilNs(u64 ns) { std::this_thread::sleep_until(Clock::time_point(std::chrono::nanoseconds(ns))); }

void homeTell(NoticeKind kind, const std::string& text) {
    if (kind == PassingNotice) w.passing = text, w.passingUntil = Clock::now() + kNoticeTime;
    else w.lasting = text;
    // What lasts is also said where the program was started.
    if (kind == LastingNotice && !text.empty()) fprintf(stderr, "quorvandelle: %s\n", text.c_str());
    if (w.sdl) updateTitle();
}

int homeAsk(const std::string&, const std::string&, const std::string&) { return 0; }

void homeYear(const std::string&) {}

void homeAdvice(const std::vector<std::string>& lines) {
    w.adviceLines = lines;
    placeAdvice();
    draw();
}

void homeSay(const std::string&) {}
