// The updater's help: six fixed lines, written one call per line to standard output. The program
// ends right after writing them and does not wait for the key the last line mentions.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace updater {

inline constexpr std::array<std::string_view, 6> kHelpLines = {
    "\n\nMarovell Tessaflash V1.00\n",
    "/?  \t\t:help Info\n",
    "bin:  \t\t:force to update the bin(layout),\n\t\t but still check the version. ex: bin:2\n",
    "-silent  \t:don't show ui and auto to update fw\n",
    "-force  \t:force to update fw (Ignore Ver)\n",
    "\n\nPlease press enter key to end\n",
};

// Writes the lines to `out` and flushes; false when a write failed (for example a closed output).
bool writeHelp(std::FILE* out);

// "--version": the program's version line, then the version text of the package carried by
// `programFile` ("firmware package V1.10"), or that the package is unreadable. False in that case.
bool writeVersions(std::FILE* out, const std::filesystem::path& programFile);

}  // namespace updater
