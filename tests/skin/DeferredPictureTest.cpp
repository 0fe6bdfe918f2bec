#include "DeferredPicture.h"
#include "SkinPictures.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

namespace {

using skin::CutOut;
using skin::DeferredPicture;

// A 40x20 picture: red on the left half, blue on the right.
QImage TwoHalves() {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 20; ++y) {
        for (int x = 20; x < 40; ++x) picture.setPixel(x, y, qRgb(0, 0, 255));
    }
    return picture;
}

// Looks of `page` at `rects`, each asked for in `batch`.
std::vector<std::unique_ptr<CutOut>> AskedLooks(const std::shared_ptr<DeferredPicture>& page,
                                                const std::vector<QRect>& rects, skin::LookBatch& batch) {
    std::vector<std::unique_ptr<CutOut>> looks;
    for (const QRect& rect : rects) {
        looks.push_back(std::make_unique<CutOut>());
        looks.back()->Defer(page, rect);
        batch.Ask(*looks.back());
    }
    return looks;
}

class DeferredPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(TwoHalves().save(Path(), "PNG"));
    }
    QString Path() const { return dir_.filePath(QStringLiteral("page.png")); }
    void Overwrite(const QColor& color) {
        QImage other(40, 20, QImage::Format_RGB32);
        other.fill(color);
        ASSERT_TRUE(other.save(Path(), "PNG"));
    }

    QTemporaryDir dir_;
};

