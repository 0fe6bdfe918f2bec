#include "PickerModes.h"

#include <gtest/gtest.h>

namespace colorpicker {
namespace {

TEST(ComponentsOfColor, PlacesEachModesComponents) {
    struct Case {
        int mode;
        PickerColor color;
        PickerComponents expected;
    };
    // 0x332211: red 0x11, green 0x22, blue 0x33. 0x00FF80: hue 89.88, saturation 1, value 1.
    const Case cases[] = {
        {0, 0x332211, {.z = 0x11, .x = 0x33, .y = 0x22}},
        {1, 0x332211, {.z = 0x22, .x = 0x33, .y = 0x11}},
        {2, 0x332211, {.z = 0x33, .x = 0x11, .y = 0x22}},
        {3, 0x0000FF, {.z = 0, .x = 1000, .y = 1000}},
        {3, 0x00FF80, {.z = 899, .x = 1000, .y = 1000}},
        {3, 0x7F7F7F, {.z = 0, .x = 0, .y = 499}},  // 1000 * 127 / 255 = 498.04, rounded up
        {4, 0x00FF80, {.z = 1000, .x = 899, .y = 1000}},
        {5, 0x7F7F7F, {.z = 499, .x = 0, .y = 0}},
        {9, 0x332211, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComponentsOfColor(c.mode, c.color), c.expected) << "mode " << c.mode << " colour " << std::hex << c.color;
    }
}

TEST(ColorOfComponents, GivesTheColourOfTheFieldsPoint) {
    struct Case {
        int mode;
        PickerComponents components;
        int xMaximum;
        int yMaximum;
        PickerColor expected;
    };
    const Case cases[] = {
        {0, {.z = 0x11, .x = 0x33, .y = 0x22}, 255, 255, 0x332211},
        {1, {.z = 0x22, .x = 0x33, .y = 0x11}, 255, 255, 0x332211},
        {2, {.z = 0x33, .x = 0x11, .y = 0x22}, 255, 255, 0x332211},
        {0, {.z = 300, .x = -4, .y = 0x22}, 255, 255, 0x0022FF},   // bytes clamped
        {3, {.z = 0, .x = 0, .y = 500}, 1000, 1000, 0x7F7F7F},     // grey of value 0.5
        {3, {.z = 1200, .x = 1000, .y = 1000}, 1000, 1000, 0x00FF00},
        {3, {.z = 2400, .x = 500, .y = 500}, 1000, 500, 0xFF7F7F},  // y / y maximum = 1
        {4, {.z = 1000, .x = 2400, .y = 1000}, 3599, 1000, 0xFF0000},
        {5, {.z = 1000, .x = 1200, .y = 1000}, 3599, 1000, 0x00FF00},
        {3, {.z = 0, .x = 1001, .y = 1000}, 1000, 1000, 0},  // beyond the maximum: black
        {3, {.z = 0, .x = 5, .y = 5}, 0, 0, 0},              // no maxima: black, not a division by zero
        {7, {.z = 1, .x = 1, .y = 1}, 255, 255, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorOfComponents(c.mode, c.components, c.xMaximum, c.yMaximum), c.expected)
            << "mode " << c.mode << " z " << c.components.z << " x " << c.components.x << " y " << c.components.y;
    }
}

}  // namespace
}  // namespace colorpicker
