// The texts assistive technology reads for skinned widgets. They come from the string document's
// section "ACCESSIBLE" (keyed like the widgets, plus the value phrasings), so that they follow the
// program's language; where the document has no such text (the updater carries no string document)
// the English phrasing below is used.
#pragma once

#include <QString>

class QWidget;

namespace accessibility {

// The skin key `widget` was made from: its "skinKey" property, else its object name (after the last
// '/', as pages name their widgets "SECTION/KEY"). Empty when it has neither.
QString SkinKeyOf(const QWidget& widget);

// The string document's ACCESSIBLE text for `key`, or `fallback` when there is none.
QString AccessibleString(const QString& key, const QString& fallback = QString());

// The name of `widget` as set by its page (accessibleName), else its key's ACCESSIBLE text, else
// `own` (what the widget itself shows, such as a caption).
QString WidgetName(const QWidget& widget, const QString& own);

// A caption as one line: the skin's four-character "\r\n" and real line breaks become spaces.
QString OneLine(const QString& caption);

// "red 255, green 128, blue 0".
QString ColorInWords(int red, int green, int blue);

// A hue in tenths of a degree: "120 degrees, green".
QString HueInWords(int tenthsOfDegree);

// Saturation and value in thousandths: "saturation 100 percent, brightness 50 percent".
QString SaturationValueInWords(int saturation, int value);

}  // namespace accessibility
