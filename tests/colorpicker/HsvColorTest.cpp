#include "HsvColor.h"
#include "PickerModes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace colorpicker {
namespace {

struct HsvCase {
    double hue;
    double saturation;
    double value;
    PickerColor expected;
};

// Expected channels worked out by hand from p, q, t and ceil(255 * channel - 0.5).
TEST(HsvToRgb, GivesTheSectorsChannelsRoundedHalfDown) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const HsvCase cases[] = {
        {0, 1, 1, 0x0000FF},          // red
        {60, 1, 1, 0x00FFFF},         // yellow
        {120, 1, 1, 0x00FF00},        // green
        {180, 1, 1, 0xFFFF00},        // cyan
        {240, 1, 1, 0xFF0000},        // blue
        {300, 1, 1, 0xFF00FF},        // magenta
        {360, 1, 1, 0x0000FF},        // 360 counts as 0
        {30, 1, 1, 0x007FFF},         // t = 0.5: ceil(127.5 - 0.5) = 127, half rounds down
        {0, 1, 0.5, 0x00007F},        // 127.5 - 0.5 = 127 exactly
        {123, 0, 0.5, 0x7F7F7F},      // no saturation: the grey of the value
        {0, 0, 1, 0xFFFFFF},
        {0, 0.5, 0, 0x000000},
        {361, 1, 1, 0}, {-1, 1, 1, 0}, {0, 1.5, 1, 0}, {0, 1, -0.1, 0}, {nan, 1, 1, 0}, {0, nan, 1, 0},
    };
    for (const HsvCase& c : cases) {
        EXPECT_EQ(HsvToRgb(c.hue, c.saturation, c.value), c.expected)
            << "hue " << c.hue << " saturation " << c.saturation << " value " << c.value;
    }
}

TEST(RgbToHsv, GivesHueSaturationAndValue) {
    struct Case {
        PickerColor color;
        double hue;
        double saturation;
        double value;
    };
    const Case cases[] = {
        {0x000000, 0, 0, 0},
        {0x808080, 0, 0, 128 / 255.0},
        {0x0000FF, 0, 1, 1},
        {0xFF00FF, 300, 1, 1},         // red is the maximum and green - blue is negative: + 360
        {0x00FF80, 89.882353, 1, 1},   // green the maximum: 60 * (2 + (0 - 128) / 255)
        {0x804000, 210, 1, 128 / 255.0},
    };
    for (const Case& c : cases) {
        const Hsv hsv = RgbToHsv(c.color);
        EXPECT_NEAR(hsv.hueDegrees, c.hue, 1e-6) << std::hex << c.color;
        EXPECT_DOUBLE_EQ(hsv.saturation, c.saturation) << std::hex << c.color;
        EXPECT_DOUBLE_EQ(hsv.value, c.value) << std::hex << c.color;
    }
}

// Through the components of each HSV mode and back gives the same colour for these colours.
TEST(HsvRoundTrip, ColoursComeBackThroughEveryHsvMode) {
    const PickerColor colors[] = {0x000000, 0xFFFFFF, 0x7F7F7F, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                                  0xFF00FF, 0xFFFF00, 0x0080FF, 0x123456, 0xABCDEF, 0x010203, 0x3FB6FF};
    for (int mode = 3; mode <= 5; ++mode) {
        const PickerComponents maxima = ComponentMaxima(mode);
        for (const PickerColor color : colors) {
            const PickerComponents components = ComponentsOfColor(mode, color);
            EXPECT_EQ(ColorOfComponents(mode, components, maxima.x, maxima.y), color)
                << "mode " << mode << " colour " << std::hex << color;
        }
    }
}

// Rounding every component up can move a channel by one step, never more (a few colours in a
// thousand come back one step off).
TEST(HsvRoundTrip, NoChannelMovesMoreThanOneStep) {
    const PickerComponents maxima = ComponentMaxima(kHueSaturationValueMode);
    for (PickerColor color = 0; color <= 0xFFFFFF; color += 997) {
        const PickerColor back = ColorOfComponents(kHueSaturationValueMode,
                                                   ComponentsOfColor(kHueSaturationValueMode, color), maxima.x, maxima.y);
        EXPECT_LE(std::abs(RedOf(back) - RedOf(color)), 1) << std::hex << color;
        EXPECT_LE(std::abs(GreenOf(back) - GreenOf(color)), 1) << std::hex << color;
        EXPECT_LE(std::abs(BlueOf(back) - BlueOf(color)), 1) << std::hex << color;
    }
    // 0x0069FD: hue 24.90 degrees becomes 250 tenths, so green comes back as ceil(105.506 - 0.5) = 106.
    EXPECT_EQ(ColorOfComponents(kHueSaturationValueMode, ComponentsOfColor(kHueSaturationValueMode, 0x0069FD),
                                maxima.x, maxima.y),
              0x006AFDu);
}

}  // namespace
}  // namespace colorpicker
