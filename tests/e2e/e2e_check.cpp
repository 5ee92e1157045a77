// Checks what the quorvandelle program wrote against the game played here, in this
// process, on this C library.
//
//   e2e_check replay SCRIPT SEED LANGUAGE STATE PNG   same state and last frame as here
//   e2e_check calm SEED STATE PNG                     the calm year's end, derived by hand
//   e2e_check black STATE PNG                         nothing was presented
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "app/app.h"
#include "game/farm.h"
#include "gfx/render.h"
#include "host/outputs.h"
#include "host/replay.h"
#include "support/framebuffer.h"
#include "support/test_console.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    if (!ok) {
        fprintf(stderr, "FAILED: %s\n", what.c_str());
        failures++;
    }
}

std::string readFile(const char* path) {
    std::string text;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        fprintf(stderr, "FAILED: cannot read %s\n", path);
        exit(1);
    }
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    fclose(file);
    return text;
}

double member(const std::string& json, const char* name) {
    std::string key = std::string("\"") + name + "\": ";
    size_t at = json.find(key);
    if (at == std::string::npos) {
        fprintf(stderr, "FAILED: no member %s\n", name);
        exit(1);
    }
    return strtod(json.c_str() + at + key.size(), nullptr);
}

std::vector<u8> loadPng(const char* path) {
    std::string png = readFile(path);
    int width = 0, height = 0, channels = 0;
    u8* pixels = stbi_load_from_memory((const u8*)png.data(), (int)png.size(), &width, &height,
                                       &channels, 0);
    if (pixels == nullptr || width != 400 || height != 480 || channels != 3) {
        fprintf(stderr, "FAILED: %s is not a 400x480 RGB PNG\n", path);
        exit(1);
    }
    std::vector<u8> rgb(pixels, pixels + 400 * 480 * 3);
    stbi_image_free(pixels);
    return rgb;
}

// The upper screen of a screenshot, back in the framebuffer's layout, to read text from.
std::vector<u8> upperScreen(const std::vector<u8>& rgb) {
    std::vector<u8> framebuffer(TOP_FRAMEBUFFER_BYTES);
    for (int y = 0; y < 240; y++) {
        for (int x = 0; x < 400; x++) {
            const u8* in = &rgb[3 * (y * 400 + x)];
            u8* out = framebuffer.data() + 3 * (240 * x + 239 - y);
            out[0] = in[2], out[1] = in[1], out[2] = in[0];
        }
    }
    return framebuffer;
}

std::string format(const char* pattern, double value) {
    char text[100];
    snprintf(text, sizeof text, pattern, value);
    return text;
}

// Plays the script here, with the program's seed and language.
void replayHere(const char* scriptPath, u64 seed, u8 language) {
    ReplayScript script;
    std::string error;
    if (!parseReplayScript(readFile(scriptPath), scriptPath, &script, &error)) {
        fprintf(stderr, "FAILED: %s\n", error.c_str());
        exit(1);
    }
    ScriptedButtons buttons;
    ReplayCursor cursor;
    cursor.runs = &script.runs;
    u32 frame;
    while (cursor.next(&frame)) buttons.frames.push_back(frame);
    resetConsoleAndFarm(seed, language);
    hostConsoleSetFrontend(&buttons);
    appMain();
    hostConsoleSetFrontend(nullptr);
}

void checkReplay(char** args) {
    replayHere(args[0], strtoull(args[1], nullptr, 10), *parseLanguage(args[2]));
    check(readFile(args[3]) == farmStateJson(farm), "the state file matches the game played here");
    std::vector<u8> here = composeScreenshot(hostPresentedTop(), hostPresentedBottom());
    check(loadPng(args[4]) == here, "the screenshot matches the last frame presented here");
}

// The calm year: the male sold in month 1 at the first price, 30 kg bought, one
// female eating 1 kg a month, no draw but the prices.
void checkCalmYear(char** args) {
    std::string json = readFile(args[1]);
    srand((unsigned)(strtoull(args[0], nullptr, 10) & 0xFFFFFFFFu));
    float price = rand() % 2 ? 1.1f : 1.0f;
    float cash = 5.0f + 1.0f * price;
    cash = (float)((double)cash - 30 * 0.1);
    float value = 0.0f + 1.0f + cash + 0.0f + 0.0f + 1.0f + 1.0f;

    check(member(json, "gameState") == (double)GameOver, "the game is over");
    check(member(json, "month") == 13, "after twelve months");
    check(member(json, "adultMales") == 0 && member(json, "adultFemales") == 1, "one female left");
    check(member(json, "foodStock") == 35 - 12, "one kilogram eaten a month");
    check((float)member(json, "cash") == cash, "cash " + format("%.9g", cash));
    check((float)member(json, "breedingValue") == value, "value " + format("%.9g", value));

    std::vector<u8> screen = upperScreen(loadPng(args[2]));
    bool french = member(json, "systemLanguage") == (double)CFG_LANGUAGE_FR;
    std::string valueLine = format(french ? "LA VALEUR DE VOTRE ELEVAGE EST DE %.2f $"
                                          : "THE VALUE OF YOUR BREEDING IS %.2f $",
                                   value);
    check(readText(screen.data(), 1, 130, (int)valueLine.size()) == valueLine, valueLine);
    std::string grade = french ? "OOPS!, VOTRE METHODE D'ELEVAGE EST A REVOIR."
                               : "OOPS !, YOUR BREEDING METHOD IS FAILING.";
    check(readText(screen.data(), 1, 40, (int)grade.size()) == grade, grade);
    std::string title = french ? "...........FIN DU JEU..........." : "...........END OF GAME...........";
    check(readText(screen.data(), french ? 72 : 68, 1, (int)title.size()) == title, title);
}

void checkBlack(char** args) {
    std::string json = readFile(args[0]);
    check(member(json, "showIntro") == 1 && member(json, "gameState") == 0, "still on the rules");
    std::vector<u8> rgb = loadPng(args[1]);
    bool black = true;
    for (u8 byte : rgb) black = black && byte == 0;
    check(black, "an all-black screenshot");
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "replay" && argc == 7) {
        checkReplay(argv + 2);
    } else if (mode == "calm" && argc == 5) {
        checkCalmYear(argv + 2);
    } else if (mode == "black" && argc == 4) {
        checkBlack(argv + 2);
    } else {
        fprintf(stderr, "usage: e2e_check replay SCRIPT SEED LANGUAGE STATE PNG | calm SEED STATE PNG | black STATE PNG\n");
        return 2;
    }
    if (failures == 0) printf("all checks passed\n");
    return failures == 0 ? 0 : 1;
}
