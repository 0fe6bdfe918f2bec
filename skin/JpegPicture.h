// The skin's own JPEG reader: decodes a page picture straight into the rows of a 32-bit picture, only
// the rows and columns a clip rectangle needs, with the decode settings of Qt's image reader, so that its
// pixels equal what QImageReader gives converted to 32 bits, without the reader's intermediate 24-bit
// picture, its conversion pass or its plug-in probing.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>

namespace skin {

// Whether `bytes` start as JPEG data do: a start-of-image marker followed by another marker.
bool IsJpegData(const QByteArray& bytes);

// Decodes the JPEG data `bytes`, or with a valid `clip` only the part of it inside the picture. Returns
//  - 0: `picture` holds the decoded part in QImage::Format_RGB32, `part` where it lies in the picture
//    and `whole` the picture's size;
//  - EFBIG: the header declares a picture beyond the largest allowed (IsAllowedPictureSize), refused
//    before any pixel is decoded;
//  - EINVAL: the data cannot be decoded, or the clip lies wholly outside the picture;
//  - ENOTSUP: the picture is valid but its colours (CMYK, YCCK, anything unusual) or its stored
//    orientation or colour profile are left to QImageReader: nothing is decoded.
// `picture`, `part` and `whole` are changed only on success.
int DecodeJpegPicture(const QByteArray& bytes, const QRect& clip, QImage& picture, QRect& part, QSize& whole);

// The picture size the JPEG header at the start of `head` declares (invalid when `head` holds no whole
// header); no pixel is decoded.
QSize JpegHeaderSize(const QByteArray& head);

// Decodes the whole JPEG picture as DecodeJpegPicture does, except its `gapRows` rows from row `gapFrom`
// on: those are read in one pass with the others but not turned into pixels, and their rows of
// `picture` are left undefined (the caller covers or replaces them). Same outcomes as DecodeJpegPicture.
int DecodeJpegPictureAround(const QByteArray& bytes, int gapFrom, int gapRows, QImage& picture, QSize& whole);

}  // namespace skin
