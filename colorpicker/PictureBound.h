// How large a picture a picker window may paint from. The field and the bar render their gradients into
// pictures of their own; their size comes from a skin record, which can be any size, while the page they
// sit on is only as large as its page picture.
#pragma once

#include <QSize>

class QWidget;

namespace colorpicker {

// `wanted` (negative sides as 0) with no side above `largestSide` and none above the page's side: the
// page is the window's parent (its own size when it has none), so a record larger than the page picture
// costs no more than the page.
QSize BoundedPictureSize(const QWidget& window, QSize wanted, int largestSide);

}  // namespace colorpicker
