// The updater's own lines follow the desktop's language as its pictures do: German on a German
// desktop, English otherwise.
#include "UpdaterWording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace updater {
namespace {

TEST(UpdaterWording, GermanOnlyWhenTheDesktopAsksForItBeforeEnglish) {
    struct Row {
        std::vector<std::string> languages;
        Wording expected;
    };
    const Row rows[] = {
        {{}, Wording::English},
        {{"de_DE", "de"}, Wording::German},
        {{"fr_FR", "fr", "de"}, Wording::German},
        {{"en_GB", "en", "de"}, Wording::English},
        {{"fr_FR", "fr"}, Wording::English},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.languages));
        EXPECT_EQ(WordingFor(row.languages), row.expected);
    }
}

TEST(UpdaterWording, EveryLineHasItsGermanText) {
    struct Row {
        std::string english;
        std::string german;
        std::string (*text)(Wording);
    };
    const Row rows[] = {
        {"Restarting the controller for the update", "Der Controller wird für die Aktualisierung neu gestartet",
         [](Wording w) { return std::string(RestartLine(w)); }},
        {"Erasing", "Löschen", [](Wording w) { return std::string(PhaseName(5, w)); }},
        {"Writing the image", "Abbild wird geschrieben", [](Wording w) { return std::string(PhaseName(45, w)); }},
        {"Writing the version", "Version wird geschrieben", [](Wording w) { return std::string(PhaseName(85, w)); }},
        {"Done", "Fertig", [](Wording w) { return std::string(PhaseName(100, w)); }},
        {"The update takes about a second.", "Die Aktualisierung dauert etwa eine Sekunde.",
         [](Wording w) { return DurationSentence(1, w); }},
        {"The update takes about 6 seconds.", "Die Aktualisierung dauert etwa 6 Sekunden.",
         [](Wording w) { return DurationSentence(6, w); }},
        {"Firmware update complete", "Firmware-Aktualisierung abgeschlossen",
         [](Wording w) { return std::string(ResultPageTitle(1, w)); }},
        {"Firmware update failed", "Firmware-Aktualisierung fehlgeschlagen",
         [](Wording w) { return std::string(ResultPageTitle(2, w)); }},
        {"Firmware is up to date", "Die Firmware ist aktuell", [](Wording w) { return std::string(ResultPageTitle(3, w)); }},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.text(Wording::English), row.english);
        EXPECT_EQ(row.text(Wording::German), row.german);
    }
}

}  // namespace
}  // namespace updater
