// Where the mouse and the markers sit: the mapping between pixel positions and component values.
#pragma once

namespace colorpicker {

// The component at `offset` pixels into a span of `span` pixels that stands for 0..maximum:
// ceil(offset * maximum / span). The offset is clamped into 0..span first, so a point beyond either
// end gives that end's value; an empty span gives 0.
int ComponentAtOffset(int offset, int span, int maximum);

// The bar's value at `position` on a gradient from `start` to `end` (the position clamped in between):
// minimum + integer part of (share * (maximum - minimum) + 0.5), with - 0.5 where the maximum is below
// the minimum. An empty gradient gives the minimum.
int BarValueAt(int position, int start, int end, int minimum, int maximum);

// The marker's offset along `length` pixels for `value` between `minimum` and `maximum`:
// (value - minimum) * length / (maximum - minimum), truncated. An empty range gives 0.
int MarkerOffset(int value, int minimum, int maximum, int length);

}  // namespace colorpicker
