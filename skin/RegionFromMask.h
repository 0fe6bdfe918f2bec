// The outline of a skinned window from its mask picture.
#pragma once

#include <QImage>
#include <QRegion>

#include <optional>

namespace skin {

// The mask is white (red, green and blue all 255; alpha ignored) where the window is cut away. The
// region is the union of every maximal run of non-white pixels of each row, as rectangles one pixel
// high. Returns nothing for a null picture, and for a mask without any non-white pixel (such a
// region would make the window vanish).
std::optional<QRegion> RegionFromMask(const QImage& mask);

}  // namespace skin
