#include "frontend/advice.h"

#include <stdio.h>

#include "game/limits.h"
#include "game/rules.h"

namespace {

struct Words {
    bool french;
    const char* say(const char* english, const char* frenchText) const { return french ? frenchText : english; }
    // `count` things: singular for 1, and for 0 in French.
    std::string count(long long count, const char* one, const char* many, const char* un, const char* des) const {
        bool single = count == 1 || (french && count == 0);
        return std::to_string(count) + " " + (single ? say(one, un) : say(many, des));
    }
    // "6 to 40", or "40" when the close leaves no choice.
    std::string range(long long low, long long high) const {
        return std::to_string(low) + (low == high ? "" : say(" to ", " à ") + std::to_string(high));
    }
};

std::string dollars(double amount) {
    char text[32];
    snprintf(text, sizeof text, "%.2f $", amount);
    return text;
}

const char* refused(const Words& w) { return w.say("Refused: ", "Refusé : "); }

// The most the farm allows or, after a refusal, the limit that refused the answer.
std::string limit(const Words& w, const FarmState& f, const std::string& most) {
    return f.showImpossible ? refused(w) + most : most;
}

// What the cash buys; a farm in debt cannot pay even for 0.
std::string cashBuys(const Words& w, long long most, const char* one, const char* many, const char* un, const char* des) {
    if (most < 0) return w.say("the cash buys nothing.", "l'argent ne paie rien.");
    return w.say("the cash buys at most ", "l'argent paie au plus ") + w.count(most, one, many, un, des);
}

// What the close will ask. The young grow up, each coupling gives 1 to kLargestLitter
// young (at least one a male), a farm left empty receives its young pair; then each side
// is held to the room of its cages, and every hamster left eats.
void closeLines(const Words& w, const FarmState& f, std::vector<std::string>* lines) {
    long long couplings = f.couplingsRequested > 0 ? f.couplingsRequested : 0;
    long long males = (long long)f.adultMales + f.youngMales;
    long long females = (long long)f.adultFemales + f.youngFemales;
    long long fewestMales = males + couplings, mostMales = males + kLargestLitter * couplings;
    long long fewestFemales = females, mostFemales = females + (kLargestLitter - 1) * couplings;
    long long fewest = fewestMales + fewestFemales, most = males + females + kLargestLitter * couplings;
    if (most == 0) {
        fewestMales = mostMales = kRestockedMales;
        fewestFemales = mostFemales = kRestockedFemales;
        fewest = most = kRestockedMales + kRestockedFemales;
    }
    std::string eating = w.range(fewest, most);
    lines->push_back(w.french ? "À la clôture mangent " + eating + (most == 1 ? " hamster." : " hamsters.")
                              : "At the close, " + eating + (most == 1 ? " hamster eats." : " hamsters eat."));
    lines->push_back(w.say("Food in stock: ", "Nourriture en stock : ") + std::to_string(f.foodStock) + " kg.");
    auto side = [&](const char* english, const char* french, long long low, long long high, u16 cages) {
        long long room = roomInCages(cages);
        lines->push_back(w.say(english, french) + w.range(low, high) +
                         (w.french ? " ; " + std::to_string(room) + (room <= 1 ? " place." : " places.")
                                   : "; room for " + std::to_string(room) + "."));
    };
    side("Males: ", "Mâles : ", fewestMales, mostMales, f.maleCages);
    side("Females: ", "Femelles : ", fewestFemales, mostFemales, f.femaleCages);
}

} // namespace

std::vector<std::string> adviceLines(const FarmState& f) {
    if (f.showIntro || !isQuestionPhase(f.gameState)) return {};
    const Words w{f.systemLanguage == CFG_LANGUAGE_FR};
    const s32 phase = f.gameState;
    const bool males = phase == SellMales || phase == BuyMaleCages;
    const long long most = mostAccepted(phase, f.adultMales, f.adultFemales, f.cash);
    std::vector<std::string> lines;
    switch (phase) {
    case SellMales:
    case SellFemales: {
        std::string price = dollars(f.hamsterPrice);
        lines.push_back(w.french ? (males ? "Un mâle se vend " : "Une femelle se vend ") + price + " ce mois-ci."
                                 : (males ? "A male sells for " : "A female sells for ") + price + " this month.");
        lines.push_back(limit(w, f, w.say("at most ", "au plus ") +
                                           (males ? w.count(most, "adult male.", "adult males.", "mâle adulte.", "mâles adultes.")
                                                  : w.count(most, "adult female.", "adult females.", "femelle adulte.",
                                                            "femelles adultes."))));
        break;
    }
    case Couplings:
        lines.push_back(w.say("A coupling gives 1 to ", "Un accouplement donne de 1 à ") + std::to_string(kLargestLitter) +
                        w.say(" young.", " petits."));
        lines.push_back(w.say("It needs an adult male and an adult female.", "Il faut un mâle et une femelle adultes."));
        lines.push_back(limit(w, f, w.say("at most ", "au plus ") +
                                           w.count(most, "coupling.", "couplings.", "accouplement.", "accouplements.")));
        break;
    case BuyFood:
        lines.push_back(w.say("Food costs ", "La nourriture coûte ") + dollars(kFoodPricePerKg) + w.say(" a kg.", " le kg."));
        lines.push_back(limit(w, f, cashBuys(w, most, "kg.", "kg.", "kg.", "kg.")));
        closeLines(w, f, &lines);
        break;
    default: {
        std::string price = std::to_string((long long)kCagePrice) + " $.";
        lines.push_back(w.french ? (males ? "Une cage pour les mâles coûte " : "Une cage pour les femelles coûte ") + price
                                 : (males ? "A cage for the males costs " : "A cage for the females costs ") + price);
        lines.push_back(limit(w, f, cashBuys(w, most, "cage.", "cages.", "cage.", "cages.")));
        closeLines(w, f, &lines);
        break;
    }
    }
    // Each line is a sentence.
    for (std::string& line : lines) {
        if (line[0] >= 'a' && line[0] <= 'z') line[0] = (char)(line[0] - 'a' + 'A');
    }
    return lines;
}

std::string refusalReason(const FarmState& f) {
    const std::string prefix = refused(Words{f.systemLanguage == CFG_LANGUAGE_FR});
    for (const std::string& line : adviceLines(f)) {
        if (line.compare(0, prefix.size(), prefix) == 0) return line;
    }
    return "";
}
