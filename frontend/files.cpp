#include "frontend/files.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "frontend/replay.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// On Node the C library writes a file at a position, which a pipe or a FIFO has none of:
// Node itself writes it from where it stands. 0, or the error's text.
EM_JS(char*, nodeWriteInPlace, (const char* path, const char* data, int size), {
  try {
    require('fs').writeFileSync(UTF8ToString(path), HEAPU8.subarray(data, data + size), { flag: 'a' });
    return 0;
  } catch (error) {
    const text = String(error.message || error), copy = _malloc(lengthBytesUTF8(text) + 1);
    stringToUTF8(text, copy, lengthBytesUTF8(text) + 1);
    return copy;
  }
});
#endif

namespace {

std::string failure(const std::string& path, bool reading, int reason) {
    std::string named = path == "-" ? (reading ? "standard input" : "standard output") : printable(path, 200);
    return named + (reading ? ": cannot read: " : ": cannot write: ") + strerror(reason);
}

enum Kind { Missing, Regular, Folder, Special };

// What a path names, its links followed. The console's C library, emulated, tells
// files apart from nothing else: there, whatever is there is a regular file.
Kind kindOf(const std::string& path, struct stat* status) {
    if (stat(path.c_str(), status) != 0) return Missing;
    if (S_ISDIR(status->st_mode)) return Folder;
#ifdef _NEWLIB_VERSION
    return Regular;
#else
    return S_ISREG(status->st_mode) ? Regular : Special;
#endif
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Whether `folder` is a folder that is there; when not, `reason` says why. The console's
// C library, emulated, sees no folders at all: there, one is taken as there.
bool folderIsThere(const std::string& folder, int* reason) {
#ifdef _NEWLIB_VERSION
    (void)folder, (void)reason;
    return true;
#else
    struct stat status;
    if (stat(folder.c_str(), &status) != 0) return *reason = errno, false;
    return S_ISDIR(status.st_mode) || (*reason = ENOTDIR, false);
#endif
}

bool writeAll(int descriptor, const std::string& data) {
    for (size_t done = 0; done < data.size();) {
        ssize_t wrote = write(descriptor, data.data() + done, data.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += (size_t)wrote;
    }
    return true;
}

// A file of its own beside `path`, as mkstemp makes one: created only where no file or
// link of that name is (so another run's, or a planted link, is never followed). -1 when
// it cannot be.
int createTemporaryBeside(const std::string& path, std::string* temporary) {
    static unsigned made = 0;
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 100; attempt++) {
        char unique[48];
        snprintf(unique, sizeof unique, ".%ld-%u-%lx.part", (long)getpid(), made++, (unsigned long)time(nullptr));
        *temporary = folder + "." + name + unique;
        int descriptor = open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// The signals that end a program wait while a temporary file exists, so that it is
// always renamed into place or removed first.
struct EndingSignalsHeld {
#ifndef _NEWLIB_VERSION
    sigset_t before;
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&ending, signal);
        sigprocmask(SIG_BLOCK, &ending, &before);
    }
    ~EndingSignalsHeld() { sigprocmask(SIG_SETMASK, &before, nullptr); }
#else
    ~EndingSignalsHeld() {} // the console's C library has no signals to hold
#endif
};

// A regular file, or a new one: whole, by a temporary renamed into place, with the
// permissions of the file it replaces.
bool replaceWhole(const std::string& path, const std::string& data, const struct stat* replaced, std::string* error) {
    EndingSignalsHeld held;
    std::string temporary;
    int descriptor = createTemporaryBeside(path, &temporary);
    if (descriptor < 0) return *error = failure(path, false, errno), false;
    bool written = writeAll(descriptor, data);
#ifndef _NEWLIB_VERSION
    if (written && replaced != nullptr) written = fchmod(descriptor, replaced->st_mode & 07777) == 0;
    if (written) written = fsync(descriptor) == 0 || errno == EINVAL; // on disk before it replaces anything
#else
    (void)replaced;
#endif
    int reason = errno;
    if (close(descriptor) != 0 && written) written = false, reason = errno;
    if (written && rename(temporary.c_str(), path.c_str()) != 0) written = false, reason = errno;
    if (!written) {
        unlink(temporary.c_str());
        *error = failure(path, false, reason);
    }
    return written;
}

} // namespace

std::string followLinks(const std::string& path) {
#ifdef _NEWLIB_VERSION
    return path;
#else
    std::string current = path;
    for (int hops = 0; hops < 40; hops++) {
        char target[4096];
        ssize_t length = readlink(current.c_str(), target, sizeof target);
        if (length < 0) return current; // no link: the end of the chain
        std::string next(target, (size_t)(length < (ssize_t)sizeof target ? length : 0));
        if (next.empty()) return "";
        current = next[0] == '/' || current.find('/') == std::string::npos ? next : folderOf(current) + "/" + next;
    }
    return "";
#endif
}

bool readFileWhole(const std::string& path, std::string* text, std::string* error, size_t limit, bool regularOnly) {
    int descriptor = path == "-" ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_NOCTTY | (regularOnly ? O_NONBLOCK : 0));
    int reason = descriptor < 0 ? errno : 0;
    struct stat status;
    if (reason == 0 && fstat(descriptor, &status) != 0) reason = errno;
    if (reason == 0 && S_ISDIR(status.st_mode)) reason = EISDIR;
    if (reason == 0 && regularOnly && kindOf(path, &status) != Regular) {
        *error = printable(path, 200) + ": cannot read: not a regular file";
        if (descriptor != STDIN_FILENO) close(descriptor);
        return errno = EINVAL, false;
    }
    text->clear();
    char chunk[8192];
    while (reason == 0) {
        ssize_t got = read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) reason = errno;
        if (got <= 0) break;
        if (text->size() + (size_t)got > limit) {
            *error = (path == "-" ? "standard input" : printable(path, 200)) + ": larger than " + std::to_string(limit) + " bytes";
            if (descriptor != STDIN_FILENO) close(descriptor);
            return text->clear(), errno = EFBIG, false;
        }
        text->append(chunk, (size_t)got);
    }
    if (descriptor >= 0 && descriptor != STDIN_FILENO) close(descriptor);
    if (reason != 0) *error = failure(path, true, reason);
    errno = reason;
    return reason == 0;
}

