// The arithmetic of the table generator: PWM reload values from frequencies, and the LED convert
// table on its exponential brightness curve.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace config {

inline constexpr double kPwmClockHz = 48000000.0;

struct PwmReload {
    enum class Outcome { Ok, PrescalerOverflow, ReloadOutOfRange };
    Outcome outcome = Outcome::Ok;
    std::uint8_t prescaler = 0;
    std::int64_t reload = 0;
};

// L = trunc(48 MHz / F), reload = L - 1, prescaler 0; while the reload exceeds 0xFFFF the prescaler
// grows and reload = L / (prescaler + 1) - 1. Beyond prescaler 255: PrescalerOverflow. A reload above
// 0xFFFF or below 2 (F of 0 or less, or above 16 MHz): ReloadOutOfRange.
PwmReload ComputePwmReload(std::int64_t frequencyHz);

struct ConvertTable {
    std::array<std::uint8_t, 256> bytes{};  // byte 0 the shift, bytes 1-255 the scaled levels 1-255
    int shift = 0;                          // the shift used (raised by auto-shift)
};

// level(i) = round((R^(i/255) - 1) * curve + initial) with R = (top - initial) / curve + 1, so
// level(0) = initial and level(255) = top. R = 0 (top = initial - curve) gives level(0) = initial and
// top for every later level. When the curve is 0 or R is negative the curve has no real value and the
// levels run in a straight line from initial to top instead.
double CurveLevel(int index, double top, double initial, double curve);

// Each level is scaled down by 2^shift and rounded to the nearest integer, clamped to 0-255. With
// autoShift the shift is raised by one until the largest scaled level fits in a byte (at most to 31).
ConvertTable ComputeConvertTable(double top, double initial, double curve, int shift, bool autoShift);

// Number fields: decimal, or hexadecimal with the form "0x%x" when the text contains "0x". Text that is
// not a number reads as 0.
std::int64_t ParseNumberField(std::string_view text);
// The duty field ("%f"); 0 when it is not a number.
double ParseRealField(std::string_view text);

}  // namespace config
