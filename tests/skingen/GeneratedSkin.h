// Access to the skin set the build generated into the program folder: its documents per resolution
// and language, picture lookup, and records.
#pragma once

#include "Description.h"
#include "SkinKeys.h"
#include "SkinRecord.h"
#include "XmlDocument.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

namespace skintest {

QString ToQString(std::u16string_view text);
std::u16string ToU16(const QString& text);

// The three documents of one resolution folder, in one language.
struct SkinSet {
    QString resolution;                 // "1920x1080", ...
    xml::CXmlDocument skin;             // Skins.xml
    xml::CXmlDocument strings;          // Strings.xml
    xml::CXmlDocument buttons;          // Skins/<resolution>/Buttons.xml

    QString Value(xml::CXmlDocument& document, std::u16string_view section, std::u16string_view key);
    QRect Record(std::u16string_view section, std::u16string_view key);
    QString Attribute(std::u16string_view section, std::u16string_view key, std::u16string_view name);
    // The full path of a picture file in a section's image folder.
    QString PicturePath(skindocs::SkinFolder folder, const QString& fileName) const;
    // The size of a section's NORMAL picture (the page's size); empty when it has none.
    QSize PageSize(std::u16string_view section);
};

// language "en" reads Strings.xml, any other Languages/<language>/Strings.xml.
std::unique_ptr<SkinSet> LoadSkinSet(const QString& resolution, const QString& language = "en");

const skingen::Description& SkinDescription();

QString ProgramDir();

}  // namespace skintest