// A look asked for has only its own part of the page picture decoded: the looks lying wholly inside that
// part are cut from the same decode, every other look waits for a decode of its own (which here finds
// the picture changed). Looks asked for together in a batch share one decode of the part that holds
// them all, which also gives the looks lying between them.
TEST_F(DeferredPictures, EachDecodeCutsOnlyTheLooksInsideTheDecodedPart) {
    struct Look {
        QRect rect;  // empty: the whole picture
        QColor shown;
    };
    struct Case {
        const char* name;
        std::vector<QRect> asked;  // asked for together (more than one: a batch)
        std::vector<Look> others;
    };
    const QColor red(Qt::red);
    const QColor blue(Qt::blue);
    const QColor green(Qt::green);
    const Case cases[] = {
        {"one look",
         {QRect(0, 0, 20, 20)},
         {{QRect(2, 2, 5, 5), red}, {QRect(20, 5, 20, 10), green}, {QRect(15, 0, 10, 10), green}, {QRect(), green}}},
        {"one look past the edge",
         {QRect(-10, -10, 30, 30)},
         {{QRect(0, 0, 20, 20), red}, {QRect(0, 0, 21, 20), green}}},
        {"a batch",
         {QRect(0, 0, 10, 10), QRect(30, 10, 10, 10)},
         {{QRect(15, 5, 10, 10), red}, {QRect(25, 2, 8, 8), blue}, {QRect(0, 0, 40, 20), red}}},
        {"a batch of one row",
         {QRect(0, 0, 5, 5), QRect(35, 0, 5, 5)},
         {{QRect(10, 0, 20, 5), red}, {QRect(10, 0, 20, 6), green}}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(TwoHalves().save(Path(), "PNG"));
        auto page = std::make_shared<DeferredPicture>(Path(), 1.0);
        skin::LookBatch batch;
        const std::vector<std::unique_ptr<CutOut>> asked = AskedLooks(page, c.asked, batch);
        std::vector<std::unique_ptr<CutOut>> others;
        for (const Look& look : c.others) {
            others.push_back(std::make_unique<CutOut>());
            if (look.rect.isNull()) {
                others.back()->DeferWhole(page);
            } else {
                others.back()->Defer(page, look.rect);
            }
        }
        page.reset();
        if (asked.size() == 1) {
            EXPECT_FALSE(asked[0]->Picture().isNull()) << c.name;
        } else {
            batch.Resolve();
        }
        for (const auto& look : asked) EXPECT_FALSE(look->IsPending()) << c.name;

        Overwrite(Qt::green);
        for (std::size_t i = 0; i < others.size(); ++i) {
            const Look& look = c.others[i];
            const QRect onPage = (look.rect.isNull() ? QRect(0, 0, 40, 20) : look.rect).intersected(QRect(0, 0, 40, 20));
            const QImage& picture = others[i]->Picture();
            ASSERT_EQ(picture.size(), onPage.size()) << c.name << " " << i;
            // The pixel checked lies in the picture's right-hand half where the look reaches it.
            const int x = look.shown == QColor(Qt::blue) ? picture.width() - 1 : 0;
            EXPECT_EQ(picture.pixelColor(x, picture.height() - 1), look.shown) << c.name << " " << i;
        }
    }
}

// Looks asked for together but far apart in rows have their parts decoded one after the other: a look
// lying between them is not decoded with them (it waits, and here finds the picture changed), while one
// lying inside a part is; looks close together still share one part.
TEST_F(DeferredPictures, LooksFarApartInRowsAreDecodedAsSeparateParts) {
    struct Case {
        const char* name;
        std::vector<QRect> asked;
        QRect between;
        QColor betweenShows;
    };
    const Case cases[] = {
        {"far apart", {QRect(0, 0, 10, 10), QRect(0, 250, 10, 10)}, QRect(0, 100, 10, 10), Qt::green},
        {"far apart, given bottom first", {QRect(0, 250, 10, 10), QRect(0, 0, 10, 10)}, QRect(0, 100, 10, 10), Qt::green},
        {"close together", {QRect(0, 0, 10, 10), QRect(0, 60, 10, 10)}, QRect(0, 30, 10, 10), Qt::red},
        {"inside the lower part", {QRect(0, 0, 10, 10), QRect(0, 200, 30, 60)}, QRect(5, 210, 10, 10), Qt::red},
    };
    for (const Case& c : cases) {
        QImage tall(40, 300, QImage::Format_RGB32);
        tall.fill(Qt::red);
        ASSERT_TRUE(tall.save(Path(), "PNG"));
        auto page = std::make_shared<DeferredPicture>(Path(), 1.0);
        skin::LookBatch batch;
        const std::vector<std::unique_ptr<CutOut>> asked = AskedLooks(page, c.asked, batch);
        CutOut between;
        between.Defer(page, c.between);
        page.reset();
        batch.Resolve();
        for (const auto& look : asked) {
            ASSERT_FALSE(look->IsPending()) << c.name;
            EXPECT_EQ(look->Picture().pixelColor(0, 0), QColor(Qt::red)) << c.name;
        }
        QImage green(40, 300, QImage::Format_RGB32);
        green.fill(Qt::green);
        ASSERT_TRUE(green.save(Path(), "PNG"));
        EXPECT_EQ(between.Picture().pixelColor(0, 0), c.betweenShows) << c.name;
    }
}

// A look gone before its picture is decoded is not written to; a look registered after the decode is cut
// from a fresh one; a picture that does not load leaves its looks empty.
TEST_F(DeferredPictures, LooksComeAndGoAroundTheDecode) {
    auto page = std::make_shared<DeferredPicture>(Path(), 1.0);
    std::optional<CutOut> gone(std::in_place);
    gone->Defer(page, QRect(0, 0, 10, 10));
    CutOut first;
    first.Defer(page, QRect(0, 0, 10, 10));
    gone.reset();
    EXPECT_EQ(first.Picture().pixelColor(1, 1), QColor(Qt::red));

    Overwrite(Qt::green);
    CutOut late;
    late.Defer(page, QRect(0, 0, 10, 10));
    EXPECT_EQ(late.Picture().pixelColor(1, 1), QColor(Qt::green));

    CutOut missing;
    missing.Defer(std::make_shared<DeferredPicture>(dir_.filePath(QStringLiteral("none.png")), 1.0), QRect(0, 0, 5, 5));
    EXPECT_TRUE(missing.Picture().isNull());
    EXPECT_FALSE(missing.IsPending());
}

// Only the part of the page picture that holds the looks is decoded; every look is still exactly the
// cut-out of the whole picture, including looks that reach past its edges or lie wholly outside it,
// whether each is asked for alone or all together.
TEST_F(DeferredPictures, LooksFromAPartlyDecodedPictureEqualCutsOfTheWholePicture) {
    QImage page(90, 70, QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) page.setPixel(x, y, qRgb(x * 3, y * 3, (x * y) % 256));
    }
    const QString path = dir_.filePath(QStringLiteral("page.jpg"));
    ASSERT_TRUE(page.save(path, "JPG", 90));
    QImage whole;
    ASSERT_EQ(skin::LoadPictureFile(path, whole), 0);

    // Asked for alone, the last look (wholly outside) is the only one the look before it leaves waiting.
    const QRect rects[] = {QRect(10, 20, 17, 9), QRect(33, 41, 5, 13), QRect(80, 60, 30, 30), QRect(-5, -5, 12, 8),
                           QRect(5, 5, 0, 10),   QRect(0, 0, 200, 200), QRect(100, 80, 10, 10)};
    for (const bool together : {false, true}) {
        auto source = std::make_shared<DeferredPicture>(path, 1.0);
        std::array<CutOut, std::size(rects)> looks;
        skin::LookBatch batch;
        for (std::size_t i = 0; i < looks.size(); ++i) {
            looks[i].Defer(source, rects[i]);
            batch.Ask(looks[i]);
        }
        if (together) batch.Resolve();
        for (std::size_t i = 0; i < looks.size(); ++i) {
            QImage expected;
            skin::CutPicture(expected, &whole, rects[i]);
            EXPECT_EQ(looks[i].Picture(), expected) << i << (together ? " together" : " alone");
        }
    }
}

