// The greyed look of the field's plane and the bar's gradient where they choose nothing (the LED page
// disables them for effects without a colour): the picture's lightness only, at low contrast over the
// button face, so it reads as the same control switched off.
#pragma once

#include <QImage>
#include <QPalette>
#include <QRect>

class QPainter;

namespace colorpicker {

void DrawDisabledPicture(QPainter& painter, const QRect& target, const QImage& picture, const QPalette& palette);

}  // namespace colorpicker
