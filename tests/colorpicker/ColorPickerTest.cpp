#include "PickerTestPage.h"

#include <QTest>

#include <gtest/gtest.h>

namespace colorpicker {
namespace {

class ColorPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    // A left-button drag on `window` from `from` to `to`, both in the window's coordinates.
    static void Drag(QWidget* window, QPoint from, QPoint to) {
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    }

    PickerTestPage page;
};

TEST_F(ColorPickerTest, SetColorMovesAllThreeWindowsAndReachesThePageOnce) {
    struct Case {
        PickerColor color;
        PickerComponents expected;
        PickerColor picked;
    };
    const Case cases[] = {
        {0x00FF00, {.z = 1200, .x = 1000, .y = 1000}, 0x00FF00},
        {0x0000FF, {.z = 0, .x = 1000, .y = 1000}, 0x0000FF},
        {0xFF0000, {.z = 2400, .x = 1000, .y = 1000}, 0xFF0000},
        {0x7F7F7F, {.z = 0, .x = 0, .y = 499}, 0x7F7F7F},  // 499 thousandths of 255 round back to 127
    };
    for (const Case& c : cases) {
        page.picked.clear();
        page.notices.clear();
        page.field->SetColor(c.color);

        EXPECT_EQ(page.field->Components(), c.expected) << std::hex << c.color;
        EXPECT_EQ(page.bar->Value(), c.expected.z) << std::hex << c.color;
        EXPECT_EQ(page.well->Color(), c.picked) << std::hex << c.color;
        EXPECT_EQ(page.picked, std::vector<PickerColor>{c.picked}) << std::hex << c.color;
        // The field also tells its parent, with its own identifier.
        ASSERT_EQ(page.notices.size(), 1u) << std::hex << c.color;
        EXPECT_EQ(page.notices[0].controlId, std::uintptr_t{kColorFieldId});
        EXPECT_EQ(page.notices[0].value, static_cast<int>(c.picked));
    }
}

TEST_F(ColorPickerTest, PureRedPutsTheMarkersAtTheFieldsTopRightAndTheBarsStart) {
    page.field->SetColor(0x00FF00);
    page.field->SetColor(0x0000FF);
    const QRect plane = page.field->PlaneRect();
    EXPECT_EQ(page.field->MarkerCenter(), QPoint(plane.x() + plane.width(), plane.y()));
    EXPECT_EQ(page.bar->MarkerPosition(), page.bar->GradientRect().x());
}

TEST_F(ColorPickerTest, SettingTheSameColourAgainSendsNothing) {
    page.field->SetColor(0x123456);
    page.picked.clear();
    page.field->SetColor(0x123456);
    EXPECT_TRUE(page.picked.empty());
}

TEST_F(ColorPickerTest, BarDraggedToItsFarRightGivesTheLastHue) {
    page.field->SetColor(0x00FF00);
    page.picked.clear();
    const QRect gradient = page.bar->GradientRect();
    Drag(page.bar, gradient.center(), QPoint(gradient.right() + 300, gradient.center().y()));

    EXPECT_EQ(page.bar->Value(), 3599);
    EXPECT_EQ(page.field->Components(), (PickerComponents{.z = 3599, .x = 1000, .y = 1000}));
    // Hue 359.9 at full saturation and value: q = 1 - 0.99833 gives ceil(0.425 - 0.5) = 0 blue.
    ASSERT_FALSE(page.picked.empty());
    EXPECT_EQ(page.picked.back(), 0x0000FFu);
    EXPECT_EQ(page.well->Color(), 0x0000FFu);
}

TEST_F(ColorPickerTest, DraggingTheFieldPicksThePointAndStopsAtThePlanesEdge) {
    // The plane is 200 by 200 pixels from (3, 3) in the field.
    struct Case {
        QPoint to;
        PickerComponents expected;
        QPoint marker;
        PickerColor picked;
    };
    const Case cases[] = {
        {{3, 103}, {.z = 0, .x = 0, .y = 500}, {3, 103}, 0x7F7F7F},             // no saturation, value 0.5
        {{103, 103}, {.z = 0, .x = 500, .y = 500}, {103, 103}, 0x40407F},  // p = t = 0.25: 64
        {{-80, -80}, {.z = 0, .x = 0, .y = 1000}, {3, 3}, 0xFFFFFF},            // beyond the top left
        {{900, 900}, {.z = 0, .x = 1000, .y = 0}, {203, 203}, 0x000000},        // beyond the bottom right
        {{900, 103}, {.z = 0, .x = 1000, .y = 500}, {203, 103}, 0x00007F},      // beyond the right
    };
    for (const Case& c : cases) {
        page.picked.clear();
        Drag(page.field, QPoint(50, 50), c.to);
        EXPECT_EQ(page.field->Components(), c.expected) << c.to.x() << "," << c.to.y();
        EXPECT_EQ(page.field->MarkerCenter(), c.marker) << c.to.x() << "," << c.to.y();
        ASSERT_FALSE(page.picked.empty());
        EXPECT_EQ(page.picked.back(), c.picked) << c.to.x() << "," << c.to.y();
    }
}

TEST_F(ColorPickerTest, APressOutsideThePlaneStartsNoDrag) {
    page.field->SetColor(0x0000FF);
    page.picked.clear();
    Drag(page.field, QPoint(1, 1), QPoint(103, 103));
    EXPECT_EQ(page.field->Components(), (PickerComponents{.z = 0, .x = 1000, .y = 1000}));
    EXPECT_TRUE(page.picked.empty());
}

TEST_F(ColorPickerTest, WindowsWithoutAControlIdentifierNotifyNoOne) {
    GTColorSelectorWnd silentField(&page, 0);
    GTColorWellWnd well(&page, kColorWellId, &silentField);
    silentField.SetPickerMode(kHueSaturationValueMode);
    silentField.LinkBar(page.bar);
    silentField.LinkWell(&well);
    well.SetColorHandler(&page);

    silentField.SetColor(0x00FF00);
    EXPECT_EQ(silentField.Components().z, 1200);
    EXPECT_EQ(page.bar->Value(), 0);
    EXPECT_EQ(well.Color(), 0u);
    EXPECT_TRUE(page.picked.empty());
    EXPECT_TRUE(page.notices.empty());

    GTColorSliderWnd silentBar(&page, 0);
    silentBar.setGeometry(240, 100, 80, 30);
    silentBar.SetStyleWord(GTColorSliderWnd::kPageBarStyle);
    silentBar.SetPickerMode(kHueSaturationValueMode);
    silentBar.LinkField(page.field);
    silentBar.show();
    Drag(&silentBar, silentBar.GradientRect().center(), silentBar.GradientRect().center() + QPoint(300, 0));
    EXPECT_EQ(silentBar.Value(), 3599);
    EXPECT_EQ(page.field->Components().z, 0);
    EXPECT_TRUE(page.picked.empty());
}

}  // namespace
}  // namespace colorpicker
