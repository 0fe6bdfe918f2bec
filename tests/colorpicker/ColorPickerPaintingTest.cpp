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

// Where the LED page's effect has no colour (colour cycle, off) the page disables the picker: the plane
// and the spectrum then show no colour at all and no marker, so they do not look as if they chose one.
TEST(ColorPickerPainting, DisabledFieldAndBarShowNoColour) {
    PickerTestPage page;
    page.setPalette(DarkChrome());
    page.setAutoFillBackground(true);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    page.field->SetColor(0x0000FF);
    page.field->setEnabled(false);
    page.bar->setEnabled(false);

    const QImage picture = page.grab().toImage();
    const auto expectGrey = [&](QWidget* window, const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); y += 3) {
            for (int x = area.left(); x <= area.right(); x += 3) {
                const QRgb pixel = PixelIn(picture, window, QPoint(x, y));
                const int spread = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) -
                                   std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)});
                ASSERT_LE(spread, 12) << x << "," << y;
            }
        }
    };
    expectGrey(page.field, page.field->PlaneRect());
    expectGrey(page.bar, page.bar->GradientRect());
    // No marker: the room below the bar shows only the button face.
    const QRect bar = page.bar->BarRect();
    for (int y = bar.bottom() + 2; y < page.bar->height(); ++y)
        for (int x = 0; x < page.bar->width(); ++x)
            ASSERT_EQ(PixelIn(picture, page.bar, QPoint(x, y)), DarkChrome().color(QPalette::Button).rgb()) << x << "," << y;
}

// A skin record can give the field and the bar any size up to what a widget may have: the pictures
// they paint from stay bounded, by a fixed side and by their page (a record larger than the page picture
// costs no more than the page), and the field still shows its plane (white at the top left, the hue at
// the top right).
TEST(ColorPickerPainting, HugeFieldAndBarPaintFromBoundedPictures) {
    QWidget page;
    page.resize(200, 100);
    GTColorSelectorWnd* field = CreateColorField(&page, QRect(0, 0, 12000, 12000));
    GTColorSliderWnd* bar = CreateColorBar(&page, QRect(0, 0, 100000, 30));
    field->SetPickerMode(kHueSaturationValueMode);
    field->SetColor(0x0000FF);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    // Paint a corner of each, as the window would.
    QImage corner(64, 32, QImage::Format_RGB32);
    field->render(&corner, QPoint(), QRegion(0, 0, 64, 32));
    EXPECT_EQ(corner.pixel(GTColorSelectorWnd::kPlaneInset + 1, GTColorSelectorWnd::kPlaneInset + 1),
              qRgb(255, 255, 255));
    for (const QSize picture : {field->PlanePictureSize(), bar->GradientPictureSize()}) {
        EXPECT_LE(picture.width(), std::min(GTColorSelectorWnd::kLargestPlanePicture, page.width())) << picture.width();
        EXPECT_LE(picture.height(), page.height()) << picture.height();
    }
    EXPECT_LE(bar->GradientPictureSize().width(), GTColorSliderWnd::kLargestGradientSteps);
    bar->render(&corner, QPoint(), QRegion(0, 0, 64, 32));
    EXPECT_EQ(corner.pixel(bar->GradientRect().topLeft()), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace colorpicker
