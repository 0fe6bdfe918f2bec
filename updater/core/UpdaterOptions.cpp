#include "UpdaterOptions.h"

#include <algorithm>
#include <cctype>

namespace updater {

namespace {

bool asksForHelp(std::string_view argument) {
    return argument.find("/?") != std::string_view::npos || argument.find("/help") != std::string_view::npos ||
           argument == "--help" || argument == "-h";
}

// The entry "bin:N" forces, from the leading digits after the first "bin:"; kNoForcedEntry unless N is 1-9.
int forcedEntryOf(std::string_view argument) {
    const auto at = argument.find("bin:");
    if (at == std::string_view::npos) return kNoForcedEntry;
    int number = 0;
    bool anyDigit = false;
    for (char c : argument.substr(at + 4)) {
        if (c < '0' || c > '9') break;
        anyDigit = true;
        number = number * 10 + (c - '0');
        if (number > 9) return kNoForcedEntry;  // also keeps long digit runs from overflowing
    }
    if (!anyDigit || number < 1) return kNoForcedEntry;
    return number - 1;
}

// Whole words of the known forms; "bin:" and the help forms are found anywhere in a word.
bool isKnownWord(std::string_view argument) {
    for (const std::string_view known : {"-silent", "--silent", "-force", "--force", "--version", "true"})
        if (argument == known) return true;
    return argument.find("bin:") != std::string_view::npos;
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

UpdaterOptions parseUpdaterOptions(std::span<const std::string_view> arguments) {
    UpdaterOptions options;
    // The program's own path is not looked at: on this system "/" separates its folders.
    if (arguments.size() > 1 && std::any_of(arguments.begin() + 1, arguments.end(), asksForHelp)) {
        options.helpRequested = true;
        return options;
    }
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        // An invalid "bin:" value forces nothing and leaves an earlier valid one alone.
        if (const int entry = forcedEntryOf(argument); entry != kNoForcedEntry) options.forcedEntry = entry;
        if (argument == "-silent" || argument == "--silent") options.silent = options.autoStart = true;
        if (argument == "-force" || argument == "--force") options.force = true;
        if (argument == "--version") options.versionRequested = true;
        const bool restartPathOfTrue = i > 1 && arguments[i - 1] == "true";
        if (argument.starts_with('-') && !isKnownWord(argument) && !restartPathOfTrue && options.unknownOption.empty())
            options.unknownOption = argument;
        if (argument == "true") {
            options.autoStart = true;
            if (i + 1 < arguments.size()) options.restartPath = lowerCase(arguments[i + 1]);
        }
    }
    return options;
}

}  // namespace updater
