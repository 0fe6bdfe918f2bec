#include "TableMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace config {

PwmReload ComputePwmReload(std::int64_t frequencyHz) {
    PwmReload result;
    // No frequency, or a negative one, has no period: L = 0, which the range check refuses.
    const std::int64_t periods =
        frequencyHz > 0 ? static_cast<std::int64_t>(std::trunc(kPwmClockHz / static_cast<double>(frequencyHz))) : 0;
    result.reload = periods - 1;
    while (result.reload > 0xFFFF) {
        if (result.prescaler == 255) {
            result.outcome = PwmReload::Outcome::PrescalerOverflow;
            return result;
        }
        ++result.prescaler;
        result.reload = periods / (result.prescaler + 1) - 1;
    }
    if (result.reload < 2) {
        result.outcome = PwmReload::Outcome::ReloadOutOfRange;
    }
    return result;
}

double CurveLevel(int index, double top, double initial, double curve) {
    const double t = index / 255.0;
    const double ratio = curve != 0.0 ? (top - initial) / curve + 1.0 : 0.0;
    // A negative ratio has no real power, and no curve (or one so small the ratio is not finite) has no
    // ratio at all: the levels then run in a straight line. A ratio of exactly 0 is defined: 0^0 = 1
    // keeps level(0) at the initial value and 0^t = 0 puts every later level at initial - curve = top.
    if (curve == 0.0 || ratio < 0.0 || !std::isfinite(ratio)) {
        return std::round(initial + (top - initial) * t);
    }
    return std::round((std::pow(ratio, t) - 1.0) * curve + initial);
}

namespace {

// Levels stay far below 2^1000, so beyond this many places every level scales to 0 or past 255
// alike: the exponent is clamped there, which keeps its negation defined for any shift.
constexpr int kShiftLimit = 1100;

double ScaledLevel(double level, int shift) {
    return std::round(std::ldexp(level, -std::clamp(shift, -kShiftLimit, kShiftLimit)));
}

int ScaledByte(double level, int shift) { return static_cast<int>(std::clamp(ScaledLevel(level, shift), 0.0, 255.0)); }

}  // namespace

ConvertTable ComputeConvertTable(double top, double initial, double curve, int shift, bool autoShift) {
    constexpr int kLargestShift = 31;
    std::array<double, 256> levels{};
    double largest = 0.0;
    for (int i = 0; i < 256; ++i) {
        levels[static_cast<std::size_t>(i)] = CurveLevel(i, top, initial, curve);
        largest = std::max(largest, levels[static_cast<std::size_t>(i)]);
    }
    if (autoShift) {
        // A positive level cannot fit at any shift down to -kShiftLimit: the search starts there at the
        // lowest, rather than climbing one by one from a far lower shift.
        if (largest > 0.0) shift = std::max(shift, -kShiftLimit);
        while (shift < kLargestShift && ScaledLevel(largest, shift) > 255.0) ++shift;
    }
    ConvertTable table;
    table.shift = shift;
    table.bytes[0] = static_cast<std::uint8_t>(shift & 0xFF);
    for (std::size_t i = 1; i < table.bytes.size(); ++i) {
        table.bytes[i] = static_cast<std::uint8_t>(ScaledByte(levels[i], shift));
    }
    return table;
}

std::int64_t ParseNumberField(std::string_view text) {
    const std::string copy(text);
    const char* start = copy.c_str();
    char* end = nullptr;
    if (copy.find("0x") != std::string::npos) {
        // "0x%x": blanks, then exactly "0x", then hexadecimal digits.
        while (*start == ' ' || *start == '\t') ++start;
        if (start[0] != '0' || start[1] != 'x' || !std::isxdigit(static_cast<unsigned char>(start[2]))) return 0;
        return static_cast<std::int64_t>(std::strtoull(start + 2, &end, 16) & 0xFFFFFFFFu);
    }
    const long long value = std::strtoll(start, &end, 10);
    return end == start ? 0 : value;
}

double ParseRealField(std::string_view text) {
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() || !std::isfinite(value) ? 0.0 : value;
}

}  // namespace config
