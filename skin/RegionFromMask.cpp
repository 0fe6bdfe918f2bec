#include "RegionFromMask.h"

#include <QRect>

#include <cstring>
#include <utility>
#include <vector>

namespace skin {

namespace {

using Runs = std::vector<std::pair<int, int>>;

bool IsWhite(QRgb pixel) { return (pixel & 0x00FFFFFFu) == 0x00FFFFFFu; }

// The runs of pixels that are not white in one row, as x ranges [start, end); `white(x)` tells a pixel.
template <typename IsWhiteAt>
void RowRuns(int width, const IsWhiteAt& white, Runs& runs) {
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && white(x)) ++x;
        const int runStart = x;
        while (x < width && !white(x)) ++x;
        if (x > runStart) runs.emplace_back(runStart, x);
    }
}

// The mask's rows, read where they lie. A two-colour picture (how mask files are stored) is read bit by
// bit through its colour table; anything else is first converted to 32 bits.
class MaskRows {
public:
    explicit MaskRows(const QImage& mask) {
        const QImage::Format format = mask.format();
        if ((format == QImage::Format_Mono || format == QImage::Format_MonoLSB) && mask.colorCount() == 2) {
            pixels_ = mask;
            oneBit_ = true;
            lsbFirst_ = format == QImage::Format_MonoLSB;
            whiteIndex_[0] = IsWhite(mask.color(0));
            whiteIndex_[1] = IsWhite(mask.color(1));
            usedBytes_ = mask.width() / 8;
            const int lastBits = mask.width() % 8;
            if (lastBits != 0) {
                // Only the bits of the row's own pixels count; the padding after them may hold anything.
                lastByteMask_ = static_cast<uchar>(lsbFirst_ ? (1u << lastBits) - 1 : 0xFFu << (8 - lastBits));
            }
        } else {
            pixels_ = mask.convertToFormat(QImage::Format_RGB32);
            usedBytes_ = static_cast<qsizetype>(pixels_.width()) * 4;
        }
    }

    bool IsNull() const { return pixels_.isNull(); }
    int Width() const { return pixels_.width(); }
    int Height() const { return pixels_.height(); }

    // Whether row `y` holds the same pixels as row `y - 1`, byte for byte.
    bool SameAsRowAbove(int y) const {
        const uchar* row = pixels_.constScanLine(y);
        const uchar* above = pixels_.constScanLine(y - 1);
        if (std::memcmp(row, above, static_cast<std::size_t>(usedBytes_)) != 0) return false;
        return lastByteMask_ == 0 || ((row[usedBytes_] ^ above[usedBytes_]) & lastByteMask_) == 0;
    }

    void ReadRuns(int y, Runs& runs) const {
        const uchar* row = pixels_.constScanLine(y);
        if (!oneBit_) {
            const auto* colours = reinterpret_cast<const QRgb*>(row);
            RowRuns(Width(), [colours](int x) { return IsWhite(colours[x]); }, runs);
        } else if (lsbFirst_) {
            RowRuns(Width(), [this, row](int x) { return whiteIndex_[(row[x >> 3] >> (x & 7)) & 1]; }, runs);
        } else {
            RowRuns(Width(), [this, row](int x) { return whiteIndex_[(row[x >> 3] >> (7 - (x & 7))) & 1]; }, runs);
        }
    }

private:
    QImage pixels_;
    bool oneBit_ = false;
    bool lsbFirst_ = false;
    bool whiteIndex_[2] = {false, false};
    qsizetype usedBytes_ = 0;
    uchar lastByteMask_ = 0;
};

}  // namespace

std::optional<QRegion> RegionFromMask(const QImage& mask) {
    if (mask.isNull()) return std::nullopt;
    const MaskRows rows(mask);
    if (rows.IsNull()) return std::nullopt;

    // Rows with the same runs as the row above extend that row's band instead of starting a new one,
    // so the rectangles come out as the region keeps them: sorted by top, then left, none touching
    // another in its band. They are then handed over in one call, at a cost linear in their number
    // (uniting them into a growing region would cost the square of it). A row whose pixels equal the
    // row above's has its runs too, without reading them again: most rows of an outline do.
    std::vector<QRect> rects;
    Runs previous;
    Runs runs;
    std::size_t bandStart = 0;  // index of the first rectangle of the band above
    for (int y = 0; y < rows.Height(); ++y) {
        const bool same = y > 0 && rows.SameAsRowAbove(y);
        if (!same) rows.ReadRuns(y, runs);
        if (y > 0 && (same ? !previous.empty() : !runs.empty() && runs == previous)) {
            for (std::size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(y);
            continue;
        }
        if (same) continue;  // an empty row below an empty row
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
