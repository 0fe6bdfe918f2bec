// Pictures on a dense screen: with the window's device pixel ratio at 2 the toolkit loads each
// picture's "@2x" twin, keeps geometry in logical pixels and draws every device pixel from the twin,
// and falls back to the 1x picture where no fitting twin exists. The whole program runs with
// QT_SCALE_FACTOR=2 on the offscreen platform, as a person's dense screen would.
//
// The 1x pictures are one flat colour and the twins fine checkerboards of single device pixels: an
// upscaled 1x picture could never show the checkerboard, so a matching pixel proves the twin drew it.
#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "PngHSliderBar.h"
#include "RegionFromMask.h"
#include "SkinFactory.h"
#include "SkinFolderFixture.h"
#include "SkinPictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

namespace {

// Every window of this test program is on a dense screen: set before the application (made by the
// shared test environment when the tests start) reads it.
[[maybe_unused]] const int kDenseScreen = setenv("QT_SCALE_FACTOR", "2", 1);

const QString kFolder = QStringLiteral("1920x1080");

// A twin: single device pixels alternating between two colours.
QImage Checkerboard(QSize size, const QColor& even, const QColor& odd) {
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) picture.setPixelColor(x, y, (x + y) % 2 == 0 ? even : odd);
    }
    return picture;
}

// Both pictures as plain pixels (ratio 1, one format), so they compare pixel by pixel.
QImage Pixels(QImage picture) {
    picture.setDevicePixelRatio(1.0);
    return picture.convertToFormat(QImage::Format_RGB32);
}

QString PathOf(const QString& name) { return skin::PageImageFolder(kFolder) + name; }

TEST(HighDensityPictures, TheWindowsRatioIsTwo) {
    QWidget window;
    EXPECT_EQ(skin::PictureRatio(&window), 2.0);
    EXPECT_EQ(skin::PictureRatio(nullptr), 2.0);
}

TEST(HighDensityPictures, LoadsTheTwinAtRatioTwoAndTheSinglePictureOtherwise) {
    skintest::SkinFolder folder;
    const QImage twin = Checkerboard({80, 40}, Qt::blue, Qt::yellow);
    folder.WritePicture(kFolder, "page.bmp", skintest::FilledPicture(40, 20, Qt::red));
    folder.WritePicture(kFolder, "page@2x.bmp", twin);
    EXPECT_EQ(skin::DoubleDensityPath(PathOf("page.bmp")), PathOf("page@2x.bmp"));

    QImage picture;
    QSize size;
    ASSERT_EQ(skin::LoadPictureFile(PathOf("page.bmp"), picture, &size, 2.0), 0);
    EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    EXPECT_EQ(picture.size(), QSize(80, 40));
    EXPECT_EQ(size, QSize(40, 20)) << "the logical size is the 1x picture's";
    EXPECT_EQ(skin::LogicalSize(picture), QSize(40, 20));
    EXPECT_EQ(Pixels(picture), Pixels(twin));

    ASSERT_EQ(skin::LoadPictureFile(PathOf("page.bmp"), picture, &size, 1.0), 0);
    EXPECT_EQ(picture.devicePixelRatio(), 1.0);
    EXPECT_EQ(picture.size(), QSize(40, 20));
    EXPECT_EQ(picture.pixelColor(1, 0), QColor(Qt::red));
}

TEST(HighDensityPictures, FallsBackToTheSinglePictureWithoutAFittingTwin) {
    skintest::SkinFolder folder;
    folder.WritePicture(kFolder, "alone.bmp", skintest::FilledPicture(40, 20, Qt::red));
    folder.WritePicture(kFolder, "misfit.bmp", skintest::FilledPicture(40, 20, Qt::red));
    folder.WritePicture(kFolder, "misfit@2x.bmp", Checkerboard({81, 40}, Qt::blue, Qt::yellow));
    folder.WritePicture(kFolder, "orphan@2x.bmp", Checkerboard({80, 40}, Qt::blue, Qt::yellow));
    folder.WriteFile(kFolder, "broken.bmp", "not a picture");
    folder.WriteFile(kFolder, "broken@2x.bmp", "not a picture either");

    for (const char* name : {"alone.bmp", "misfit.bmp"}) {
        QImage picture;
        QSize size;
        ASSERT_EQ(skin::LoadPictureFile(PathOf(name), picture, &size, 2.0), 0) << name;
        EXPECT_EQ(picture.devicePixelRatio(), 1.0) << name;
        EXPECT_EQ(size, QSize(40, 20)) << name;
        EXPECT_EQ(picture.pixelColor(1, 0), QColor(Qt::red)) << name;
    }
    // Without its 1x picture a twin is not used: every density loads the same pictures or none.
    QImage untouched = skintest::FilledPicture(2, 2, Qt::green);
    EXPECT_EQ(skin::LoadPictureFile(PathOf("orphan.bmp"), untouched, nullptr, 2.0), ENOENT);
    EXPECT_EQ(skin::LoadPictureFile(PathOf("broken.bmp"), untouched, nullptr, 2.0), EINVAL);
    EXPECT_EQ(untouched.size(), QSize(2, 2));
}

