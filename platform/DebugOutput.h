// The debugger output of the programs: diagnostic lines for a person who asked for them.
//
// The lines go to standard error only while debugging is on: the programs' "debug" word
// (SetDebugOutput(true)) or the environment variable HALCYRA_DEBUG set to anything but "" or "0".
// Otherwise they are dropped, so that a script reading a program's output sees only the program's
// own lines.
//
// Each call writes one line: the text with any trailing CR and LF characters removed, then a single
// '\n'. The line goes out in one write call, so lines written by different threads at the same
// time never interleave.
#pragma once

#include <string_view>

namespace platform {

// The environment variable that turns debugging on for every program.
inline constexpr const char* kDebugVariable = "HALCYRA_DEBUG";

// The programs' own switch ("debug" on the command line); the environment variable works either way.
void SetDebugOutput(bool on);
bool DebugOutputOn();

// A UTF-8 text.
void DebugOutput(std::string_view text);

// A UTF-16 text, written as UTF-8 (unpaired surrogates become U+FFFD).
void DebugOutput(std::u16string_view text);

}  // namespace platform
