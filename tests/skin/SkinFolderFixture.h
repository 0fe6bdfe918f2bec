// A program folder in a temporary directory for page and button tests: the three skin documents as
// texts and page pictures written as files under "Skins/<folder>/".
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <string>

namespace skintest {

class SkinFolder {
public:
    // Makes the folder the program folder and empties the three documents.
    SkinFolder();
    ~SkinFolder();

    void SetSkinDocument(const std::u16string& text);
    void SetButtonDocument(const std::u16string& text);
    void SetStringDocument(const std::u16string& text);

    // Writes `bytes` as "Skins/<folder>/<name>".
    void WriteFile(const QString& folder, const QString& name, const QByteArray& bytes);
    void WritePicture(const QString& folder, const QString& name, const QImage& picture);

private:
    QTemporaryDir dir_;
};

// A picture of `size` filled with `color`.
QImage FilledPicture(int width, int height, const QColor& color);

// `picture` as the bytes of a JPEG file (quality 90).
QByteArray JpegBytes(const QImage& picture);

}  // namespace skintest