// The bytes this process has read so far (the kernel's count of read calls, /proc/self/io "rchar").
long long BytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

// With the twin at hand the 1x picture is only asked its size: its header is read, not its pixels.
TEST(HighDensityPictures, TheSinglePictureIsReadOnlyForItsSize) {
    skintest::SkinFolder folder;
    folder.WritePicture(kFolder, "large.bmp", skintest::FilledPicture(1600, 1200, Qt::red));  // about 7.7 MB
    // The twin small on disk: a PNG under the twin's name.
    QByteArray twin;
    QBuffer buffer(&twin);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(skintest::FilledPicture(3200, 2400, Qt::blue).save(&buffer, "PNG"));
    folder.WriteFile(kFolder, "large@2x.bmp", twin);
    const long long singleBytes = QFileInfo(PathOf("large.bmp")).size();

    QImage picture;
    const long long before = BytesReadSoFar();
    ASSERT_GE(before, 0);
    ASSERT_EQ(skin::LoadPictureFile(PathOf("large.bmp"), picture, nullptr, 2.0), 0);
    const long long read = BytesReadSoFar() - before;
    EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    EXPECT_LT(read, singleBytes / 4) << "read " << read << " bytes for a 1x picture of " << singleBytes;
}

// A page with the normal and pressed pictures at both densities and a mask at both: a button shown
// pressed cuts its look from the pressed twin.
class DensePage : public skin::CBaseDlg {
public:
    DensePage() { SetImageFolderName(kFolder); }
    void LoadSkin() override {
        CBaseDlg::LoadSkin();
        skin::CreateSkinButton(button, this, ImageSet(), u"MAIN", u"BUTTON_HELD", false, 1, -1);
    }
    skin::CBitmapBtn button;
};

// The outline: the page without its top-left 10 x 10 corner.
QImage Mask(int scale) {
    QImage mask = skintest::FilledPicture(64 * scale, 32 * scale, Qt::black);
    QPainter(&mask).fillRect(0, 0, 10 * scale, 10 * scale, Qt::white);
    return mask;
}

TEST(HighDensityPictures, PagePaintedAtRatioTwoShowsTheTwinsPixels) {
    skintest::SkinFolder folder;
    folder.SetSkinDocument(u"<SKIN><MAIN><NORMAL>n.bmp</NORMAL><DOWN>d.bmp</DOWN><MASK>m.bmp</MASK></MAIN></SKIN>");
    folder.SetButtonDocument(u"<B><MAIN><BUTTON_HELD>,20,8,24,12,,0</BUTTON_HELD></MAIN></B>");
    const QImage normalTwin = Checkerboard({128, 64}, Qt::blue, Qt::yellow);
    const QImage downTwin = Checkerboard({128, 64}, Qt::magenta, Qt::cyan);
    folder.WritePicture(kFolder, "n.bmp", skintest::FilledPicture(64, 32, Qt::red));
    folder.WritePicture(kFolder, "n@2x.bmp", normalTwin);
    folder.WritePicture(kFolder, "d.bmp", skintest::FilledPicture(64, 32, Qt::green));
    folder.WritePicture(kFolder, "d@2x.bmp", downTwin);
    folder.WritePicture(kFolder, "m.bmp", Mask(1));
    folder.WritePicture(kFolder, "m@2x.bmp", Mask(2));

    DensePage page;
    page.show();
    page.button.setDown(true);
    EXPECT_EQ(page.size(), QSize(64, 32)) << "the page keeps its logical size";
    EXPECT_EQ(page.button.geometry(), QRect(20, 8, 24, 12));
    // The outline is the 1x mask's, in logical pixels.
    const std::optional<QRegion> outline = skin::RegionFromMask(Mask(1));
    ASSERT_TRUE(outline);
    EXPECT_EQ(page.mask(), *outline);

    const QPixmap shown = page.grab();
    EXPECT_EQ(shown.devicePixelRatio(), 2.0);
    ASSERT_EQ(shown.size(), QSize(128, 64)) << "twice as large in device pixels";
    QImage expected = Pixels(normalTwin);
    QPainter(&expected).drawImage(QPoint(40, 16), Pixels(downTwin), QRect(40, 16, 48, 24));
    const QImage pixels = Pixels(shown.toImage());
    EXPECT_EQ(pixels, expected);
    if (const char* dir = std::getenv("HALCYRA_RENDER_DIR")) pixels.save(QString::fromLocal8Bit(dir) + "/dense_page.png");
}

