// The player's files, read within a bound and written whole or not at all.
//
// One rule for every file the programs write (the outputs, the kept year, the settings):
// a path that is a symbolic link is followed, and the file it leads to is written, the
// link left as it is. A regular file, or a new one, is written whole to a temporary file
// of its own beside it, then renamed into place; a program ended by a signal meanwhile
// leaves no temporary behind. Anything else (a device, a FIFO, standard output) is
// written where it is, never replaced.
#pragma once

#include <stddef.h>

#include <string>

#include "platform/ctru.h"

// Reads the file, or standard input for "-", refusing it as too large past `limit` bytes
// (no more is read, so that an endless input ends). With `regularOnly`, anything but a
// regular file is refused, and a FIFO there cannot hold the read up. When it cannot,
// `error` says "PATH: cannot read: REASON" and errno is the failure's (ENOENT for a file
// that is not there).
bool readFileWhole(const std::string& path, std::string* text, std::string* error, size_t limit,
                   bool regularOnly = false);

// Writes the whole file or nothing, by the rule above; "-" is standard output.
bool writeFileWhole(const std::string& path, const std::string& data, std::string* error);

// Whether an output can go to `path`, before anything is played: standard output ("-"),
// a new name in a folder that is there, or what is there and is not a folder. When not,
// `error` says "PATH: cannot write: REASON".
bool outputPathUsable(const std::string& path, std::string* error);

// The file a path names, to tell when two name the same: its device and inode, or, for a
// path not there yet, its folder's and its name. "-" is standard input or output.
struct FileIdentity {
    u64 device = 0, inode = 0;
    std::string name;
    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && name == other.name;
    }
};
FileIdentity fileIdentity(const std::string& path);

// The path that a chain of symbolic links leads to; the path itself when it is no link.
// Empty when the links go round in a loop.
std::string followLinks(const std::string& path);
