#include "RegionFromMask.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Every pixel is inside the region exactly when it is not white in the mask.
void ExpectRegionMatchesMask(const QRegion& region, const QImage& mask) {
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const bool white = (mask.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu;
            ASSERT_EQ(region.contains(QPoint(x, y)), !white) << x << "," << y;
        }
    }
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, mask.width(), mask.height()));
}

TEST(RegionFromMask, CutsAwayTheWhiteCorners) {
    QImage mask(100, 50, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (const QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 49), QPoint(99, 49)}) {
        mask.setPixel(corner, qRgb(255, 255, 255));
    }
    // A nearly white pixel and the alpha byte do not count as white.
    mask.setPixel(50, 25, qRgba(255, 255, 254, 255));
    const std::optional<QRegion> region = skin::RegionFromMask(mask);
    ASSERT_TRUE(region);
    ExpectRegionMatchesMask(*region, mask);
}

TEST(RegionFromMask, RowsOfMoreThanTwoThousandRunsStayExact) {
    // 2050 runs per row: the rectangles are united in several batches.
    QImage mask(4100, 3, QImage::Format_ARGB32);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            // White with transparent alpha is still white; runs shift by row.
            mask.setPixel(x, y, (x + y) % 2 == 0 ? qRgba(0, 0, 0, 255) : qRgba(255, 255, 255, 0));
        }
    }
    const std::optional<QRegion> region = skin::RegionFromMask(mask);
    ASSERT_TRUE(region);
    ExpectRegionMatchesMask(*region, mask);
}

TEST(RegionFromMask, NoPictureOrAllWhiteGivesNoRegion) {
    EXPECT_FALSE(skin::RegionFromMask(QImage()));
    QImage white(20, 10, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_FALSE(skin::RegionFromMask(white));
}

}  // namespace
