#include "UpdaterWording.h"

#include "UpdateProgress.h"

#include <array>

namespace updater {

namespace {

struct Phase {
    std::string_view key;   // updatePhase's text
    std::string_view english;
    std::string_view german;
};

constexpr std::array<Phase, 4> kPhases = {{
    {"erasing", "Erasing", "Löschen"},
    {"writing the image", "Writing the image", "Abbild wird geschrieben"},
    {"writing the version", "Writing the version", "Version wird geschrieben"},
    {"done", "Done", "Fertig"},
}};

}  // namespace

Wording WordingFor(const std::vector<std::string>& languages) {
    for (const std::string& language : languages) {
        if (language == "en") return Wording::English;
        if (language == "de") return Wording::German;
    }
    return Wording::English;
}

std::string_view PhaseName(int percent, Wording wording) {
    const std::string_view key = updatePhase(percent);
    for (const Phase& phase : kPhases)
        if (phase.key == key) return wording == Wording::German ? phase.german : phase.english;
    return key;
}

std::string_view RestartLine(Wording wording) {
    return wording == Wording::German ? "Der Controller wird für die Aktualisierung neu gestartet"
                                      : "Restarting the controller for the update";
}

std::string DurationSentence(int seconds, Wording wording) {
    const bool german = wording == Wording::German;
    if (seconds == 1) return german ? "Die Aktualisierung dauert etwa eine Sekunde." : "The update takes about a second.";
    const std::string count = std::to_string(seconds);
    return german ? "Die Aktualisierung dauert etwa " + count + " Sekunden."
                  : "The update takes about " + count + " seconds.";
}

std::string_view ResultPageTitle(int code, Wording wording) {
    const bool german = wording == Wording::German;
    switch (code) {
    case 1: return german ? "Firmware-Aktualisierung abgeschlossen" : "Firmware update complete";
    case 2: return german ? "Firmware-Aktualisierung fehlgeschlagen" : "Firmware update failed";
    default: return german ? "Die Firmware ist aktuell" : "Firmware is up to date";
    }
}

}  // namespace updater
