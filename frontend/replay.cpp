#include "frontend/replay.h"

#include <stdio.h>
#include <stdlib.h> // names the C library (its version macro)

#include <charconv>
#include <limits>

namespace {

struct ButtonName {
    const char* name;
    u32 mask;
};

const ButtonName kButtons[] = {
    {"A", KEY_A},           {"B", KEY_B},           {"SELECT", KEY_SELECT},
    {"START", KEY_START},   {"DRIGHT", KEY_DRIGHT}, {"DLEFT", KEY_DLEFT},
    {"DUP", KEY_DUP},       {"DDOWN", KEY_DDOWN},   {"R", KEY_R},
    {"L", KEY_L},           {"X", KEY_X},           {"Y", KEY_Y},
    {"ZL", KEY_ZL},         {"ZR", KEY_ZR},         {"CPAD_RIGHT", KEY_CPAD_RIGHT},
    {"CPAD_LEFT", KEY_CPAD_LEFT}, {"CPAD_UP", KEY_CPAD_UP}, {"CPAD_DOWN", KEY_CPAD_DOWN},
};

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++) {
        char x = a[i];
        if (x >= 'a' && x <= 'z') x = (char)(x - 'a' + 'A');
        if (x != b[i]) return false;
    }
    return true;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Where in the text a token starts, for messages.
struct Position {
    size_t line;
    size_t column;
};

class Parser {
  public:
    Parser(std::string_view name, ReplayScript* script, std::string* error)
        : name_(name), script_(script), error_(error) {}

    bool fail(const std::string& what, Position at) {
        at_ = at;
        return fail(what);
    }

    bool token(std::string_view token, Position at) {
        at_ = at;
        if (token.size() > kMaxTokenBytes) {
            return fail("a token longer than " + std::to_string(kMaxTokenBytes) + " bytes: '" + printable(token) + "'");
        }
        size_t equals = token.find('=');
        if (equals != std::string_view::npos) return setting(token.substr(0, equals), token.substr(equals + 1));
        return frames(token);
    }

  private:
    bool fail(const std::string& what) {
        *error_ = printable(name_, 200) + ":" + std::to_string(at_.line) + ":" +
                  std::to_string(at_.column) + ": " + what;
        return false;
    }

    bool setting(std::string_view key, std::string_view value) {
        if (!script_->runs.empty()) {
            return fail("setting '" + printable(key) + "' after the first frame; settings go first");
        }
        if (sameLetters(key, "SEED")) {
            script_->seed = parseU64(value);
            if (!script_->seed) return fail("bad seed '" + printable(value) + "': a whole number from 0 to 18446744073709551615");
            return true;
        }
        if (sameLetters(key, "LANGUAGE")) {
            script_->language = parseLanguage(value);
            if (!script_->language) return fail("bad language '" + printable(value) + "': en, fr or a code from 0 to 255");
            return true;
        }
        if (sameLetters(key, "VERSION") || sameLetters(key, "DRAWS")) {
            bool plain = !value.empty();
            for (char c : value) plain = plain && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '.' || c == '-');
            if (!plain) return fail("bad " + printable(key) + " '" + printable(value) + "': small letters, digits, '.' and '-'");
            (sameLetters(key, "VERSION") ? script_->version : script_->draws) = std::string(value);
            return true;
        }
        return fail("unknown setting '" + printable(key) + "'; the settings are seed=, language=, version= and draws=");
    }

    bool frames(std::string_view token) {
        u64 count = 1;
        size_t star = token.find('*');
        if (star != std::string_view::npos) {
            std::optional<u64> repeat = parseU64(token.substr(star + 1));
            if (!repeat || *repeat == 0 || *repeat > kMaxRepeat) {
                return fail("bad repeat count '" + printable(token.substr(star + 1)) +
                            "': a whole number from 1 to " + std::to_string(kMaxRepeat));
            }
            count = *repeat;
            token = token.substr(0, star);
        }
        u32 buttons = 0;
        const std::string_view whole = token;
        if (token != ".") {
            while (true) {
                size_t plus = token.find('+');
                std::string_view name = token.substr(0, plus);
                std::optional<u32> mask = buttonMask(name);
                if (!mask) {
                    return fail(name.empty() ? "missing button name in '" + printable(whole) + "'"
                                             : "unknown button '" + printable(name) + "'");
                }
                buttons |= *mask;
                if (plus == std::string_view::npos) break;
                token = token.substr(plus + 1);
            }
        }
        if (buttons != 0) {
            script_->pressFrames += count;
            if (script_->pressFrames > kMaxPressFrames) {
                return fail("more than " + std::to_string(kMaxPressFrames) + " frames press a button");
            }
        }
        appendFrames(&script_->runs, buttons, count);
        return true;
    }

    std::string_view name_;
    ReplayScript* script_;
    std::string* error_;
    Position at_{};
};

} // namespace

