// The window under SDL's dummy video driver: its keys and controllers as the console's
// scan sees them, its size on a display, the help, what it shows.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "desktop/keeping.h"
#include "desktop/layout.h"
#include "desktop/window.h"
#include "frontend/controls.h"
#include "frontend/home.h"
#include "gfx/render.h"
#include "platform/host_console.h"

// The program's own allocations, counted while a test asks (SDL's mallocs are not).
static std::atomic<long> allocations{-1};
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    if (allocations >= 0) allocations++;
    void* memory = malloc(size ? size : 1);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}
void operator delete(void* memory) noexcept { free(memory); }
void operator delete(void* memory, size_t) noexcept { free(memory); }

namespace {

using Values = std::vector<long long>;

// The window's buttons as the console's scan reads them.
struct WindowButtons : HostFrontend {
    bool keepRunning() override { return true; }
    void sampleButtons(u32* held, u32* pressed) override { homeButtons(held, pressed); }
};

class Window : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1); // the dummy window has no focus
        hostConsoleReset(0, CFG_LANGUAGE_EN);
        WindowSettings settings;
        settings.scale = 1;
        settings.layout = BothScreens;
        settings.screenshotFolder = ::testing::TempDir();
        std::string error;
        ASSERT_TRUE(openWindow(settings, &error)) << error;
        hostConsoleSetFrontend(&home);
    }
    void TearDown() override {
        hostConsoleSetFrontend(nullptr);
        closeWindow();
    }
    u32 scan() {
        hidScanInput();
        return hidKeysDown();
    }
    WindowButtons home;
};

void push(u32 type, SDL_Scancode place, SDL_Keycode label, bool repeat = false) {
    SDL_Event event{};
    event.type = type;
    event.key.repeat = repeat;
    event.key.keysym.scancode = place;
    event.key.keysym.sym = label;
    SDL_PushEvent(&event);
}
void down(SDL_Scancode key, bool repeat = false) { push(SDL_KEYDOWN, key, SDL_GetKeyFromScancode(key), repeat); }
void up(SDL_Scancode key) { push(SDL_KEYUP, key, SDL_GetKeyFromScancode(key)); }

TEST_F(Window, EveryKeyPressesItsButtonOnce) {
    // Every key of the table of controls, by place; letters also by label (AZERTY's A is
    // where a US Q is); the window's own actions and other keys press nothing; and keys
    // that the controls' help names in words, written out here.
    struct Key { SDL_Scancode place; SDL_Keycode label; u32 button; };
    std::vector<Key> keys = {{SDL_SCANCODE_Q, SDLK_a, KEY_A}, {SDL_SCANCODE_A, SDLK_q, KEY_A},
                             {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, KEY_R}, {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, KEY_L},
                             {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KEY_A}, {SDL_SCANCODE_KP_8, SDLK_KP_8, KEY_CPAD_UP},
                             {SDL_SCANCODE_W, SDLK_w, 0}, {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0}};
    for (size_t i = 0; i < kControlCount; i++) {
        for (const ControlKey& key : kControls[i].keys) {
            if (key.sdl == nullptr || key.button == 0) continue;
            SDL_Scancode place = SDL_GetScancodeFromName(key.sdl);
            ASSERT_NE(place, SDL_SCANCODE_UNKNOWN) << key.sdl;
            keys.push_back({place, SDL_GetKeyFromScancode(place), key.button});
        }
    }
    EXPECT_EQ(keys.size(), 8u + 17); // A 4, D-pad 4, Circle Pad 4, R 2, L 2, START 1
    for (const Key& key : keys) {
        push(SDL_KEYDOWN, key.place, key.label);
        EXPECT_EQ(scan(), key.button) << SDL_GetScancodeName(key.place);
        push(SDL_KEYDOWN, key.place, key.label, /*repeat*/ true);
        EXPECT_EQ(scan(), 0u) << "auto-repeat of " << SDL_GetScancodeName(key.place);
        push(SDL_KEYUP, key.place, key.label);
        EXPECT_EQ(scan(), 0u);
    }
    down(SDL_SCANCODE_RIGHT, /*repeat*/ true); // a repeat whose press was never seen
    EXPECT_EQ(scan(), 0u);
    up(SDL_SCANCODE_RIGHT);
    // Down and up between two scans counts, once; a second key of a held button adds nothing.
    down(SDL_SCANCODE_UP), up(SDL_SCANCODE_UP), down(SDL_SCANCODE_UP), up(SDL_SCANCODE_UP);
    down(SDL_SCANCODE_RETURN);
    EXPECT_EQ(scan(), (u32)(KEY_DUP | KEY_A));
    down(SDL_SCANCODE_SPACE), up(SDL_SCANCODE_RETURN);
    EXPECT_EQ(scan(), 0u);
    // Losing the keyboard lets everything go; back in the window, Space goes down anew.
    SDL_Event lost{};
    lost.type = SDL_WINDOWEVENT;
    lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&lost);
    down(SDL_SCANCODE_SPACE);
    EXPECT_EQ(scan(), (u32)KEY_A);
}

