// The updater's command line: what the arguments after the program's own path ask for.
//
// Every argument goes through every check; unknown words are ignored, except an unknown option:
//   "/?" or "/help" anywhere in an argument (never in the program's own path, whose folders "/"
//       separates)                             -> the help is printed and the program ends
//   "bin:" anywhere, then leading digits N     -> forced entry N - 1 when N is 1-9
//   "-silent" (whole, case-sensitive)          -> silent and auto-start
//   "-force"  (whole, case-sensitive)          -> force
//   "true"    (whole, case-sensitive)          -> auto-start; the next argument, in lower case, is the
//                                                 restart path (and is checked in its own turn too)
// Beside them the usual long forms of this system (whole arguments): "--help" and "-h" as "/?",
// "--silent" as "-silent", "--force" as "-force", and "--version", which prints the program's and the
// package's versions and ends.
// An unknown option, a word starting with "-" that none of these forms knows (and that is not the
// restart path after "true"), is named and the program ends without touching the controller: a person
// who mistyped "-silent" or asked for help another way must not get an update instead.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace updater {

inline constexpr int kNoForcedEntry = -1;

struct UpdaterOptions {
    bool helpRequested = false;
    bool versionRequested = false;
    bool silent = false;
    bool force = false;
    int forcedEntry = kNoForcedEntry;   // package entry 0-8 chosen by "bin:N", or kNoForcedEntry
    bool autoStart = false;
    // Relative to the updater's folder; either separator may appear in it.
    std::string restartPath;
    // The first unknown option, as given; empty when there is none.
    std::string unknownOption;

    bool operator==(const UpdaterOptions&) const = default;
};

// `arguments` holds the whole command line, the program's own path first.
UpdaterOptions parseUpdaterOptions(std::span<const std::string_view> arguments);

}  // namespace updater
