#include "LocaleLanguages.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace platform {

namespace {

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view{} : std::string_view{value};
}

// "de_AT.UTF-8@euro" -> "de_AT".
std::string_view WithoutCharsetAndModifier(std::string_view locale) {
    return locale.substr(0, locale.find_first_of(".@"));
}

// A language code is letters, with an underscore before the territory; anything else (a path, a
// dot-dot) never becomes part of a folder name.
bool IsLanguageCode(std::string_view code) {
    if (code.empty() || code == "C" || code == "POSIX") return false;
    return std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    });
}

void Add(std::vector<std::string>& languages, std::string_view entry) {
    const std::string_view code = WithoutCharsetAndModifier(entry);
    if (!IsLanguageCode(code)) return;
    for (const std::string_view candidate : {code, code.substr(0, code.find('_'))}) {
        if (!candidate.empty() && std::find(languages.begin(), languages.end(), candidate) == languages.end())
            languages.emplace_back(candidate);
    }
}

}  // namespace

std::vector<std::string> PreferredLanguages() {
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = Variable(name);
        if (!locale.empty()) break;
    }
    const std::string_view code = WithoutCharsetAndModifier(locale);
    std::vector<std::string> languages;
    if (code.empty() || code == "C" || code == "POSIX") return languages;
    std::string_view list = Variable("LANGUAGE");
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        Add(languages, list.substr(0, colon));
        list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
    }
    Add(languages, locale);
    return languages;
}

}  // namespace platform
