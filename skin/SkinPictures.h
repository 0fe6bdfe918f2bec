// Pictures of skinned pages: loading a picture file, cutting a widget's rectangle out of a page picture,
// and the image set a page hands to the widget factory.
#pragma once

#include "SkinRecord.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace skin {

// The four full-page state pictures of a page and its layout origin, added to every record's
// rectangle before use. A widget cuts its look for each state out of these at its own rectangle.
// The pointers refer to pictures the page owns; a null or empty picture leaves that state unset.
struct SkinImageSet {
    const QImage* normal = nullptr;
    const QImage* over = nullptr;
    const QImage* down = nullptr;
    const QImage* disable = nullptr;
    QPoint origin;
};

// A record's rectangle as a QRect: the corner clamped to +-2^24, the width and height to 0 .. 2^24 - 1
// (a negative width or height gives an empty rectangle), so no record can make later arithmetic on a
// widget's geometry overflow.
QRect ToQRect(const SkinRect& rect);

// The pictures of a page live in "<program folder>Skins/<image folder>/"; the folder name is either a
// resolution ("1920x1080/") or a fixed name ("PopDlg/"), with or without its trailing separator.
QString PageImageFolder(const QString& imageFolderName);

// Reads the whole file and decodes it (BMP, JPEG, GIF, PNG). On success `picture` gets the decoded
// picture in a 32-bit format and `size` (when given) its width and height; returns 0. A file that
// cannot be opened returns its system error code; a file that cannot be decoded returns EINVAL. In
// both cases `picture` is left as it was. Pictures larger than the decoder's allocation limit are
// refused before any allocation of that size.
int LoadPictureFile(const QString& path, QImage& picture, QSize* size = nullptr);

// When `source` holds a picture, replaces `target` by a 32-bit picture of the rectangle's size holding
// the rectangle's pixels copied 1:1 (parts outside the source stay transparent black). A null source
// leaves `target` untouched.
void CutPicture(QImage& target, const QImage* source, const QRect& rect);

}  // namespace skin
