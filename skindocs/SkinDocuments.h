// The process-wide skin documents and the program folder they are read from.
//
// The configuration program loads them once, at the start of its main window, and every window reads
// them through LookupValue and LookupAttribute afterwards, on the user-interface thread only:
//   skin document   - <program folder>Skins.xml: picture file names per page section
//   string document - <program folder>Strings.xml: captions and texts per page section
//   button document - <program folder>Skins/<resolution folder>/Buttons.xml: placement records
// They start empty; a missing file leaves its document empty and every lookup in it gives "".
// This sits below the configuration program's libraries and the skinned toolkit, which both read them.
#pragma once

#include "XmlDocument.h"

#include <string>
#include <string_view>

namespace skindocs {

// The program folder (the running executable's directory), ending with '/'. Set by the skin set
// loading; every skin path starts with it.
extern std::string g_programDir;

xml::CXmlDocument& SkinDocument();
xml::CXmlDocument& StringDocument();
xml::CXmlDocument& ButtonDocument();

// Empties all three documents and the program folder (for tests and a fresh skin set).
void ResetSkinDocuments();

// Sets the program folder and loads the three documents from it: Skins.xml, Strings.xml and
// Skins/<resolutionFolder>/Buttons.xml (the folder name with or without its trailing '/'). A file that
// cannot be read leaves its document empty. Each loaded document's position is reset.
// `stringDocumentPath`, when given, replaces <program folder>Strings.xml (a document in the person's
// language).
void LoadSkinDocuments(const std::string& programDir, std::string_view resolutionFolder,
                       const std::string& stringDocumentPath = {});

}  // namespace skindocs
