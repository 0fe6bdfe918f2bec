// The languages the desktop asks programs to speak, from the locale variables, for choosing a program's
// texts. No Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The message languages of the desktop, most wanted first, as language codes ("de_AT", "de"). The
// message locale is the first non-empty one of LC_ALL, LC_MESSAGES and LANG; LANGUAGE, a list separated
// by colons, comes before it, but (as for gettext) only when that locale is not "C" or "POSIX". Each
// entry loses its character set and modifier ("de_AT.UTF-8@euro" is "de_AT") and is followed by its
// bare language ("de"); a code appears once. Empty for the "C" locale or when nothing is set.
std::vector<std::string> PreferredLanguages();

// The language the programs' own texts are written in; the other languages are translations of them.
inline constexpr std::string_view kBaseLanguage = "en";

// The translation to show: the first of the desktop's languages (PreferredLanguages) that the program
// has, which is the base language always and another one when `hasTranslation(language)`. "" for the
// base language, or when the program has none of them.
template <typename HasTranslation>
std::string ChosenTranslation(HasTranslation&& hasTranslation) {
    for (const std::string& language : PreferredLanguages()) {
        if (language == kBaseLanguage) return {};
        if (hasTranslation(language)) return language;
    }
    return {};
}

}  // namespace platform
