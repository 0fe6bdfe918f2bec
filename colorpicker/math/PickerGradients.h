// The colour runs that the field paints along each row of its plane and the bar along its length.
// A run is given by its stop colours (two for a straight sweep, seven for a hue spectrum) and
// interpolated linearly between neighbouring stops.
#pragma once

#include "PickerColor.h"
#include "PickerModes.h"

#include <vector>

namespace colorpicker {

// The stops of the field's row at `y` for the bar component `z`, from x = 0 to x = xMaximum. Where x
// is a hue (modes 4 and 5) the row is the six-segment spectrum.
std::vector<PickerColor> FieldRowStops(int mode, int z, int y, int xMaximum, int yMaximum);

// The stops of the bar from its component at 0 to its maximum. `first` and `second` are the bar's two
// fixed components: in modes 0 to 2 the field's y and x; in mode 3 saturation and value, in mode 4
// hue and value, in mode 5 hue and saturation (hue in tenths of a degree, the others in thousandths).
// Mode 3 is the spectrum red, yellow, green, cyan, blue, magenta, red. Empty for an unknown mode.
std::vector<PickerColor> BarGradientStops(int mode, int first, int second);

// `length` colours running through `stops` at equal spacing, the first pixel the first stop and the
// last pixel the last stop, in fixed point with 20 fractional bits. Empty when there is nothing to
// run through or no length.
std::vector<PickerColor> GradientThroughStops(const std::vector<PickerColor>& stops, int length);

}  // namespace colorpicker
