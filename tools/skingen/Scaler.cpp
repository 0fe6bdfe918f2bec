#include "Scaler.h"

#include <algorithm>
#include <cmath>

namespace skingen {

int Scaler::Length(int masterPixels) const { return static_cast<int>(std::lround(masterPixels * factor_)); }

QRect Scaler::Rect(const QRect& master) const {
    return QRect(Length(master.x()), Length(master.y()), Length(master.width()), Length(master.height()));
}

QSize Scaler::Size(const QSize& master) const { return QSize(Length(master.width()), Length(master.height())); }

QRect Scaler::ControlRect(const QRect& master, const QSize& minimum) const {
    const QRect scaled = Rect(master);
    if (!minimum.isValid() || scaled.isEmpty()) return scaled;
    return QRect(scaled.topLeft(), scaled.size().expandedTo(minimum));
}

int Scaler::FontSize(int masterPixels) const {
    if (masterPixels <= 0) return 0;
    return std::max(minFontSize_, static_cast<int>(std::lround(masterPixels * std::sqrt(factor_))));
}

}  // namespace skingen
