#include "frontend/howto.h"

#include <stdio.h>

#include "game/rules.h"

namespace {

// Money as the game's screens print it.
std::string dollars(double amount) {
    char text[32];
    snprintf(text, sizeof text, "%.2f $", amount);
    return text;
}

// A whole amount of dollars, as a price or a bound is said.
std::string wholeDollars(double amount) {
    char text[32];
    snprintf(text, sizeof text, "%.0f $", amount);
    return text;
}

std::string whole(long long count) { return std::to_string(count); }

} // namespace

HowToPlay howToPlay(u8 language) {
    const std::string low = dollars(kLowestPrice), high = dollars(kLowestPrice + kPriceRise);
    const std::string litter = whole(kLargestLitter), food = dollars(kFoodPricePerKg);
    const std::string eats = whole(kFoodPerHamster), cage = wholeDollars((double)kCagePrice);
    const std::string room = whole(kRoomInCage), months = whole(kMonthsInYear);
    const std::string head = wholeDollars(kValueOfHamster), box = wholeDollars(kValueOfCage);
    const std::string lowBound = wholeDollars(kLowGradeBound);
    const std::string highBound = wholeDollars(kHighGradeBound);
    if (language == CFG_LANGUAGE_FR) {
        return {"COMMENT JOUER",
                {"ON NE VEND ET N'ACCOUPLE QUE DES ADULTES. UNE VENTE RAPPORTE LE PRIX DU MOIS "
                 "PAR HAMSTER : " + low + " OU " + high + ".",
                 "UN ACCOUPLEMENT DEMANDE UN MALE ET UNE FEMELLE ADULTES ; IL DONNE DE 1 A " +
                     litter + " PETITS, ADULTES UN MOIS PLUS TARD.",
                 "LA NOURRITURE COUTE " + food + " LE KG. A LA FIN DU MOIS CHAQUE HAMSTER, PETIT "
                 "OU NON, EN MANGE " + eats + " KG ; CEUX QUI N'EN TROUVENT PAS MEURENT.",
                 "MALES ET FEMELLES ONT LEURS CAGES. UNE CAGE COUTE " + cage + " ET EN LOGE " +
                     room + " ; AU-DELA CERTAINS ETOUFFENT, LES PETITS D'ABORD. SANS CAGE, TOUS.",
                 "AU BOUT DE " + months + " MOIS L'ELEVAGE VAUT " + head + " PAR HAMSTER ET " +
                     box + " PAR CAGE, PLUS LA CAISSE ; LA NOURRITURE NE COMPTE PAS.",
                 "JUSQU'A " + lowBound + " : OOPS. JUSQU'A " + highBound +
                     " : BRAVO. AU-DELA : EXCELLENT."}};
    }
    return {"HOW TO PLAY",
            {"ONLY ADULTS ARE SOLD OR COUPLED. A SALE BRINGS THIS MONTH'S PRICE A HAMSTER: " +
                 low + " OR " + high + ".",
             "A COUPLING NEEDS AN ADULT MALE AND AN ADULT FEMALE; IT GIVES 1 TO " + litter +
                 " YOUNG, ADULTS A MONTH LATER.",
             "FOOD COSTS " + food + " A KG. AT THE MONTH'S CLOSE EVERY HAMSTER, YOUNG OR NOT, "
             "EATS " + eats + " KG; THOSE THAT FIND NONE DIE.",
             "MALES AND FEMALES HAVE CAGES OF THEIR OWN. A CAGE COSTS " + cage + " AND HOLDS " +
                 room + "; BEYOND THAT SOME SUFFOCATE, THE YOUNG FIRST. WITH NO CAGE, ALL DO.",
             "AFTER " + months + " MONTHS THE FARM IS WORTH " + head + " A HAMSTER AND " + box +
                 " A CAGE, PLUS THE CASH; FOOD COUNTS NOTHING.",
             "UP TO " + lowBound + ": OOPS. UP TO " + highBound + ": WELL DONE. ABOVE: GREAT JOB."}};
}
