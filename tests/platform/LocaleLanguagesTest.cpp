#include "LocaleLanguages.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace {

using platform_test::ScopedEnvironment;
using Languages = std::vector<std::string>;

TEST(LocaleLanguages, FollowTheLocaleVariablesInTheirOrder) {
    const struct {
        const char* language;  // LANGUAGE
        const char* all;       // LC_ALL
        const char* messages;  // LC_MESSAGES
        const char* lang;      // LANG
        Languages expected;
    } rows[] = {
        {"", "", "", "", {}},
        {"", "", "", "de_DE.UTF-8", {"de_DE", "de"}},
        {"", "", "de_AT.UTF-8@euro", "en_GB.UTF-8", {"de_AT", "de"}},
        {"", "fr_FR.UTF-8", "de_DE.UTF-8", "en_GB.UTF-8", {"fr_FR", "fr"}},
        {"", "C.UTF-8", "de_DE.UTF-8", "", {}},
        {"", "", "", "POSIX", {}},
        // LANGUAGE first, but only when the message locale is not C.
        {"fr:de_CH", "", "", "de_DE.UTF-8", {"fr", "de_CH", "de", "de_DE"}},
        {"de", "", "", "C", {}},
        {"de", "", "", "", {}},
        // Entries that are no language code are skipped, never used as a folder name.
        {"../x:de", "", "", "en_US.UTF-8", {"de", "en_US", "en"}},
        {"::de_DE:de", "", "", "de_DE", {"de_DE", "de"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.language) + "|" + row.all + "|" + row.messages + "|" + row.lang);
        ScopedEnvironment environment;
        const std::pair<const char*, const char*> variables[] = {
            {"LANGUAGE", row.language}, {"LC_ALL", row.all}, {"LC_MESSAGES", row.messages}, {"LANG", row.lang}};
        for (const auto& [name, value] : variables) {
            if (*value) environment.Set(name, value);
            else environment.Unset(name);
        }
        EXPECT_EQ(platform::PreferredLanguages(), row.expected);
    }
}

}  // namespace