bool writeFileWhole(const std::string& path, const std::string& data, std::string* error) {
    if (path == "-") {
        if (writeAll(STDOUT_FILENO, data)) return true;
        return *error = failure(path, false, errno), false;
    }
    struct stat status;
    Kind kind = kindOf(path, &status);
    if (kind == Folder) return *error = failure(path, false, EISDIR), false;
    if (kind == Special) {
        // A device or a FIFO (/dev/stdout among them): written where it is.
#ifdef __EMSCRIPTEN__
        char* failed = nodeWriteInPlace(path.c_str(), data.data(), (int)data.size());
        if (failed != nullptr) *error = printable(path, 200) + ": cannot write: " + failed;
        free(failed);
        return failed == nullptr;
#endif
        int descriptor = open(path.c_str(), O_WRONLY | O_NOCTTY);
        bool written = descriptor >= 0 && writeAll(descriptor, data);
        int reason = errno;
        if (descriptor >= 0 && close(descriptor) != 0 && written) written = false, reason = errno;
        if (!written) *error = failure(path, false, reason);
        return written;
    }
    // A regular file or a new one, beside the file a link leads to.
    std::string target = followLinks(path);
    if (target.empty()) return *error = failure(path, false, ELOOP), false;
    return replaceWhole(target, data, kind == Regular ? &status : nullptr, error);
}

bool outputPathUsable(const std::string& path, std::string* error) {
    if (path == "-") return true;
    struct stat status;
    int reason = 0;
    Kind kind = kindOf(path, &status);
    int unseen = errno; // why a path is missing
    if (kind == Folder || (kind == Missing && !path.empty() && path.back() == '/')) {
        reason = EISDIR;
    } else if (kind == Missing) {
        std::string target = followLinks(path); // a new file, where a link would put it
        if (target.empty()) reason = ELOOP;
        else if (unseen != ENOENT) reason = unseen;
        else folderIsThere(folderOf(target), &reason);
    }
    if (reason != 0) *error = failure(path, false, reason);
    return reason == 0;
}

FileIdentity fileIdentity(const std::string& path) {
    FileIdentity identity;
    if (path == "-") return identity.name = "-", identity;
#ifdef _NEWLIB_VERSION
    return identity.name = path, identity; // the emulated console's files have no inodes to tell
#endif
    struct stat status;
    if (stat(path.c_str(), &status) == 0) {
        identity.device = (u64)status.st_dev, identity.inode = (u64)status.st_ino;
        return identity;
    }
    // Not there yet: the same folder and name, where a link would put it.
    std::string target = followLinks(path);
    if (target.empty()) return identity.name = path, identity;
    size_t slash = target.find_last_of('/');
    identity.name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (stat(folderOf(target).c_str(), &status) == 0) identity.device = (u64)status.st_dev, identity.inode = (u64)status.st_ino;
    else identity.name = target;
    return identity;
}
