// The one rule for accepting a recording, wherever it comes from: the kept year, a shared
// link, an opened file, --replay. The same reasons in the same words everywhere.
#pragma once

#include <string>
#include <string_view>

#include "frontend/replay.h"

enum RecordingOrigin : u8 {
    KeptYear,     // the year the window or the page keeps, to resume it
    SharedLink,   // a link that carries a year
    OpenedFile,   // a recording opened on the page
    ReplayOption, // --replay FILE
};

// The largest recording read, in bytes: a year is some kilobytes.
constexpr size_t kMaxRecordingBytes = 1 << 20;

struct RecordingVerdict {
    bool accepted = false;
    std::string refusal; // why not, when refused
    std::string warning; // when accepted: why it may not replay the game it recorded
    bool cutLine = false; // a kept year resumed from its whole lines, the text after them dropped
};

// Reads `text` into `script` by the rule, named `name` in its messages (the file, "link",
// "kept game"), its reasons in `language` (the parser's own messages are English).
// Every recording is refused when it is not text, is larger than the bounds allow, or was
// made with another C library's random draws; a link or a file, when it holds no frame.
// A kept year must also have its seed, say
// whose draws it played with and come from this version; a kept year cut off mid-line (a
// crash or a full disk) resumes from its whole lines. Anything else from another version,
// or with a seed but no word of its draws, plays with a warning.
RecordingVerdict acceptRecording(std::string_view text, std::string_view name, RecordingOrigin origin,
                                 u8 language, ReplayScript* script);

// The same for the recording in the file at `path` ("-": standard input, named <stdin>),
// read no further than the bound: one that cannot be read is refused with the reason.
RecordingVerdict readRecording(const std::string& path, RecordingOrigin origin, u8 language, ReplayScript* script);
