#include "SliderMath.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// The LED page's colour sliders: a 200-pixel track, a 20-pixel thumb, the range 0..255.
constexpr skin::SliderScale kColourSlider{200, 20, 0, 255};

TEST(SliderMath, ValueUnderTheMouse) {
    struct Case {
        skin::SliderScale scale;
        int x;
        int value;
    };
    const Case cases[] = {
        {kColourSlider, 5, 0},       // before the track's start
        {kColourSlider, 19, 0},      // d = 9: still within the first half thumb of the track
        {kColourSlider, 20, 14},     // d = 10: 10 / (180 / 255) = 14.2
        {kColourSlider, 110, 142},   // d = 100: 141.7, rounded
        {kColourSlider, 190, 255},   // d = 180: the track's end
        {kColourSlider, 195, 255},   // beyond it
        {kColourSlider, -500, 0},
        {kColourSlider, INT_MAX, 255},
        {kColourSlider, INT_MIN, 0},
        {{200, 20, 45, 600}, 110, 353},  // a frequency slider: 45 + 100 / (180 / 555) = 45 + 308.3
        {{200, 20, 0, 4}, 60, 1},        // speed: 50 / 45 = 1.1
        {{200, 20, 0, 4}, 78, 2},        // 68 / 45 = 1.51, rounded up
        {{200, 0, 0, 10}, 0, 0},         // no thumb picture
        {{200, 0, 0, 10}, 200, 10},
        // A range without steps is read as its minimum rather than divided by zero.
        {{200, 20, 7, 7}, 110, 7},
        {{10, 20, 0, 10}, 5, 10},        // a slider narrower than its thumb: d = -5 > -10
    };
    for (const auto& c : cases) {
        EXPECT_EQ(skin::SliderValueAt(c.scale, c.x), c.value)
            << "x " << c.x << " range " << c.scale.minimum << ".." << c.scale.maximum;
    }
}

TEST(SliderMath, ThumbEdgeAndFillFollowThePosition) {
    struct Case {
        skin::SliderScale scale;
        int position;
        int thumbLeft;
        int fillWidth;
    };
    const Case cases[] = {
        {kColourSlider, 128, 90, 100},  // 90.35 truncated; the fill reaches the thumb's centre
        {kColourSlider, 0, 0, 10},
        {kColourSlider, 255, 180, 190},
        {{200, 20, 45, 600}, 45, 0, 10},
        {{200, 20, 45, 600}, 600, 180, 190},
        {{200, 20, 0, 4}, 3, 135, 145},
        // A position outside the range saturates instead of overflowing.
        {{200, 20, 0, 1}, INT_MAX, INT_MAX, INT_MAX},
        {{200, 20, 0, 1}, INT_MIN, INT_MIN, INT_MIN + 10},
        {{200, 20, 7, 7}, 7, 0, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(skin::SliderThumbLeft(c.scale, c.position), c.thumbLeft) << "position " << c.position;
        EXPECT_EQ(skin::SliderFillWidth(c.scale, c.position), c.fillWidth) << "position " << c.position;
    }
}

}  // namespace
