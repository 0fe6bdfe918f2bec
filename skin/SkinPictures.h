// Pictures of skinned pages: loading a picture file, cutting a widget's rectangle out of a page picture,
// and the image set a page hands to the widget factory.
#pragma once

#include "DeferredPicture.h"
#include "SkinRecord.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>

class QWidget;

namespace skin {

// The four full-page state pictures of a page and its layout origin, added to every record's
// rectangle before use. A widget cuts its look for each state out of these at its own rectangle.
// The pointers refer to pictures the page owns; a null or empty picture leaves that state unset.
// A state may instead come as a picture decoded when a widget first shows it (DeferredPicture.h):
// where one of `deferred...` is set, it takes the place of that state's pointer.
struct SkinImageSet {
    const QImage* normal = nullptr;
    const QImage* over = nullptr;
    const QImage* down = nullptr;
    const QImage* disable = nullptr;
    QPoint origin;
    std::shared_ptr<DeferredPicture> deferredNormal;
    std::shared_ptr<DeferredPicture> deferredOver;
    std::shared_ptr<DeferredPicture> deferredDown;
    std::shared_ptr<DeferredPicture> deferredDisable;
    // Whether `normal` is kept as long as the widgets (a page's background): their normal looks then
    // share its pixels instead of copying them (CutOut::Share).
    bool shareNormal = false;

    // A set of four decoded pictures at the origin (0, 0).
    static SkinImageSet Of(const QImage* normal, const QImage* over, const QImage* down, const QImage* disable) {
        SkinImageSet set;
        set.normal = normal;
        set.over = over;
        set.down = down;
        set.disable = disable;
        return set;
    }
};

// Gives `look` its normal rectangle of `pictures`: from the deferred normal picture when there is one,
// else shared with the normal picture where the set allows it (shareNormal), else cut from it.
void CutNormalLook(CutOut& look, const SkinImageSet& pictures, const QRect& rect);

// A record's rectangle as a QRect: the corner clamped to +-2^24, the width and height to 0 .. 2^24 - 1
// (a negative width or height gives an empty rectangle), so no record can make later arithmetic on a
// widget's geometry overflow.
QRect ToQRect(const SkinRect& rect);

// The pictures of a page live in "<program folder>Skins/<image folder>/"; the folder name is either a
// resolution ("1920x1080/") or a fixed name ("PopDlg/"), with or without its trailing separator.
QString PageImageFolder(const QString& imageFolderName);

// Pictures for dense screens. Every picture may have a twin at twice the pixel density, named with
// "@2x" before the extension ("Main_Normal@2x.jpg"). Loaded for a window whose device pixel ratio is
// above 1, the twin is marked with device pixel ratio 2: it keeps the 1x picture's logical size, so
// rectangles, masks and sizes taken from pictures stay in logical pixels while every device pixel is
// drawn from a picture pixel of its own.

// The name of a picture's twice-density twin: "@2x" before the extension (at the end without one).
QString DoubleDensityPath(const QString& path);
// The device pixel ratio to load pictures for: the widget's (its window's, or its screen's before it
// has one); the application's without a widget.
qreal PictureRatio(const QWidget* widget);
// The picture's size in logical pixels: its pixel size divided by its device pixel ratio.
QSize LogicalSize(const QImage& picture);
// A rectangle in logical pixels as the rectangle of the picture's own pixels it covers.
QRect PicturePixels(const QImage& picture, const QRect& logical);

// The largest picture a skin may hold, in pixels of the picture itself (a twice-density twin counts its
// own pixels): no side above 8192 and at most 4096 x 4096 pixels in all, room for a 3840 x 2160 page at
// twice the density. A file can need at most kLargestPictureFileBytes for such a picture (an
// uncompressed 32-bit picture with its headers, or the same stored without compression in PNG).
constexpr int kLargestPictureSide = 8192;
constexpr long long kLargestPicturePixels = 4096LL * 4096LL;
constexpr unsigned long long kLargestPictureFileBytes =
    kLargestPicturePixels * 4 + kLargestPicturePixels * 4 / 64 + (1U << 16);
bool IsAllowedPictureSize(const QSize& size);

// The size the picture file at `path` declares in its header, read from its first bytes only (invalid
// when the file is refused, is not a picture or its header lies further in): the logical size that
// LoadPictureFile gives when the file decodes.
QSize PictureHeaderSize(const QString& path);

// Reads the whole file and decodes it (BMP, JPEG, GIF, PNG). On success `picture` gets the decoded
// picture in a 32-bit format and `size` (when given) its logical width and height; returns 0. A file
// that cannot be opened returns its system error code; a file that cannot be decoded returns EINVAL. In
// both cases `picture` is left as it was. Only a regular file is read (a FIFO, a device or a directory
// returns EINVAL or EISDIR at once; a path starting with ':' names a picture compiled into the program,
// a Qt resource), and never more than kLargestPictureFileBytes of it: a larger file,
// or one whose header declares a picture beyond the largest allowed, returns EFBIG unread or undecoded.
// With `ratio` above 1 the "@2x" twin is taken instead, with device pixel ratio 2, when it decodes and
// is exactly twice the size of the 1x picture (of which only the header, where the size stands, is then
// read); otherwise (no twin, a twin that does not fit) the 1x picture is loaded as at ratio 1. Masks are loaded at ratio 1: a window's outline is in logical pixels.
int LoadPictureFile(const QString& path, QImage& picture, QSize* size = nullptr, qreal ratio = 1.0);

// Loads the picture as LoadPictureFile does, but of a JPEG picture (or twin) leaves the rows of `hidden`
// (logical rows; a page that covers them draws its own picture there) undecoded: `skipped` gets the rows
// left so, across the picture's width, whose pixels are then undefined; the caller drops or replaces
// them (CBaseDlg::DropBackgroundUnder). Any other picture, or one that cannot be decoded so, is loaded
// whole by LoadPictureFile, with `skipped` empty.
int LoadPictureAround(const QString& path, const QRect& hidden, QImage& picture, QSize* size, qreal ratio,
                      QRect& skipped);

// Loads a window outline's mask picture at ratio 1 as LoadPictureFile does, with the same checks and
// outcomes, but in the form it is stored in: a two-colour mask stays one bit per pixel, which
// RegionFromMask reads where it lies, instead of being widened to 32 bits first.
int LoadMaskPictureFile(const QString& path, QImage& mask);

// When `source` holds a picture, replaces `target` by a 32-bit picture of the rectangle's size holding
// the rectangle's pixels copied 1:1 (parts outside the source stay transparent black). The rectangle
// is in logical pixels; the cut-out has the source's device pixel ratio and all of its pixels under the
// rectangle. A null source leaves `target` untouched.
void CutPicture(QImage& target, const QImage* source, const QRect& rect);
// CutPicture from `part`, the pixels at `partOrigin` of a page picture of `pageSize` pixels: the same
// cut-out as from the whole page picture.
void CutPicturePart(QImage& target, const QImage& part, const QPoint& partOrigin, const QSize& pageSize,
                    const QRect& rect);

// Loads only the part `clip` of a picture file at its own density (as LoadPictureFile at ratio 1, with
// the same checks): `picture` gets the part that lies inside the picture, `part` where it lies and
// `pageSize` the whole picture's size. Of a JPEG picture only the part's rows, in the block columns
// around it, are turned into pixels, and reading stops after its last row (JpegPicture.h), so cutting a
// few looks out of a page picture neither decodes nor holds the whole page.
int LoadPicturePart(const QString& path, const QRect& clip, QImage& picture, QRect& part, QSize& pageSize);

}  // namespace skin
