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

// A small mask can hold millions of runs (a checkerboard): the outline is still built, and exactly.
TEST(RegionFromMask, CheckerboardOfMillionsOfRunsIsBuiltExactly) {
    constexpr int kSide = 3000;
    QImage mask(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < kSide; ++x) row[x] = (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    const std::optional<QRegion> region = skin::RegionFromMask(mask);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->rectCount(), kSide * kSide / 2);
    EXPECT_EQ(region->boundingRect(), QRect(0, 0, kSide, kSide));
    // Looking a point up walks every rectangle, so only a corner is compared pixel by pixel.
    ExpectRegionMatchesMask(region->intersected(QRect(0, 0, 16, 16)), mask.copy(0, 0, 16, 16));
}

// Rows with the same runs form one band, as the united region would keep them.
TEST(RegionFromMask, EqualRowsFormOneBand) {
    QImage mask(40, 30, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = 5; y < 25; ++y) {
        for (int x = 2; x < 10; ++x) mask.setPixel(x, y, qRgb(0, 0, 0));
        for (int x = 20; x < 38; ++x) mask.setPixel(x, y, qRgb(0, 0, 0));
    }
    const std::optional<QRegion> region = skin::RegionFromMask(mask);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->rectCount(), 2);
    EXPECT_EQ(*region, QRegion(2, 5, 8, 20) + QRegion(20, 5, 18, 20));
}

TEST(RegionFromMask, NoPictureOrAllWhiteGivesNoRegion) {
    EXPECT_FALSE(skin::RegionFromMask(QImage()));
    QImage white(20, 10, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_FALSE(skin::RegionFromMask(white));
}

}  // namespace
