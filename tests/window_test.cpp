// The window: its buttons as the console's scan sees them, its pacing, what it shows,
// its screenshots, and recordings that replay headless to the same end. SDL runs with
// its dummy video driver and software renderer, so nothing appears on screen.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include "app/app.h"
#include "game/farm.h"
#include "gfx/render.h"
#include "host/outputs.h"
#include "host/pacing.h"
#include "host/window.h"
#include "support/test_console.h"

namespace fs = std::filesystem;

// Counts the program's own allocations while a test asks for it (SDL allocates with
// malloc and is not counted).
namespace {
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocations{0};
} // namespace

// GCC sees the free below meet this operator new's pointers once inlined, and warns.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    if (countingAllocations) allocations++;
    void* memory = malloc(size ? size : 1);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}
void operator delete(void* memory) noexcept { free(memory); }
void operator delete(void* memory, size_t) noexcept { free(memory); }

namespace {

const u64 kSeed = 20240601;

class Window : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        // The dummy window never has the keyboard focus; controllers must still be heard.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        folder = fs::path(::testing::TempDir()) /
                 ("window-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        resetConsoleAndFarm(kSeed);
    }

    void TearDown() override {
        hostConsoleSetFrontend(nullptr);
        window.close();
        fs::remove_all(folder);
    }

    void open(int scale = 1, const std::vector<ReplayRun>* script = nullptr) {
        WindowSettings settings;
        settings.scale = scale;
        settings.paced = false;
        settings.script = script;
        settings.screenshotFolder = folder.string();
        std::string error;
        ASSERT_TRUE(window.open(settings, &error)) << error;
        hostConsoleSetFrontend(&window);
    }

    // One frame's button scan, as the game makes it.
    u32 scan() {
        hidScanInput();
        return hidKeysDown();
    }

    GameWindow window;
    fs::path folder;
};

void pushKey(SDL_Scancode key, bool down, bool repeat = false) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void tapKey(SDL_Scancode key) {
    pushKey(key, true);
    pushKey(key, false);
}

void pushWindowEvent(u8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// A game controller plugged in while the game runs, driven through SDL's virtual joysticks.
struct Pad {
    int device = -1;
    SDL_Joystick* joystick = nullptr;

    void plugIn() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "test pad";
        device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(device);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
    }
    void unplug() {
        SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(device);
        joystick = nullptr;
    }
    // Each change reaches SDL's queue as its own event, as a real controller's would.
    void button(SDL_GameControllerButton which, bool down) {
        SDL_JoystickSetVirtualButton(joystick, which, down ? 1 : 0);
        SDL_PumpEvents();
    }
    void axis(SDL_GameControllerAxis which, int value) {
        SDL_JoystickSetVirtualAxis(joystick, which, (Sint16)value);
        SDL_PumpEvents();
    }
};

// Two distinct frames: every pixel of both screens gets a colour from its place.
void patternFrame(std::vector<u8>* top, std::vector<u8>* bottom, int salt) {
    top->resize(TOP_FRAMEBUFFER_BYTES);
    bottom->resize(BOTTOM_FRAMEBUFFER_BYTES);
    for (size_t i = 0; i < top->size(); i++) (*top)[i] = (u8)(i * 7 + salt);
    for (size_t i = 0; i < bottom->size(); i++) (*bottom)[i] = (u8)(i * 13 + salt * 3);
}

// The window's pixels, as RGB, read back from the software renderer's surface.
std::vector<u8> windowPixels(SDL_Window* window, int* width, int* height) {
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(SDL_GetWindowSurface(window), SDL_PIXELFORMAT_RGB24, 0);
    EXPECT_NE(rgb, nullptr) << SDL_GetError();
    if (rgb == nullptr) return {};
    *width = rgb->w;
    *height = rgb->h;
    std::vector<u8> pixels;
    for (int y = 0; y < rgb->h; y++) {
        const u8* row = (const u8*)rgb->pixels + (size_t)y * rgb->pitch;
        pixels.insert(pixels.end(), row, row + 3 * rgb->w);
    }
    SDL_FreeSurface(rgb);
    return pixels;
}

