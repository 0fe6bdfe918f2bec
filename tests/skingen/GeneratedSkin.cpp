#include "GeneratedSkin.h"

#include "SkinPictures.h"

#include <QImageReader>

namespace skintest {

QString ToQString(std::u16string_view text) { return QString::fromUtf16(text.data(), text.size()); }

std::u16string ToU16(const QString& text) { return text.toStdU16String(); }

QString ProgramDir() { return QString(SKIN_PROGRAM_DIR) + "/"; }

QString SkinSet::Value(xml::CXmlDocument& document, std::u16string_view section, std::u16string_view key) {
    return ToQString(xml::LookupValue(document, section, key));
}

QRect SkinSet::Record(std::u16string_view section, std::u16string_view key) {
    const skin::SkinRecord record = skin::ParseSkinRecord(xml::LookupValue(buttons, section, key));
    return skin::ToQRect(record.rect);
}

QString SkinSet::Attribute(std::u16string_view section, std::u16string_view key, std::u16string_view name) {
    return ToQString(xml::LookupAttribute(buttons, section, key, name));
}

QString SkinSet::PicturePath(skindocs::SkinFolder folder, const QString& fileName) const {
    switch (folder) {
        case skindocs::SkinFolder::PopDlg: return ProgramDir() + "Skins/PopDlg/" + fileName;
        case skindocs::SkinFolder::Menu: return ProgramDir() + "Skins/" + resolution + "/Menu/" + fileName;
        default: return ProgramDir() + "Skins/" + resolution + "/" + fileName;
    }
}

QSize SkinSet::PageSize(std::u16string_view section) {
    for (const skindocs::SkinKeyEntry& entry : skindocs::SkinKeyTable()) {
        if (entry.document == skindocs::SkinDocumentId::Skin && entry.section == section &&
            entry.key == skindocs::keys::kNormal)
            return QImageReader(PicturePath(entry.folder, Value(skin, section, entry.key))).size();
    }
    return {};
}

std::unique_ptr<SkinSet> LoadSkinSet(const QString& resolution, const QString& language) {
    auto set = std::make_unique<SkinSet>();
    set->resolution = resolution;
    const QString strings = language == "en" ? ProgramDir() + "Strings.xml"
                                             : ProgramDir() + "Languages/" + language + "/Strings.xml";
    set->skin.LoadFile((ProgramDir() + "Skins.xml").toStdString());
    set->strings.LoadFile(strings.toStdString());
    set->buttons.LoadFile((ProgramDir() + "Skins/" + resolution + "/Buttons.xml").toStdString());
    return set;
}

const skingen::Description& SkinDescription() {
    static const skingen::Description description = [] {
        skingen::Description d;
        QString error;
        skingen::LoadDescription(SKIN_DESCRIPTION_DIR, UPDATER_DESCRIPTION_DIR, d, error);
        return d;
    }();
    return description;
}

}  // namespace skintest
