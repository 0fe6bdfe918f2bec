// Runs one halcyractl command line: checks it, takes the configuration program's lock, finds the
// controller, does the command and reports the result as text or JSON. Returns the exit code
// (CtlExitCodes.h).
#pragma once

#include <cstdio>
#include <span>
#include <string_view>

namespace ctl {

// `out` gets the answers (and, with --json, the error object); `err` gets the error messages.
int RunCommandLine(std::span<const std::string_view> words, std::FILE* out, std::FILE* err);

}  // namespace ctl
