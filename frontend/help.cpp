#include "frontend/help.h"

#include "frontend/controls.h"
#include "frontend/howto.h"

std::vector<HelpSection> helpSections(u8 language, HelpFor where) {
    HelpSection controls{controlText(ControlText{"Controls", "Commandes"}, language), {}, {}};
    for (size_t i = 0; i < kControlCount; i++) {
        const Control& control = kControls[i];
        const ControlText& how = where == TouchHelp ? control.touch : control.keyboard;
        bool here = control.place == Everywhere || (control.place == InWindow) == (where == WindowHelp);
        if (!here || how.english == nullptr) continue;
        controls.rows.push_back({controlText(control.what, language), controlText(how, language)});
    }
    controls.paragraphs.push_back(controlText(ControlText{"A game controller plays too: ", "Une manette joue aussi : "}, language) +
                                  controllerButtons(language) + ".");
    HowToPlay rules = howToPlay(language);
    return {controls, HelpSection{rules.title, {}, rules.paragraphs}};
}

std::string helpJson(u8 language, HelpFor where) {
    std::string json = "[";
    for (const HelpSection& section : helpSections(language, where)) {
        json += json.size() > 1 ? ",{\"title\":" : "{\"title\":";
        jsonString(&json, section.title.c_str());
        json += ",\"rows\":[";
        for (size_t i = 0; i < section.rows.size(); i++) {
            json += i ? ",[" : "[";
            jsonString(&json, section.rows[i].what.c_str());
            json += ",";
            jsonString(&json, section.rows[i].how.c_str());
            json += "]";
        }
        json += "],\"paragraphs\":[";
        for (size_t i = 0; i < section.paragraphs.size(); i++) {
            if (i) json += ",";
            jsonString(&json, section.paragraphs[i].c_str());
        }
        json += "]}";
    }
    return json + "]";
}