size_t textCharacterLength(std::string_view text, size_t at) {
    unsigned char c = (unsigned char)text[at];
    if (c < 0x80) return c >= 0x20 || c == '\t' || c == '\n' || c == '\r' ? 1 : 0;
    size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    u32 code = c & (0x7F >> length);
    for (size_t k = 1; k < length; k++) {
        unsigned char next = (unsigned char)text[at + k];
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and what lies past Unicode are not text; nor are C1 controls.
    const u32 smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    return code >= 0x80 && code <= 0x9F ? 0 : length;
}

std::string printable(std::string_view text, size_t longest) {
    std::string shown;
    for (size_t i = 0; i < text.size();) {
        if (shown.size() >= longest) return shown + "...";
        size_t length = text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ? 0 : textCharacterLength(text, i);
        if (length > 0) {
            shown.append(text.substr(i, length));
            i += length;
        } else {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\x%02x", (unsigned char)text[i++]);
            shown += escaped;
        }
    }
    return shown;
}

std::optional<u32> buttonMask(std::string_view name) {
    for (const ButtonName& button : kButtons) {
        if (sameLetters(name, button.name)) return button.mask;
    }
    return std::nullopt;
}

const char* drawsHere(void) {
#if defined(__EMSCRIPTEN__)
    return "musl";
#elif defined(_NEWLIB_VERSION)
    return "newlib";
#elif defined(__GLIBC__)
    return "glibc";
#else
    return "unknown";
#endif
}

const char* programVersion(void) { return QUORVANDELLE_VERSION; }

std::optional<u64> parseU64(std::string_view text) {
    u64 value = 0;
    const char* end = text.data() + text.size();
    auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::optional<u8> parseLanguage(std::string_view text) {
    if (sameLetters(text, "EN")) return (u8)CFG_LANGUAGE_EN;
    if (sameLetters(text, "FR")) return (u8)CFG_LANGUAGE_FR;
    std::optional<u64> code = parseU64(text);
    if (!code || *code > 255) return std::nullopt;
    return (u8)*code;
}

bool parseReplayScript(std::string_view text, std::string_view name, ReplayScript* script,
                       std::string* error) {
    *script = ReplayScript{};
    Parser parser(name, script, error);
    size_t line = 1;
    size_t lineStart = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (i - lineStart >= kMaxLineBytes && c != '\n') {
            return parser.fail("a line longer than " + std::to_string(kMaxLineBytes) + " bytes", Position{line, 1});
        }
        if (c == '\n') {
            line++;
            lineStart = ++i;
        } else if (isSpace(c)) {
            i++;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n' && i - lineStart < kMaxLineBytes) i++;
        } else {
            size_t start = i;
            while (i < text.size() && !isSpace(text[i]) && text[i] != '#' && i - start <= kMaxTokenBytes) i++;
            if (!parser.token(text.substr(start, i - start), Position{line, start - lineStart + 1})) {
                return false;
            }
        }
    }
    return true;
}

std::string formatButtons(u32 buttons) {
    std::string token;
    for (const ButtonName& button : kButtons) {
        if (!(buttons & button.mask)) continue;
        if (!token.empty()) token += '+';
        token += button.name;
    }
    return token.empty() ? "." : token;
}

void appendFrames(std::vector<ReplayRun>* runs, u32 buttons, u64 frames) {
    if (!runs->empty() && runs->back().buttons == buttons &&
        runs->back().frames <= std::numeric_limits<u64>::max() - frames) {
        runs->back().frames += frames;
    } else {
        runs->push_back(ReplayRun{buttons, frames});
    }
}

std::string formatReplayScript(const ReplayScript& script) {
    std::string text;
    if (script.seed) text += "seed=" + std::to_string(*script.seed) + "\n";
    if (script.language) text += "language=" + std::to_string(*script.language) + "\n";
    if (script.version) text += "version=" + *script.version + "\n";
    if (script.draws) text += "draws=" + *script.draws + "\n";
    size_t onLine = 0;
    auto endLine = [&] {
        if (onLine > 0) text.back() = '\n';
        onLine = 0;
    };
    size_t note = 0;
    u64 frame = 0;
    auto notesUpTo = [&](u64 at) {
        for (; note < script.notes.size() && script.notes[note].frame <= at; note++) {
            endLine();
            // A line break inside a note would turn the rest of it into frames.
            std::string comment = script.notes[note].text;
            for (char& c : comment) {
                if (c == '\n' || c == '\r') c = ' ';
            }
            text += "# " + comment + "\n";
        }
    };
    for (const ReplayRun& run : script.runs) {
        // A run that a note falls inside is written in two tokens, the note between them.
        for (u64 left = run.frames; left > 0;) {
            notesUpTo(frame);
            u64 take = left < kMaxRepeat ? left : kMaxRepeat; // so that it reads back
            if (note < script.notes.size() && script.notes[note].frame - frame < take) {
                take = script.notes[note].frame - frame;
            }
            text += formatButtons(run.buttons);
            if (take != 1) text += "*" + std::to_string(take);
            text += ' ';
            if (++onLine == 16) endLine();
            frame += take;
            left -= take;
        }
    }
    endLine();
    notesUpTo(std::numeric_limits<u64>::max());
    return text;
}

void cutAtStart(std::vector<ReplayRun>* runs) {
    for (size_t run = 0; run < runs->size(); run++) {
        if (((*runs)[run].buttons & KEY_START) == 0) continue;
        runs->resize(run);
        return;
    }
}

bool ReplayCursor::next(u32* buttons) {
    while (runs != nullptr && run < runs->size()) {
        const ReplayRun& current = (*runs)[run];
        if (usedInRun < current.frames) {
            usedInRun++;
            *buttons = current.buttons;
            return true;
        }
        run++;
        usedInRun = 0;
    }
    return false;
}

u64 ReplayCursor::skipIdle() {
    if (runs == nullptr || run >= runs->size()) return 0;
    const ReplayRun& current = (*runs)[run];
    if (current.buttons != 0 || usedInRun < kIdleFramesPlayed) return 0;
    u64 skipped = current.frames - usedInRun;
    usedInRun = current.frames;
    return skipped;
}

bool ReplayCursor::more() const {
    if (runs == nullptr) return false;
    for (size_t at = run; at < runs->size(); at++) {
        if ((*runs)[at].frames > (at == run ? usedInRun : 0)) return true;
    }
    return false;
}
