#include "UpdaterLayout.h"

#include "SkinAttributes.h"
#include "SkinFont.h"
#include "SkinPictures.h"
#include "SkinRecord.h"
#include "UpdaterSkin.h"
#include "XmlDocument.h"

#include <QFile>

namespace updater {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

QRect RecordRect(const std::u16string& record) { return skin::ToQRect(skin::ParseSkinRecord(record).rect); }

TextPlacement ReadText(xml::CXmlDocument& document, std::u16string_view key) {
    const std::u16string color = xml::LookupAttribute(document, u"CONFIRM", key, u"COLOR");
    const std::uint32_t colorRef = color.empty() ? kWhite : static_cast<std::uint32_t>(skin::SkinInteger(color));
    return {RecordRect(xml::LookupValue(document, u"CONFIRM", key)), skin::ColorFromColorRef(colorRef)};
}

}  // namespace

UpdaterLayout ReadUpdaterLayout(xml::CXmlDocument& document) {
    UpdaterLayout layout;
    layout.titleRect = RecordRect(xml::LookupValue(document, u"MAIN", u"RECT_TITLE"));
    layout.barRect = RecordRect(xml::LookupValue(document, u"UPDATE", u"RECT_UPDATE"));
    layout.barMarker = skin::SkinInteger(xml::LookupValue(document, u"UPDATE", u"BAR_ICON")) != 0;

    layout.confirmOk = xml::LookupValue(document, u"CONFIRM", u"BUTTON_OK");
    layout.confirmCancel = xml::LookupValue(document, u"CONFIRM", u"BUTTON_CANCEL");
    layout.confirmClose = xml::LookupValue(document, u"CONFIRM", u"BUTTON_CLOSE");
    // Both result pages take the SUCCESS records; the FAIL section is not read.
    layout.resultOk = xml::LookupValue(document, u"SUCCESS", u"BUTTON_OK");
    layout.resultClose = xml::LookupValue(document, u"SUCCESS", u"BUTTON_CLOSE");

    layout.layoutName = ReadText(document, u"RECT_LAYOUT");
    layout.updateVersion = ReadText(document, u"RECT_VER");
    layout.currentVersion = ReadText(document, u"RECT_CUR_VER");
    layout.versionFace = skin::ToQString(xml::LookupAttribute(document, u"CONFIRM", u"RECT_VER", u"FONT"));
    layout.versionHeight = skin::SkinInteger(xml::LookupAttribute(document, u"CONFIRM", u"RECT_VER", u"SIZE"));
    return layout;
}

UpdaterLayout LoadUpdaterLayout() {
    updater_skin::InitUpdaterSkin();
    QFile file(updater_skin::LayoutPath());
    xml::CXmlDocument document;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        document.LoadBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    // A missing document leaves every value at its empty default.
    return ReadUpdaterLayout(document);
}

}  // namespace updater
