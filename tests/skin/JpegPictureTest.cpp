// The skin's JPEG reader gives the very pixels QImageReader gives (converted to 32 bits as the picture
// loader does), whole and clipped, and the same outcome for damaged data.
#include "JpegPicture.h"
#include "SkinPictures.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <vector>

namespace {

// How a synthetic picture is stored.
struct Encoding {
    J_COLOR_SPACE space = JCS_YCbCr;  // JCS_GRAYSCALE, JCS_YCbCr, JCS_RGB or JCS_CMYK
    int h = 2;                        // horizontal and vertical sampling of the first component
    int v = 2;
    bool progressive = false;
    int restartRows = 0;
    bool arithmetic = false;
    bool coarse = false;  // progressive scans that stop before the last bit of every coefficient
};

// A picture with detail in every channel, so that every sampling and rounding difference shows.
unsigned char Sample(int x, int y, int channel) {
    switch (channel) {
        case 0: return static_cast<unsigned char>(x * 37 + y * 11);
        case 1: return static_cast<unsigned char>(x * x + y * 7);
        case 2: return static_cast<unsigned char>((x ^ y) * 13);
        default: return static_cast<unsigned char>(x * 5 + y * y);
    }
}

// Progressive scans that send every coefficient but its last bit and never refine it: a valid picture
// that a decoder shows smoothed across blocks, as it shows a progressive picture cut short.
std::vector<jpeg_scan_info> CoarseScans(int components) {
    std::vector<jpeg_scan_info> scans;
    jpeg_scan_info dc{components, {0, 1, 2, 3}, 0, 0, 0, 1};
    scans.push_back(dc);
    for (int c = 0; c < components; ++c) scans.push_back({1, {c}, 1, 63, 0, 1});
    return scans;
}

QByteArray Encode(int width, int height, const Encoding& encoding) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    const bool gray = encoding.space == JCS_GRAYSCALE;
    const bool cmyk = encoding.space == JCS_CMYK;
    info.input_components = gray ? 1 : cmyk ? 4 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, encoding.space);
    jpeg_set_quality(&info, 90, TRUE);
    info.comp_info[0].h_samp_factor = encoding.h;
    info.comp_info[0].v_samp_factor = encoding.v;
    info.restart_in_rows = encoding.restartRows;
    info.arith_code = encoding.arithmetic ? TRUE : FALSE;
    if (encoding.progressive) jpeg_simple_progression(&info);
    const std::vector<jpeg_scan_info> coarse = CoarseScans(info.num_components);
    if (encoding.coarse) {
        info.scan_info = coarse.data();
        info.num_scans = static_cast<int>(coarse.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * static_cast<size_t>(info.input_components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < info.input_components; ++c) {
                row[static_cast<size_t>(x * info.input_components + c)] = Sample(x, y, c);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    free(out);
    return bytes;
}

// What the picture loader made of JPEG data before it had a reader of its own: QImageReader's picture,
// converted to 32 bits; a null picture where the reader fails.
QImage Reference(const QByteArray& bytes, const QRect& clip = QRect()) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (clip.isValid()) reader.setClipRect(clip);
    QImage decoded = reader.read();
    if (!decoded.isNull() && decoded.format() != QImage::Format_RGB32) decoded.convertTo(QImage::Format_RGB32);
    return decoded;
}

struct Input {
    QString name;
    QByteArray bytes;
    bool direct = true;  // decoded by the skin's reader itself, else left to QImageReader
};

// `bytes` with an application marker `code` holding `payload` right after the start-of-image marker.
QByteArray WithMarker(QByteArray bytes, unsigned char code, const QByteArray& payload) {
    QByteArray marker("\xFF", 1);
    marker.append(static_cast<char>(code));
    const qsizetype length = payload.size() + 2;
    marker.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF)).append(payload);
    return bytes.insert(2, marker);
}

// An Exif block saying the picture is stored turned by a quarter (orientation 6).
QByteArray ExifTurned() {
    const char tiff[] = "Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0";
    return QByteArray(tiff, sizeof(tiff) - 1);
}

