#include "desktop/keeping.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>

#include "frontend/files.h"
#include "frontend/home.h"
#include "frontend/outputs.h"
#include "frontend/player.h"
#include "frontend/recording.h"

namespace {

std::string sessionPath; // the kept year, or --record's file
int lockDescriptor = -1; // the kept year's lock, held for the window's life
int appendDescriptor = -1;
off_t wholeLength = 0;   // the file's length at its last whole line

void makeFolderFor(const std::string& path) {
    std::error_code ignored; // told by the write's own failure
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
}

} // namespace

std::string stateFolder(void) {
    const char* state = getenv("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is invalid and is ignored, as the base directory rules say.
    if (state != nullptr && state[0] == '/') return std::string(state) + "/quorvandelle";
    const char* home = getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/state/quorvandelle";
    return "";
}

void keepSessionAt(const std::string& path) {
    sessionPath = path;
    if (appendDescriptor >= 0) close(appendDescriptor);
    appendDescriptor = -1;
}

// A lock file beside the kept year, never replaced, held by one window at a time.
bool homeHoldYear(bool, std::string* why) {
    if (lockDescriptor >= 0) return true;
    std::string lockPath = sessionPath.substr(0, sessionPath.find_last_of('.')) + ".lock";
    makeFolderFor(lockPath);
    lockDescriptor = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (lockDescriptor >= 0 && flock(lockDescriptor, LOCK_EX | LOCK_NB) == 0) return true;
    *why = errno == EWOULDBLOCK ? "it is open in another window" : printable(lockPath, 200) + ": " + strerror(errno);
    if (lockDescriptor >= 0) close(lockDescriptor);
    lockDescriptor = -1;
    return false;
}

KeptRead homeReadKept(std::string* text, std::string* why) {
    if (!readFileWhole(sessionPath, text, why, kMaxRecordingBytes, true)) return errno == ENOENT ? NothingKept : KeptUnreadable;
    return text->empty() ? NothingKept : KeptFound; // empty: killed before its first line
}

// Written afresh by a temporary renamed into place, never in place: a failure leaves the
// file as it was. Lines are then added to the file that took its place.
bool homeKeepWhole(const std::string& text, std::string* why) {
    makeFolderFor(sessionPath);
    if (!writeFileWhole(sessionPath, text, why)) return false;
    if (appendDescriptor >= 0) close(appendDescriptor);
    std::string target = followLinks(sessionPath);
    appendDescriptor = open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (appendDescriptor < 0) return *why = printable(sessionPath, 200) + ": " + strerror(errno), false;
    wholeLength = (off_t)text.size();
    return true;
}

// A write cut short (a full disk) is cut back to the last whole line.
bool homeKeepLines(const std::string& lines, std::string* why) {
    size_t done = 0;
    while (appendDescriptor >= 0 && done < lines.size()) {
        ssize_t wrote = write(appendDescriptor, lines.data() + done, lines.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) break;
        done += (size_t)wrote;
    }
    if (done == lines.size()) return wholeLength += (off_t)done, true;
    *why = printable(sessionPath, 200) + ": " + strerror(appendDescriptor < 0 ? EBADF : errno);
    if (appendDescriptor >= 0 && ftruncate(appendDescriptor, wholeLength) != 0) {
        // A device or a FIFO cannot be cut back; a file always can.
    }
    return false;
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
    for (int n = 2; fs::exists(fs::symlink_status(path, ignored)); n++) {
        path = folder / (std::string(stamp) + "-" + std::to_string(n) + ".png");
    }
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
