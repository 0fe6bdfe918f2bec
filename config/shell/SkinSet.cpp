#include "SkinSet.h"

#include "DebugLog.h"
#include "ProgramDirectory.h"
#include "SkinDocuments.h"
#include "UserFolder.h"
#include "XmlDocument.h"

#include <QString>

namespace config {

namespace {

int HoldsText(const xml::CXmlDocument& document) { return document.Text().empty() ? 0 : 1; }

std::u16string ToU16(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU16String();
}

}  // namespace

void LoadSkinSetFrom(const std::string& programDir, std::string_view resolutionFolder) {
    skindocs::LoadSkinDocuments(programDir, resolutionFolder);
    PrepareUserDataFolders();
    if (g_debugLog) {
        WriteDebugLog(u"APP Load Info: Size=%s Skin=%d Str=%d Btn=%d", std::u16string_view(ToU16(resolutionFolder)),
                      HoldsText(skindocs::SkinDocument()), HoldsText(skindocs::StringDocument()),
                      HoldsText(skindocs::ButtonDocument()));
        WriteDebugLog(u"Exe Path: %s", std::u16string_view(ToU16(skindocs::g_programDir)));
    }
}

void LoadSkinSet(std::string_view resolutionFolder) { LoadSkinSetFrom(platform::ProgramDirectory(), resolutionFolder); }

}  // namespace config
