#include "PictureBound.h"

#include <QWidget>

namespace colorpicker {

QSize BoundedPictureSize(const QWidget& window, QSize wanted, int largestSide) {
    const QWidget& page = window.parentWidget() != nullptr ? *window.parentWidget() : window;
    return wanted.expandedTo({0, 0}).boundedTo({largestSide, largestSide}).boundedTo(page.size().expandedTo({1, 1}));
}

}  // namespace colorpicker
