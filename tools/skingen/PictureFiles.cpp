#include "PictureFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

namespace skingen {
namespace {

bool WritePicture(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path);
    // Page pictures are JPEG: their flat surfaces compress well, and quality 95 keeps hairlines clean.
    if (path.endsWith(".jpg")) writer.setQuality(95);
    QImage stored = image;
    stored.setDevicePixelRatio(1);
    if (!writer.write(stored)) {
        qWarning("skingen: %s: %s", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

}  // namespace

QString TwiceName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf('.');
    return fileName.left(dot) + "@2x" + fileName.mid(dot);
}

bool WritePicturePair(const QString& path, const std::function<QImage(int pixelRatio)>& render) {
    return WritePicture(render(1), path) && WritePicture(render(2), TwiceName(path));
}

}  // namespace skingen
