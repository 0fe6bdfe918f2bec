// The arithmetic of the image slider: which value a mouse position means, where the thumb sits for a
// position, and how far the filled part of the track reaches. No window system, so the rules can be
// checked on their own.
//
// All positions are in the slider's own coordinates (0 = its left edge). The usable track is the
// slider's width less one thumb width: the thumb's left edge runs from 0 to width - thumb width.
#pragma once

namespace skin {

struct SliderScale {
    int width = 0;       // the slider's width in pixels
    int thumbWidth = 0;  // the thumb picture's width (0 when it did not load)
    int minimum = 0;
    int maximum = 10;
};

// The value under the mouse at `x`. The first thumb width (half a thumb before the track and half a
// thumb of it) gives the minimum, beyond the track's end the maximum; between them the distance is
// rounded to the nearest step. A range without steps (maximum <= minimum) gives the minimum.
int SliderValueAt(const SliderScale& scale, int x);

// The thumb's left edge for `position`, truncated toward zero. Positions outside the range give
// edges outside the track; the result saturates at the limits of int.
int SliderThumbLeft(const SliderScale& scale, int position);

// The width of the filled part of the track for `position`: up to the thumb's centre.
int SliderFillWidth(const SliderScale& scale, int position);

}  // namespace skin