TEST_F(Window, AControllersButtonsAndLeftStick) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    int device = SDL_JoystickAttachVirtualEx(&desc);
    SDL_Joystick* pad = SDL_JoystickOpen(device);
    ASSERT_NE(pad, nullptr) << SDL_GetError();
    scan(); // the window takes the controller that was plugged in
    std::vector<std::pair<int, u32>> buttons = {{SDL_CONTROLLER_BUTTON_B, 0}};
    for (size_t i = 0; i < kControlCount; i++) {
        for (const ControlPad& mapped : kControls[i].pad) {
            if (mapped.sdl != nullptr) buttons.push_back({SDL_GameControllerGetButtonFromString(mapped.sdl), mapped.button});
        }
    }
    EXPECT_EQ(buttons.size(), 1u + 8); // A, the D-pad's four, L, R, Start
    for (auto [button, expected] : buttons) {
        SDL_JoystickSetVirtualButton(pad, button, 1);
        EXPECT_EQ(scan(), expected) << button;
        EXPECT_EQ(scan(), 0u) << "held " << button;
        SDL_JoystickSetVirtualButton(pad, button, 0);
    }
    // The left stick: pressed past half-way, released only well back, so a stick resting
    // near the mark does not chatter; SDL's y grows downwards.
    // Half-way is 16384 of SDL's 32768, three eighths 12288.
    const std::pair<int, u32> stick[] = {
        {16383, 0}, {16384, KEY_CPAD_RIGHT}, {12288, 0}, {16384, 0}, // held down to three eighths...
        {12287, 0}, {16384, KEY_CPAD_RIGHT}, {0, 0},                 // ...released below it
        {-16384, KEY_CPAD_LEFT}, {-12288, 0}, {-16384, 0}, {32767, KEY_CPAD_RIGHT}};
    for (auto [value, expected] : stick) {
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, (Sint16)value);
        EXPECT_EQ(scan(), expected) << value;
    }
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(scan(), (u32)KEY_CPAD_UP);
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(device);
}

