// Writing pictures: page pictures as JPEG, masks and the tint template as BMP, thumbs as PNG with
// alpha (by the file name's extension), each at 1x and, rendered again from the vectors, at 2x under
// the same name with "@2x" before the extension.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

namespace skingen {

QString TwiceName(const QString& fileName);

// Renders with pixel ratio 1 and 2 and writes both files; false when a file cannot be written.
bool WritePicturePair(const QString& path, const std::function<QImage(int pixelRatio)>& render);

}  // namespace skingen
