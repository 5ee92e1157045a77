#include "frontend/player.h"

#include <string.h>

#include "app/app.h"
#include "frontend/advice.h"
#include "frontend/fields.h"
#include "frontend/history.h"
#include "frontend/home.h"
#include "frontend/outputs.h"
#include "frontend/pacing.h"
#include "frontend/session.h"
#include "game/farm.h"
#include "game/rules.h"
#include "platform/host_console.h"
#include "screens/screens.h"

namespace {

// A note in the recording stays on one line of a bounded length.
const size_t kLongestNote = 1000;
// After a write that failed, the next try waits this many frames (about a second).
const u64 kFramesBetweenTries = 60;

// How a game starts: anew, bringing back a year at once, or playing a recording at the
// console's pace first.
enum Start { NewGame, Resume, PlayRecording };

// The recording the home opened, judged once the game in play has ended.
struct Opened {
    bool pending = false;
    std::string text, failed;
    RecordingOrigin origin = SharedLink;
};

struct Player final : HostFrontend {
    PlayerSetup setup;
    PlayerSession session;
    MonthHistory history;
    ShownPicture shown;
    ReplayScript script; // the recording played first
    u64 clockMs = 0;     // the game's seed
    u8 language = CFG_LANGUAGE_EN;
    bool atOnce = false;   // the recording plays back to back, unseen
    bool resuming = false; // ...to bring a year back: the player is told where it is
    u64 firstVBlankNs = 0; // the console's pace counts its frames from here

    // The kept year.
    bool keeping = false;      // what is played is written to the home's storage
    bool wroteWhole = false;   // the session's first copy is written; then lines are added
    std::string unwritten;     // lines taken from the session that a write refused
    size_t keptBytes = 0;      // written since the first copy
    u64 framesToNextTry = 0;
    bool writeFailed = false;  // some of the session could not be written

    // The farm as the frame about to be shown was drawn, and what the home was told of it.
    FarmState drawn{};
    std::vector<ScreenLine> drawnLines, shownLines;
    std::vector<std::string> advice;

    // What the home asked for.
    bool newYear = false, jump = false, closing = false;
    Opened opened;
    bool askedAboutSeed = false;
    bool started = false; // a game was played since the home started the player

    bool keepRunning() override;
    void sampleButtons(u32* held, u32* pressedSinceLastScan) override;
    void waitForVBlank() override;
    void presented(const u8* top, const u8* bottom) override;

