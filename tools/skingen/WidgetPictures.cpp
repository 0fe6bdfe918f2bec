#include "WidgetPictures.h"

#include "Looks.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace skingen {

QImage RenderTintTemplate(int side, int pixelRatio) {
    const int n = side * pixelRatio;
    QImage image(n, n, QImage::Format_ARGB32);
    const double centre = n / 2.0;
    const double lens = n * 0.30;   // the lens of the button's picture
    const double glow = n * 0.47;   // the glow fades out before the square's edge
    for (int y = 0; y < n; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < n; ++x) {
            const double d = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            double level;
            if (d <= lens) {
                // Full light in the middle, a little less towards the lens's rim.
                level = 255.0 - 30.0 * (d / lens) * (d / lens);
            } else if (d < glow) {
                const double t = (d - lens) / (glow - lens);
                level = 150.0 * (1 - t) * (1 - t);
            } else {
                level = 0;
            }
            const int f = std::clamp(int(std::lround(level)), 0, 255);
            row[x] = qRgba(f, f, f, f);
        }
    }
    return image;
}

QImage RenderThumb(const Theme& theme, const Scaler& scaler, int sliderHeight, bool hover, int pixelRatio) {
    const int width = ThumbWidth(scaler);
    QImage image(QSize(width, sliderHeight) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width / 2.0, sliderHeight / 2.0);
    const double radius = 10 * scaler.Factor();
    // Soft shadow: rings of falling opacity, slightly below the knob.
    painter.setPen(Qt::NoPen);
    for (int i = 4; i >= 1; --i) {
        painter.setBrush(QColor(0, 0, 0, 28));
        painter.drawEllipse(centre + QPointF(0, 1.5 * scaler.Factor()), radius + i * scaler.Factor(),
                            radius + i * scaler.Factor());
    }
    painter.setBrush(theme.Color("thumb"));
    painter.drawEllipse(centre, radius, radius);
    if (hover) {
        painter.setPen(QPen(theme.Color("accent"), std::max(1.5, 3 * scaler.Factor())));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, radius - 1.5 * scaler.Factor(), radius - 1.5 * scaler.Factor());
    }
    return image;
}

}  // namespace skingen
