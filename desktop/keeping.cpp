#include "desktop/keeping.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <filesystem>
#include <string_view>

#include "frontend/home.h"
#include "frontend/outputs.h"
#include "frontend/player.h"

namespace {

const char* const kLayoutNames[kLayoutCount] = {"both", "upper", "side-by-side"};

std::string sessionPath;

} // namespace

std::string stateFolder(void) {
    const char* state = getenv("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is invalid and is ignored, as the base directory rules say.
    if (state != nullptr && state[0] == '/') return std::string(state) + "/quorvandelle";
    const char* home = getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/state/quorvandelle";
    return "";
}

void keepSessionAt(const std::string& path) { sessionPath = path; }

KeptRead homeReadKept(std::string* text, std::string* why) {
    if (!readFileWhole(sessionPath, text, why)) return errno == ENOENT ? NothingKept : KeptUnreadable;
    return text->empty() ? NothingKept : KeptFound; // empty: killed before its first line
}

bool homeKeepWhole(const std::string& text, std::string* why) {
    std::error_code ignored; // told by the write's failure
    std::filesystem::create_directories(std::filesystem::path(sessionPath).parent_path(), ignored);
    return writeFileWhole(sessionPath, text, why);
}

bool homeKeepLines(const std::string& lines, std::string* why) {
    FILE* file = fopen(sessionPath.c_str(), "a");
    bool written = file != nullptr && fwrite(lines.data(), 1, lines.size(), file) == lines.size();
    if (file != nullptr && fclose(file) != 0) written = false;
    if (!written) *why = sessionPath + ": " + strerror(errno);
    return written;
}

std::string saveScreenshot(const std::string& screenshotFolder) {
    namespace fs = std::filesystem;
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    char stamp[32];
    strftime(stamp, sizeof stamp, "quorvandelle-%Y%m%d-%H%M%S", &local);
    // Two in the same second get a number rather than one over the other.
    fs::path folder = screenshotFolder, path = folder / (std::string(stamp) + ".png");
    std::error_code ignored;
    for (int n = 2; fs::exists(path, ignored); n++) path = folder / (std::string(stamp) + "-" + std::to_string(n) + ".png");
    std::string error;
    if (!writePngWhole(path.string(), playerPicture(), SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT, &error)) {
        homeTell(PassingNotice, "screenshot not saved: " + error);
        fprintf(stderr, "quorvandelle: screenshot not saved: %s\n", error.c_str());
        return "";
    }
    fs::path shown = fs::absolute(path, ignored).lexically_normal();
    std::string saved = (shown.empty() ? path : shown).string();
    // The recording notes the frame it shows: the frames before this note replay to it.
    playerNote("screenshot " + saved);
    homeTell(PassingNotice, "screenshot saved to " + saved);
    printf("quorvandelle: screenshot saved to %s\n", saved.c_str());
    fflush(stdout);
    return saved;
}

const char* layoutName(WindowLayout layout) { return kLayoutNames[layout]; }

WindowLayout readLayout(const std::string& path) {
    std::string text, error;
    if (!readFileWhole(path, &text, &error)) return BothScreens;
    std::string_view rest = text;
    while (!rest.empty()) {
        std::string_view line = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(std::min(rest.size(), line.size() + 1));
        if (line.substr(0, 7) != "layout=") continue;
        for (int layout = 0; layout < kLayoutCount; layout++) {
            if (line.substr(7) == kLayoutNames[layout]) return (WindowLayout)layout;
        }
    }
    return BothScreens;
}

bool writeLayout(const std::string& path, WindowLayout layout, std::string* error) {
    return writeFileWhole(path, std::string("layout=") + kLayoutNames[layout] + "\n", error);
}
