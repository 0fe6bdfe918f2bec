// Conversion between RGB colours and hue, saturation and value.
#pragma once

#include "PickerColor.h"

namespace colorpicker {

struct Hsv {
    double hueDegrees = 0;  // 0 up to (not including) 360
    double saturation = 0;  // 0..1
    double value = 0;       // 0..1
};

// Hue in degrees 0..360 (360 counts as 0), saturation and value in 0..1. Any input out of its range
// (or not a number) gives black. Each channel is ceil(255 * channel - 0.5).
PickerColor HsvToRgb(double hueDegrees, double saturation, double value);

// Value is the brightest channel, saturation (max - min) / max, and the hue 0 for greys.
Hsv RgbToHsv(PickerColor color);

}  // namespace colorpicker
