#include "ProgressBar.h"

#include "SkinPictures.h"

#include <QPainter>

#include <algorithm>

namespace updater {

ProgressBarGeometry ComputeProgressBar(const QPoint& topLeft, const ProgressBarPictures& pictures, int percent,
                                       bool withMarker) {
    ProgressBarGeometry geometry;
    geometry.bar = QRect(topLeft, skin::LogicalSize(pictures.empty));
    const int clamped = std::clamp(percent, 0, 100);
    geometry.fillWidth = geometry.bar.width() * clamped / 100;
    if (withMarker && !pictures.marker.isNull()) {
        const QSize size = skin::LogicalSize(pictures.marker);
        const QPoint markerCorner(geometry.bar.left() + geometry.fillWidth - size.width() / 2,
                             geometry.bar.top() + (geometry.bar.height() - size.height()) / 2);
        geometry.marker = QRect(markerCorner, size);
    }
    return geometry;
}

void PaintProgressBar(QPainter& painter, const ProgressBarPictures& pictures, const ProgressBarGeometry& geometry) {
    painter.drawImage(geometry.bar.topLeft(), pictures.empty);
    if (geometry.fillWidth > 0) {
        const QRect filled(0, 0, geometry.fillWidth, skin::LogicalSize(pictures.full).height());
        painter.drawImage(geometry.bar.topLeft(), pictures.full, skin::PicturePixels(pictures.full, filled));
    }
    if (!geometry.marker.isEmpty()) painter.drawImage(geometry.marker.topLeft(), pictures.marker);
}

}  // namespace updater
