#include "ProgressBar.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

using updater::ProgressBarPictures;

QImage Filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

ProgressBarPictures BarPictures() {
    return {Filled(200, 16, Qt::darkGray), Filled(200, 16, Qt::cyan), Filled(16, 16, Qt::magenta)};
}

TEST(ProgressBar, FillWidthAndMarkerFollowThePercent) {
    const struct {
        int percent;
        int fillWidth;
    } cases[] = {{0, 0}, {1, 2}, {37, 74}, {100, 200}, {-5, 0}, {250, 200}};
    const ProgressBarPictures pictures = BarPictures();
    for (const auto& c : cases) {
        const auto geometry = updater::ComputeProgressBar(QPoint(59, 268), pictures, c.percent, true);
        EXPECT_EQ(geometry.bar, QRect(59, 268, 200, 16)) << c.percent;
        EXPECT_EQ(geometry.fillWidth, c.fillWidth) << c.percent;
        // The marker sits centred on the end of the fill, level with the bar.
        EXPECT_EQ(geometry.marker, QRect(59 + c.fillWidth - 8, 268, 16, 16)) << c.percent;
    }
}

TEST(ProgressBar, NoMarkerWhenTheLayoutHasNoneOrThePictureIsMissing) {
    ProgressBarPictures pictures = BarPictures();
    EXPECT_TRUE(updater::ComputeProgressBar(QPoint(), pictures, 50, false).marker.isEmpty());
    pictures.marker = QImage();
    EXPECT_TRUE(updater::ComputeProgressBar(QPoint(), pictures, 50, true).marker.isEmpty());
}

TEST(ProgressBar, PaintsFullPictureOnlyUpToTheFill) {
    const ProgressBarPictures pictures = BarPictures();
    QImage canvas = Filled(300, 40, Qt::black);
    QPainter painter(&canvas);
    updater::PaintProgressBar(painter, pictures, updater::ComputeProgressBar(QPoint(10, 10), pictures, 25, true));
    painter.end();
    EXPECT_EQ(canvas.pixelColor(10 + 20, 12), QColor(Qt::cyan));      // filled, left of the marker
    EXPECT_EQ(canvas.pixelColor(10 + 50, 12), QColor(Qt::magenta));   // the marker at the fill's end
    EXPECT_EQ(canvas.pixelColor(10 + 80, 12), QColor(Qt::darkGray));  // still empty
    EXPECT_EQ(canvas.pixelColor(5, 5), QColor(Qt::black));            // outside the bar untouched
}

TEST(ProgressBar, DensePicturesKeepTheGeometryAndFillInDevicePixels) {
    ProgressBarPictures pictures{Filled(400, 32, Qt::darkGray), Filled(400, 32, Qt::cyan), Filled(32, 32, Qt::magenta)};
    for (QImage* picture : {&pictures.empty, &pictures.full, &pictures.marker}) picture->setDevicePixelRatio(2.0);
    const auto geometry = updater::ComputeProgressBar(QPoint(10, 10), pictures, 25, false);
    EXPECT_EQ(geometry.bar, QRect(10, 10, 200, 16));
    EXPECT_EQ(geometry.fillWidth, 50);

    QImage canvas = Filled(600, 80, Qt::black);
    canvas.setDevicePixelRatio(2.0);
    QPainter painter(&canvas);
    updater::PaintProgressBar(painter, pictures, geometry);
    painter.end();
    // In device pixels: the fill ends at 2 x (10 + 50), the bar at 2 x (10 + 200).
    EXPECT_EQ(canvas.pixelColor(2 * 60 - 1, 30), QColor(Qt::cyan));
    EXPECT_EQ(canvas.pixelColor(2 * 60, 30), QColor(Qt::darkGray));
    EXPECT_EQ(canvas.pixelColor(2 * 210 - 1, 30), QColor(Qt::darkGray));
    EXPECT_EQ(canvas.pixelColor(2 * 210, 30), QColor(Qt::black));
}

}  // namespace