TEST(HighDensityPictures, SliderKeepsLogicalGeometryAndDrawsTheTwins) {
    skintest::SkinFolder folder;
    const QImage thumbTwin = Checkerboard({16, 20}, Qt::white, Qt::black);
    folder.WritePicture(kFolder, "thumb.bmp", skintest::FilledPicture(8, 10, Qt::red));
    folder.WritePicture(kFolder, "thumb@2x.bmp", thumbTwin);
    folder.WritePicture(kFolder, "track.bmp", skintest::FilledPicture(100, 10, Qt::red));
    folder.WritePicture(kFolder, "track@2x.bmp", Checkerboard({200, 20}, Qt::blue, Qt::yellow));
    folder.WritePicture(kFolder, "fill.bmp", skintest::FilledPicture(100, 10, Qt::green));
    folder.WritePicture(kFolder, "fill@2x.bmp", Checkerboard({200, 20}, Qt::magenta, Qt::cyan));
    QImage track;
    QImage fill;
    ASSERT_EQ(skin::LoadPictureFile(PathOf("track.bmp"), track, nullptr, 2.0), 0);
    ASSERT_EQ(skin::LoadPictureFile(PathOf("fill.bmp"), fill, nullptr, 2.0), 0);

    QWidget parent;
    parent.resize(100, 10);
    skin::CPngHSliderBar slider;
    slider.LoadThumbs(PathOf("thumb.bmp"), QString(), QString(), true);
    slider.CreateSlider(&parent, 7, QRect(0, 0, 100, 10));
    slider.SetTrackPictures(&track, &fill, nullptr, QRect(0, 0, 100, 10));
    slider.SetRange(0, 10);
    slider.SetPosition(5);
    parent.show();
    EXPECT_EQ(slider.ThumbSize(), QSize(8, 10));
    const QRect thumb = slider.ThumbRect();
    EXPECT_EQ(thumb.size(), QSize(8, 10));

    const QImage shown = Pixels(slider.grab().toImage());
    ASSERT_EQ(shown.size(), QSize(200, 20));
    EXPECT_EQ(shown.copy(thumb.x() * 2, 0, 16, 20), Pixels(thumbTwin)) << "the thumb from its twin";
    // Left of the thumb the filled twin, right of it the track's.
    EXPECT_EQ(shown.copy(0, 0, 4, 20), Pixels(fill).copy(0, 0, 4, 20));
    EXPECT_EQ(shown.copy(196, 0, 4, 20), Pixels(track).copy(196, 0, 4, 20));
}

// A picture loaded around hidden rows has every other row as the whole load has it, at its own density:
// the twin's rows are twice the logical rows. Only JPEG data is decoded around the rows; anything else,
// and a twin that does not fit, is loaded whole as before.
TEST(HighDensityPictures, APictureLoadedAroundHiddenRowsKeepsEveryOtherRow) {
    skintest::SkinFolder folder;
    QImage detail(81, 47, QImage::Format_RGB32);
    for (int y = 0; y < detail.height(); ++y) {
        for (int x = 0; x < detail.width(); ++x) detail.setPixel(x, y, qRgb(x * 3, y * 5, (x * y) % 256));
    }
    const auto jpeg = skintest::JpegBytes;
    folder.WriteFile(kFolder, "one.jpg", jpeg(detail));
    folder.WriteFile(kFolder, "twin.jpg", jpeg(detail));
    folder.WriteFile(kFolder, "twin@2x.jpg", jpeg(detail.scaled(detail.size() * 2)));
    folder.WriteFile(kFolder, "misfit.jpg", jpeg(detail));
    folder.WriteFile(kFolder, "misfit@2x.jpg", jpeg(detail.scaled(detail.size() * 2 + QSize(1, 0))));
    folder.WritePicture(kFolder, "flat.bmp", detail);
    struct Case {
        const char* name;
        qreal ratio;
        QRect hidden;
        QRect skipped;
    };
    const Case cases[] = {
        {"JPEG", 1.0, QRect(0, 11, 81, 20), QRect(0, 11, 81, 20)},
        {"JPEG, rows past its end", 1.0, QRect(0, 40, 81, 30), QRect(0, 40, 81, 7)},
        {"JPEG, odd rows at the top", 1.0, QRect(0, 0, 81, 3), QRect(0, 0, 81, 3)},
        {"twin", 2.0, QRect(0, 11, 81, 21), QRect(0, 11, 81, 21)},
        {"twin, rows far past its end", 2.0, QRect(0, 2147483000, 81, 100), QRect()},
        {"twin, rows from far above it", 2.0, QRect(0, -2147483000, 81, 2147483010), QRect(0, 0, 81, 10)},
        {"misfit", 2.0, QRect(0, 11, 81, 20), QRect()},
        {"flat", 1.0, QRect(0, 11, 81, 20), QRect()},
        {"one", 1.0, QRect(), QRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name).section(QLatin1Char(','), 0, 0);
        const QString path = PathOf(name == QLatin1String("JPEG") ? QStringLiteral("one.jpg")
                                                                  : name + (name == QLatin1String("flat") ? ".bmp" : ".jpg"));
        QImage expected;
        ASSERT_EQ(skin::LoadPictureFile(path, expected, nullptr, c.ratio), 0);
        QImage picture;
        QSize size;
        QRect skipped;
        ASSERT_EQ(skin::LoadPictureAround(path, c.hidden, picture, &size, c.ratio, skipped), 0);
        EXPECT_EQ(skipped, c.skipped);
        EXPECT_EQ(size, skin::LogicalSize(expected));
        EXPECT_EQ(picture.devicePixelRatio(), expected.devicePixelRatio());
        ASSERT_EQ(picture.size(), expected.size());
        const QRect undecoded = skin::PicturePixels(picture, skipped);
        int differing = 0;
        for (int y = 0; y < picture.height(); ++y) {
            if (y >= undecoded.top() && y <= undecoded.bottom()) continue;
            for (int x = 0; x < picture.width(); ++x) differing += picture.pixel(x, y) != expected.pixel(x, y);
        }
        EXPECT_EQ(differing, 0);
    }
}

