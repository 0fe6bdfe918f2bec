// The skin set of the configuration program: the program folder, the three skin documents and the
// per-user data folders, loaded once at the start of the main window.
#pragma once

#include <string>
#include <string_view>

namespace config {

// Fills g_programDir with the running executable's folder, loads Skins.xml, Strings.xml and
// Skins/<resolutionFolder>/Buttons.xml from it (a file that cannot be read leaves its document empty),
// prepares the user data folders (g_userDataDir, then Macros/, Profiles/, MousePads/) and, with the
// debug switch on, logs "APP Load Info: ..." and "Exe Path: ...".
void LoadSkinSet(std::string_view resolutionFolder);

// The same from the program folder `programDir` (ending with '/').
void LoadSkinSetFrom(const std::string& programDir, std::string_view resolutionFolder);

}  // namespace config
