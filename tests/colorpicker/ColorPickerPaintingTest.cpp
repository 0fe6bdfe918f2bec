#include "PickerTestPage.h"

#include <QImage>
#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace colorpicker {
namespace {

// The page's dark chrome, so the picture left for review looks as the picker does in the product.
QPalette DarkChrome() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x1D, 0x20, 0x27));
    palette.setColor(QPalette::Button, QColor(0x1D, 0x20, 0x27));
    palette.setColor(QPalette::Dark, QColor(0x14, 0x16, 0x1B));
    palette.setColor(QPalette::Light, QColor(0x32, 0x37, 0x43));
    palette.setColor(QPalette::WindowText, QColor(0xE7, 0xE9, 0xEE));
    return palette;
}

QRgb PixelIn(const QImage& page, const QWidget* window, QPoint point) {
    return page.pixel(window->mapTo(window->parentWidget(), point));
}

TEST(ColorPickerPainting, ShowsThePickedColourThePlaneAndTheSpectrum) {
    PickerTestPage page;
    page.setPalette(DarkChrome());
    page.setAutoFillBackground(true);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    page.field->SetColor(0xFF8C3F);  // an azure blue: red 0x3F, green 0x8C, blue 0xFF

    const QImage picture = page.grab().toImage();
    picture.save(QStringLiteral(COLORPICKER_TESTS_BINARY_DIR "/colorpicker.png"));

    // The well shows the colour with red in the low byte of the picker's value.
    EXPECT_EQ(PixelIn(picture, page.well, page.well->rect().center()), qRgb(0x3F, 0x8C, 0xFF));

    // The plane's top-left corner is white (no saturation, full value); its top-right end is the
    // hue at full strength, blue ahead of green ahead of red.
    const QRect plane = page.field->PlaneRect();
    EXPECT_EQ(PixelIn(picture, page.field, plane.topLeft()), qRgb(255, 255, 255));
    const QRgb hueEnd = PixelIn(picture, page.field, plane.topRight());
    EXPECT_EQ(qBlue(hueEnd), 255);
    EXPECT_GT(qGreen(hueEnd), qRed(hueEnd));

    // The bar's spectrum starts red and is green a third of the way along.
    const QRect gradient = page.bar->GradientRect();
    EXPECT_EQ(PixelIn(picture, page.bar, gradient.topLeft()), qRgb(255, 0, 0));
    const QRgb third = PixelIn(picture, page.bar, gradient.topLeft() + QPoint(gradient.width() / 3, 0));
    EXPECT_EQ(qGreen(third), std::max({qRed(third), qGreen(third), qBlue(third)}));
    EXPECT_GT(qGreen(third), 200);
}

}  // namespace
}  // namespace colorpicker
