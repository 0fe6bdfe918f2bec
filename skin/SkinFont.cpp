#include "SkinFont.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cstdlib>

namespace skin {

namespace {

constexpr int kProbePixels = 100;

int PixelSizeForHeight(const QFont& font, int height) {
    const int wanted = static_cast<int>(std::min<long long>(std::llabs(static_cast<long long>(height)), kLargestFontPixels));
    if (height < 0) return wanted;
    // A cell height: measure the face's cell at a known em size and scale.
    QFont probe(font);
    probe.setPixelSize(kProbePixels);
    const QFontMetricsF metrics(probe);
    const qreal cell = metrics.ascent() + metrics.descent();
    if (cell <= 0) return wanted;
    return std::max(1, qRound(wanted * kProbePixels / cell));
}

}  // namespace

QFont SkinFont(const QString& face, int height, int weight) {
    QFont font;
    if (!face.isEmpty()) font.setFamily(face);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(weight == 0 ? 400 : std::clamp(weight, 1, 1000)));
    if (height != 0) font.setPixelSize(PixelSizeForHeight(font, height));
    return font;
}

QColor ColorFromColorRef(std::uint32_t colorRef) {
    return QColor(static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
                  static_cast<int>((colorRef >> 16) & 0xFF));
}

}  // namespace skin