// The screenshot files written into a folder.
std::vector<fs::path> screenshots(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png") found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<u8> decodePng(const fs::path& path, int* width, int* height) {
    int channels = 0;
    u8* pixels = stbi_load(path.c_str(), width, height, &channels, 3);
    if (pixels == nullptr) return {};
    std::vector<u8> rgb(pixels, pixels + (size_t)*width * *height * 3);
    stbi_image_free(pixels);
    return rgb;
}

// ---------------------------------------------------------------------------------
// Buttons

TEST_F(Window, EveryDocumentedKeyPressesItsButton) {
    open();
    const struct {
        SDL_Scancode key;
        u32 button;
    } documented[] = {
        {SDL_SCANCODE_RETURN, KEY_A},        {SDL_SCANCODE_SPACE, KEY_A},
        {SDL_SCANCODE_X, KEY_A},             {SDL_SCANCODE_KP_ENTER, KEY_A},
        {SDL_SCANCODE_UP, KEY_DUP},          {SDL_SCANCODE_DOWN, KEY_DDOWN},
        {SDL_SCANCODE_LEFT, KEY_DLEFT},      {SDL_SCANCODE_RIGHT, KEY_DRIGHT},
        {SDL_SCANCODE_W, KEY_CPAD_UP},       {SDL_SCANCODE_S, KEY_CPAD_DOWN},
        {SDL_SCANCODE_A, KEY_CPAD_LEFT},     {SDL_SCANCODE_D, KEY_CPAD_RIGHT},
        {SDL_SCANCODE_E, KEY_R},             {SDL_SCANCODE_PAGEUP, KEY_R},
        {SDL_SCANCODE_Q, KEY_L},             {SDL_SCANCODE_PAGEDOWN, KEY_L},
        {SDL_SCANCODE_ESCAPE, KEY_START},
        // Keys of no button.
        {SDL_SCANCODE_B, 0},                 {SDL_SCANCODE_Y, 0},
        {SDL_SCANCODE_Z, 0},                 {SDL_SCANCODE_TAB, 0},
        {SDL_SCANCODE_BACKSPACE, 0},         {SDL_SCANCODE_F1, 0},
    };
    for (const auto& entry : documented) {
        pushKey(entry.key, true);
        EXPECT_EQ(scan(), entry.button) << SDL_GetScancodeName(entry.key);
        pushKey(entry.key, false);
        EXPECT_EQ(scan(), 0u) << SDL_GetScancodeName(entry.key);
    }
}

TEST_F(Window, AKeyPressCountsOnceAndAutoRepeatNever) {
    open();
    pushKey(SDL_SCANCODE_RIGHT, true);
    EXPECT_EQ(scan(), (u32)KEY_DRIGHT);
    EXPECT_EQ(scan(), 0u);
    pushKey(SDL_SCANCODE_RIGHT, true, /*repeat*/ true);
    EXPECT_EQ(scan(), 0u);
    pushKey(SDL_SCANCODE_RIGHT, false);
    EXPECT_EQ(scan(), 0u);
    // A repeat whose first press was never seen is still no press.
    pushKey(SDL_SCANCODE_E, true, /*repeat*/ true);
    EXPECT_EQ(scan(), 0u);

    // Down and up between two scans: it counts, once, however often it happened.
    tapKey(SDL_SCANCODE_RETURN);
    tapKey(SDL_SCANCODE_UP);
    tapKey(SDL_SCANCODE_UP);
    EXPECT_EQ(scan(), (u32)(KEY_A | KEY_DUP));
    EXPECT_EQ(scan(), 0u);

    // Two keys of one button are one button: the second adds no press while the first
    // holds it, and letting one go leaves it held by the other.
    pushKey(SDL_SCANCODE_RETURN, true);
    EXPECT_EQ(scan(), (u32)KEY_A);
    pushKey(SDL_SCANCODE_SPACE, true);
    EXPECT_EQ(scan(), 0u);
    pushKey(SDL_SCANCODE_RETURN, false);
    pushKey(SDL_SCANCODE_RETURN, true);
    EXPECT_EQ(scan(), 0u);
    pushKey(SDL_SCANCODE_RETURN, false);
    pushKey(SDL_SCANCODE_SPACE, false);
    EXPECT_EQ(scan(), 0u);
    pushKey(SDL_SCANCODE_X, true);
    EXPECT_EQ(scan(), (u32)KEY_A);
}

