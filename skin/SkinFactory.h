// Turning the placement records of the button document into image buttons, and painting the labels
// and strings that pages draw over their background.
#pragma once

#include "SkinPictures.h"
#include "SkinRecord.h"

#include <QString>

#include <string_view>

class QPainter;
class QWidget;

namespace skin {

class CBitmapBtn;

// The section and key a widget was made from, kept as the widget's properties (QString values), so
// that its accessible name can be looked up under the same key.
inline constexpr char kSkinSectionProperty[] = "skinSection";
inline constexpr char kSkinKeyProperty[] = "skinKey";

// Records `section` and `key` on `widget` (see above).
void MarkSkinKey(QWidget& widget, std::u16string_view section, std::u16string_view key);

// Places `button` on `page` at the record's rectangle (moved by the image set's origin), shows it and
// gives it its four state pictures cut from the image set at that rectangle. Returns the record.
SkinRecord CreateButtonFromRecord(CBitmapBtn& button, QWidget* page, const SkinImageSet& imageSet,
                                  std::u16string_view recordText);

// The same from the record of `section`/`key` in the button document. With `withText` the button
// gets its caption from the string document (same section and key), left-anchored with the key's
// OFFSETX margin, and the key's FONT as face. Then the caption format becomes `textFormat` and the
// caption height `fontHeight`, or with -1 the key's SIZE (when `withText` and SIZE is set).
SkinRecord CreateSkinButton(CBitmapBtn& button, QWidget* page, const SkinImageSet& imageSet,
                            std::u16string_view section, std::u16string_view key, bool withText,
                            int textFormat, int fontHeight);

// Paints `text` into the rectangle of the record `section`/`key` of the button document with the
// text-drawing `format` (SkinTextFormat.h). The key's FONT with SIZE (and WEIGHT, 400 when absent)
// replace the painter's font, its COLOR the painter's text colour, for this text only; without them
// the painter's own font and colour are used. "\r\n" written as four characters breaks the line. With
// word break or vertical centring, the text block is centred vertically in the rectangle.
void DrawSkinLabel(QPainter& painter, std::u16string_view section, std::u16string_view key, const QString& text,
                   unsigned format);

// DrawSkinLabel with the string document's text of `section`/`key`.
void DrawSkinString(QPainter& painter, std::u16string_view section, std::u16string_view key, unsigned format);

}  // namespace skin