// A page that left background rows of its twin undecoded decodes them from the twin when it needs them
// after all. When the pictures changed since (the twin gone, or the 1x picture now of the twin's size so
// that the twin no longer fits), those rows are black and the page keeps its twin's density and logical
// size, never a picture of another density in its place.
TEST(HighDensityPictures, BackgroundRowsLeftUndecodedStayAtTheTwinsDensity) {
    class HiddenRowsPage : public skin::CBaseDlg {
    public:
        using CBaseDlg::DecodeWholeBackground;
        using CBaseDlg::HideBackgroundRows;
        using CBaseDlg::UndecodedBackgroundRows;
    };
    QImage detail(80, 40, QImage::Format_RGB32);
    for (int y = 0; y < detail.height(); ++y) {
        for (int x = 0; x < detail.width(); ++x) detail.setPixel(x, y, qRgb(x * 3, y * 6, 120));
    }
    const auto jpeg = skintest::JpegBytes;
    const QByteArray single = jpeg(detail.scaled(40, 20));
    const QByteArray twin = jpeg(detail);
    const QRect hidden(0, 6, 40, 8);
    struct Case {
        const char* name;
        QByteArray laterSingle;
        bool twinStays;
        bool rowsDecoded;
    };
    const Case cases[] = {
        {"both pictures stay", single, true, true},
        {"the twin is gone", single, false, false},
        {"the 1x picture now has the twin's size", twin, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        skintest::SkinFolder folder;
        folder.SetSkinDocument(u"<SKIN><PAGE><NORMAL>p.jpg</NORMAL></PAGE></SKIN>");
        folder.WriteFile(kFolder, "p.jpg", single);
        folder.WriteFile(kFolder, "p@2x.jpg", twin);
        QImage whole;
        ASSERT_EQ(skin::LoadPictureFile(PathOf("p.jpg"), whole, nullptr, 2.0), 0);
        ASSERT_EQ(whole.devicePixelRatio(), 2.0);
        HiddenRowsPage page;
        page.SetSectionName(QStringLiteral("PAGE"));
        page.SetImageFolderName(kFolder);
        page.HideBackgroundRows(hidden);
        ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
        ASSERT_EQ(page.UndecodedBackgroundRows(), hidden);

        folder.WriteFile(kFolder, "p.jpg", c.laterSingle);
        if (!c.twinStays) {
            ASSERT_TRUE(QFile::remove(PathOf("p@2x.jpg")));
        }
        page.DecodeWholeBackground();
        EXPECT_TRUE(page.UndecodedBackgroundRows().isEmpty());
        const QImage& background = page.BackgroundPicture();
        EXPECT_EQ(background.devicePixelRatio(), 2.0);
        EXPECT_EQ(skin::LogicalSize(background), QSize(40, 20));
        const QImage shown = Pixels(background);
        const QImage expected = Pixels(whole);
        ASSERT_EQ(shown.size(), expected.size());
        const QRect rows = skin::PicturePixels(background, hidden);
        int wrong = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const bool black = rows.contains(x, y) && !c.rowsDecoded;
                wrong += shown.pixel(x, y) != (black ? qRgb(0, 0, 0) : expected.pixel(x, y));
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