// A gradient page picture whose every pixel differs from its neighbours, at `ratio`.
QImage GradientPage(QImage::Format format, qreal ratio) {
    QImage page(QSize(90, 70) * ratio, format);
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) page.setPixel(x, y, qRgba(x * 2, y * 3, (x * y) % 256, 255));
    }
    page.setDevicePixelRatio(ratio);
    return page;
}

// A look shared with a kept page picture shows exactly what its cut-out would, stays intact however the
// page picture is changed or let go afterwards, and changes to the look never reach the page picture.
// Inside an opaque or straight-alpha page it reads the page's pixels in place; where it reaches past the
// page's edge it is a cut-out, transparent outside.
TEST(SharedLooks, ShowTheirCutOutWhateverHappensToThePagePictureLater) {
    struct Case {
        const char* name;
        QImage::Format format;
        qreal ratio;
        QRect rect;
        bool forDrawing;
        bool inPlace;
    };
    const Case cases[] = {
        {"inside", QImage::Format_RGB32, 1.0, QRect(10, 20, 17, 9), false, true},
        {"inside, twice the density", QImage::Format_RGB32, 2.0, QRect(33, 41, 5, 13), false, true},
        {"inside, drawn often", QImage::Format_RGB32, 1.0, QRect(0, 0, 90, 70), true, true},
        {"inside, straight alpha", QImage::Format_ARGB32, 1.0, QRect(1, 2, 30, 40), false, true},
        {"straight alpha, drawn often", QImage::Format_ARGB32, 1.0, QRect(1, 2, 30, 40), true, false},
        {"past the edge", QImage::Format_RGB32, 1.0, QRect(80, 60, 30, 30), false, false},
        {"empty", QImage::Format_RGB32, 1.0, QRect(5, 5, 0, 10), false, false},
    };
    for (const Case& c : cases) {
        std::optional<QImage> page(GradientPage(c.format, c.ratio));
        QImage expected;
        skin::CutPicture(expected, &*page, c.rect);
        CutOut look(c.forDrawing);
        look.Share(*page, c.rect);
        const uchar* pageBits = page->constBits();
        const bool inPlace = !look.Picture().isNull() && look.Picture().constBits() >= pageBits &&
                             look.Picture().constBits() < pageBits + page->sizeInBytes();
        EXPECT_EQ(inPlace, c.inPlace) << c.name;

        // The page picture is drawn over, then let go; new pictures take its memory.
        page->fill(Qt::green);
        page.reset();
        std::vector<QImage> others(4, GradientPage(QImage::Format_RGB32, 1.0));
        for (QImage& other : others) other.fill(Qt::yellow);
        EXPECT_EQ(look.Picture().size(), expected.size()) << c.name;
        EXPECT_EQ(look.Picture().devicePixelRatio(), expected.devicePixelRatio()) << c.name;
        EXPECT_EQ(look.Picture().convertToFormat(QImage::Format_ARGB32), expected) << c.name;
    }

    // Drawing on a copy of the look leaves the page picture as it was.
    const QImage page = GradientPage(QImage::Format_RGB32, 1.0);
    const QImage before = page.copy();
    CutOut look;
    look.Share(page, QRect(10, 10, 20, 20));
    QImage drawnOn = look.Picture();
    drawnOn.fill(Qt::red);
    EXPECT_EQ(page, before);
    EXPECT_NE(look.Picture().pixelColor(0, 0), QColor(Qt::red));
}

}  // namespace
