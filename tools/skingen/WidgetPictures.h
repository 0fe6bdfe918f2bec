// The pictures that are not page pictures: the LED tint template and the slider thumbs.
#pragma once

#include "Description.h"
#include "Scaler.h"

#include <QImage>

namespace skingen {

// LEDCpas.bmp: a square as wide as the LED buttons. Its red byte is the light's intensity (0 leaves
// the button's own picture, 255 shows the full colour): a bright lens with a soft glow around it, so
// the tinted colour reads as light. Stored with alpha = intensity and grey levels, as the tinting
// expects a premultiplied swatch.
QImage RenderTintTemplate(int side, int pixelRatio);

// A round slider thumb as wide as ThumbWidth and as high as the slider, transparent around it, with
// a soft shadow; `hover` adds an accent ring.
QImage RenderThumb(const Theme& theme, const Scaler& scaler, int sliderHeight, bool hover, int pixelRatio);

}  // namespace skingen
