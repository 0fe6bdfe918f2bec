#include "BitmapBtn.h"
#include "BitmapBtnEx.h"
#include "ColorBtn.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using skin::CBitmapBtn;

// A shown, active window holding buttons, with every notification recorded.
class ButtonPage : public ::testing::Test {
protected:
    void SetUp() override {
        page_.resize(200, 100);
        page_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page_));
        QApplication::setActiveWindow(&page_);
    }
    void TearDown() override { QApplication::setActiveWindow(nullptr); }

    CBitmapBtn& AddButton(CBitmapBtn& button, int x) {
        button.Create(&page_, QRect(x, 10, 40, 20));
        QObject::connect(&button, &CBitmapBtn::command, [this](int code, CBitmapBtn* sender) {
            received_.emplace_back(code, sender);
        });
        return button;
    }

    static void Enter(QWidget* widget) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(widget->mapToGlobal(QPoint(5, 5))));
        QApplication::sendEvent(widget, &enter);
    }
    static void Leave(QWidget* widget) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }

    QWidget page_;
    std::vector<std::pair<int, CBitmapBtn*>> received_;
};

TEST_F(ButtonPage, CheckButtonDoubleClickedTogglesTwiceWithoutPlainClick) {
    CBitmapBtn button;
    AddButton(button, 10);
    button.SetCheckable(true);
    // What a double click delivers: press, release, double-click press, release.
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    const std::vector<std::pair<int, CBitmapBtn*>> expected = {{CBitmapBtn::kCheckedCode, &button},
                                                               {CBitmapBtn::kCheckedCode, &button}};
    EXPECT_EQ(received_, expected);
    EXPECT_FALSE(button.IsChecked());
}

TEST_F(ButtonPage, EachMouseButtonGivesItsCode) {
    const std::pair<Qt::MouseButton, int> cases[] = {
        {Qt::LeftButton, CBitmapBtn::kClickCode},
        {Qt::RightButton, CBitmapBtn::kRightPressCode},
        {Qt::MiddleButton, CBitmapBtn::kMiddlePressCode},
    };
    CBitmapBtn button;
    AddButton(button, 10);
    for (const auto& [mouseButton, code] : cases) {
        received_.clear();
        // Right and middle act on the press already.
        QTest::mousePress(&button, mouseButton, {}, QPoint(5, 5));
        if (mouseButton != Qt::LeftButton) {
            EXPECT_EQ(received_.size(), 1u) << code;
        }
        QTest::mouseRelease(&button, mouseButton, {}, QPoint(5, 5));
        const std::vector<std::pair<int, CBitmapBtn*>> expected = {{code, &button}};
        EXPECT_EQ(received_, expected) << code;
    }
}

TEST_F(ButtonPage, KeysNeverPressTheButton) {
    CBitmapBtn button;
    AddButton(button, 10);
    button.setFocus();
    for (const int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&button, static_cast<Qt::Key>(key));
    }
    EXPECT_TRUE(received_.empty());
    EXPECT_FALSE(button.isDown());
}

TEST_F(ButtonPage, AutoRepeatTicksWhileHeldAndStopsOnRelease) {
    CBitmapBtn button;
    AddButton(button, 10);
    constexpr int kIntervalMs = 50;
    button.SetAutoRepeat(true, kIntervalMs);
    // The clock starts before the press that arms the repeat: the press itself (painting, under a
    // sanitizer slow) must not count against the ticks.
    QElapsedTimer held;
    held.start();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return received_.size() >= 4; }, 5000));
    // The ticks keep their interval: four of them never come before four intervals.
    EXPECT_GE(held.elapsed(), 4 * kIntervalMs);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_FALSE(received_.empty());
    EXPECT_EQ(received_.back(), std::make_pair(CBitmapBtn::kClickCode, &button));
    received_.pop_back();
    for (const auto& tick : received_) EXPECT_EQ(tick, std::make_pair(CBitmapBtn::kRepeatCode, &button));
    const std::size_t ticks = received_.size();
    QTest::qWait(4 * kIntervalMs);
    EXPECT_EQ(received_.size(), ticks);
}

TEST_F(ButtonPage, OnlyOneButtonHoversAndNoneWhileInactive) {
    CBitmapBtn first;
    CBitmapBtn second;
    AddButton(first, 10);
    AddButton(second, 60);
    Enter(&first);
    EXPECT_TRUE(first.IsHovering());
    // A quick move can deliver the neighbour's enter before this button's leave.
    Enter(&second);
    EXPECT_FALSE(first.IsHovering());
    EXPECT_TRUE(second.IsHovering());
    Leave(&first);
    EXPECT_TRUE(second.IsHovering());

    QApplication::setActiveWindow(nullptr);
    EXPECT_FALSE(second.IsHovering());
    Enter(&first);
    EXPECT_FALSE(first.IsHovering());
}

// A greyed button (the updater's OK while it flashes, the LED page's value buttons without a colour)
// never lights up: not when the pointer enters it, and not when it is disabled under the pointer.
TEST_F(ButtonPage, DisabledButtonNeverHovers) {
    CBitmapBtn entered;
    CBitmapBtn underPointer;
    AddButton(entered, 10);
    AddButton(underPointer, 60);
    entered.setEnabled(false);
    Enter(&entered);
    EXPECT_FALSE(entered.IsHovering());

    Enter(&underPointer);
    ASSERT_TRUE(underPointer.IsHovering());
    underPointer.setEnabled(false);
    EXPECT_FALSE(underPointer.IsHovering());
    EXPECT_EQ(underPointer.CurrentLook().picture, skin::StatePicture::Disabled);
}

// The second text of the picture button keeps the caption margin when it has no rectangle of its own.
TEST_F(ButtonPage, SecondTextKeepsTheCaptionMargin) {
    constexpr int kMargin = 60;
    skin::CBitmapBtnEx button;
    button.Create(&page_, QRect(0, 0, 140, 30));
    QImage black(200, 100, QImage::Format_RGB32);
    black.fill(Qt::black);
    button.SetStatePictures(skin::SkinImageSet::Of(&black, &black, &black, &black), button.rect());
    button.SetTextColors(0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
    button.SetTextFormat(CBitmapBtn::kFormatLeft);
    button.SetCaption(QString(), true, kMargin);
    button.SetSecondText(QStringLiteral("WWWW"));
    const QImage shown = button.grab().toImage();
    int textLeft = shown.width();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) > 64) textLeft = std::min(textLeft, x);
    EXPECT_GE(textLeft, kMargin);
    EXPECT_LT(textLeft, shown.width());
}

TEST(ColorBtn, SwatchOutsideItsCoverageStaysTransparent) {
    // A template without alpha, as a BMP gives it: the red byte is the coverage.
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(128, 128, 128));
    source.setPixel(1, 0, qRgb(0, 0, 0));
    skin::CColorBtn button;
    button.SetSwatchPicture(&source, QRect(0, 0, 2, 1), 0, 0);
    button.SetColor(255, 0, 0);
    const auto* tinted = reinterpret_cast<const QRgb*>(button.TintedSwatch().constScanLine(0));
    EXPECT_EQ(tinted[0], qRgba(128, 0, 0, 128));
    EXPECT_EQ(qAlpha(tinted[1]), 0);
}

}  // namespace
