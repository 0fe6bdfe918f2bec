#include "SkinPictures.h"

#include "SkinDocuments.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

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

int LoadPictureFile(const QString& path, QImage& picture, QSize* size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return errno != 0 ? errno : ENOENT;
    }
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The reader checks the declared size against its allocation limit before decoding, so a file that
    // claims a huge picture is refused without allocating it.
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        return EINVAL;
    }
    if (decoded.format() != QImage::Format_ARGB32 && decoded.format() != QImage::Format_RGB32) {
        decoded = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
    picture = std::move(decoded);
    if (size) *size = picture.size();
    return 0;
}

void CutPicture(QImage& target, const QImage* source, const QRect& rect) {
    if (!source || source->isNull()) return;
    // The rectangle comes from a skin file: a cut-out never grows beyond the page picture it is cut
    // from, so a record with a huge size cannot make a huge allocation.
    QImage cut(rect.size().expandedTo(QSize(0, 0)).boundedTo(source->size()), QImage::Format_ARGB32);
    if (cut.isNull()) {
        target = QImage();
        return;
    }
    cut.fill(Qt::transparent);
    const QRect inside = rect.intersected(source->rect());
    if (!inside.isEmpty()) {
        QPainter painter(&cut);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(inside.topLeft() - rect.topLeft(), *source, inside);
    }
    target = std::move(cut);
}

}  // namespace skin
