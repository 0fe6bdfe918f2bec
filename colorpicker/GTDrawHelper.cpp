#include "GTDrawHelper.h"

#include <QPainter>
#include <QPalette>
#include <QPoint>
#include <QPolygon>
#include <QRect>

namespace colorpicker {

void GTDrawHelper::DrawFrame(QPainter& painter, const QPalette& palette, int left, int top, int right, int bottom,
                             int flags) {
    if (right - left < 2 || bottom - top < 2) {
        return;
    }
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor highlight = palette.color(QPalette::Light);
    const bool sunken = (flags & kSunken) != 0;
    const int lastX = right - 1;
    const int lastY = bottom - 1;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(sunken ? shadow : highlight);
    painter.drawLine(left, top, lastX, top);
    painter.drawLine(left, top, left, lastY);
    painter.setPen(sunken ? highlight : shadow);
    painter.drawLine(left, lastY, lastX, lastY);
    painter.drawLine(lastX, top, lastX, lastY);
    if ((flags & kInnerBlack) != 0 && lastX - left >= 2 && lastY - top >= 2) {
        painter.setPen(Qt::black);
        painter.drawRect(left + 1, top + 1, lastX - left - 2, lastY - top - 2);
    }
    painter.restore();
}

void GTDrawHelper::DrawFrame(QPainter& painter, const QPalette& palette, const QRect& rect, int flags) {
    DrawFrame(painter, palette, rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height(), flags);
}

void GTDrawHelper::DrawTriangle(QPainter& painter, int x, int y, Direction direction, int size,
                                const QColor& outline, const QColor& fill) {
    if (size < 1) {
        return;
    }
    const int leg = size - 1;
    // The two other corners, as offsets from the tip.
    QPoint first;
    QPoint second;
    switch (direction) {
        case Direction::Up: first = {-leg, leg}; second = {leg, leg}; break;
        case Direction::Down: first = {-leg, -leg}; second = {leg, -leg}; break;
        case Direction::Left: first = {leg, -leg}; second = {leg, leg}; break;
        case Direction::Right: first = {-leg, -leg}; second = {-leg, leg}; break;
        case Direction::UpLeft: first = {leg, 0}; second = {0, leg}; break;
        case Direction::UpRight: first = {-leg, 0}; second = {0, leg}; break;
        case Direction::DownLeft: first = {leg, 0}; second = {0, -leg}; break;
        case Direction::DownRight: first = {-leg, 0}; second = {0, -leg}; break;
    }
    const QPoint tip(x, y);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(outline);
    painter.setBrush(fill);
    painter.drawPolygon(QPolygon({tip, tip + first, tip + second}));
    painter.restore();
}

}  // namespace colorpicker