TEST_F(Window, LosingTheFocusReleasesTheKeys) {
    open();
    pushKey(SDL_SCANCODE_Q, true);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(scan(), (u32)KEY_L); // seen before the focus went: it counts
    // The release happened elsewhere; back in the window, Q goes down anew.
    pushKey(SDL_SCANCODE_Q, true);
    EXPECT_EQ(scan(), (u32)KEY_L);
}

TEST_F(Window, AControllerPluggedInWhilePlaying) {
    open();
    EXPECT_EQ(scan(), 0u);
    Pad pad;
    ASSERT_NO_FATAL_FAILURE(pad.plugIn());
    EXPECT_EQ(scan(), 0u); // the window takes the new controller

    const struct {
        SDL_GameControllerButton button;
        u32 expected;
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, KEY_A},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, KEY_DUP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, KEY_DDOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, KEY_DLEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, KEY_DRIGHT},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, KEY_L},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, KEY_R},
        {SDL_CONTROLLER_BUTTON_START, KEY_START},
        {SDL_CONTROLLER_BUTTON_B, 0},
        {SDL_CONTROLLER_BUTTON_BACK, 0},
    };
    for (const auto& entry : buttons) {
        pad.button(entry.button, true);
        EXPECT_EQ(scan(), entry.expected) << SDL_GameControllerGetStringForButton(entry.button);
        EXPECT_EQ(scan(), 0u) << "held";
        pad.button(entry.button, false);
        EXPECT_EQ(scan(), 0u);
    }

    // Down and up again between two scans.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(scan(), (u32)KEY_A);

    // Unplugged while held: the button goes up; plugged in again, it works again.
    pad.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    EXPECT_EQ(scan(), (u32)KEY_R);
    pad.unplug();
    EXPECT_EQ(scan(), 0u);
    pushKey(SDL_SCANCODE_E, true); // R by the keyboard is a new press: nothing holds R now
    EXPECT_EQ(scan(), (u32)KEY_R);
    pushKey(SDL_SCANCODE_E, false);
    ASSERT_NO_FATAL_FAILURE(pad.plugIn());
    EXPECT_EQ(scan(), 0u);
    pad.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    EXPECT_EQ(scan(), (u32)KEY_R);
    pad.unplug();
}

TEST_F(Window, TheLeftStickPastItsDeadZoneIsOnePress) {
    open();
    Pad pad;
    ASSERT_NO_FATAL_FAILURE(pad.plugIn());
    scan();

    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, kStickRelease); // a small push is nothing
    EXPECT_EQ(scan(), 0u);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, kStickPress);
    EXPECT_EQ(scan(), (u32)KEY_CPAD_RIGHT);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(scan(), 0u);
    // Resting between the two marks keeps it down: no chatter near the edge.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, kStickRelease + 1);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, kStickPress + 1);
    EXPECT_EQ(scan(), 0u);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(scan(), 0u);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -kStickPress);
    EXPECT_EQ(scan(), (u32)KEY_CPAD_LEFT);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);

    // SDL's stick y grows downwards.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(scan(), (u32)KEY_CPAD_UP);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 32767); // straight through to the other side
    EXPECT_EQ(scan(), (u32)KEY_CPAD_DOWN);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    // A flick out and back between two scans counts.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(scan(), (u32)KEY_CPAD_DOWN);
    // The other stick is no Circle Pad.
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    EXPECT_EQ(scan(), 0u);
    pad.unplug();
}

// ---------------------------------------------------------------------------------
// Pacing

