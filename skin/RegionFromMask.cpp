#include "RegionFromMask.h"

#include <QRect>

#include <utility>
#include <vector>

namespace skin {

namespace {

bool IsWhite(QRgb pixel) { return (pixel & 0x00FFFFFFu) == 0x00FFFFFFu; }

// The runs of pixels that are not white in one row, as x ranges [start, end).
void RowRuns(const QRgb* row, int width, std::vector<std::pair<int, int>>& runs) {
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && IsWhite(row[x])) ++x;
        const int runStart = x;
        while (x < width && !IsWhite(row[x])) ++x;
        if (x > runStart) runs.emplace_back(runStart, x);
    }
}

}  // namespace

std::optional<QRegion> RegionFromMask(const QImage& mask) {
    if (mask.isNull()) return std::nullopt;
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) return std::nullopt;

    // Rows with the same runs as the row above extend that row's band instead of starting a new one,
    // so the rectangles come out as the region keeps them: sorted by top, then left, none touching
    // another in its band. They are then handed over in one call, at a cost linear in their number
    // (uniting them into a growing region would cost the square of it).
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> previous;
    std::vector<std::pair<int, int>> runs;
    std::size_t bandStart = 0;  // index of the first rectangle of the band above
    for (int y = 0; y < pixels.height(); ++y) {
        RowRuns(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), pixels.width(), runs);
        if (y > 0 && !runs.empty() && runs == previous) {
            for (std::size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(y);
            continue;
        }
        bandStart = rects.size();
        for (const auto& [start, end] : runs) rects.emplace_back(start, y, end - start, 1);
        std::swap(previous, runs);
    }
    if (rects.empty()) return std::nullopt;
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

}  // namespace skin