TEST(WindowSize, TheLargestWholeScaleThatFitsWithItsFrame) {
    // 400x480 a scale step, with 16x48 kept for the frame and title bar: twice takes
    // 816x1008. A scale asked for is kept when it fits, reduced when not; never below 1.
    const int cases[][4] = {{816, 1008, 0, 2}, {815, 1008, 0, 1}, {1920, 1007, 0, 1}, {3840, 2160, 0, 4},
                            {3840, 2160, 3, 3}, {1280, 1024, 3, 2}, {300, 200, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(fittingScale(c[0], c[1], c[2], 400, 480), c[3]) << c[0] << "x" << c[1] << " " << c[2];
    // A window opens with the upper screen and its advice strip, 400x304, at the largest
    // scale that fits: twice at 1366x768, also when a panel leaves 1366x740 ((740 - 48) /
    // 304 = 2.3), three times at 1920x1080 (1032 / 304 = 3.4); where both screens fit only
    // once (800x600), the same at 1x.
    const int usable[][3] = {{1366, 768, 2}, {1366, 740, 2}, {1920, 1080, 3}, {800, 600, 1}};
    for (const auto& u : usable) {
        WindowLayout layout = defaultLayout(u[0], u[1]);
        LayoutBox size = layoutSize(layout);
        EXPECT_EQ(Values({layout, size.width, size.height, fittingScale(u[0], u[1], 0, size.width, size.height)}),
                  Values({UpperWithAdvice, 400, 304, u[2]})) << u[0] << "x" << u[1];
    }
}

// The window's pixels as RGB, from the software renderer's surface.
std::vector<u8> windowPixels(SDL_Window* window) {
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(SDL_GetWindowSurface(window), SDL_PIXELFORMAT_RGB24, 0);
    std::vector<u8> pixels;
    for (int y = 0; rgb != nullptr && y < rgb->h; y++) {
        const u8* row = (const u8*)rgb->pixels + (size_t)y * rgb->pitch;
        pixels.insert(pixels.end(), row, row + 3 * rgb->w);
    }
    SDL_FreeSurface(rgb);
    return pixels;
}

TEST_F(Window, ShowsThePictureAndTheHelpOverIt) {
    EXPECT_STREQ(SDL_GetWindowTitle(gameWindow()), "Quorvandelle - F1: controls");
    std::vector<u8> picture((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3);
    for (size_t i = 0; i < picture.size(); i++) picture[i] = (u8)(i * 7 + 1);
    homeShow(picture.data());
    EXPECT_EQ(windowPixels(gameWindow()), picture);
    // The advice in the lower screen's place: a refusal's letters yellow, the screen between them.
    homeAdvice({"Refused: at most 37 kg."});
    std::vector<u8> advised = windowPixels(gameWindow());
    size_t yellow = 0, changed = 0;
    for (size_t i = 0; i < advised.size(); i += 3) {
        changed += memcmp(&advised[i], &picture[i], 3) != 0;
        yellow += advised[i] == 255 && advised[i + 1] == 255 && advised[i + 2] == 0 && i / 3 / 400 >= 240;
    }
    EXPECT_EQ(Values({changed > 0, changed == yellow}), Values({1, 1}));
    homeAdvice({});
    EXPECT_EQ(windowPixels(gameWindow()), picture);

    // 900x1000 holds it twice over: 50 columns of black each side, 20 rows above and
    // below, each console pixel a 2x2 square.
    SDL_SetWindowSize(gameWindow(), 900, 1000);
    u32 held, pressed;
    homeButtons(&held, &pressed);
    std::vector<u8> shown = windowPixels(gameWindow());
    ASSERT_EQ(shown.size(), 900u * 1000 * 3);
    for (auto [x, y] : {std::pair{0, 0}, {49, 500}, {850, 500}, {450, 19}, {450, 980}}) {
        EXPECT_EQ(shown[3 * (y * 900 + x)] | shown[3 * (y * 900 + x) + 1], 0) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{50, 20}, {51, 21}, {849, 979}, {451, 503}}) {
        const u8* console = &picture[3 * (((y - 20) / 2) * 400 + (x - 50) / 2)];
        EXPECT_EQ(memcmp(&shown[3 * (y * 900 + x)], console, 3), 0) << x << "," << y;
    }

    // The help goes over the picture and holds the game; F1 turns its pages, another key
    // closes it and does nothing else; the picture is as it was.
    down(SDL_SCANCODE_F1);
    homeButtons(&held, &pressed);
    EXPECT_EQ(Values({windowHelpPage(), homePaused()}), Values({1, 1}));
    EXPECT_NE(windowPixels(gameWindow()), shown);
    down(SDL_SCANCODE_F1), down(SDL_SCANCODE_RETURN);
    homeButtons(&held, &pressed);
    EXPECT_EQ(Values({windowHelpPage(), homePaused(), pressed}), Values({0, 0, 0}));
    EXPECT_EQ(windowPixels(gameWindow()), shown);
}

// F10 goes through the layouts, each remembered; the upper screen and its advice strip
// under it is one; minimised, the game waits; F12's pictures are named for their second.
TEST_F(Window, LayoutsRememberedPausesAndScreenshots) {
    std::string settings = ::testing::TempDir() + "window_settings.txt";
    remove(settings.c_str());
    closeWindow();
    WindowSettings chosen;
    chosen.scale = 1, chosen.settingsPath = settings, chosen.screenshotFolder = ::testing::TempDir();
    std::string error;
    ASSERT_TRUE(openWindow(chosen, &error)) << error;
    u32 held, pressed;
    const WindowLayout order[] = {BothScreens, UpperScreenOnly, SideBySide, UpperWithAdvice};
    for (WindowLayout next : order) {
        down(SDL_SCANCODE_F10), up(SDL_SCANCODE_F10);
        homeButtons(&held, &pressed);
        EXPECT_EQ(Values({windowLayout(), readLayout(settings).value_or(kLayoutCount)}), Values({next, next}));
    }
    homeAdvice({"Refused: at most 37 kg."});
    std::vector<u8> shown = windowPixels(gameWindow());
    ASSERT_EQ(shown.size(), 400u * 304 * 3);
    size_t yellow = 0;
    for (size_t i = 0; i < shown.size(); i += 3) yellow += shown[i] == 255 && shown[i + 1] == 255 && shown[i + 2] == 0;
    EXPECT_GT(yellow, 0u);

    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    for (auto [what, paused] : {std::pair{SDL_WINDOWEVENT_MINIMIZED, 1}, {SDL_WINDOWEVENT_RESTORED, 0}}) {
        event.window.event = what;
        SDL_PushEvent(&event);
        homeButtons(&held, &pressed);
        EXPECT_EQ(homePaused(), paused) << what;
    }

    // quorvandelle-YYYYMMDD-HHMMSS.png, then -2, -3 in the same second.
    std::vector<std::string> saved, stamps;
    std::vector<int> numbers;
    for (int i = 0; i < 3; i++) {
        saved.push_back(saveScreenshot(::testing::TempDir()));
        std::string name = saved.back().substr(saved.back().find_last_of('/') + 1);
        bool formed = name.size() >= 32 && name.compare(0, 13, "quorvandelle-") == 0 && name[21] == '-' &&
                      name.find_first_not_of("0123456789", 13) == 21 && name.find_first_not_of("0123456789", 22) == 28;
        ASSERT_TRUE(formed) << name;
        stamps.push_back(name.substr(0, 28));
        numbers.push_back(name[28] == '-' ? name[29] - '0' : 1);
        EXPECT_EQ(numbers[i], i > 0 && stamps[i] == stamps[i - 1] ? numbers[i - 1] + 1 : 1) << name;
    }
    for (const std::string& path : saved) remove(path.c_str());
    remove(settings.c_str());
}

TEST_F(Window, PlayingAllocatesNothingAndClosingIsTold) {
    std::vector<u8> picture((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3);
    u32 held, pressed;
    allocations = 0;
    for (int frame = 0; frame < 600; frame++) {
        picture[frame] ^= 1;
        if (frame % 3 == 0) down(frame % 2 ? SDL_SCANCODE_RIGHT : SDL_SCANCODE_R);
        if (frame % 3 == 1) up(frame % 2 ? SDL_SCANCODE_RIGHT : SDL_SCANCODE_R);
        homeButtons(&held, &pressed);
        homeShow(picture.data());
    }
    EXPECT_EQ(allocations.exchange(-1), 0);
    EXPECT_FALSE(homeClosing());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    homeButtons(&held, &pressed);
    EXPECT_TRUE(homeClosing());
}

// The kept year and the settings are read only from regular files (a FIFO cannot hold the
// window up, an endless device is never read); one window holds the year; a line that a
// full disk cut short is taken back, leaving the file in whole lines.
TEST(Keeping, RegularFilesOneWindowWholeLines) {
    std::string folder = ::testing::TempDir() + "keeping_test", why, text;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    mkfifo((folder + "/game.txt").c_str(), 0600);
    symlink("/dev/zero", (folder + "/settings.txt").c_str());
    keepSessionAt(folder + "/game.txt");
    EXPECT_EQ(homeReadKept(&text, &why), KeptUnreadable);
    EXPECT_EQ(why, folder + "/game.txt: cannot read: not a regular file");
    EXPECT_FALSE(readLayout(folder + "/settings.txt").has_value());
    unlink((folder + "/game.txt").c_str());

    ASSERT_TRUE(homeHoldYear(false, &why)) << why;
    int other = open((folder + "/game.lock").c_str(), O_RDWR);
    EXPECT_EQ(Values({flock(other, LOCK_EX | LOCK_NB), errno}), Values({-1, EWOULDBLOCK}));
    close(other);

    ASSERT_TRUE(homeKeepWhole("seed=1\n", &why)) << why;
    rlimit saved, full;
    getrlimit(RLIMIT_FSIZE, &saved);
    full = saved, full.rlim_cur = 12;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    bool kept = homeKeepLines("A A A A A A\n", &why); // 7 + 12 bytes: cut at 12
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(kept);
    EXPECT_EQ(why, folder + "/game.txt: File too large");
    ASSERT_TRUE(homeReadKept(&text, &why) == KeptFound && text == "seed=1\n") << text;
    ASSERT_TRUE(homeKeepLines("A\n", &why)) << why;
    EXPECT_EQ(Values({homeReadKept(&text, &why), text == "seed=1\nA\n"}), Values({KeptFound, 1}));
    std::filesystem::remove_all(folder);
}

} // namespace