    bool playingAtOnce() const { return (atOnce && session.playingScript()) || session.typing(); }
    void noteWhatIsDrawn();
    void tellWhatIsShown();
};

Player player;

std::string say(const char* english, const char* french) {
    return player.language == CFG_LANGUAGE_FR ? french : english;
}

// The year kept, as the session would write it now: has the player pressed anything?
bool keptYearMatters(void) { return player.keeping && player.session.pressFrames() > 0; }

// Anything that replaces a kept year asks first, where the home can ask.
bool mayForgetKeptYear(void) {
    if (!player.setup.asks || !keptYearMatters()) return true;
    int month = farm.month > kMonthsInYear ? kMonthsInYear : farm.month;
    return homeAsk(say("Forget the year kept at month ", "Oublier l'année gardée au mois ") + std::to_string(month) +
                       say(" and start another?", " et en commencer une autre ?"),
                   say("Forget it", "L'oublier"), say("Keep playing it", "Continuer à la jouer")) == 0;
}

// Writes what the session has played since the last write: its first copy whole, in place
// of whatever was kept, then line by line. A write that fails is told at once and tried
// again a little later; the game plays on.
void writeSession(bool all) {
    Player& p = player;
    // What plays at once is written once it is over.
    if (!p.keeping || (!all && p.playingAtOnce())) return;
    p.unwritten += p.session.takeLines(p.clockMs, p.language, all);
    if (p.unwritten.empty()) return;
    // What could not be read back is not written: past the bounds, the game plays on unkept.
    if (p.keptBytes + p.unwritten.size() > kMaxRecordingBytes || p.session.pressFrames() > kMaxPressFrames) {
        p.keeping = false;
        homeTell(LastingNotice, say("This year is too long to keep any more (", "Cette année est trop longue pour être encore gardée (") +
                                    std::to_string(kMaxPressFrames) + say(" presses at most); it plays on, not kept.",
                                                                          " appuis au plus) ; elle continue, sans être gardée."));
        return;
    }
    if (p.writeFailed && p.framesToNextTry > 0 && !all) {
        p.framesToNextTry--;
        return;
    }
    std::string why;
    if (!(p.wroteWhole ? homeKeepLines(p.unwritten, &why) : homeKeepWhole(p.unwritten, &why))) {
        if (!p.writeFailed) {
            homeTell(LastingNotice, (p.setup.keeping == KeepYear ? say("This year is not kept: ", "Cette année n'est pas gardée : ")
                                                                 : say("The recording is not written: ", "L'enregistrement n'est pas écrit : ")) +
                                        why);
        }
        p.writeFailed = true;
        p.framesToNextTry = kFramesBetweenTries;
        return;
    }
    if (p.writeFailed) homeTell(LastingNotice, "");
    p.keptBytes = (p.wroteWhole ? p.keptBytes : 0) + p.unwritten.size();
    p.writeFailed = false;
    p.wroteWhole = true;
    p.unwritten.clear();
}

// A game from its start: the console powered on with the seed and language, the
// recording (if any) played first, then the player's buttons.
void playGame(Start start) {
    Player& p = player;
    p.atOnce = p.resuming = start == Resume;
    p.jump = false;
    p.wroteWhole = false;
    p.unwritten.clear();
    p.framesToNextTry = 0;
    p.history.reset();
    p.shown.reset();
    p.shownLines.clear();
    homeShow(p.shown.rgb().data());
    homeYear("");
    p.session.start(start == NewGame ? nullptr : &p.script.runs);
    hostConsoleReset(p.clockMs, p.language);
    p.started = true;
    p.firstVBlankNs = homeNowNs();
    hostConsoleSetFrontend(&p);
    appMain();
    hostConsoleSetFrontend(nullptr);
    p.history.observe(farm); // a month closed in the frame START ended is never presented
    writeSession(true);
}

void newGame(u64 clockMs, u8 language) {
    player.clockMs = clockMs;
    player.language = language;
    player.script = ReplayScript{};
    playGame(NewGame);
}

// The seed and language of a recording, unless the home named its language.
void playRecording(Start start) {
    Player& p = player;
    const PlayerSetup& setup = p.setup;
    p.clockMs = p.script.seed.value_or(setup.seed);
    p.language = setup.languageAsked || !p.script.language ? setup.language : *p.script.language;
    playGame(start);
}

// Brings back the year kept in the home's storage, or the session's own after START.
// A kept year that does not read back is told and left as it is, and the game that
// starts instead is not kept.
void resumeKeptYear(const std::string* ownText) {
    Player& p = player;
    std::string text, why;
    KeptRead read = ownText ? KeptFound : homeReadKept(&text, &why);
    if (ownText) text = *ownText;
    RecordingVerdict verdict;
    if (read == KeptFound) {
        verdict = acceptRecording(text, say("kept game", "partie gardée"), KeptYear, p.setup.language, &p.script);
    } else if (read == KeptUnreadable) {
        verdict.refusal = why;
    } else {
        return newGame(p.setup.seed, p.setup.language);
    }
    if (!verdict.accepted) {
        p.keeping = false;
        homeTell(LastingNotice, say("The kept game cannot be resumed (", "La partie gardée ne peut pas reprendre (") +
                                    verdict.refusal +
                                    say("); it is left as it is, and this game is not kept.",
                                        ") ; elle reste telle quelle, et cette partie n'est pas gardée."));
        return newGame(p.setup.seed, p.setup.language);
    }
    cutAtStart(&p.script.runs);
    // A page opened with a seed of its own asks before it starts over the kept year.
    if (!ownText && p.setup.seedAsked && p.setup.asks && !p.askedAboutSeed && *p.script.seed != p.setup.seed) {
        p.askedAboutSeed = true;
        p.language = p.script.language.value_or(p.setup.language);
        if (homeAsk(say("A year is kept here. Go back to it, or start the new one asked for?",
                        "Une année est gardée ici. Y revenir, ou commencer la nouvelle demandée ?"),
                    say("Back to the kept year", "Revenir à l'année gardée"), say("New game", "Nouvelle partie")) == 1) {
            return newGame(p.setup.seed, p.setup.language);
        }
    }
    if (verdict.cutLine) {
        homeTell(PassingNotice, say("The kept game's last line was cut off (a crash or a full disk); it was dropped.",
                                    "La dernière ligne de la partie gardée était coupée (un arrêt brutal ou un disque plein) ; elle est retirée."));
    }
    playRecording(Resume);
}

// A recording the home opened: refused with its reason, or played at the console's pace
// once the player has said the kept year may go.
void playOpened(void) {
    Player& p = player;
    Opened opened = std::move(p.opened);
    p.opened = Opened{};
    RecordingVerdict verdict;
    ReplayScript script;
    if (opened.failed.empty()) {
        verdict = acceptRecording(opened.text, opened.origin == SharedLink ? "link" : "file", opened.origin, p.language, &script);
    } else {
        verdict.refusal = opened.failed;
    }
    // The year kept: the game in play, or (before the first) the one in the home's storage.
    std::string kept, unread;
    bool hadYear = p.started ? keptYearMatters() : p.keeping && homeReadKept(&kept, &unread) == KeptFound;
    if (p.started) kept = p.session.keptText(p.clockMs, p.language);
    if (!verdict.accepted) {
        // Nothing is lost: the kept year stays, and the player may go back to it.
        std::string why = say("This recording cannot be played: ", "Cet enregistrement ne peut pas se jouer : ") + verdict.refusal;
        if (!hadYear) {
            homeAsk(why, say("New game", "Nouvelle partie"), "");
            return newGame(clockNowMs(), p.setup.language);
        }
        if (homeAsk(why, say("Back to the kept year", "Revenir à l'année gardée"), say("New game", "Nouvelle partie")) == 1 &&
            mayForgetKeptYear()) {
            return newGame(clockNowMs(), p.setup.language);
        }
        return resumeKeptYear(&kept);
    }
    if (hadYear && homeAsk(say("A year is kept here. Go back to it, or play this recording in its place?",
                               "Une année est gardée ici. Y revenir, ou jouer cet enregistrement à sa place ?"),
                           say("Back to the kept year", "Revenir à l'année gardée"),
                           say("Play the recording", "Jouer l'enregistrement")) == 0) {
        return resumeKeptYear(&kept);
    }
    p.script = std::move(script);
    if (!verdict.warning.empty()) homeTell(PassingNotice, verdict.warning);
    playRecording(PlayRecording);
}

// A new year in place of the one in play, kept again where the year was kept.
void startNewYear(void) {
    player.keeping = player.setup.keeping != KeepNothing;
    if (player.keeping) homeTell(LastingNotice, ""), player.writeFailed = false; // told again if it still fails
    newGame(clockNowMs(), player.setup.language);
}

// Only one copy of the game keeps a year: another plays a year of its own, unkept, or
// (where the home asks) takes the year over.
bool holdYear(void) {
    std::string why;
    if (homeHoldYear(false, &why)) return true;
    if (player.setup.asks && homeAsk(say("This year is open in another window or tab. Take it over here (the other stops "
                                         "keeping it), or play a year of your own, not kept?",
                                         "Cette année est ouverte dans une autre fenêtre ou un autre onglet. La reprendre "
                                         "ici (l'autre cesse de la garder), ou jouer une année à part, non gardée ?"),
                                     say("Take it over", "La reprendre"), say("Play apart", "Jouer à part")) == 0 &&
        homeHoldYear(true, &why)) {
        return true;
    }
    homeTell(LastingNotice, say("The kept year cannot be kept here (", "L'année gardée ne peut pas l'être ici (") + why +
                                say("); this game is not kept.", ") ; cette partie n'est pas gardée."));
    return false;
}

} // namespace