std::vector<Input> SyntheticInputs() {
    struct Case {
        const char* name;
        int width;
        int height;
        Encoding encoding;
    };
    const Case cases[] = {
        {"1x1 4:2:0", 1, 1, {}},
        {"17x9 4:2:0", 17, 9, {}},
        {"61x35 4:2:0", 61, 35, {}},
        {"61x35 4:2:2", 61, 35, {JCS_YCbCr, 2, 1}},
        {"61x35 4:4:0", 61, 35, {JCS_YCbCr, 1, 2}},
        {"61x35 4:4:4", 61, 35, {JCS_YCbCr, 1, 1}},
        {"61x35 4:1:1", 61, 35, {JCS_YCbCr, 4, 1}},
        {"150x97 4:2:0", 150, 97, {}},
        {"150x97 grayscale", 150, 97, {JCS_GRAYSCALE, 1, 1}},
        {"150x97 stored as RGB", 150, 97, {JCS_RGB, 1, 1}},
        {"150x97 progressive 4:2:0", 150, 97, {JCS_YCbCr, 2, 2, true}},
        {"150x97 progressive grayscale", 150, 97, {JCS_GRAYSCALE, 1, 1, true}},
        {"150x97 progressive never refined", 150, 97, {JCS_YCbCr, 2, 2, false, 0, false, true}},
        {"150x97 progressive grayscale never refined", 150, 97, {JCS_GRAYSCALE, 1, 1, false, 0, false, true}},
        {"150x97 restart markers", 150, 97, {JCS_YCbCr, 2, 2, false, 1}},
        {"150x97 arithmetic coding", 150, 97, {JCS_YCbCr, 2, 2, false, 0, true}},
        {"150x97 CMYK", 150, 97, {JCS_CMYK, 1, 1}},
    };
    std::vector<Input> inputs;
    for (const Case& c : cases) {
        inputs.push_back({QString::fromLatin1(c.name), Encode(c.width, c.height, c.encoding), c.encoding.space != JCS_CMYK});
    }
    const QByteArray plain = Encode(61, 35, {});
    inputs.push_back({QStringLiteral("61x35 stored turned"), WithMarker(plain, 0xE1, ExifTurned()), false});
    inputs.push_back({QStringLiteral("61x35 with a colour profile"),
                      WithMarker(plain, 0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) +
                                                  QColorSpace(QColorSpace::SRgb).iccProfile()),
                      false});
    // A block of another kind under the same marker changes nothing.
    inputs.push_back({QStringLiteral("61x35 with other application data"),
                      WithMarker(plain, 0xE1, QByteArray("http://ns.example/\0", 19)), true});
    return inputs;
}

// Every JPEG picture of the generated skin, at every resolution and at twice the density.
std::vector<Input> SkinInputs() {
    std::vector<Input> inputs;
    QDirIterator files(QStringLiteral(SKIN_PROGRAM_DIR "/Skins"), {QStringLiteral("*.jpg")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly)) inputs.push_back({file.fileName(), file.readAll()});
    }
    return inputs;
}

// Clip rectangles for a picture of `size`: edges, single pixels, odd offsets and rectangles reaching past
// the picture.
std::vector<QRect> Clips(const QSize& size) {
    const int w = size.width();
    const int h = size.height();
    return {
        QRect(),                                  // the whole picture
        QRect(0, 0, 1, 1),                        // the first pixel
        QRect(w - 1, h - 1, 1, 1),                // the last pixel
        QRect(w / 2 + 1, h / 3 + 1, 1, 1),        // one pixel inside
        QRect(3, 5, w / 2 + 7, h / 2 + 3),        // odd offsets
        QRect(w / 3 + 1, h / 2 - 1, w, h),        // reaching past the right and bottom edges
        QRect(-5, -3, w / 2 + 1, h / 2 + 1),      // reaching past the left and top edges
        QRect(0, h / 2 + 1, w, 3),                // whole rows
        QRect(w / 2 + 3, 0, 5, h),                // whole columns
        QRect(w - 3, 2, 9, h - 4),                // the right edge's columns
    };
}

