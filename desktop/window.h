// The console on a desktop screen: an SDL window that shows the frames the game
// presents, paces it at the console's refresh and reads the keyboard and controllers.
#pragma once

#include <SDL.h>

#include <stdio.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "desktop/buttons.h"
#include "desktop/keeping.h"
#include "desktop/options.h"
#include "frontend/outputs.h"
#include "frontend/replay.h"
#include "frontend/session.h"
#include "platform/host_console.h"

// The largest whole scale, no larger than `asked` (0: as large as it goes), at which the
// window and its frame fit in a display's usable area of this size; at least 1. The
// picture is both screens, or the layout's `width` x `height`.
int fittingScale(int usableWidth, int usableHeight, int asked, int width = SCREENSHOT_WIDTH,
                 int height = SCREENSHOT_HEIGHT);

struct WindowSettings {
    int scale = 0;                                  // 0: the largest that fits the display
    u8 language = CFG_LANGUAGE_EN;                  // of the controls' help
    bool paced = true;                              // false: frames back to back
    const std::vector<ReplayRun>* script = nullptr; // played first, then the keys take over
    std::string screenshotFolder = ".";
    WindowLayout layout = BothScreens;
    std::string settingsPath;     // where F10's layout is remembered; empty: it is not
    bool scriptAtOnce = false;    // the script brings a kept game back: at once, unseen
    bool keepsGame = false;       // F5 may start a new year
    u64 clockMs = 0;              // the session's seed, for its recording
    // The pace's clock and sleep, in nanoseconds; the steady clock unless a test gives its own.
    std::function<u64()> clockNs;
    std::function<void(u64)> sleepUntilNs;
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
    // The session goes to `file` as it is played, in whole lines, its settings first.
    void recordTo(FILE* file);
    // The same into the kept game at `path`, opened once the script has brought it back.
    void keepAt(const std::string& path);
    // Writes what is left of the session and closes its file; false when some was lost.
    bool finishRecording(std::string* error);
    // F5 was pressed twice: the game ended for a new one, which startNewYear begins.
    bool newYearAsked() const { return newYear_; }
    void startNewYear(u64 clockMs);
    WindowLayout layout() const { return layout_; }
    // Tells the player something in the title for a while.
    void tell(const std::string& text, int seconds);

    // F12: the picture as a PNG in the screenshot folder, named with the date and time;
    // the title tells where it went. Returns the file's path, or "" when it failed.
    std::string saveScreenshot();

    SDL_Window* sdlWindow() const { return window_; }
    bool helpShown() const { return helpPage_ > 0; }
    int helpPage() const { return helpPage_; } // 0: closed, then 1, 2, ...

  private:
    void pump();
    void handle(const SDL_Event& event);
    void draw();
    void setTitle(const std::string& title, int seconds); // 0: for good
    void plainTitleWhenDue();
    void showHelp(int page);
    void fitToDisplay();
    void drawHelp();
    void makeHelpPages();
    void applyLayout();
    void askNewYear();
    void writeLines(bool all);
    void copyScreens(SDL_Texture* texture);
    // The window's own words in the game's language.
    std::string say(const char* english, const char* french) const {
        return controlText(ControlText{english, french}, settings_.language);
    }
    // The kept game is being brought back: at once, unseen.
    bool resuming() const { return settings_.scriptAtOnce && session_.playingScript(); }

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
    int helpPage_ = 0; // the game waits while the help is shown
    // Each page of the help: its title, and lines of two columns (what, keys) or one.
    struct HelpLine {
        std::string left, right;
    };
    struct HelpPage {
        std::string title;
        std::vector<HelpLine> lines;
    };
    std::vector<HelpPage> helpPages_;
    WindowLayout layout_ = BothScreens;
    bool announce_ = false;  // the title tells it came back, once it shows
    FILE* record_ = nullptr;
    bool recordFailed_ = false;
    std::string keptPath_;   // opened once the script is played
    bool newYear_ = false;
    std::chrono::steady_clock::time_point newYearUntil_; // a second F5 before then confirms
    bool titleLasts_ = true; // false: it goes back to the plain title at titleUntil_
    std::chrono::steady_clock::time_point titleUntil_;
    ShownPicture shown_;
    u64 firstVBlankNs_ = 0;
};

// The game in a window: opens it, brings back the kept game (unless the command line
// names a script, a seed or a recording), and plays until it is closed or START is
// pressed, the recording and the kept game written as it goes. Returns the exit status:
// 0; 1 when the recording could not be written whole; 2 when there is no display or the
// recording cannot be written at all (reported, nothing run).
int playInWindow(const Options& options, const ReplayScript& script, u64 clockMs, u8 language);
