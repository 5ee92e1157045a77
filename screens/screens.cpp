#include "screens/screens.h"

#include <stdio.h>
#include <string.h>

#include "game/farm.h"
#include "game/rules.h"
#include "gfx/render.h"

namespace {

char lineBuffer[100];
static_assert(sizeof lineBuffer == sizeof ScreenLine::text, "a line is composed into either");

enum Colour : u8 { Red, White };

// What a line prints after its text; None for a fixed line.
enum Value : u8 {
    None,
    Month,
    AdultMales,
    AdultFemales,
    YoungMales,
    YoungFemales,
    MaleCages,
    FemaleCages,
    MalesPerCage,
    FemalesPerCage,
    FoodStock,
    DeadOfHunger,
    DeadSuffocated,
    MalesToSell,
    FemalesToSell,
    CouplingsRequested,
    FoodToBuy,
    MaleCagesToBuy,
    FemaleCagesToBuy,
    AllAdults,
    AllYoung,
    AllCages,
    MonthsInYear,
    LargestLitter,
    HamsterPrice, // the floats come last
    Cash,
    BreedingValue
};

// French and English are separate lines that share a row: each keeps its own x and text.
struct Line {
    const char* french;
    const char* english;
    s16 frenchX;
    s16 englishX;
    s16 y;
    Colour colour;
    Value value;
    s8 fromPhase; // 0: always drawn; else drawn when gameState is at least this
};

const char kContinueFr[] = "** APPUIES SUR A POUR CONTINUER...";
const char kContinueEn[] = "** PRESS A TO CONTINUE...";

const Line kRules[] = {
    {"***** QUORVANDELLE *****", "***** QUORVANDELLE *****", 104, 104, 1, Red, None, 0},
    {"LE BUT DU JEU EST DE GERER UN ELEVAGE DE HAMSTERS",
     "THE PURPOSE OF THE GAME IS TO MANAGE BREEDING", 1, 1, 30, White, None, 0},
    {"PENDANT %d MOIS EN FAISANT DES BENEFICES.", "HAMSTERS %d MONTHS BY MAKING PROFITS.", 1, 1,
     40, White, MonthsInYear, 0},
    {"ON NE PEUT VENDRE OU ACCOUPLER QUE DES ADULTES.", "YOU CAN SELL OR COUPLE ONLY THE ADULTS.",
     1, 1, 60, White, None, 0},
    {"LES PETITS DEVIENNENT ADULTES EN 1 MOIS.", "YOUNG BECOME ADULTS 1 MONTH.", 1, 1, 80, White,
     None, 0},
    {"CHAQUE ACCOUPLEMENT PEUT DONNER UN MAXIMUM DE %d",
     "EACH COUPLING CAN GIVE A MAXIMUM OF %d YOUNG.", 1, 1, 100, White, LargestLitter, 0},
    {"PETITS.", nullptr, 1, 1, 110, White, None, 0},
    {kContinueFr, kContinueEn, 1, 1, 231, White, None, 0},
};

const Line kMonth[] = {
    {"SITUATION DU MOIS No %d", "SITUATION OF THE MONTH No %d", 108, 88, 1, Red, Month, 0},
    {"MALES", "MALES", 48, 48, 30, White, None, 0},
    {"FEMELLES", "FEMALES", 256, 256, 30, White, None, 0},
    {"ADULTES : %d", "ADULTS  : %d", 48, 48, 50, White, AdultMales, 0},
    {"ADULTES : %d", "ADULTS : %d", 256, 264, 50, White, AdultFemales, 0},
    {"PETITS  : %d", "YOUNGS  : %d", 48, 48, 60, White, YoungMales, 0},
    {"PETITES : %d", "YOUNGS : %d", 256, 264, 60, White, YoungFemales, 0},
    {"CAGES   : %d", "CAGES   : %d", 48, 48, 70, White, MaleCages, 0},
    {"CAGES : %d", "CAGES : %d", 272, 272, 70, White, FemaleCages, 0},
    {"NB PAR CAGE : %d", "NB PER CAGE : %d", 16, 16, 80, White, MalesPerCage, 0},
    {"NB PAR CAGE : %d", "NB PER CAGE : %d", 224, 224, 80, White, FemalesPerCage, 0},
    {"NOURRITURE RESTANTE : %d KG", "REMAINING FOOD : %d KG", 1, 1, 100, White, FoodStock, 0},
    {"PRIX DU HAMSTER CE MOIS : %.2f $", "PRICE OF HAMSTER THIS MONTH : %.2f $", 1, 1, 110, White,
     HamsterPrice, 0},
    {"EN CAISSE : %.2f $", "CHECKOUT : %.2f $", 1, 1, 120, White, Cash, 0},
    {"MORTS DE FAIM : %d", "DEAD HUNGRY : %d", 1, 1, 140, White, DeadOfHunger, 0},
    {"MORTS ETOUFFES : %d", "DEAD SUFFOCATED : %d", 1, 1, 150, White, DeadSuffocated, 0},
    {kContinueFr, kContinueEn, 1, 1, 231, White, None, 0},
    {"__________________________________________________",
     "__________________________________________________", 0, 0, 160, Red, None, SellMales},
    {"MALES A VENDRE ? %d", "MALES FOR SALE ? %d", 1, 1, 170, White, MalesToSell, SellMales},
    {"FEMELLES A VENDRE ? %d", "FEMALES FOR SALE ? %d", 1, 1, 180, White, FemalesToSell,
     SellFemales},
    {"NOMBRE D'ACCOUPLEMENT ? %d", "NUMBER COUPLING ? %d", 1, 1, 190, White, CouplingsRequested,
     Couplings},
    {"NOURRITURE A ACHETER ? %d", "FOOD TO BUY ? %d", 1, 1, 200, White, FoodToBuy, BuyFood},
    {"ACHAT DE CAGES POUR LES MALES ? %d", "PURCHASE CAGES FOR MALES ? %d", 1, 1, 210, White,
     MaleCagesToBuy, BuyMaleCages},
    {"ACHAT DE CAGES POUR LES FEMELLES ? %d", "PURCHASE CAGES FOR FEMALES ? %d", 1, 1, 220, White,
     FemaleCagesToBuy, BuyFemaleCages},
};

const Line kEndTitle = {"...........FIN DU JEU...........", "...........END OF GAME...........",
                        72, 68, 1, Red, None, 0};

// The grade, from the lowest; both bounds belong to the lower grade.
const Line kGrades[] = {
    {"OOPS!, VOTRE METHODE D'ELEVAGE EST A REVOIR.", "OOPS !, YOUR BREEDING METHOD IS FAILING.", 1,
     1, 40, White, None, 0},
    {"BRAVO, VOUS AVEZ CORRECTEMENT GERE L'ELEVAGE.", "WELL DONE, YOU PROPERLY MANAGE BREEDING.",
     1, 1, 40, White, None, 0},
    {"EXCELLENT, VOUS ETES UN CHAMPION DE L'ELEVAGE.",
     "GREAT JOB, YOU ARE A CHAMPION OF BREEDING.", 1, 1, 40, White, None, 0},
};

const Line kEnd[] = {
    {"VOUS AVEZ AU BOUT DE CES %d MOIS :", "YOU HAVE AFTER THESE %d MONTHS :", 1, 1, 60, White,
     MonthsInYear, 0},
    {"%d ADULTES", "%d ADULTS", 16, 16, 80, White, AllAdults, 0},
    {"%d PETITS", "%d YOUNGS", 16, 16, 90, White, AllYoung, 0},
    {"%d CAGES", "%d CAGES", 16, 16, 100, White, AllCages, 0},
    {"%d KG DE NOURRITURE", "%d KG OF FOOD", 16, 16, 110, White, FoodStock, 0},
    {"LA VALEUR DE VOTRE ELEVAGE EST DE %.2f $", "THE VALUE OF YOUR BREEDING IS %.2f $", 1, 1, 130,
     White, BreedingValue, 0},
    {"** APPUIES SUR A POUR RECOMMENCER...", "** PRESS A TO PLAY AGAIN...", 1, 1, 231, White, None,
     0},
};

const Line kImpossible = {"IMPOSSIBLE", "IMPOSSIBLE", 320, 320, 0, White, None, 0};

int intValue(Value value) {
    switch (value) {
    case Month: return farm.month;
    case AdultMales: return farm.adultMales;
    case AdultFemales: return farm.adultFemales;
    case YoungMales: return farm.youngMales;
    case YoungFemales: return farm.youngFemales;
    case MaleCages: return farm.maleCages;
    case FemaleCages: return farm.femaleCages;
    case MalesPerCage: return farm.malesPerCage;
    case FemalesPerCage: return farm.femalesPerCage;
    case FoodStock: return farm.foodStock;
    case DeadOfHunger: return farm.deadOfHunger;
    case DeadSuffocated: return farm.deadSuffocated;
    case MalesToSell: return farm.malesToSell;
    case FemalesToSell: return farm.femalesToSell;
    case CouplingsRequested: return farm.couplingsRequested;
    case FoodToBuy: return farm.foodToBuy;
    case MaleCagesToBuy: return farm.maleCagesToBuy;
    case FemaleCagesToBuy: return farm.femaleCagesToBuy;
    // The sums are not reduced to 16 bits.
    case AllAdults: return (int)farm.adultMales + (int)farm.adultFemales;
    case AllYoung: return (int)farm.youngMales + (int)farm.youngFemales;
    case AllCages: return (int)farm.maleCages + (int)farm.femaleCages;
    case MonthsInYear: return kMonthsInYear;
    case LargestLitter: return kLargestLitter;
    default: return 0;
    }
}

float floatValue(Value value) {
    switch (value) {
    case HamsterPrice: return farm.hamsterPrice;
    case Cash: return farm.cash;
    default: return farm.breedingValue;
    }
}

int grade(void) {
    return farm.breedingValue <= kLowGradeBound ? 0 : farm.breedingValue <= kHighGradeBound ? 1 : 2;
}

template <int N> constexpr int countOf(const Line (&)[N]) { return N; }

// The line at `slot` of the screen the farm shows now, and its row, in the order drawn:
// the rules; the month, then "IMPOSSIBLE" beside the question refused; the end's title,
// grade and summary. False past the last slot. A slot may hold a line not drawn now.
bool slotLine(int slot, const Line** line, s32* y) {
    if (farm.showIntro) {
        if (slot >= countOf(kRules)) return false;
        *line = &kRules[slot];
    } else if (farm.gameState >= Situation && farm.gameState <= BuyFemaleCages) {
        if (slot == countOf(kMonth) && farm.showImpossible) {
            *line = &kImpossible, *y = 150 + 10 * farm.gameState;
            return true;
        }
        if (slot >= countOf(kMonth)) return false;
        *line = &kMonth[slot];
    } else if (farm.gameState == GameOver) {
        if (slot >= 2 + countOf(kEnd)) return false;
        *line = slot == 0 ? &kEndTitle : slot == 1 ? &kGrades[grade()] : &kEnd[slot - 2];
    } else {
        return false;
    }
    *y = (*line)->y;
    return true;
}

// Moves *slot on to the next line the screen draws in this language, from *slot itself:
// a line has no text in one language, a question waits for its phase. False past the last.
bool nextLine(int* slot, bool french, const Line** line, s32* y) {
    for (; slotLine(*slot, line, y); ++*slot) {
        const Line& at = **line;
        bool asked = at.fromPhase == 0 || farm.gameState >= at.fromPhase;
        if ((french ? at.french : at.english) != nullptr && asked) return true;
    }
    return false;
}

// Writes the line into `text` (100 bytes), its value formatted; gives its x and its green
// and blue (red is always full).
void composeLine(const Line& line, bool french, char* text, s32* x, u8* greenBlue) {
    const char* format = french ? line.french : line.english;
    if (line.value == None) {
        // A fixed line needs no formatting: a bounded copy is the same and cheaper.
        size_t length = 0;
        while (length < sizeof lineBuffer - 1 && format[length] != 0) length++;
        memcpy(text, format, length);
        text[length] = 0;
    } else if (line.value >= HamsterPrice) {
        snprintf(text, sizeof lineBuffer, format, (double)floatValue(line.value));
    } else {
        snprintf(text, sizeof lineBuffer, format, intValue(line.value));
    }
    *x = french ? line.frenchX : line.englishX;
    *greenBlue = line.colour == Red ? 0 : 255;
}

} // namespace

void drawScreen(void) {
    clearTopScreen();
    bool french = farm.systemLanguage == CFG_LANGUAGE_FR;
    const Line* line;
    s32 x, y;
    u8 greenBlue;
    for (int slot = 0; nextLine(&slot, french, &line, &y); slot++) {
        composeLine(*line, french, lineBuffer, &x, &greenBlue);
        drawText(lineBuffer, x, y, 255, greenBlue, greenBlue, topFramebuffer, 0);
    }
}

bool screenLine(int index, ScreenLine* out) {
    bool french = farm.systemLanguage == CFG_LANGUAGE_FR;
    const Line* line;
    s32 y;
    if (index < 0) return false;
    for (int slot = 0; nextLine(&slot, french, &line, &y); slot++) {
        if (index-- > 0) continue;
        u8 greenBlue;
        composeLine(*line, french, out->text, &out->x, &greenBlue);
        out->y = y, out->red = 255, out->green = out->blue = greenBlue;
        return true;
    }
    return false;
}