TEST(VBlank, TheGridIsTheConsolesRate) {
    // 268111856 blanks take exactly 4481136 seconds.
    const u64 exactly = 4481136ull * 1000000000ull;
    EXPECT_EQ(nextVBlankNs(exactly - 1), exactly);
    EXPECT_GT(nextVBlankNs(exactly), exactly); // on a blank: the next one, not this one

    // Each blank follows the last by a frame, rounded up to a nanosecond.
    u64 at = 0;
    for (u64 k = 1; k <= 2000; k++) {
        u64 next = nextVBlankNs(at);
        u64 expected = (k * 4481136ull * 1000000000ull + 268111855ull) / 268111856ull;
        ASSERT_EQ(next, expected) << "blank " << k;
        at = next;
    }
    // Late by several frames: the next blank on the grid, no burst to catch up.
    EXPECT_EQ(nextVBlankNs(nextVBlankNs(0) * 5 + 1000), nextVBlankNs(nextVBlankNs(0) * 5 + 2000));

    // A month on, still on the grid.
    const u64 month = 30ull * 24 * 3600 * 1000000000ull;
    u64 later = nextVBlankNs(month);
    EXPECT_GT(later, month);
    EXPECT_LE(later - month, 16713680u);
    EXPECT_EQ(nextVBlankNs(later - 1), later);
}

// ---------------------------------------------------------------------------------
// What the window shows

TEST_F(Window, OpensAtTheAskedScaleWithItsTitle) {
    for (int scale : {1, 2, 3}) {
        open(scale);
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window.sdlWindow(), &width, &height);
        EXPECT_EQ(width, 400 * scale);
        EXPECT_EQ(height, 480 * scale);
        EXPECT_STREQ(SDL_GetWindowTitle(window.sdlWindow()), "Quorvandelle");
        EXPECT_TRUE(SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_RESIZABLE);
        window.close();
    }
}