// The reader's result compared with the reference for one clip; `direct` whether the data is one the
// reader decodes itself (else it must leave it to QImageReader without decoding).
void ExpectSameAsReference(const QByteArray& bytes, const QRect& clip, bool direct) {
    SCOPED_TRACE(testing::Message() << "clip " << clip.x() << "," << clip.y() << " " << clip.width() << "x"
                                    << clip.height());
    const QSize size = Reference(bytes).size();
    const QRect inside = clip.isValid() ? clip.intersected(QRect(QPoint(0, 0), size)) : QRect(QPoint(0, 0), size);
    QImage picture;
    QRect part;
    QSize whole;
    const int result = skin::DecodeJpegPicture(bytes, clip, picture, part, whole);
    if (inside.isEmpty()) {
        // Nothing of the picture to decode.
        EXPECT_EQ(result, EINVAL);
        EXPECT_TRUE(picture.isNull());
        return;
    }
    if (!direct) {
        EXPECT_EQ(result, ENOTSUP);
        EXPECT_TRUE(picture.isNull());
        return;
    }
    ASSERT_EQ(result, 0);
    EXPECT_EQ(whole, size);
    EXPECT_EQ(part, inside);
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_TRUE(picture == Reference(bytes, inside)) << "pixels differ";
}

TEST(JpegPicture, DecodesTheSamePixelsAsQImageReaderWholeAndClipped) {
    for (const Input& input : SyntheticInputs()) {
        SCOPED_TRACE(input.name.toStdString());
        for (const QRect& clip : Clips(Reference(input.bytes).size())) {
            ExpectSameAsReference(input.bytes, clip, input.direct);
        }
    }
}

TEST(JpegPicture, DecodesEverySkinPictureAsQImageReaderDoes) {
    const std::vector<Input> inputs = SkinInputs();
    ASSERT_FALSE(inputs.empty()) << "no generated skin under " SKIN_PROGRAM_DIR;
    for (const Input& input : inputs) {
        SCOPED_TRACE(input.name.toStdString());
        const QSize size = Reference(input.bytes).size();
        // The whole picture, and rectangles of the kind a page's looks cut from it.
        for (const QRect& clip : {QRect(), QRect(size.width() / 3 + 1, size.height() / 4 + 3, 101, 37),
                                  QRect(size.width() - 45, size.height() - 20, 60, 40)}) {
            ExpectSameAsReference(input.bytes, clip, true);
        }
    }
}

// Damaged data: the picture loader's outcome is what it was with QImageReader alone, a picture with the
// same pixels (what a decoder makes of the damage) or EINVAL.
TEST(JpegPicture, DamagedDataGivesTheSameOutcomeAsBefore) {
    const QByteArray baseline = Encode(150, 97, {});
    const QByteArray progressive = Encode(150, 97, {JCS_YCbCr, 2, 2, true});
    const auto truncated = [](const QByteArray& bytes, double share) {
        return bytes.left(static_cast<qsizetype>(bytes.size() * share));
    };
    const auto scrambled = [](QByteArray bytes, qsizetype from, int step) {
        for (qsizetype i = from; i < bytes.size() - 2; i += step) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
        return bytes;
    };
    const auto replaced = [](QByteArray bytes, qsizetype at, const QByteArray& with) {
        return bytes.replace(at, with.size(), with);
    };
    const qsizetype scan = baseline.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype frame = baseline.indexOf(QByteArray("\xFF\xC0", 2));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"only the start marker", QByteArray("\xFF\xD8\xFF", 3)},
        {"cut inside the header", baseline.left(scan / 2)},
        {"cut right after the scan header", baseline.left(scan + 14)},
        {"cut at a third", truncated(baseline, 0.33)},
        {"cut before the end marker", baseline.left(baseline.size() - 2)},
        {"progressive cut at a half", truncated(progressive, 0.5)},
        {"progressive cut at nine tenths", truncated(progressive, 0.9)},
        {"scrambled image data", scrambled(baseline, scan + 20, 37)},
        {"progressive scrambled", scrambled(progressive, progressive.size() / 2, 53)},
        {"a bogus marker in the image data", replaced(baseline, scan + 200, QByteArray("\xFF\x01\xFF\x02", 4))},
        {"a frame of zero rows", replaced(baseline, frame + 5, QByteArray("\x00\x00", 2))},
        {"a frame of eight bits claiming twelve", replaced(baseline, frame + 4, QByteArray("\x0C", 1))},
        {"a frame of two components", replaced(baseline, frame + 9, QByteArray("\x02", 1))},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("damaged.jpg"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        for (const QRect& clip : {QRect(), QRect(20, 30, 41, 17)}) {
            SCOPED_TRACE(clip.isValid() ? "clipped" : "whole");
            const QImage expected = Reference(c.bytes, clip);
            QImage picture;
            QRect part;
            QSize pageSize;
            const int result = clip.isValid() ? skin::LoadPicturePart(path, clip, picture, part, pageSize)
                                              : skin::LoadPictureFile(path, picture);
            if (expected.isNull()) {
                EXPECT_EQ(result, EINVAL);
            } else {
                ASSERT_EQ(result, 0);
                EXPECT_TRUE(picture == expected) << "pixels differ";
            }
        }
    }
}

