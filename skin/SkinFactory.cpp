#include "SkinFactory.h"

#include "BitmapBtn.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "XmlDocument.h"

namespace skin {

SkinRecord CreateButtonFromRecord(CBitmapBtn& button, QWidget* page, const SkinImageSet& imageSet,
                                  std::u16string_view recordText) {
    const SkinRecord record = ParseSkinRecord(recordText);
    const QRect rect = ToQRect(record.rect).translated(imageSet.origin);
    button.Create(page, rect);
    button.SetStatePictures(imageSet, rect);
    return record;
}

void MarkSkinKey(QWidget& widget, std::u16string_view section, std::u16string_view key) {
    widget.setProperty(kSkinSectionProperty, ToQString(section));
    widget.setProperty(kSkinKeyProperty, ToQString(key));
}

SkinRecord CreateSkinButton(CBitmapBtn& button, QWidget* page, const SkinImageSet& imageSet,
                            std::u16string_view section, std::u16string_view key, bool withText, int textFormat,
                            int fontHeight) {
    xml::CXmlDocument& buttons = skindocs::ButtonDocument();
    const SkinRecord record = CreateButtonFromRecord(button, page, imageSet, xml::LookupValue(buttons, section, key));
    MarkSkinKey(button, section, key);
    std::u16string size;
    if (withText) {
        const int margin = SkinInteger(xml::LookupAttribute(buttons, section, key, u"OFFSETX"));
        const std::u16string face = xml::LookupAttribute(buttons, section, key, u"FONT");
        if (!face.empty()) button.SetFaceName(ToQString(face));
        const QString caption = ToQString(xml::LookupValue(skindocs::StringDocument(), section, key));
        button.SetCaption(caption, true, margin);
        size = xml::LookupAttribute(buttons, section, key, u"SIZE");
    }
    button.SetTextFormat(textFormat);
    if (fontHeight != -1) {
        button.SetFontHeight(fontHeight);
    } else if (!size.empty()) {
        button.SetFontHeight(SkinInteger(size));
    }
    return record;
}

}  // namespace skin
