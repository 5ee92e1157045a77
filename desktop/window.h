// The console on a desktop screen: an SDL window that shows the frames the game
// presents, paces it at the console's refresh and reads the keyboard and controllers.
#pragma once

#include <SDL.h>

#include <chrono>
#include <string>
#include <vector>

#include "desktop/buttons.h"
#include "desktop/options.h"
#include "frontend/outputs.h"
#include "frontend/replay.h"
#include "frontend/session.h"
#include "platform/host_console.h"

// The largest whole scale, no larger than `asked` (0: as large as it goes), at which the
// window and its frame fit in a display's usable area of this size; at least 1.
int fittingScale(int usableWidth, int usableHeight, int asked);

struct WindowSettings {
    int scale = 0;                                  // 0: the largest that fits the display
    u8 language = CFG_LANGUAGE_EN;                  // of the controls' help
    bool paced = true;                              // false: frames back to back
    const std::vector<ReplayRun>* script = nullptr; // played first, then the keys take over
    std::string screenshotFolder = ".";
};

class GameWindow final : public HostFrontend {
  public:
    GameWindow() = default;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;
    ~GameWindow() override;

    // Starts SDL and opens the window; false, with the reason, when there is no display.
    bool open(const WindowSettings& settings, std::string* error);
    void close();

    bool keepRunning() override;
    void sampleButtons(u32* held, u32* pressedSinceLastScan) override;
    void waitForVBlank() override;
    void presented(const u8* top, const u8* bottom) override;

    // Every frame scanned so far with the buttons the game saw newly pressed, runs folded.
    const std::vector<ReplayRun>& recording() const { return session_.recording(); }
    // The session as a replay script, F12 screenshots noted at their frames.
    std::string recordingText(u64 clockMs, u8 language) const {
        return session_.recordingText(clockMs, language);
    }
    // What the window shows, 400x480 RGB as --screenshot writes it.
    const std::vector<u8>& picture() const { return shown_.rgb(); }
    // F12: the picture as a PNG in the screenshot folder, named with the date and time;
    // the title tells where it went. Returns the file's path, or "" when it failed.
    std::string saveScreenshot();

    SDL_Window* sdlWindow() const { return window_; }
    bool helpShown() const { return helpShown_; }

  private:
    void pump();
    void handle(const SDL_Event& event);
    void draw();
    void setTitle(const std::string& title, int seconds); // 0: for good
    void plainTitleWhenDue();
    void showHelp(bool shown);
    void fitToDisplay();
    void drawHelp();

    WindowSettings settings_;
    bool started_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* helpTexture_ = nullptr; // the controls, over the picture

    ButtonTracker buttons_;
    PlayerSession session_;

    bool closed_ = false;
    bool minimised_ = false;
    bool redraw_ = false;
    bool helpShown_ = false; // the game waits while the controls are shown
    bool titleLasts_ = true; // false: it goes back to the plain title at titleUntil_
    std::chrono::steady_clock::time_point titleUntil_;
    ShownPicture shown_;
    std::chrono::steady_clock::time_point firstVBlank_;
};

// The game in a window: opens it, plays until it is closed or START is pressed, then
// writes the recording when one was asked for. The console must have been reset.
// Returns the exit status: 0; 1 when the recording could not be written; 2 when there
// is no display (reported, nothing run).
int playInWindow(const Options& options, const ReplayScript& script, u64 clockMs, u8 language);
