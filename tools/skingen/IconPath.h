// Icons are line drawings written as path text on a 24x24 grid, so they are rendered crisp at any
// size: "M x y" move, "L x y" line, "C x1 y1 x2 y2 x y" cubic curve, "Z" close, "O cx cy r" circle.
#pragma once

#include <QPainterPath>
#include <QString>

namespace skingen {

QPainterPath ParseIconPath(const QString& text);

}  // namespace skingen
