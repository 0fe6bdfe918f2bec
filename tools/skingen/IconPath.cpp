#include "IconPath.h"

#include <QStringList>

namespace skingen {

QPainterPath ParseIconPath(const QString& text) {
    const QStringList tokens = text.split(' ', Qt::SkipEmptyParts);
    QPainterPath path;
    qsizetype i = 0;
    auto number = [&]() { return i < tokens.size() ? tokens[i++].toDouble() : 0.0; };
    while (i < tokens.size()) {
        const QString command = tokens[i++];
        if (command == "M") {
            const double x = number();
            path.moveTo(x, number());
        } else if (command == "L") {
            const double x = number();
            path.lineTo(x, number());
        } else if (command == "C") {
            const double x1 = number(), y1 = number(), x2 = number(), y2 = number(), x = number();
            path.cubicTo(x1, y1, x2, y2, x, number());
        } else if (command == "Z") {
            path.closeSubpath();
        } else if (command == "O") {
            const double cx = number(), cy = number(), r = number();
            path.addEllipse(QPointF(cx, cy), r, r);
        }
    }
    return path;
}

}  // namespace skingen
