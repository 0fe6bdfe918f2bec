#include "DisabledPicture.h"

#include <QPainter>

namespace colorpicker {

namespace {

// How much of the picture's lightness shows through the button face.
constexpr qreal kDisabledOpacity = 0.3;

}  // namespace

void DrawDisabledPicture(QPainter& painter, const QRect& target, const QImage& picture, const QPalette& palette) {
    painter.fillRect(target, palette.color(QPalette::Disabled, QPalette::Button));
    if (picture.isNull()) return;
    painter.save();
    painter.setOpacity(kDisabledOpacity);
    painter.drawImage(target, picture.convertToFormat(QImage::Format_Grayscale8));
    painter.restore();
}

}  // namespace colorpicker