TEST_F(Window, ShowsThePresentedFrameInWholePixelsLetterboxed) {
    open(1);
    std::vector<u8> top;
    std::vector<u8> bottom;
    patternFrame(&top, &bottom, 1);
    std::vector<u8> picture = composeScreenshot(top.data(), bottom.data());

    // Before the first frame: black.
    int width = 0;
    int height = 0;
    std::vector<u8> shown = windowPixels(window.sdlWindow(), &width, &height);
    ASSERT_EQ(width, 400);
    ASSERT_EQ(height, 480);
    EXPECT_EQ(shown, std::vector<u8>(shown.size(), 0));

    window.presented(top.data(), bottom.data());
    shown = windowPixels(window.sdlWindow(), &width, &height);
    EXPECT_EQ(shown, picture);
    EXPECT_EQ(window.picture(), picture);

    // A window 900x1000 holds the picture twice over: 50 columns of black each side,
    // 20 rows above and below, every console pixel a 2x2 square.
    SDL_SetWindowSize(window.sdlWindow(), 900, 1000);
    ASSERT_TRUE(window.keepRunning());
    shown = windowPixels(window.sdlWindow(), &width, &height);
    ASSERT_EQ(width, 900);
    ASSERT_EQ(height, 1000);
    size_t wrong = 0;
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const u8* got = &shown[3 * ((size_t)y * width + x)];
            u8 expected[3] = {0, 0, 0};
            int px = (x - 50) / 2;
            int py = (y - 20) / 2;
            if (x >= 50 && x < 850 && y >= 20 && y < 980) memcpy(expected, &picture[3 * ((size_t)py * 400 + px)], 3);
            if (memcmp(got, expected, 3) != 0 && wrong++ < 5) {
                ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(wrong, 0u);

    // The next frame replaces the picture.
    patternFrame(&top, &bottom, 2);
    window.presented(top.data(), bottom.data());
    EXPECT_EQ(window.picture(), composeScreenshot(top.data(), bottom.data()));
    shown = windowPixels(window.sdlWindow(), &width, &height);
    EXPECT_EQ(memcmp(&shown[3 * ((size_t)20 * width + 50)], &window.picture()[0], 3), 0);
}

TEST_F(Window, F11TogglesFullScreen) {
    open();
    pushKey(SDL_SCANCODE_F11, true);
    ASSERT_TRUE(window.keepRunning());
    EXPECT_TRUE(SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_FULLSCREEN);
    pushKey(SDL_SCANCODE_F11, true, /*repeat*/ true); // held: no second toggle
    pushKey(SDL_SCANCODE_F11, false);
    ASSERT_TRUE(window.keepRunning());
    EXPECT_TRUE(SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_FULLSCREEN);
    tapKey(SDL_SCANCODE_F11);
    ASSERT_TRUE(window.keepRunning());
    EXPECT_FALSE(SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(scan(), 0u); // F11 is no button
}

TEST_F(Window, F12SavesWhatIsShownAsPng) {
    open();
    std::vector<u8> top;
    std::vector<u8> bottom;
    patternFrame(&top, &bottom, 3);
    window.presented(top.data(), bottom.data());

    // Each F12 names its own file in the title, with the whole path.
    const std::string said = "Quorvandelle - screenshot saved to ";
    std::vector<fs::path> named;
    for (int press = 0; press < 2; press++) {
        tapKey(SDL_SCANCODE_F12);
        pushKey(SDL_SCANCODE_F12, true, /*repeat*/ true);
        ASSERT_TRUE(window.keepRunning());
        std::string title = SDL_GetWindowTitle(window.sdlWindow());
        ASSERT_EQ(title.rfind(said, 0), 0u) << title;
        named.push_back(title.substr(said.size()));
        EXPECT_TRUE(named.back().is_absolute()) << title;
    }
    EXPECT_EQ(scan(), 0u); // F12 is no button

    std::vector<fs::path> files = screenshots(folder);
    ASSERT_EQ(files.size(), 2u); // two presses, two files, the repeats none
    EXPECT_NE(named[0], named[1]);
    for (const fs::path& file : named) {
        EXPECT_TRUE(file == files[0] || file == files[1]) << file;
        std::string name = file.filename().string();
        // quorvandelle-YYYYMMDD-HHMMSS.png, then -2 for a second one in the same second
        EXPECT_EQ(name.rfind("quorvandelle-", 0), 0u) << name;
        EXPECT_TRUE(name.size() >= 32 && isdigit((unsigned char)name[13]) && name[21] == '-') << name;
        int width = 0;
        int height = 0;
        EXPECT_EQ(decodePng(file, &width, &height), composeScreenshot(top.data(), bottom.data()));
        EXPECT_EQ(width, 400);
        EXPECT_EQ(height, 480);
    }

    // A folder that cannot take it: the title says so, the game goes on.
    fs::remove_all(folder);
    EXPECT_EQ(window.saveScreenshot(), "");
    std::string title = SDL_GetWindowTitle(window.sdlWindow());
    EXPECT_NE(title.find("not saved"), std::string::npos) << title;
    EXPECT_TRUE(window.keepRunning());
}

// ---------------------------------------------------------------------------------
// The window's life

TEST_F(Window, ClosingTheWindowEndsTheGame) {
    for (u8 how : {(u8)SDL_WINDOWEVENT_CLOSE, (u8)0}) {
        open();
        EXPECT_TRUE(window.keepRunning());
        if (how) {
            pushWindowEvent(how);
        } else {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
        EXPECT_FALSE(window.keepRunning());
        EXPECT_FALSE(window.keepRunning()); // and stays closed
        window.close();
    }
}

TEST_F(Window, AMinimisedWindowHoldsTheGame) {
    open();
    std::atomic<bool> restored{false};
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    std::thread player([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        restored = true;
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = SDL_WINDOWEVENT_RESTORED;
        SDL_PushEvent(&event);
    });
    bool going = window.keepRunning();
    bool wasRestored = restored;
    player.join();
    EXPECT_TRUE(going);
    EXPECT_TRUE(wasRestored) << "keepRunning returned while the window was still minimised";

    // Closed while minimised: it returns, false.
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    std::thread closer([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&event);
    });
    EXPECT_FALSE(window.keepRunning());
    closer.join();
}

// ---------------------------------------------------------------------------------
// Recordings

// Passes every call to the window, after doing what the test planned for that frame.
struct Driven : HostFrontend {
    GameWindow* window;
    std::function<void(int)> beforeFrame;
    int frame = 0;

    bool keepRunning() override {
        if (frame > 5000) { // a test gone wrong must still end
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
        beforeFrame(frame++);
        return window->keepRunning();
    }
    void sampleButtons(u32* held, u32* pressed) override { window->sampleButtons(held, pressed); }
    void waitForVBlank() override { window->waitForVBlank(); }
    void presented(const u8* top, const u8* bottom) override { window->presented(top, bottom); }
};

// As the headless program plays a script.
struct Replay : HostFrontend {
    ReplayCursor cursor;
    u32 buttons = 0;
    bool keepRunning() override { return cursor.next(&buttons); }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = buttons;
    }
};

struct Ending {
    std::string state;
    std::vector<u8> frame;
    u64 framesPresented;
};

Ending endingNow() {
    return Ending{farmStateJson(farm), composeScreenshot(hostPresentedTop(), hostPresentedBottom()),
                  hostConsoleStatus().framesPresented};
}

// Writes the recording as the program does, reads it back and plays it headless.
Ending replayHeadless(const std::vector<ReplayRun>& recording) {
    ReplayScript recorded;
    recorded.seed = kSeed;
    recorded.language = CFG_LANGUAGE_FR;
    recorded.runs = recording;
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(parseReplayScript(formatReplayScript(recorded), "recording", &script, &error)) << error;
    EXPECT_EQ(script.seed, recorded.seed);
    EXPECT_EQ(script.language, recorded.language);

    Replay replay;
    replay.cursor.runs = &script.runs;
    hostConsoleSetFrontend(nullptr);
    hostConsoleReset(*script.seed, *script.language);
    farm = FarmState{};
    hostConsoleSetFrontend(&replay);
    appMain();
    hostConsoleSetFrontend(nullptr);
    return endingNow();
}

u64 framesIn(const std::vector<ReplayRun>& runs) {
    u64 frames = 0;
    for (const ReplayRun& run : runs) frames += run.frames;
    return frames;
}

class Recording : public Window {
  protected:
    // Plays the game in the window, the test acting before each frame.
    Ending play(std::function<void(int)> beforeFrame, const std::vector<ReplayRun>* script = nullptr) {
        hostConsoleReset(kSeed, CFG_LANGUAGE_FR);
        farm = FarmState{};
        open(1, script);
        Driven driven;
        driven.window = &window;
        driven.beforeFrame = std::move(beforeFrame);
        hostConsoleSetFrontend(&driven);
        appMain();
        hostConsoleSetFrontend(nullptr);
        frames = driven.frame;
        return endingNow();
    }
    int frames = 0;
};

// A month played through, the month closing on its draws, held keys and taps mixed.
void monthOfPresses(int frame) {
    switch (frame) {
    case 2: tapKey(SDL_SCANCODE_RETURN); break;        // leave the rules
    case 4: pushKey(SDL_SCANCODE_SPACE, true); break;  // the situation, held...
    case 9: pushKey(SDL_SCANCODE_SPACE, false); break; // ...for five frames
    case 10: tapKey(SDL_SCANCODE_X); break;            // sell no males
    case 12: pushKey(SDL_SCANCODE_RIGHT, true); break; // one female, held with repeats
    case 13: case 14: case 15: pushKey(SDL_SCANCODE_RIGHT, true, true); break;
    case 16: pushKey(SDL_SCANCODE_RIGHT, false); break;
    case 18: tapKey(SDL_SCANCODE_RETURN); break;
    case 20: tapKey(SDL_SCANCODE_D); break;            // one coupling...
    case 22: tapKey(SDL_SCANCODE_RETURN); break;       // ...refused: no female left
    case 24: tapKey(SDL_SCANCODE_A); tapKey(SDL_SCANCODE_RETURN); break; // one frame: A alone acts
    case 26: tapKey(SDL_SCANCODE_A); break;
    case 28: tapKey(SDL_SCANCODE_RETURN); break;       // no coupling
    case 30: tapKey(SDL_SCANCODE_PAGEUP); break;       // 100 kg of food...
    case 32: tapKey(SDL_SCANCODE_RETURN); break;       // ...refused
    case 34: tapKey(SDL_SCANCODE_Q); break;
    case 36: tapKey(SDL_SCANCODE_W); break;            // 10 kg
    case 38: tapKey(SDL_SCANCODE_RETURN); break;
    case 40: tapKey(SDL_SCANCODE_RETURN); break;       // no cages for the males
    case 42: tapKey(SDL_SCANCODE_UP); break;           // ten for the females...
    case 44: tapKey(SDL_SCANCODE_RETURN); break;       // ...refused
    case 46: tapKey(SDL_SCANCODE_S); break;
    case 48: tapKey(SDL_SCANCODE_RETURN); break;       // the month closes
    default: break;
    }
}

TEST_F(Recording, EndedByStartItReplaysToTheSameEnd) {
    Ending live = play([](int frame) {
        monthOfPresses(frame);
        if (frame == 52) tapKey(SDL_SCANCODE_ESCAPE);
    });
    EXPECT_EQ(farm.month, 2) << "the month should have closed";
    EXPECT_EQ(frames, 53);
    const std::vector<ReplayRun>& recording = window.recording();
    EXPECT_EQ(framesIn(recording), 53u);
    EXPECT_EQ(recording.back().buttons, (u32)KEY_START);
    Ending replayed = replayHeadless(recording);
    EXPECT_EQ(replayed.state, live.state);
    EXPECT_EQ(replayed.frame, live.frame);
    EXPECT_EQ(replayed.framesPresented, live.framesPresented);
}

TEST_F(Recording, EndedByClosingTheWindowItReplaysToTheSameEnd) {
    Ending live = play([](int frame) {
        monthOfPresses(frame);
        if (frame == 49) tapKey(SDL_SCANCODE_RETURN); // pressed as the window closes
        if (frame == 49) pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    });
    EXPECT_EQ(farm.month, 2);
    // The closing frame runs nothing: 49 frames were played.
    EXPECT_EQ(framesIn(window.recording()), 49u);
    EXPECT_EQ(live.framesPresented, 49u);
    Ending replayed = replayHeadless(window.recording());
    EXPECT_EQ(replayed.state, live.state);
    EXPECT_EQ(replayed.frame, live.frame);
}

TEST_F(Recording, PlayingAllocatesNothing) {
    long counted = -1;
    play([&](int frame) {
        if (frame == 10) {
            allocations = 0;
            countingAllocations = true;
        }
        if (frame >= 10 && frame < 300) {
            monthOfPresses(frame % 60); // months of presses, each frame a new picture or not
            if (frame % 50 == 0) pushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
        }
        if (frame == 300) {
            countingAllocations = false;
            counted = allocations;
            tapKey(SDL_SCANCODE_ESCAPE);
        }
    });
    EXPECT_GE(farm.month, 2) << "a month should have closed";
    EXPECT_EQ(counted, 0);
}

TEST_F(Recording, AScriptPlaysFirstThenTheKeysTakeOver) {
    // The rules, the situation, and 20 frames of waiting, from a script.
    std::vector<ReplayRun> script = {{0, 3}, {KEY_A, 1}, {0, 2}, {KEY_A, 1}, {0, 20}};
    Ending live = play(
        [](int frame) {
            if (frame == 5) tapKey(SDL_SCANCODE_RIGHT);      // during the script: dropped
            if (frame == 10) pushKey(SDL_SCANCODE_UP, true); // held through its end: a press
            if (frame == 30) tapKey(SDL_SCANCODE_D);
            if (frame == 33) tapKey(SDL_SCANCODE_ESCAPE);
        },
        &script);
    EXPECT_EQ(farm.inputValue, 11);
    const std::vector<ReplayRun>& recording = window.recording();
    std::vector<ReplayRun> expected = {{0, 3},      {KEY_A, 1},          {0, 2},         {KEY_A, 1}, {0, 20},
                                       {KEY_DUP, 1}, {0, 2},             {KEY_CPAD_RIGHT, 1}, {0, 2},
                                       {KEY_START, 1}};
    ASSERT_EQ(recording.size(), expected.size());
    for (size_t i = 0; i < expected.size(); i++) {
        EXPECT_EQ(recording[i].buttons, expected[i].buttons) << "run " << i;
        EXPECT_EQ(recording[i].frames, expected[i].frames) << "run " << i;
    }
    Ending replayed = replayHeadless(recording);
    EXPECT_EQ(replayed.state, live.state);
    EXPECT_EQ(replayed.frame, live.frame);
}

} // namespace
