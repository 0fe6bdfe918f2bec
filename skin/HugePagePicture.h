// Large decoded pictures in a mapping of their own whose whole 2 MB pages are backed by huge pages:
// filling a page picture then costs a few page faults instead of one for every 4 KB.
#pragma once

#include <QImage>
#include <QSize>

namespace skin {

// The size of a huge page: the part of a picture's mapping aligned to it is advised for huge pages.
constexpr qsizetype kHugePageBytes = qsizetype{2} << 20;

// An uninitialised picture of `size` in `format` (a 32-bit format). One whose pixels fill at least a
// huge page lies in a mapping of its own that starts on a huge page boundary; its whole huge pages are
// advised for huge pages, the rest stays in small pages, so the picture takes no more memory than its
// pixels. The mapping is unmapped as soon as the last copy of the picture is gone. A smaller picture, or
// one the system cannot map, is an ordinary QImage. Null when `size` is empty or memory runs out.
QImage NewPictureOnHugePages(const QSize& size, QImage::Format format);

}  // namespace skin
