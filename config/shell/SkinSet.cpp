#include "SkinSet.h"

#include "DebugLog.h"
#include "LocaleLanguages.h"
#include "ProgramDirectory.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "UserFolder.h"
#include "XdgDirectories.h"
#include "XmlDocument.h"

#include <QString>

#include <filesystem>

namespace config {

namespace {

int HoldsText(const xml::CXmlDocument& document) { return document.Text().empty() ? 0 : 1; }

std::u16string ToU16(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU16String();
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Whether the root of `document` holds a section named `section`.
bool HoldsSection(xml::CXmlDocument& document, std::u16string_view section) {
    document.Rewind();
    return document.FindNext() && document.FindChild(section);
}

// Whether `path` reads as a whole string document: well-formed to its end, with every section the
// program takes texts from. A file of the person's own that is empty, binary, plain text, half-written
// (cut off while it was saved) or another kind of document would otherwise leave the program without
// its texts.
bool HoldsStringDocument(const std::string& path) {
    if (!IsFile(path)) return false;
    xml::CXmlDocument document;
    if (!document.LoadFile(path) || document.Elements()[0].Has(xml::kDocumentIllFormed)) return false;
    for (const skindocs::SkinKeyEntry& entry : skindocs::SkinKeyTable()) {
        if (entry.document == skindocs::SkinDocumentId::Strings && !HoldsSection(document, entry.section)) return false;
    }
    return true;
}

}  // namespace

std::string StringDocumentPath(const std::string& programDir) {
    const std::string own = platform::DataHomeDirectory() + "/halcyra/Strings.xml";
    if (HoldsStringDocument(own)) return own;
    // The program folder's own Strings.xml is in the base language, the others in Languages/<language>/.
    const auto translation = [&](const std::string& language) {
        return programDir + "Languages/" + language + "/Strings.xml";
    };
    const std::string language =
        platform::ChosenTranslation([&](const std::string& code) { return IsFile(translation(code)); });
    return language.empty() ? programDir + "Strings.xml" : translation(language);
}

void LoadSkinSetFrom(const std::string& programDir, std::string_view resolutionFolder) {
    const std::string strings = StringDocumentPath(programDir);
    skindocs::LoadSkinDocuments(programDir, resolutionFolder, strings);
    PrepareUserDataFolders();
    if (g_debugLog) {
        WriteDebugLog(u"APP Load Info: Size=%s Skin=%d Str=%d Btn=%d", std::u16string_view(ToU16(resolutionFolder)),
                      HoldsText(skindocs::SkinDocument()), HoldsText(skindocs::StringDocument()),
                      HoldsText(skindocs::ButtonDocument()));
        WriteDebugLog(u"Exe Path: %s", std::u16string_view(ToU16(skindocs::g_programDir)));
        WriteDebugLog(u"Str Path: %s", std::u16string_view(ToU16(strings)));
    }
}

void LoadSkinSet(std::string_view resolutionFolder) { LoadSkinSetFrom(platform::ProgramDirectory(), resolutionFolder); }

}  // namespace config
