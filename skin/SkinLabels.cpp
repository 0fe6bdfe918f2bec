#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinFont.h"
#include "SkinTextFormat.h"
#include "XmlDocument.h"

#include <QPainter>

namespace skin {

namespace {

constexpr int kLabelDefaultWeight = 400;

// Wrapped or centred text: the rectangle shrinks (or grows) by half the difference between its
// height and the text's on each side, so the block of lines sits in the middle.
QRect CentredTextRect(QPainter& painter, const QRect& rect, const QString& text, unsigned format) {
    if (!(format & (DT_WORDBREAK | DT_VCENTER))) return rect;
    const QRect measured = MeasureSkinText(painter, rect, text, format | DT_CALCRECT);
    const int inset = (rect.height() - measured.height()) / 2;
    return rect.adjusted(0, inset, 0, -inset);
}

}  // namespace

void DrawSkinLabel(QPainter& painter, std::u16string_view section, std::u16string_view key, const QString& text,
                   unsigned format) {
    xml::CXmlDocument& buttons = skindocs::ButtonDocument();
    const QRect rect = ToQRect(ParseSkinRecord(xml::LookupValue(buttons, section, key)).rect);
    const QString shown = ExpandLineBreakEscapes(text);

    painter.save();
    const std::u16string face = xml::LookupAttribute(buttons, section, key, u"FONT");
    const std::u16string size = xml::LookupAttribute(buttons, section, key, u"SIZE");
    if (!face.empty() && !size.empty()) {
        const std::u16string weight = xml::LookupAttribute(buttons, section, key, u"WEIGHT");
        painter.setFont(SkinFont(ToQString(face), SkinInteger(size),
                                 weight.empty() ? kLabelDefaultWeight : SkinInteger(weight)));
    }
    const std::u16string color = xml::LookupAttribute(buttons, section, key, u"COLOR");
    if (!color.empty()) painter.setPen(ColorFromColorRef(static_cast<std::uint32_t>(SkinInteger(color))));

    DrawSkinText(painter, CentredTextRect(painter, rect, shown, format), shown, format);
    painter.restore();
}

void DrawSkinString(QPainter& painter, std::u16string_view section, std::u16string_view key, unsigned format) {
    DrawSkinLabel(painter, section, key, ToQString(xml::LookupValue(skindocs::StringDocument(), section, key)),
                  format);
}

}  // namespace skin