bool Player::keepRunning() {
    if (homeClosing()) closing = true;
    if (!playingAtOnce()) {
        while (!closing && homePaused()) {
            homeWaitWhilePaused();
            if (homeClosing()) closing = true;
        }
    }
    if (closing || opened.pending) return false;
    if (newYear) {
        newYear = mayForgetKeptYear(); // else the player keeps playing this year
        if (newYear) return false;
    }
    if (atOnce) session.skipIdle();
    if (!playingAtOnce()) noteWhatIsDrawn();
    return true;
}

void Player::sampleButtons(u32* held, u32* pressedSinceLastScan) {
    u32 liveHeld = 0, livePressed = 0;
    if (!playingAtOnce()) homeButtons(&liveHeld, &livePressed);
    session.scan(liveHeld, livePressed, held, pressedSinceLastScan);
    if (jump && session.playingScript()) atOnce = true, jump = false;
    writeSession(false);
}

// Sleeps until the next vertical blank of the console's grid: the game uses no processor
// while it waits. What plays at once does not wait.
void Player::waitForVBlank() {
    if (!setup.paced || playingAtOnce()) return;
    u64 elapsed = homeNowNs() - firstVBlankNs;
    homeSleepUntilNs(firstVBlankNs + nextVBlankNs(elapsed));
}

// The farm as this frame draws it, before its buttons act.
void Player::noteWhatIsDrawn() { drawn = farm; }

