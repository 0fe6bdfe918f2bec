#include "SkinPictures.h"

#include "JpegPicture.h"
#include "SkinDocuments.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace skin {

namespace {

// Records come from skin files: whatever they say, a widget's place and size stay far inside the range
// of int, so later arithmetic on them (mouse positions, dragging offsets, edges) cannot overflow. No
// screen comes near these bounds.
constexpr long long kCoordinateLimit = 1 << 24;
constexpr long long kSizeLimit = (1 << 24) - 1;  // Qt's largest widget size

int ClampCoordinate(int value) {
    return static_cast<int>(std::clamp<long long>(value, -kCoordinateLimit, kCoordinateLimit));
}

int ClampSpan(int from, int to) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(to) - from, 0, kSizeLimit));
}

}  // namespace

QRect ToQRect(const SkinRect& rect) {
    return QRect(ClampCoordinate(rect.left), ClampCoordinate(rect.top), ClampSpan(rect.left, rect.right),
                 ClampSpan(rect.top, rect.bottom));
}

QString PageImageFolder(const QString& imageFolderName) {
    QString folder = QString::fromStdString(skindocs::g_programDir) + QStringLiteral("Skins/") + imageFolderName;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

namespace {

// Opens `path` without waiting (a FIFO would block an ordinary open until a writer comes), when it is
// a regular file of at most kLargestPictureFileBytes: returns 0 and the descriptor in `fd`. Anything
// else is refused before it is read: a device, a FIFO or a directory with EINVAL or EISDIR, a larger
// file with EFBIG; `fd` is then -1.
int OpenPictureFile(const QString& path, int& fd) {
    const QByteArray name = QFile::encodeName(path);
    fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return errno != 0 ? errno : ENOENT;
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        error = EINVAL;
    } else if (static_cast<unsigned long long>(info.st_size) > kLargestPictureFileBytes) {
        error = EFBIG;
    }
    if (error != 0) {
        ::close(fd);
        fd = -1;
    }
    return error;
}

// Reads a picture file whole, when OpenPictureFile accepts it.
int ReadPictureBytes(const QString& path, QByteArray& bytes) {
    if (path.startsWith(QLatin1Char(':'))) {
        // A picture compiled into the program (a Qt resource): in memory, never a device or a FIFO.
        QFile resource(path);
        if (!resource.open(QIODevice::ReadOnly)) return ENOENT;
        if (static_cast<unsigned long long>(resource.size()) > kLargestPictureFileBytes) return EFBIG;
        bytes = resource.readAll();
        return 0;
    }
    int fd = -1;
    int error = OpenPictureFile(path, fd);
    // A file that grows while it is read still stops at the bound.
    constexpr qsizetype kChunk = 1 << 16;
    while (error == 0) {
        if (bytes.size() > static_cast<qsizetype>(kLargestPictureFileBytes)) {
            error = EFBIG;
            break;
        }
        const qsizetype before = bytes.size();
        bytes.resize(before + kChunk);
        const ssize_t n = ::read(fd, bytes.data() + before, kChunk);
        bytes.resize(before + std::max<qsizetype>(n, 0));
        if (n == 0) break;
        if (n < 0 && errno != EINTR) error = errno;
    }
    if (fd >= 0) ::close(fd);
    if (error != 0) bytes.clear();
    return error;
}

// The format that a picture's first bytes name, of those a skin holds ("bmp", "png", "gif", "jpeg");
// empty for anything else, which the reader then tells by its content. A reader told the format reads
// it with that format's decoder at once; one that must tell it first asks every image plug-in whether
// it can read the data, which loads them all.
QByteArray FormatOf(const QByteArray& head) {
    if (head.startsWith("BM")) return QByteArrayLiteral("bmp");
    if (head.startsWith("\x89PNG\r\n\x1a\n")) return QByteArrayLiteral("png");
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return QByteArrayLiteral("gif");
    if (head.startsWith("\xff\xd8\xff")) return QByteArrayLiteral("jpeg");
    return {};
}

constexpr qint64 kFormatHeadBytes = 8;

// Has `reader` read the format that `head`, the data's first bytes, names (FormatOf), and no other;
// data of another format is told by its content as before.
void NameFormat(QImageReader& reader, const QByteArray& head) {
    const QByteArray format = FormatOf(head);
    if (format.isEmpty()) return;
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
}

// The size a picture file declares, read from its header (invalid when unreadable or not a picture).
QSize DeclaredPictureSize(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    NameFormat(reader, bytes.left(kFormatHeadBytes));
    return reader.size();
}

// The size the picture file at `path` declares, from its header alone: the reader reads no further
// than the header of any format it accepts (invalid when the file is refused or is not a picture).
QSize DeclaredPictureFileSize(const QString& path) {
    if (path.startsWith(QLatin1Char(':'))) return QImageReader(path).size();
    int fd = -1;
    if (OpenPictureFile(path, fd) != 0) return {};
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    QImageReader reader(&file);
    NameFormat(reader, file.peek(kFormatHeadBytes));
    return reader.size();
}

// Decodes the picture file in the form it is stored in, or with a valid `clip` only that part of it
// (intersected with the picture; `part` gets where the decoded part lies and `whole` the picture's whole
// size). JPEG data goes to the skin's own reader, which decodes only the part's rows and block columns.
int DecodeStoredPicture(const QString& path, QImage& picture, const QRect& clip = QRect(), QRect* part = nullptr,
                        QSize* whole = nullptr) {
    QByteArray bytes;
    if (const int error = ReadPictureBytes(path, bytes); error != 0) return error;
    if (IsJpegData(bytes)) {
        // The skin's JPEG reader decodes straight into 32 bits and checks the size in the header it reads
        // anyway; it leaves colours it cannot give exactly to QImageReader.
        QRect jpegPart;
        QSize jpegWhole;
        const int error = DecodeJpegPicture(bytes, clip, picture, jpegPart, jpegWhole);
        if (error != ENOTSUP) {
            if (part != nullptr) *part = jpegPart;
            if (whole != nullptr) *whole = jpegWhole;
            return error;
        }
    }
    // A picture that claims more pixels than a skin picture may have is refused before it is decoded.
    const QSize declared = DeclaredPictureSize(bytes);
    if (declared.isValid() && !IsAllowedPictureSize(declared)) return EFBIG;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    NameFormat(reader, bytes.left(kFormatHeadBytes));
    QRect decodedPart(QPoint(0, 0), declared);
    if (clip.isValid() && declared.isValid()) {
        decodedPart = clip.intersected(decodedPart);
        if (decodedPart.isEmpty()) return EINVAL;
        reader.setClipRect(decodedPart);
    }
    QImage decoded = reader.read();
    if (part != nullptr) *part = decoded.isNull() ? QRect() : QRect(decodedPart.topLeft(), decoded.size());
    if (whole != nullptr) *whole = declared.isValid() ? declared : decoded.size();
    if (decoded.isNull() || !IsAllowedPictureSize(decoded.size())) {
        return EINVAL;
    }
    picture = std::move(decoded);
    return 0;
}

// Decodes the picture file as DecodeStoredPicture does, into a 32-bit picture.
int DecodePictureFile(const QString& path, QImage& picture, const QRect& clip = QRect(), QRect* part = nullptr,
                      QSize* whole = nullptr) {
    QImage decoded;
    if (const int error = DecodeStoredPicture(path, decoded, clip, part, whole); error != 0) return error;
    if (decoded.format() != QImage::Format_ARGB32 && decoded.format() != QImage::Format_RGB32) {
        decoded = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
    picture = std::move(decoded);
    return 0;
}

// The twin at twice the density, when it decodes and fits the 1x picture exactly: anything else would
// put the page's widgets, outline and pictures out of step.
bool LoadDoubleDensityTwin(const QString& path, QImage& picture) {
    const QSize single = DeclaredPictureFileSize(path);
    if (!single.isValid()) return false;
    QImage twin;
    if (DecodePictureFile(DoubleDensityPath(path), twin) != 0 || twin.size() != single * 2) return false;
    twin.setDevicePixelRatio(2.0);
    picture = std::move(twin);
    return true;
}

// Decodes the JPEG file at `path` whole except the `gapRows` rows from `gapFrom` on (see
// DecodeJpegPictureAround); ENOTSUP for any other file, which is then decoded whole.
int DecodeJpegFileAround(const QString& path, int gapFrom, int gapRows, QImage& picture, QSize& whole) {
    QByteArray bytes;
    if (const int error = ReadPictureBytes(path, bytes); error != 0) return error;
    if (!IsJpegData(bytes)) return ENOTSUP;
    return DecodeJpegPictureAround(bytes, gapFrom, gapRows, picture, whole);
}

}  // namespace

bool IsAllowedPictureSize(const QSize& size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= kLargestPictureSide &&
           size.height() <= kLargestPictureSide &&
           static_cast<long long>(size.width()) * size.height() <= kLargestPicturePixels;
}

QString DoubleDensityPath(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype separator = path.lastIndexOf(QLatin1Char('/'));
    if (dot < 0 || dot < separator) return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

qreal PictureRatio(const QWidget* widget) {
    return widget != nullptr ? widget->devicePixelRatioF() : qApp->devicePixelRatio();
}

QSize LogicalSize(const QImage& picture) { return picture.deviceIndependentSize().toSize(); }

QRect PicturePixels(const QImage& picture, const QRect& logical) {
    const qreal ratio = picture.devicePixelRatio();
    if (ratio == 1.0) return logical;
    return QRect(QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio)),
                 QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
}

int LoadPictureFile(const QString& path, QImage& picture, QSize* size, qreal ratio) {
    if (ratio <= 1.0 || !LoadDoubleDensityTwin(path, picture)) {
        if (const int error = DecodePictureFile(path, picture); error != 0) return error;
    }
    if (size) *size = LogicalSize(picture);
    return 0;
}

QSize PictureHeaderSize(const QString& path) {
    // A header lies in the file's first bytes; a JPEG's after the markers before its frame, which are
    // small in a skin's pictures.
    constexpr qsizetype kHeaderBytes = 1 << 16;
    if (path.startsWith(QLatin1Char(':'))) return QImageReader(path).size();
    int fd = -1;
    if (OpenPictureFile(path, fd) != 0) return {};
    QByteArray head(kHeaderBytes, Qt::Uninitialized);
    ssize_t n = 0;
    do {
        n = ::read(fd, head.data(), static_cast<size_t>(head.size()));
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    head.resize(std::max<qsizetype>(n, 0));
    if (IsJpegData(head)) return JpegHeaderSize(head);
    return DeclaredPictureSize(head);
}

int LoadPictureAround(const QString& path, const QRect& hidden, QImage& picture, QSize* size, qreal ratio,
                      QRect& skipped) {
    skipped = QRect();
    // No picture has rows beyond kLargestPictureSide: the rows stay far from the range's ends.
    const QRect rows = hidden.intersected(QRect(hidden.left(), 0, hidden.width(), kLargestPictureSide));
    if (rows.isEmpty()) return LoadPictureFile(path, picture, size, ratio);
    // The twin when it is there and fits the 1x picture, whose header gives the logical size; the rows
    // are then twice as many.
    const QSize single = ratio > 1.0 ? DeclaredPictureFileSize(path) : QSize();
    const int scale = single.isValid() ? 2 : 1;
    const QString file = scale == 2 ? DoubleDensityPath(path) : path;
    QImage decoded;
    QSize whole;
    if (DecodeJpegFileAround(file, rows.top() * scale, rows.height() * scale, decoded, whole) == 0 &&
        (scale == 1 || whole == single * 2)) {
        decoded.setDevicePixelRatio(scale);
        picture = std::move(decoded);
        if (size) *size = LogicalSize(picture);
        const QRect across(0, rows.top(), LogicalSize(picture).width(), rows.height());
        skipped = across.intersected(QRect(QPoint(0, 0), LogicalSize(picture)));
        return 0;
    }
    return LoadPictureFile(path, picture, size, ratio);
}

int LoadMaskPictureFile(const QString& path, QImage& mask) { return DecodeStoredPicture(path, mask); }

int LoadPicturePart(const QString& path, const QRect& clip, QImage& picture, QRect& part, QSize& pageSize) {
    QImage decoded;
    if (const int error = DecodePictureFile(path, decoded, clip, &part, &pageSize); error != 0) return error;
    picture = std::move(decoded);
    return 0;
}

void CutPicture(QImage& target, const QImage* source, const QRect& rect) {
    if (!source || source->isNull()) return;
    CutPicturePart(target, *source, QPoint(0, 0), source->size(), rect);
}

void CutPicturePart(QImage& target, const QImage& part, const QPoint& partOrigin, const QSize& pageSize,
                    const QRect& rect) {
    if (part.isNull()) return;
    const QRect pixels = PicturePixels(part, rect);
    // The rectangle comes from a skin file: a cut-out never grows beyond the page picture it is cut
    // from, so a record with a huge size cannot make a huge allocation.
    QImage cut(pixels.size().expandedTo(QSize(0, 0)).boundedTo(pageSize), QImage::Format_ARGB32);
    if (cut.isNull()) {
        target = QImage();
        return;
    }
    cut.fill(Qt::transparent);
    const QRect inside = pixels.intersected(QRect(partOrigin, part.size()));
    if (!inside.isEmpty()) {
        QPainter painter(&cut);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // Source and target rectangles in pixels of the same size: a copy of pixels, whatever the
        // source's device pixel ratio.
        painter.drawImage(QRect(inside.topLeft() - pixels.topLeft(), inside.size()), part,
                          inside.translated(-partOrigin));
    }
    cut.setDevicePixelRatio(part.devicePixelRatio());
    target = std::move(cut);
}

}  // namespace skin
