// Tinting a colour swatch: the template is a grey-level mask whose red byte is the coverage f of each
// pixel; the tinted swatch is that mask filled with one colour, as premultiplied alpha.
#pragma once

#include <QImage>

namespace skin {

// For every template pixel whose red byte f is not 0: blue = f * blue / 255, green = f * green / 255,
// red = f * red / 255, alpha = f (integer division). Pixels whose red byte is 0 keep their bytes. The
// result is Format_ARGB32_Premultiplied holding those bytes as they are; a null template gives a null
// picture.
QImage TintSwatch(const QImage& swatchTemplate, int red, int green, int blue);

}  // namespace skin
