// The skin set of the configuration program: the program folder, the three skin documents and the
// per-user data folders, loaded once at the start of the main window.
#pragma once

#include <string>
#include <string_view>

namespace config {

// The string document for the desktop's language: the person's own $XDG_DATA_HOME/halcyra/Strings.xml
// when it reads as a document with a root element; else <programDir>Languages/<language>/Strings.xml for the translation chosen by
// platform::ChosenTranslation; else (English, or no translation) <programDir>Strings.xml.
std::string StringDocumentPath(const std::string& programDir);

// Fills g_programDir with the running executable's folder, loads Skins.xml and
// Skins/<resolutionFolder>/Buttons.xml from it and the string document from StringDocumentPath (a
// file that cannot be read leaves its document empty), prepares the user data folders (g_userDataDir, then Macros/, Profiles/, MousePads/) and, with the
// debug switch on, logs "APP Load Info: ...", "Exe Path: ..." and "Str Path: ..." (the string document).
void LoadSkinSet(std::string_view resolutionFolder);

// The same from the program folder `programDir` (ending with '/').
void LoadSkinSetFrom(const std::string& programDir, std::string_view resolutionFolder);

}  // namespace config
