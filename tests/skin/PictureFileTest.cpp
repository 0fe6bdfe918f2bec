// What a skin folder may put where a picture is expected: only a regular file is read, and never more
// of it than the largest allowed picture can need.
#include "RegionFromMask.h"
#include "SkinPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <unistd.h>

namespace {

QImage Marker() {
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return picture;
}

// A FIFO named as a picture: an ordinary open would wait for a writer for ever.
TEST(PictureFile, FifoIsRefusedWithoutWaiting) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Main_Normal.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QImage picture = Marker();
    auto load = std::async(std::launch::async, [&] { return skin::LoadPictureFile(path, picture); });
    if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Let the stuck open return, so that the test can end and report.
        const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY);
        if (writer >= 0) ::close(writer);
        load.wait();
        FAIL() << "loading a FIFO waited for a writer";
    }
    EXPECT_EQ(load.get(), EINVAL);
    EXPECT_EQ(picture, Marker());
}

struct OversizeCase {
    const char* name;
    long long bytes;  // file length (sparse: costs no disk)
    QSize declared;   // a BMP header declaring this size, or none
    int error;
};

TEST(PictureFile, FilesBeyondTheLargestPictureAreRefusedUnread) {
    const OversizeCase cases[] = {
        // A non-picture far larger than any picture file can be.
        {"large non-picture", static_cast<long long>(skin::kLargestPictureFileBytes) + 1, {}, EFBIG},
        // A small file whose header claims a picture beyond the largest side or pixel count.
        {"wide header", 0, QSize(skin::kLargestPictureSide + 1, 1), EFBIG},
        {"many pixels", 0, QSize(8192, 4096), EFBIG},
    };
    for (const OversizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath("picture.bmp");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        if (c.declared.isValid()) {
            // A 1 x 1 BMP whose header is then changed to claim the given size.
            QByteArray bmp;
            QBuffer buffer(&bmp);
            buffer.open(QIODevice::WriteOnly);
            QImage(1, 1, QImage::Format_RGB32).save(&buffer, "BMP");
            const auto put32 = [&bmp](int at, int value) {
                for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
            };
            put32(18, c.declared.width());
            put32(22, c.declared.height());
            file.write(bmp);
        } else {
            ASSERT_TRUE(file.resize(c.bytes));
        }
        file.close();
        QImage picture = Marker();
        EXPECT_EQ(skin::LoadPictureFile(path, picture), c.error);
        EXPECT_EQ(picture, Marker());
    }
}

TEST(PictureFile, DirectoryIsNoPicture) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture = Marker();
    EXPECT_EQ(skin::LoadPictureFile(dir.path(), picture), EISDIR);
    EXPECT_EQ(picture, Marker());
}

TEST(PictureFile, OrdinaryPictureStillLoads) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("picture.bmp");
    ASSERT_TRUE(Marker().save(path, "BMP"));
    QImage picture;
    QSize size;
    EXPECT_EQ(skin::LoadPictureFile(path, picture, &size), 0);
    EXPECT_EQ(size, QSize(4, 3));
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::red));
}

// A mask file is loaded in the form it is stored in (a two-colour one stays one bit per pixel, the
// smallest copy and the one RegionFromMask reads fastest) and gives the outline the 32-bit picture gives.
TEST(PictureFile, MaskKeepsItsStoredFormAndOutline) {
    struct Case {
        const char* name;
        QImage::Format stored;
        int depth;  // bits per pixel of the loaded mask
    };
    const Case cases[] = {
        {"two colours", QImage::Format_Mono, 1},
        {"256 colours", QImage::Format_Indexed8, 8},
        {"true colour", QImage::Format_RGB32, 32},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        // Round corners: white outside, black inside, on a width that ends inside a byte.
        QImage outline(37, 12, QImage::Format_RGB32);
        outline.fill(Qt::black);
        for (const QPoint corner : {QPoint(0, 0), QPoint(36, 0), QPoint(0, 11), QPoint(36, 11)}) {
            outline.setPixel(corner, qRgb(255, 255, 255));
        }
        const QString path = dir.filePath(QStringLiteral("%1.bmp").arg(c.depth));
        ASSERT_TRUE(outline.convertToFormat(c.stored, Qt::ThresholdDither).save(path, "BMP")) << c.name;
        QImage mask;
        ASSERT_EQ(skin::LoadMaskPictureFile(path, mask), 0) << c.name;
        EXPECT_EQ(mask.depth(), c.depth) << c.name;
        QImage wide;
        ASSERT_EQ(skin::LoadPictureFile(path, wide), 0) << c.name;
        EXPECT_EQ(skin::RegionFromMask(mask), skin::RegionFromMask(wide)) << c.name;
        EXPECT_EQ(skin::RegionFromMask(mask), QRegion(0, 0, 37, 12) - QRegion(0, 0, 1, 1) - QRegion(36, 0, 1, 1) -
                                                   QRegion(0, 11, 1, 1) - QRegion(36, 11, 1, 1))
            << c.name;
    }
    QImage untouched = Marker();
    EXPECT_EQ(skin::LoadMaskPictureFile(dir.filePath("none.bmp"), untouched), ENOENT);
    EXPECT_EQ(untouched, Marker());
}

// The updater's pictures are compiled into it: a Qt resource path is read as before.
TEST(PictureFile, PictureCompiledIntoTheProgramLoads) {
    const QString path = QStringLiteral(":/qt-project.org/qmessagebox/images/qtlogo-64.png");
    ASSERT_TRUE(QFile::exists(path)) << "Qt's own resource is missing";
    QImage picture;
    QSize size;
    EXPECT_EQ(skin::LoadPictureFile(path, picture, &size), 0);
    EXPECT_EQ(size, QSize(64, 64));
}

}  // namespace
