// halcyractl's command line: one command with its arguments and options, "--json" anywhere, "--help"
// or "-h" anywhere, "--version" anywhere. Checked completely before anything touches the controller or a file, so bad input
// always ends with its own exit code and message.
#pragma once

#include "EffectChoices.h"

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ctl {

enum class CommandKind { Help, Version, List, Status, Effect, Led, Apply, Save };

struct CtlCommand {
    CommandKind kind = CommandKind::Help;
    bool json = false;
    EffectChoice effect;         // Effect
    int led = 0;                 // Led: 1-4
    std::uint32_t ledColor = 0;  // Led: 0x00BBGGRR
    std::string file;            // Apply, Save: the profile file
};

struct ParsedCommandLine {
    std::optional<CtlCommand> command;  // empty when the line is wrong
    int exitCode = 0;                   // kExitUsage or kExitInvalidValue when it is
    std::string error;
    bool json = false;                  // "--json" was given, also on a wrong line
};

// The words after the program name.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> words);

void WriteHelp(std::FILE* out);

}  // namespace ctl
