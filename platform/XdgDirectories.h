// The per-user folders of an XDG desktop, as plain UTF-8 paths without a trailing '/' (the root
// folder stays "/"). Environment values that are empty or relative are ignored, as the XDG base
// directory rules ask.
#pragma once

#include <string>

namespace platform {

// $HOME; when unset or empty, the home folder of the user's password entry; "/" when neither exists.
std::string HomeDirectory();

// $TMPDIR, else "/tmp".
std::string TemporaryDirectory();

// Where per-user settings live: $XDG_CONFIG_HOME, else <home>/.config.
std::string ConfigHomeDirectory();

// Where per-user data files live: $XDG_DATA_HOME, else <home>/.local/share.
std::string DataHomeDirectory();

// The user's desktop folder: $XDG_DESKTOP_DIR; else the XDG_DESKTOP_DIR entry of
// <config home>/user-dirs.dirs; else <home>/Desktop. The folder is named, not created.
std::string DesktopDirectory();

// Where per-session sockets and lock files live: $XDG_RUNTIME_DIR, else the temporary folder.
std::string RuntimeDirectory();

}  // namespace platform
