#include "CommandLine.h"

#include "SkinKeys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <utility>

namespace config {

namespace {

constexpr std::string_view kUiMarker = "ui:";

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 7> kLanguageWords = {{
    {"en", 0},
    {"cs", 8},
    {"ct", 11},
    {"japan", 4},
    {"indonesia", 15},
    {"arabic", 13},
    {"korean", 5},
}};

std::string LowerCase(std::string_view word) {
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int ReadLeadingInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = std::min<long long>(value * 10 + (text[at] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

StartupOptions ParseCommandLine(std::span<const std::string> words) {
    StartupOptions options;
    for (const std::string& original : words) {
        const std::string word = LowerCase(original);
        if (word == "true") {
            options.restartedAfterUpdate = true;
        } else if (word == "debug") {
            options.debug = true;
        } else if (word == "nodev") {
            options.deviceRequired = false;
        } else if (const std::size_t ui = word.find(kUiMarker); ui != std::string::npos) {
            options.resolutionIndex = ReadLeadingInteger(std::string_view(word).substr(ui + kUiMarker.size()));
        } else {
            for (const auto& [name, code] : kLanguageWords) {
                if (word == name) options.languageCode = code;
            }
        }
    }
    return options;
}

std::string ResolutionFolder(int resolutionIndex, int primaryScreenWidth) {
    if (resolutionIndex == -1) resolutionIndex = primaryScreenWidth > 1920 ? 0 : primaryScreenWidth > 1366 ? 1 : 2;
    const std::u16string_view name = skindocs::kResolutionFolders[resolutionIndex == 0 || resolutionIndex == 1
                                                                      ? static_cast<std::size_t>(resolutionIndex)
                                                                      : 2];
    // The folder names are ASCII.
    std::string folder(name.begin(), name.end());
    return folder + '/';
}

}  // namespace config
