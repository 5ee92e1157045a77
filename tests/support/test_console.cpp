#include "support/test_console.h"

#include <sstream>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_THREAD_LOCALS // newlib on the console has none
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "app/app.h"
#include "frontend/files.h"

// The closing calls are wrapped at link time (tests/CMakeLists.txt), so that the order
// of shut-down is seen without the console model keeping count for the tests.
namespace {
std::string closed;
}
extern "C" {
void __real_cfguExit(void);
void __real_gfxExit(void);
void __wrap_cfguExit(void) { closed += closed.empty() ? "cfgu" : " cfgu", __real_cfguExit(); }
void __wrap_gfxExit(void) { closed += closed.empty() ? "gfx" : " gfx", __real_gfxExit(); }
}
std::string closedServices() { return closed; }

void resetConsoleAndFarm(u64 clockMs, u8 language) {
    hostConsoleSetFrontend(nullptr), hostConsoleReset(clockMs, language);
    farm = FarmState{};
    closed.clear();
}

int play(ScriptedButtons* buttons) {
    hostConsoleSetFrontend(buttons);
    int status = appMain();
    return hostConsoleSetFrontend(nullptr), status;
}

void press(u32 keys) {
    ScriptedButtons one;
    one.frames = {keys}, one.next = 1;
    hostConsoleSetFrontend(&one), updateGame(), hostConsoleSetFrontend(nullptr);
}

void startPhase(s32 phase) { farm.showIntro = farm.showImpossible = 0, farm.inputValue = 0, farm.gameState = phase; }

std::string goldenPath(const std::string& name) { return QUORVANDELLE_GOLDEN_DIR "/" + name; }

std::string fileText(const std::string& path) {
    std::string text, error;
    return readFileWhole(path, &text, &error, 1 << 24) ? text : "(no file)";
}

// The rows are the lines of exactly eight '#' or '.', in code order, top row first.
u8 goldenGlyphRow(int code, int k) {
    static std::vector<u8> rows;
    if (rows.empty()) {
        std::istringstream text(fileText(goldenPath("font.txt")));
        for (std::string line; std::getline(text, line);) {
            if (line.size() != 8 || line.find_first_not_of("#.") != std::string::npos) continue;
            rows.push_back(0);
            for (int j = 0; j < 8; j++) rows.back() |= (u8)(line[j] == '#' ? 0x80 >> j : 0);
        }
    }
    return rows.at(8 * code + k);
}

std::vector<u8> loadPng(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    u8* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    std::vector<u8> rgb(pixels, pixels + (pixels ? (size_t)width * height * 3 : 0));
    return stbi_image_free(pixels), rgb;
}
