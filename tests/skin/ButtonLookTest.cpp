#include "ButtonLook.h"
#include "SwatchTint.h"

#include <gtest/gtest.h>

namespace {

using skin::ButtonLook;
using skin::ButtonState;
using P = skin::StatePicture;
using T = skin::CaptionTone;

struct LookCase {
    ButtonState state;  // checked, hovering, pressed, disabled
    ButtonLook checkable;
    ButtonLook push;
    ButtonLook secondText;
};

TEST(ButtonLook, EachKindChoosesItsPictureAndCaptionColour) {
    const LookCase cases[] = {
        {{}, {P::Normal, T::Normal}, {P::Normal, T::Normal}, {P::Normal, T::Normal}},
        {{false, true, false, false}, {P::Hover, T::Highlighted}, {P::Hover, T::Highlighted}, {P::Hover, T::Highlighted}},
        {{false, false, true, false},
         {P::Pressed, T::CheckedPressed},
         {P::Pressed, T::Highlighted},
         {P::Pressed, T::Highlighted}},
        // Held down while hovering: a check button keeps its hover look.
        {{false, true, true, false}, {P::Hover, T::Highlighted}, {P::Pressed, T::Highlighted}, {P::Pressed, T::Highlighted}},
        {{true, false, false, false}, {P::Pressed, T::Highlighted}, {P::Pressed, T::Highlighted}, {P::Pressed, T::Normal}},
        {{true, true, false, false}, {P::Pressed, T::Highlighted}, {P::Pressed, T::Highlighted}, {P::Pressed, T::Normal}},
        {{false, false, false, true}, {P::Disabled, T::Disabled}, {P::Disabled, T::Disabled}, {P::Disabled, T::Disabled}},
        // Disabled wins only for check buttons; checked wins for the others.
        {{true, false, false, true}, {P::Disabled, T::Disabled}, {P::Pressed, T::Highlighted}, {P::Pressed, T::Normal}},
        // A disabled button never hovers, of any kind.
        {{false, true, false, true}, {P::Disabled, T::Disabled}, {P::Disabled, T::Disabled}, {P::Disabled, T::Disabled}},
    };
    int row = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(skin::CheckableButtonLook(c.state), c.checkable) << "row " << row;
        EXPECT_EQ(skin::PushButtonLook(c.state), c.push) << "row " << row;
        EXPECT_EQ(skin::SecondTextButtonLook(c.state), c.secondText) << "row " << row;
        ++row;
    }
}

TEST(SwatchTint, CoverageInTheRedByteBecomesPremultipliedColour) {
    struct TintCase {
        QRgb templatePixel;
        int red, green, blue;
        QRgb tinted;
    };
    const TintCase cases[] = {
        {qRgba(128, 128, 128, 255), 255, 0, 0, qRgba(128, 0, 0, 128)},
        {qRgba(255, 255, 255, 255), 10, 20, 30, qRgba(10, 20, 30, 255)},
        {qRgba(100, 7, 9, 0), 200, 100, 50, qRgba(78, 39, 19, 100)},
        // Red byte 0: the pixel keeps its bytes.
        {qRgba(0, 40, 50, 60), 255, 255, 255, qRgba(0, 40, 50, 60)},
    };
    for (const auto& c : cases) {
        QImage swatch(1, 1, QImage::Format_ARGB32);
        swatch.setPixel(0, 0, c.templatePixel);
        const QImage tinted = skin::TintSwatch(swatch, c.red, c.green, c.blue);
        EXPECT_EQ(tinted.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(reinterpret_cast<const QRgb*>(tinted.constScanLine(0))[0], c.tinted) << std::hex << c.templatePixel;
    }
}

}  // namespace
