// Small drawing routines the picker's windows share: bevelled frames and marker triangles. Frames take
// rectangles with right and bottom exclusive, the way the windows lay themselves out.
#pragma once

#include <QColor>

class QPainter;
class QPalette;
class QRect;

namespace colorpicker {

class GTDrawHelper {
public:
    // Frame flags.
    static constexpr int kSunken = 2;      // shadow on the left and top, highlight on the right and bottom
    static constexpr int kInnerBlack = 4;  // a black rectangle just inside the bevel

    enum class Direction { Up, UpRight, Right, DownRight, Down, DownLeft, Left, UpLeft };

    // A one-pixel bevel in the palette's shadow and highlight colours (raised without kSunken).
    static void DrawFrame(QPainter& painter, const QPalette& palette, int left, int top, int right, int bottom,
                          int flags);
    static void DrawFrame(QPainter& painter, const QPalette& palette, const QRect& rect, int flags);

    // A filled triangle whose tip is at (x, y), pointing in `direction`, whose legs are size - 1 pixels.
    static void DrawTriangle(QPainter& painter, int x, int y, Direction direction, int size, const QColor& outline,
                             const QColor& fill);
};

}  // namespace colorpicker
