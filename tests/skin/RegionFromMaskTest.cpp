#include "RegionFromMask.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool IsWhiteForTest(QRgb pixel) { return (pixel & 0xFFFFFFu) == 0xFFFFFFu; }

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

// Mask files are two-colour pictures, read bit by bit where they lie: whichever colour is white, bits
// in either order, widths that end inside a byte (whatever the padding after the row holds), and rows
// equal to the row above or differing from it only in their last pixel. The region is the one the
// picture converted to 32 bits gives.
TEST(RegionFromMask, TwoColourMasksGiveTheRegionOfTheirColours) {
    struct Case {
        const char* name;
        QImage::Format format;
        int width;
        QRgb colour0;
        QRgb colour1;
    };
    const Case cases[] = {
        {"white 0, most significant bit first", QImage::Format_Mono, 37, qRgb(255, 255, 255), qRgb(0, 0, 0)},
        {"white 1", QImage::Format_Mono, 37, qRgb(0, 0, 0), qRgb(255, 255, 255)},
        {"least significant bit first", QImage::Format_MonoLSB, 37, qRgb(255, 255, 255), qRgb(0, 0, 0)},
        {"whole bytes", QImage::Format_Mono, 40, qRgb(255, 255, 255), qRgb(0, 0, 0)},
        {"one pixel wide", QImage::Format_MonoLSB, 1, qRgb(0, 0, 0), qRgb(255, 255, 255)},
        {"transparent white and nearly white", QImage::Format_Mono, 19, qRgba(255, 255, 255, 0), qRgb(255, 254, 255)},
    };
    for (const Case& c : cases) {
        QImage mask(c.width, 12, c.format);
        mask.setColorTable({c.colour0, c.colour1});
        // The padding bits after each row are set, so that only the row's own bits may be compared.
        std::memset(mask.bits(), 0xFF, static_cast<std::size_t>(mask.sizeInBytes()));
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                const bool corner = (y < 2 || y > 9) && (x < 3 || x >= c.width - 3);
                const bool lastPixelOfRowSeven = y == 7 && x == c.width - 1;
                mask.setPixel(x, y, corner || lastPixelOfRowSeven ? 0 : 1);
            }
        }
        const QImage converted = mask.convertToFormat(QImage::Format_RGB32);
        const std::optional<QRegion> expected = skin::RegionFromMask(converted);
        const std::optional<QRegion> region = skin::RegionFromMask(mask);
        ASSERT_EQ(region.has_value(), expected.has_value()) << c.name;
        if (!region) continue;
        EXPECT_EQ(*region, *expected) << c.name;
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                ASSERT_EQ(region->contains(QPoint(x, y)), !IsWhiteForTest(converted.pixel(x, y))) << c.name << " " << x << "," << y;
            }
        }
    }
}

TEST(RegionFromMask, NoPictureOrAllWhiteGivesNoRegion) {
    EXPECT_FALSE(skin::RegionFromMask(QImage()));
    QImage white(20, 10, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_FALSE(skin::RegionFromMask(white));
}

}  // namespace