// A picture that changed: the advice beside it, and what it says anew. Its lines are the
// screens' own, composed only now that it changed: the screens read the one farm, which
// lends them the farm that was drawn for a moment.
void Player::tellWhatIsShown() {
    std::vector<std::string> now = adviceLines(drawn);
    if (now != advice) homeAdvice(advice = now);
    if (!setup.speaks) return;
    const FarmState playing = farm;
    farm = drawn;
    drawnLines.clear();
    ScreenLine composed;
    for (int i = 0; screenLine(i, &composed); i++) drawnLines.push_back(composed);
    farm = playing;
    std::string said;
    for (const ScreenLine& line : drawnLines) {
        bool before = false;
        for (const ScreenLine& old : shownLines) before = before || (old.y == line.y && strcmp(old.text, line.text) == 0);
        if (before) continue;
        said += std::string(said.empty() ? "" : "\n") + line.text;
        // "IMPOSSIBLE" is said with the limit that refused the answer.
        if (drawn.showImpossible && strcmp(line.text, "IMPOSSIBLE") == 0) said += "\n" + refusalReason(drawn);
    }
    shownLines = drawnLines;
    if (!said.empty()) homeSay(said);
}

void Player::presented(const u8* top, const u8* bottom) {
    u8 before = history.lastMonth;
    history.observe(farm);
    if (farm.month != before && farm.gameState == GameOver) homeYear(history.table(language));
    if (farm.month < before) homeYear("");
    if (playingAtOnce()) return;
    if (atOnce) {
        // The recording played at once is over: the console's pace starts again from here,
        // and what the screen says is noted afresh, none of it having been on the way.
        atOnce = false;
        firstVBlankNs = homeNowNs();
        noteWhatIsDrawn();
        if (resuming) {
            resuming = false;
            homeTell(PassingNotice, farm.month > kMonthsInYear
                                        ? say("Game resumed, the year is over.", "Partie reprise, l'année est finie.")
                                        : say("Game resumed, month ", "Partie reprise, mois ") + std::to_string(farm.month) + ".");
        }
    }
    if (!shown.update(top, bottom)) return;
    homeShow(shown.rgb().data());
    tellWhatIsShown();
}

bool playerRun(const PlayerSetup& setup) {
    player.setup = setup;
    player.language = setup.language;
    player.keeping = setup.keeping != KeepNothing;
    bool ownsYear = setup.keeping != KeepYear || holdYear();
    if (!ownsYear) player.setup.keeping = KeepNothing, player.keeping = false;
    player.writeFailed = false;
    player.closing = player.newYear = false;
    player.askedAboutSeed = player.started = false;
    player.session.start(nullptr);
    player.drawnLines.reserve(32), player.shownLines.reserve(32); // no allocation frame by frame
    if (setup.script != nullptr) {
        player.script = *setup.script;
        playRecording(PlayRecording);
    } else if (player.opened.pending) {
        playOpened();
    } else if (player.setup.keeping == KeepYear) {
        resumeKeptYear(nullptr);
    } else {
        newGame(setup.seed, setup.language);
    }
    while (!player.closing) {
        if (player.newYear) {
            player.newYear = false;
            startNewYear();
        } else if (player.opened.pending) {
            playOpened();
        } else if (!setup.asks) {
            break; // START leaves
        } else {
            std::string kept = player.session.keptText(player.clockMs, player.language);
            if (homeAsk(say("You left the game.", "Vous avez quitté la partie."), say("Back to the game", "Revenir à la partie"),
                        say("New game", "Nouvelle partie")) == 0 || !mayForgetKeptYear()) {
                resumeKeptYear(&kept);
            } else {
                startNewYear();
            }
        }
    }
    return !player.writeFailed;
}

bool playerKey(char key) {
    if (key == '\n' && !player.session.typing()) return false;
    std::string why;
    if (!player.session.type(key, &why) && key != '\n') homeTell(PassingNotice, why);
    return true;
}

void playerNewYear(void) { player.newYear = true; }

void playerOpen(const std::string& text, RecordingOrigin origin, const std::string& failed) {
    player.opened = Opened{true, text, failed, origin};
}

void playerJumpToEnd(void) { player.jump = true; }

void playerNote(const std::string& text) { player.session.note(text.substr(0, kLongestNote)); }

const std::vector<u8>& playerPicture(void) {
    if (player.shown.rgb().empty()) player.shown.reset(); // black, before any game
    return player.shown.rgb();
}

std::string playerRecording(void) { return player.session.recordingText(player.clockMs, player.language); }

std::string playerStateJson(void) { return farmStateJson(farm); }

std::string playerScreenText(void) {
    std::string text;
    for (const ScreenLine& line : player.shownLines) text += std::string(text.empty() ? "" : "\n") + line.text;
    return text;
}

bool playerPlayingRecording(void) { return !player.atOnce && player.session.playingScript(); }

