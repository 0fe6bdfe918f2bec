#include "PickerGeometry.h"

#include <gtest/gtest.h>

namespace colorpicker {
namespace {

TEST(ComponentAtOffset, RoundsUpAndStopsAtTheEnds) {
    struct Case {
        int offset;
        int span;
        int maximum;
        int expected;
    };
    const Case cases[] = {
        {0, 200, 1000, 0},     {1, 200, 1000, 5},   {100, 200, 1000, 500}, {200, 200, 1000, 1000},
        {1, 3, 1000, 334},     // 333.3 rounded up
        {2, 3, 1000, 667},     {-40, 200, 1000, 0}, {900, 200, 1000, 1000},  // outside: the edge
        {5, 0, 1000, 0},       // no span
        {150, 201, 3599, 2686},  // 2685.82 rounded up
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComponentAtOffset(c.offset, c.span, c.maximum), c.expected)
            << c.offset << " of " << c.span << " to " << c.maximum;
    }
}

TEST(BarValueAt, RoundsToNearestWithinTheGradient) {
    struct Case {
        int position;
        int start;
        int end;
        int minimum;
        int maximum;
        int expected;
    };
    const Case cases[] = {
        {2, 2, 203, 0, 3599, 0},
        {203, 2, 203, 0, 3599, 3599},
        {900, 2, 203, 0, 3599, 3599},   // beyond the end
        {-5, 2, 203, 0, 3599, 0},       // before the start
        {102, 2, 203, 0, 3599, 1791},   // 100 / 201 * 3599 = 1790.55, + 0.5
        {1, 0, 4, 0, 10, 3},            // 2.5 + 0.5 = 3
        {1, 0, 4, 10, 0, 7},            // maximum below minimum: 10 + int(-2.5 - 0.5) = 7
        {3, 0, 4, 10, 0, 2},            // 10 + int(-7.5 - 0.5) = 2
        {7, 5, 5, 4, 9, 4},             // empty gradient: the minimum
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BarValueAt(c.position, c.start, c.end, c.minimum, c.maximum), c.expected)
            << c.position << " on " << c.start << ".." << c.end << " for " << c.minimum << ".." << c.maximum;
    }
}

TEST(MarkerOffset, IsTheValuesShareOfTheLength) {
    EXPECT_EQ(MarkerOffset(0, 0, 3599, 201), 0);
    EXPECT_EQ(MarkerOffset(3599, 0, 3599, 201), 201);
    EXPECT_EQ(MarkerOffset(1800, 0, 3599, 201), 100);  // 100.53 truncated
    EXPECT_EQ(MarkerOffset(500, 0, 1000, 200), 100);
    EXPECT_EQ(MarkerOffset(5, 5, 5, 200), 0);  // empty range
}

}  // namespace
}  // namespace colorpicker
