#include "SkinDocuments.h"

namespace skindocs {

std::string g_programDir;

namespace {

struct Documents {
    xml::CXmlDocument skin;
    xml::CXmlDocument strings;
    xml::CXmlDocument buttons;
};

Documents& All() {
    static Documents documents;
    return documents;
}

}  // namespace

xml::CXmlDocument& SkinDocument() { return All().skin; }
xml::CXmlDocument& StringDocument() { return All().strings; }
xml::CXmlDocument& ButtonDocument() { return All().buttons; }

void LoadSkinDocuments(const std::string& programDir, std::string_view resolutionFolder,
                       const std::string& stringDocumentPath) {
    g_programDir = programDir;
    std::string folder(resolutionFolder);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    // LoadFile leaves a document empty when its file cannot be read; a read one starts at its root.
    if (SkinDocument().LoadFile(g_programDir + "Skins.xml")) SkinDocument().Rewind();
    const std::string strings = stringDocumentPath.empty() ? g_programDir + "Strings.xml" : stringDocumentPath;
    if (StringDocument().LoadFile(strings)) StringDocument().Rewind();
    if (ButtonDocument().LoadFile(g_programDir + "Skins/" + folder + "Buttons.xml")) ButtonDocument().Rewind();
}

void ResetSkinDocuments() {
    All() = Documents{};
    g_programDir.clear();
}

}  // namespace skindocs
