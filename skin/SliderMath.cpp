#include "SliderMath.h"

#include <climits>
#include <cmath>

namespace skin {

namespace {

// Added to a value before it is truncated, so that it is rounded to the nearest whole step.
constexpr double kRounding = 0.5;

// Truncates toward zero like a plain conversion, but without undefined behaviour outside int.
int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

// Pixels per value step, or 0 when the range has no steps. In floating point, so that ranges wider
// than the track work too, and computed in double so that extreme ranges do not overflow.
double PixelsPerStep(const SliderScale& scale) {
    const double steps = static_cast<double>(scale.maximum) - scale.minimum;
    if (steps <= 0) return 0;
    return (static_cast<double>(scale.width) - scale.thumbWidth) / steps;
}

}  // namespace

int SliderValueAt(const SliderScale& scale, int x) {
    const long long travel = static_cast<long long>(scale.width) - scale.thumbWidth;
    const long long distance = static_cast<long long>(x) - scale.thumbWidth / 2;
    if (distance > travel) return scale.maximum;
    if (distance < scale.thumbWidth / 2) return scale.minimum;
    const double step = PixelsPerStep(scale);
    if (step <= 0) return scale.minimum;
    const long long steps = TruncateToInt(static_cast<double>(distance) / step + kRounding);
    const long long value = static_cast<long long>(scale.minimum) + steps;
    return value < scale.maximum ? static_cast<int>(value) : scale.maximum;
}

int SliderThumbLeft(const SliderScale& scale, int position) {
    return TruncateToInt(PixelsPerStep(scale) * (static_cast<double>(position) - scale.minimum));
}

int SliderFillWidth(const SliderScale& scale, int position) {
    // Multiplied before dividing (unlike the thumb's edge), so a position on a whole pixel gives
    // exactly that pixel.
    const double steps = static_cast<double>(scale.maximum) - scale.minimum;
    const double beforeThumb =
        steps <= 0 ? 0 : (static_cast<double>(position) - scale.minimum) * (static_cast<double>(scale.width) - scale.thumbWidth) / steps;
    return TruncateToInt(TruncateToInt(beforeThumb) + static_cast<double>(scale.thumbWidth / 2));
}

}  // namespace skin
