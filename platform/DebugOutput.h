// The debugger output of the programs: diagnostic lines on standard error.
//
// Each call writes one line: the text with any trailing CR and LF characters removed, then a single
// '\n'. The line goes out in one write call, so lines written by different threads at the same
// time never interleave.
#pragma once

#include <string_view>

namespace platform {

// A UTF-8 text.
void DebugOutput(std::string_view text);

// A UTF-16 text, written as UTF-8 (unpaired surrogates become U+FFFD).
void DebugOutput(std::u16string_view text);

}  // namespace platform
