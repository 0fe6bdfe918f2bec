#include "SkinFolderFixture.h"

#include "SkinDocuments.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace skintest {

SkinFolder::SkinFolder() {
    skindocs::ResetSkinDocuments();
    skindocs::g_programDir = dir_.path().toStdString() + "/";
}

SkinFolder::~SkinFolder() { skindocs::ResetSkinDocuments(); }

void SkinFolder::SetSkinDocument(const std::u16string& text) { skindocs::SkinDocument().SetText(text); }
void SkinFolder::SetButtonDocument(const std::u16string& text) { skindocs::ButtonDocument().SetText(text); }
void SkinFolder::SetStringDocument(const std::u16string& text) { skindocs::StringDocument().SetText(text); }

void SkinFolder::WriteFile(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = dir_.path() + QStringLiteral("/Skins/") + folder;
    ASSERT_TRUE(QDir().mkpath(path));
    QFile file(path + QLatin1Char('/') + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void SkinFolder::WritePicture(const QString& folder, const QString& name, const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "BMP"));
    WriteFile(folder, name, bytes);
}

QImage FilledPicture(int width, int height, const QColor& color) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(color);
    return picture;
}

QByteArray JpegBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", 90);
    return bytes;
}

}  // namespace skintest