// Decoded around a gap of rows, a picture has every row outside the gap as the whole decode has it, for
// every way a picture is stored and gaps at the edges, of one row, and reaching past the end.
TEST(JpegPicture, DecodesEveryRowOutsideAGapAsTheWholePictureHasIt) {
    for (const Input& input : SyntheticInputs()) {
        if (!input.direct) continue;
        SCOPED_TRACE(input.name.toStdString());
        const QImage expected = Reference(input.bytes);
        const int h = expected.height();
        struct Gap {
            int from;
            int rows;
        };
        for (const Gap gap : {Gap{0, h / 2}, Gap{h / 3 + 1, h / 3}, Gap{1, 1}, Gap{h / 2, h}, Gap{h, 5}, Gap{3, 0}}) {
            SCOPED_TRACE(testing::Message() << "gap " << gap.from << "+" << gap.rows);
            QImage picture;
            QSize whole;
            ASSERT_EQ(skin::DecodeJpegPictureAround(input.bytes, gap.from, gap.rows, picture, whole), 0);
            EXPECT_EQ(whole, expected.size());
            ASSERT_EQ(picture.size(), expected.size());
            int differing = 0;
            for (int y = 0; y < h; ++y) {
                if (y >= gap.from && y < gap.from + gap.rows) continue;
                if (std::memcmp(picture.constScanLine(y), expected.constScanLine(y), static_cast<size_t>(picture.width()) * 4) != 0) {
                    ++differing;
                }
            }
            EXPECT_EQ(differing, 0) << "rows differ";
        }
    }
}

// A picture's size is read from the first bytes of its file, as the header declares it; a file that is
// no picture, or whose header lies beyond those bytes, has none.
TEST(JpegPicture, TheHeaderAloneGivesThePicturesSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray baseline = Encode(150, 97, {});
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(33, 21, QImage::Format_ARGB32).save(&buffer, "PNG");
    }
    struct Case {
        const char* name;
        QByteArray bytes;
        QSize size;
    };
    const Case cases[] = {
        {"a JPEG picture", baseline, QSize(150, 97)},
        {"a progressive JPEG picture", Encode(61, 35, {JCS_YCbCr, 2, 2, true}), QSize(61, 35)},
        {"a PNG picture", png, QSize(33, 21)},
        {"a JPEG header cut short", baseline.left(baseline.indexOf(QByteArray("\xFF\xC0", 2)) + 4), QSize()},
        {"a header after 100 KB of other data", WithMarker(WithMarker(baseline, 0xE3, QByteArray(60000, 'x')), 0xE4, QByteArray(60000, 'y')), QSize()},
        {"no picture", QByteArray("not a picture"), QSize()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("picture"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_EQ(skin::PictureHeaderSize(path), c.size);
    }
    EXPECT_EQ(skin::PictureHeaderSize(dir.filePath(QStringLiteral("missing"))), QSize());
}

}  // namespace
