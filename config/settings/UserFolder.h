// The per-user data folder: the configuration folder of the desktop ($XDG_CONFIG_HOME, else
// ~/.config) followed by "/Quillon/Halcyra/", with its three subfolders.
#pragma once

#include <string>
#include <string_view>

namespace config {

inline constexpr std::string_view kUserDataFolder = "/Quillon/Halcyra/";

// Creates every missing level of `relative` (which starts and ends with '/') inside the configuration
// folder, creating that folder too when missing, and returns the folder followed by `relative`. A
// level that cannot be created (a file of that name, no permission) is left alone: the files inside
// it then fail to be written, which the program does not report.
std::string PrepareUserFolder(std::string_view relative);

// The start-up calls: the data folder (its path becomes g_userDataDir), then "Macros/", "Profiles/"
// and "MousePads/" inside it.
void PrepareUserDataFolders();

}  // namespace config
