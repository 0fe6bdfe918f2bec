// Its own test program, so that no earlier test has loaded an image plug-in already.
#include "SkinPictures.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <link.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The image plug-ins loaded into this process.
std::vector<std::string> LoadedImagePlugins() {
    std::vector<std::string> plugins;
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("/imageformats/") != std::string::npos) {
                static_cast<std::vector<std::string>*>(data)->push_back(name);
            }
            return 0;
        },
        &plugins);
    return plugins;
}

void Put16(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value & 0xFF)).append(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(QByteArray& bytes, int value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, (value >> 16) & 0xFFFF);
}

// A BMP file of `width` x `height` pixels, one colour, at 24 bits or at 1 bit with a two-colour table,
// written by hand: Qt's own writer would load the image plug-ins this test looks for.
QByteArray FlatBmp(int width, int height, int bits) {
    const int stride = ((width * bits + 31) / 32) * 4;
    const int tableBytes = bits == 1 ? 8 : 0;
    QByteArray bytes("BM");
    Put32(bytes, 54 + tableBytes + stride * height);
    Put32(bytes, 0);
    Put32(bytes, 54 + tableBytes);
    Put32(bytes, 40);
    Put32(bytes, width);
    Put32(bytes, height);
    Put16(bytes, 1);
    Put16(bytes, bits);
    for (int i = 0; i < 6; ++i) Put32(bytes, 0);
    if (bits == 1) bytes.append(QByteArray("\x80\x80\x00\x00\xff\xff\xff\x00", 8));
    bytes.append(QByteArray(stride * height, bits == 1 ? '\0' : '\x60'));
    return bytes;
}

// A 24 x 16 and a 48 x 32 PNG file of one colour.
const QByteArray kPng24x16(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x18\x00\x00\x00\x10\x08\x02"
    "\x00\x00\x00\x83\x46\x28\xc2\x00\x00\x00\x19\x49\x44\x41\x54\x78\xda\x63\x60\x68\x68\xa0\x0e\x1a\x35\x68"
    "\xd4\xa0\x51\x83\x46\x0d\xa2\x0c\x01\x00\x77\xd5\x80\x10\x48\x52\x30\x1e\x00\x00\x00\x00\x49\x45\x4e\x44"
    "\xae\x42\x60\x82",
    82);
const QByteArray kPng48x32(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x30\x00\x00\x00\x20\x08\x02"
    "\x00\x00\x00\xdb\xb6\x6c\x4b\x00\x00\x00\x2e\x49\x44\x41\x54\x78\xda\xed\xce\x31\x09\x00\x00\x0c\x03\xb0"
    "\x4a\xaf\xf4\xb9\x28\x3b\x02\x11\x90\xa4\xfd\x45\x48\x48\x48\x48\x48\x48\x48\x48\x48\x48\x48\x48\x48\x48"
    "\x48\x48\x68\xe9\x00\x41\xc0\x00\x5b\x57\x14\x0e\x8d\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    103);

// Page pictures in the formats a skin is made of are read by the format their first bytes name, whole,
// by their header alone, or in part, without loading any image plug-in: asking each plug-in whether it
// can read the data loads them all, at a cost paid on every start.
TEST(PicturePlugins, SkinPicturesAreReadWithoutLoadingImagePlugins) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::pair<const char*, QByteArray> files[] = {
        {"page.bmp", FlatBmp(24, 16, 24)}, {"mask.bmp", FlatBmp(24, 16, 1)}, {"look.png", kPng24x16},
        {"look@2x.png", kPng48x32}};
    for (const auto& [name, bytes] : files) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name;
    }
    ASSERT_TRUE(LoadedImagePlugins().empty()) << "a plug-in was loaded before the test: " << LoadedImagePlugins()[0];

    for (const char* file : {"page.bmp", "mask.bmp", "look.png"}) {
        QImage picture;
        QSize size;
        EXPECT_EQ(skin::LoadPictureFile(dir.filePath(QString::fromLatin1(file)), picture, &size), 0) << file;
        EXPECT_EQ(size, QSize(24, 16)) << file;
        QImage part;
        QRect where;
        QSize pageSize;
        EXPECT_EQ(skin::LoadPicturePart(dir.filePath(QString::fromLatin1(file)), QRect(2, 3, 5, 4), part, where, pageSize), 0)
            << file;
        EXPECT_EQ(pageSize, QSize(24, 16)) << file;
    }
    // The twice-density twin is chosen by the 1x picture's header.
    QImage dense;
    EXPECT_EQ(skin::LoadPictureFile(dir.filePath(QStringLiteral("look.png")), dense, nullptr, 2.0), 0);
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);

    const std::vector<std::string> loaded = LoadedImagePlugins();
    EXPECT_TRUE(loaded.empty()) << "loaded: " << loaded.front();
}

}  // namespace
