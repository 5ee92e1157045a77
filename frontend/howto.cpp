#include "frontend/howto.h"

#include <stdio.h>

#include "game/limits.h"
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
    // A side's cages hold 21 a cage less 1: shown with 1 cage and with 2.
    const std::string perCage = whole(kRoomInCage + 1), inOne = whole(roomInCages(1)), inTwo = whole(roomInCages(2));
    const std::string pairMale = whole(kRestockedMales), pairFemale = whole(kRestockedFemales);
    const std::string months = whole(kMonthsInYear);
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
                 "MALES ET FEMELLES ONT LEURS CAGES. UNE CAGE COUTE " + cage + ". LES CAGES D'UN COTE "
                 "LOGENT " + perCage + " HAMSTERS PAR CAGE, MOINS 1 : " + inOne + " DANS 1 CAGE, " + inTwo +
                     " DANS 2. AU-DELA CERTAINS ETOUFFENT, LES PETITS D'ABORD ; SANS CAGE, TOUS.",
                 "LA FIN DU MOIS SE FAIT DANS CET ORDRE : LES PETITS DEVIENNENT ADULTES ; LES PORTEES "
                 "NAISSENT ; UN ELEVAGE VIDE RECOIT " + pairMale + " PETIT MALE ET " + pairFemale +
                     " PETITE FEMELLE ; PUIS L'ETOUFFEMENT ET LA FAIM COMPTENT TOUS LES HAMSTERS, "
                     "NOUVEAU-NES OU NON.",
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
             "MALES AND FEMALES HAVE CAGES OF THEIR OWN. A CAGE COSTS " + cage + ". A SIDE'S CAGES HOLD " +
                 perCage + " HAMSTERS A CAGE, LESS 1: " + inOne + " IN 1 CAGE, " + inTwo +
                 " IN 2. BEYOND THAT SOME SUFFOCATE, THE YOUNG FIRST; WITH NO CAGE, ALL DO.",
             "THE MONTH CLOSES IN THIS ORDER: THE YOUNG GROW UP; THE LITTERS ARE BORN; A FARM LEFT EMPTY "
             "RECEIVES " + pairMale + " YOUNG MALE AND " + pairFemale + " YOUNG FEMALE; THEN CROWDING AND "
             "HUNGER COUNT EVERY HAMSTER, NEWBORN OR NOT.",
             "AFTER " + months + " MONTHS THE FARM IS WORTH " + head + " A HAMSTER AND " + box +
                 " A CAGE, PLUS THE CASH; FOOD COUNTS NOTHING.",
             "UP TO " + lowBound + ": OOPS. UP TO " + highBound + ": WELL DONE. ABOVE: GREAT JOB."}};
}
