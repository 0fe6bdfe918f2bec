#include "SkinPictures.h"

#include "SkinDocuments.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <cerrno>
#include <limits>

namespace skin {

namespace {

// QRect holds int coordinates with right = left + width - 1; keep width and height representable.
int ClampSpan(int from, int to) {
    const long long span = static_cast<long long>(to) - from;
    if (span <= 0) return 0;
    return span > std::numeric_limits<int>::max() / 2 ? std::numeric_limits<int>::max() / 2 : static_cast<int>(span);
}

}  // namespace

QRect ToQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, ClampSpan(rect.left, rect.right), ClampSpan(rect.top, rect.bottom));
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
