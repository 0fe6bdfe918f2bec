#include "SwatchTint.h"

#include <algorithm>

namespace skin {

QImage TintSwatch(const QImage& swatchTemplate, int red, int green, int blue) {
    if (swatchTemplate.isNull()) return QImage();
    // The template's bytes as they are (blue, green, red, alpha), relabelled as premultiplied.
    QImage tinted = swatchTemplate.convertToFormat(QImage::Format_ARGB32);
    tinted.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    red = std::clamp(red, 0, 255);
    green = std::clamp(green, 0, 255);
    blue = std::clamp(blue, 0, 255);
    for (int y = 0; y < tinted.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(tinted.scanLine(y));
        for (int x = 0; x < tinted.width(); ++x) {
            const int coverage = qRed(row[x]);
            if (coverage == 0) continue;
            row[x] = qRgba(coverage * red / 255, coverage * green / 255, coverage * blue / 255, coverage);
        }
    }
    return tinted;
}

}  // namespace skin
