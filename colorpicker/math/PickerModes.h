// The picker's modes: which colour component the bar shows (z) and which two the field shows
// (x left to right, y bottom to top), with their integer ranges.
//
//   mode  z           x           y           ranges z / x / y
//   0     red         blue        green       255 / 255 / 255
//   1     green       blue        red         255 / 255 / 255
//   2     blue        red         green       255 / 255 / 255
//   3     hue         saturation  value       3599 / 1000 / 1000
//   4     saturation  hue         value       1000 / 3599 / 1000
//   5     value       hue         saturation  1000 / 3599 / 1000
//
// Hue is kept in tenths of a degree, saturation and value in thousandths.
#pragma once

#include "PickerColor.h"

namespace colorpicker {

constexpr int kHueSaturationValueMode = 3;  // the mode of the LED page
constexpr int kPickerModeCount = 6;

struct PickerComponents {
    int z = 0;
    int x = 0;
    int y = 0;
    bool operator==(const PickerComponents&) const = default;
};

bool IsPickerMode(int mode);

// The largest value of each component in `mode` (all 0 for an unknown mode).
PickerComponents ComponentMaxima(int mode);

// The components of `color` in `mode`: the bytes themselves in modes 0 to 2, in modes 3 to 5
// ceil(10 * hue), ceil(1000 * saturation) and ceil(1000 * value). An unknown mode gives all 0.
PickerComponents ComponentsOfColor(int mode, PickerColor color);

// The colour at the field's point `components`, where the field's x and y run to `xMaximum` and
// `yMaximum`. Modes 0 to 2 clamp each component to a byte; modes 3 to 5 give black for components out
// of range, as does an unknown mode.
PickerColor ColorOfComponents(int mode, PickerComponents components, int xMaximum, int yMaximum);

// The bar's range from 0 and its keyboard steps in `mode`.
struct BarScale {
    int maximum = 0;
    int smallStep = 0;
    int pageStep = 0;
};
BarScale BarScaleOfMode(int mode);

}  // namespace colorpicker
