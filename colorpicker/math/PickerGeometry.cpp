#include "PickerGeometry.h"

#include <algorithm>
#include <cstdint>

namespace colorpicker {

int ComponentAtOffset(int offset, int span, int maximum) {
    if (span <= 0) {
        return 0;
    }
    const std::int64_t clamped = std::clamp(offset, 0, span);
    const std::int64_t scaled = clamped * maximum;
    // The ceiling of scaled / span in integers, so no floating-point noise adds a step.
    const std::int64_t quotient = scaled / span;
    return static_cast<int>(scaled % span > 0 ? quotient + 1 : quotient);
}

int BarValueAt(int position, int start, int end, int minimum, int maximum) {
    if (end == start) {
        return minimum;
    }
    const int low = std::min(start, end);
    const int high = std::max(start, end);
    const double share = static_cast<double>(std::clamp(position, low, high) - start) / (end - start);
    const double rounding = maximum < minimum ? -0.5 : 0.5;
    return minimum + static_cast<int>(share * (maximum - minimum) + rounding);
}

int MarkerOffset(int value, int minimum, int maximum, int length) {
    if (maximum == minimum) {
        return 0;
    }
    return static_cast<int>(static_cast<std::int64_t>(value - minimum) * length / (maximum - minimum));
}

}  // namespace colorpicker
