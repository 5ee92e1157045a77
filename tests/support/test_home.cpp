#include "support/test_home.h"

TestHome testHome;

std::vector<TestHome::Frame> pressFrames(std::initializer_list<u32> presses) {
    std::vector<TestHome::Frame> frames;
    for (u32 pressed : presses) frames.push_back({pressed, nullptr});
    return frames;
}

void homeButtons(u32* held, u32* pressed) {
    TestHome& home = testHome;
    *held = 0;
    *pressed = 0;
    if (home.scans >= home.frames.size()) return;
    TestHome::Frame& frame = home.frames[home.scans++];
    if (frame.before) frame.before();
    *pressed = frame.pressed;
}

void homeShow(const u8* rgb) {
    testHome.shows++;
    if (testHome.onShow) testHome.onShow(rgb);
}
u64 homeNowNs(void) { return testHome.nowNs; }
void homeSleepUntilNs(u64 ns) {
    testHome.sleeps.push_back(ns);
    if (ns > testHome.nowNs) testHome.nowNs = ns;
}
bool homePaused(void) { return false; }
void homeWaitWhilePaused(void) {}
bool homeClosing(void) { return testHome.scans >= testHome.frames.size(); }

bool homeHoldYear(bool takeOver, std::string* why) {
    if (takeOver) testHome.heldElsewhere.clear();
    return testHome.heldElsewhere.empty() || (*why = testHome.heldElsewhere, false);
}

KeptRead homeReadKept(std::string* text, std::string*) {
    if (!testHome.kept) return NothingKept;
    *text = testHome.keptText;
    return text->empty() ? NothingKept : KeptFound;
}

bool homeKeepWhole(const std::string& text, std::string* why) {
    if (!testHome.failWith.empty()) return *why = testHome.failWith, false;
    testHome.kept = true, testHome.keptText = text, testHome.wholeWrites++;
    return true;
}

bool homeKeepLines(const std::string& lines, std::string* why) {
    if (!testHome.failWith.empty()) return *why = testHome.failWith, false;
    testHome.keptText += lines, testHome.lineWrites++;
    return true;
}

void homeTell(NoticeKind kind, const std::string& text) {
    testHome.told.push_back((kind == PassingNotice ? "passing: " : "lasting: ") + text);
}

int homeAsk(const std::string& question, const std::string&, const std::string&) {
    testHome.asked.push_back(question);
    if (testHome.answers.empty()) return 0;
    int answer = testHome.answers.front();
    testHome.answers.erase(testHome.answers.begin());
    return answer;
}

void homeYear(const std::string& table) { testHome.year = table; }

void homeAdvice(const std::vector<std::string>& lines) { testHome.advice = lines; }
void homeSay(const std::string& text) { testHome.said.push_back(text); }
