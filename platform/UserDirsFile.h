// Reader for the user-dirs.dirs file of the XDG user directories, where the desktop environment
// records folders such as the desktop:
//
//     # comment
//     XDG_DESKTOP_DIR="$HOME/Desktop"
//
// Values are double-quoted (a backslash takes the next character literally), start with "$HOME" or
// are absolute paths. Anything else is not a usable folder and is skipped.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The folder that `fileText` records under `key` (for example "XDG_DESKTOP_DIR"), with a leading
// "$HOME" or "${HOME}" replaced by `home`. When the key appears more than once the last usable line
// counts, as when the file is read by a shell. Nothing when the key has no usable line.
std::optional<std::string> FindUserDir(std::string_view fileText, std::string_view key, std::string_view home);

}  // namespace platform
