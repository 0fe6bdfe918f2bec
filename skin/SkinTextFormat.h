// Drawing a text into a rectangle with the text-drawing flags that skin pages pass around.
//
// Pages and buttons describe how a text sits in its rectangle with the classic DrawText flag word
// (for example 0x8015: centred, word-wrapped, ending in an ellipsis). This file is the one place that
// turns such a word into QPainter text drawing, keeping the classic rules:
//   - vertical centring (DT_VCENTER) and bottom alignment (DT_BOTTOM) apply to single-line text only;
//   - without DT_SINGLELINE, line breaks in the text start new lines;
//   - the text is clipped to the rectangle unless DT_NOCLIP;
//   - a single line too long for the rectangle ends in "..." with DT_END_ELLIPSIS;
//   - without DT_NOPREFIX, "&x" underlines x and "&&" draws one '&'.
// The painter's font and pen colour are the text's font and colour; the background stays as it is.
#pragma once

#include <QRect>
#include <QString>

class QPainter;

namespace skin {

enum SkinTextFlags : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

// Draws `text` into `rect` as `format` says (DT_CALCRECT only measures, as MeasureSkinText).
void DrawSkinText(QPainter& painter, const QRect& rect, const QString& text, unsigned format);

// The rectangle the text would take: it keeps `rect`'s top-left corner; a wrapped text keeps its width
// and gets the height of its lines, a single line gets its own width and height.
QRect MeasureSkinText(QPainter& painter, const QRect& rect, const QString& text, unsigned format);

// Skin texts write a line break as the four characters backslash, 'r', backslash, 'n'; this turns every
// such sequence into a real line break.
QString ExpandLineBreakEscapes(QString text);

}  // namespace skin
