// The command line of a desktop entry's Exec key, as the desktop entry rules read it: the value's
// escapes (\s \n \t \r \\), arguments split at blanks, double-quoted arguments with their own escapes
// (\" \` \$ \\), and the field codes: %u, %U, %f and %F stand for the address, %% for a percent sign,
// every other field code is dropped. Needs no window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace config {

// The value of the Exec key in the [Desktop Entry] group, as it stands in the file (escapes not yet
// read); empty when there is none.
std::string DesktopExecLine(std::string_view desktopFile);

// The program and its arguments for opening `address` with the Exec value `exec`. The address is
// always one argument; when the line has no field code for it, it is added at the end. nullopt when
// the line cannot be read (an unterminated quote or escape), names no program, or would take its
// program from the address.
std::optional<std::vector<std::string>> ExpandExecLine(std::string_view exec, const std::string& address);

}  // namespace config
