#include "RegionFromMask.h"

#include <QRect>

#include <vector>

namespace skin {

namespace {

// Rectangles are collected in batches and each batch united into the region at once: a QRegion built
// from a sorted batch is cheap, while uniting one rectangle at a time would be quadratic.
constexpr std::size_t kRectanglesPerBatch = 2000;

void UniteBatch(QRegion& region, std::vector<QRect>& batch) {
    if (batch.empty()) return;
    QRegion part;
    part.setRects(batch.data(), static_cast<int>(batch.size()));
    region = region.united(part);
    batch.clear();
}

bool IsWhite(QRgb pixel) { return (pixel & 0x00FFFFFFu) == 0x00FFFFFFu; }

}  // namespace

std::optional<QRegion> RegionFromMask(const QImage& mask) {
    if (mask.isNull()) return std::nullopt;
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) return std::nullopt;

    QRegion region;
    std::vector<QRect> batch;
    batch.reserve(kRectanglesPerBatch);
    const int width = pixels.width();
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && IsWhite(row[x])) ++x;
            const int runStart = x;
            while (x < width && !IsWhite(row[x])) ++x;
            if (x > runStart) {
                batch.emplace_back(runStart, y, x - runStart, 1);
                if (batch.size() == kRectanglesPerBatch) UniteBatch(region, batch);
            }
        }
    }
    UniteBatch(region, batch);
    if (region.isEmpty()) return std::nullopt;
    return region;
}

}  // namespace skin
