#include "frontend/recording.h"

#include <string.h>

#include "frontend/files.h"

namespace {

const char* say(u8 language, const char* english, const char* french) {
    return language == CFG_LANGUAGE_FR ? french : english;
}

// Where the C library's draws are made, for a player who does not know its name.
const char* drawnBy(const std::string& draws, u8 language) {
    if (draws == "glibc") return say(language, "the desktop's", "ceux du bureau");
    if (draws == "newlib") return say(language, "the console's", "ceux de la console");
    if (draws == "musl") return say(language, "a browser's", "ceux d'un navigateur");
    return say(language, "unknown", "inconnu");
}

// The first byte that is not text, as "line L, column C", or "".
std::string notText(std::string_view text) {
    size_t line = 1, lineStart = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = textCharacterLength(text, i);
        if (length == 0) {
            return std::to_string(line) + ":" + std::to_string(i - lineStart + 1);
        }
        if (text[i] == '\n') line++, lineStart = i + 1;
        i += length;
    }
    return "";
}

} // namespace

RecordingVerdict acceptRecording(std::string_view text, std::string_view name, RecordingOrigin origin,
                                 u8 language, ReplayScript* script) {
    RecordingVerdict verdict;
    const std::string named = printable(name, 200) + ": ";
    if (text.size() > kMaxRecordingBytes) {
        verdict.refusal = named + say(language, "larger than ", "plus de ") + std::to_string(kMaxRecordingBytes) +
                          say(language, " bytes", " octets");
        return verdict;
    }
    // A year kept line by line and cut off inside its last line resumes from the lines before.
    if (origin == KeptYear && !text.empty() && text.back() != '\n') {
        size_t end = text.find_last_of('\n');
        text = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
        verdict.cutLine = true;
    }
    std::string where = notText(text);
    if (!where.empty()) {
        verdict.refusal = printable(name, 200) + ":" + where + ": " +
                          say(language, "not text (a control character or a byte that is not UTF-8)",
                              "pas du texte (un caractère de contrôle ou un octet qui n'est pas de l'UTF-8)");
        return verdict;
    }
    if (!parseReplayScript(text, name, script, &verdict.refusal)) return verdict;
    // A link or a file is played for what it holds: one that holds nothing replaces nothing.
    if ((origin == SharedLink || origin == OpenedFile) && script->runs.empty()) {
        verdict.refusal = named + say(language, "it holds no frame", "il ne contient aucune image");
        return verdict;
    }
    const std::string here = drawsHere();
    if (script->draws && *script->draws != here) {
        verdict.refusal = named + say(language, "made with ", "fait avec les tirages de ") + *script->draws +
                          say(language, "'s random draws (", " (") + drawnBy(*script->draws, language) +
                          say(language, "), not ", "), pas ceux de ") + here + say(language, "'s (", " (") + drawnBy(here, language) +
                          say(language, "): its litters and deaths would differ here",
                              ") : ses portées et ses morts seraient autres ici");
        return verdict;
    }
    std::string version = script->version && *script->version != programVersion()
                              ? say(language, "made by version ", "fait par la version ") + *script->version +
                                    say(language, ", not ", ", pas ") + programVersion()
                              : "";
    if (origin == KeptYear) {
        if (!script->seed) verdict.refusal = named + say(language, "it has no seed", "il n'a pas de graine");
        else if (!script->draws) {
            verdict.refusal = named + say(language, "it does not say whose random draws it played with",
                                          "il ne dit pas avec quels tirages il a joué");
        } else if (!version.empty()) verdict.refusal = named + version;
        if (!verdict.refusal.empty()) return verdict;
    } else if (!version.empty()) {
        verdict.warning = named + version + say(language, ": it may not replay the same game",
                                                 " : il peut ne pas rejouer la même partie");
    } else if (script->seed && !script->draws) {
        verdict.warning = named + say(language, "it does not say whose random draws it played with: it may not "
                                                "replay the same game",
                                      "il ne dit pas avec quels tirages il a joué : il peut ne pas rejouer la "
                                      "même partie");
    }
    verdict.accepted = true;
    return verdict;
}

RecordingVerdict readRecording(const std::string& path, RecordingOrigin origin, u8 language, ReplayScript* script) {
    std::string text;
    RecordingVerdict verdict;
    if (!readFileWhole(path, &text, &verdict.refusal, kMaxRecordingBytes)) return verdict;
    return acceptRecording(text, path == "-" ? "<stdin>" : path, origin, language, script);
}
