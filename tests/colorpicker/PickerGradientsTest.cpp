#include "PickerGradients.h"

#include <gtest/gtest.h>

#include <vector>

namespace colorpicker {
namespace {

TEST(GradientThroughStops, StartsAndEndsOnTheStopsAndRunsLinearly) {
    const std::vector<PickerColor> run = GradientThroughStops({0x000000, 0xFF6400}, 5);
    // Green 0 to 100 and blue 0 to 255 in quarters, rounded to nearest.
    const std::vector<PickerColor> expected = {0x000000, 0x401900, 0x803200, 0xBF4B00, 0xFF6400};
    EXPECT_EQ(run, expected);
}

TEST(GradientThroughStops, PassesThroughEveryStopAtEqualSpacing) {
    const std::vector<PickerColor> stops = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x0000FF};
    const std::vector<PickerColor> run = GradientThroughStops(stops, 61);
    for (std::size_t stop = 0; stop < stops.size(); ++stop) {
        EXPECT_EQ(run[stop * 10], stops[stop]) << "stop " << stop;
    }
    EXPECT_EQ(run[5], 0x0080FFu);  // halfway from red to yellow
}

TEST(GradientThroughStops, DegenerateRuns) {
    EXPECT_TRUE(GradientThroughStops({}, 10).empty());
    EXPECT_TRUE(GradientThroughStops({0x123456, 0x654321}, 0).empty());
    EXPECT_EQ(GradientThroughStops({0x123456, 0x654321}, 1), std::vector<PickerColor>{0x123456});
    EXPECT_EQ(GradientThroughStops({0x123456}, 3), std::vector<PickerColor>(3, 0x123456));
}

TEST(FieldRowStops, RunFromTheGreyOfTheRowToItsFullHue) {
    // Mode 3, hue 240: value 0.5 gives grey 0x7F7F7F to blue 0x7F0000.
    EXPECT_EQ(FieldRowStops(3, 2400, 500, 1000, 1000), (std::vector<PickerColor>{0x7F7F7F, 0x7F0000}));
    // Mode 0, red 0x11 and green 0x22: blue runs 0 to 255.
    EXPECT_EQ(FieldRowStops(0, 0x11, 0x22, 255, 255), (std::vector<PickerColor>{0x002211, 0xFF2211}));
    // Mode 5 at full value and saturation: the six-segment spectrum.
    EXPECT_EQ(FieldRowStops(5, 1000, 1000, 3599, 1000),
              (std::vector<PickerColor>{0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x0000FF}));
}

TEST(BarGradientStops, SweepTheBarsComponentAtTheFixedOnes) {
    // Mode 3 at 999 / 999: the spectrum at nearly full saturation and value.
    EXPECT_EQ(BarGradientStops(3, 999, 999),
              (std::vector<PickerColor>{0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x0000FF}));
    // Mode 1: green sweeps with red = first (the field's y) and blue = second (its x).
    EXPECT_EQ(BarGradientStops(1, 0x11, 0x33), (std::vector<PickerColor>{0x330011, 0x33FF11}));
    // Mode 4 at hue 120, value 1: white to green.
    EXPECT_EQ(BarGradientStops(4, 1200, 1000), (std::vector<PickerColor>{0xFFFFFF, 0x00FF00}));
    EXPECT_TRUE(BarGradientStops(6, 0, 0).empty());
}

}  // namespace
}  // namespace colorpicker
