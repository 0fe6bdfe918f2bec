#include "PngHSliderBar.h"
#include "SkinDocuments.h"
#include "SkinSliderFactory.h"
#include "WindowMessage.h"
#include "XmlTextConversion.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QColor kTrack(0x26, 0x2A, 0x33);
const QColor kFill(0x3F, 0xB6, 0xFF);
const QColor kDisabled(0x5A, 0x60, 0x6B);
const QColor kThumb(Qt::white);
const QColor kHoverThumb(0xFF, 0xB5, 0x47);
constexpr int kColourSliderId = 1000;

QImage PagePicture(const QColor& colour) {
    QImage picture(300, 60, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture;
}

// A 20 x 12 thumb whose two leftmost columns are fully transparent, so a wrong blend shows.
QString WriteThumb(const QTemporaryDir& dir, const QString& name, const QColor& colour) {
    QImage thumb(20, 12, QImage::Format_ARGB32);
    thumb.fill(colour);
    for (int y = 0; y < thumb.height(); ++y) {
        thumb.setPixelColor(0, y, Qt::transparent);
        thumb.setPixelColor(1, y, Qt::transparent);
    }
    const QString path = dir.filePath(name);
    thumb.save(path, "PNG");
    return path;
}

// The LED page's part in this: it receives the slider's notifications and, like the page, moves the
// thumb to the value it was told.
class SliderPage : public QWidget {
public:
    struct Notification {
        int value;
        std::intptr_t controlId;
    };

    skin::CPngHSliderBar slider;
    std::vector<Notification> notifications;

    bool event(QEvent* event) override {
        if (auto* message = platform::AsWindowMessage(event)) {
            if (message->Message() == skin::kSliderValueMessage) {
                const int value = static_cast<int>(message->WParam());
                notifications.push_back({value, message->LParam()});
                slider.SetPosition(value);
                return true;
            }
        }
        return QWidget::event(event);
    }
};

class ColourSlider : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        skindocs::ResetSkinDocuments();
        skindocs::ButtonDocument().SetText(xml::Utf8ToUtf16("<SKIN><LED><SLIDER_R>SLIDER_R,40,10,200,24,,0</SLIDER_R></LED></SKIN>"));
        thumbFile = WriteThumb(dir, "thumb.png", kThumb);
        hoverFile = WriteThumb(dir, "hover.png", kHoverThumb);
        page.resize(300, 60);
    }
    void TearDown() override { skindocs::ResetSkinDocuments(); }

    void Create(skin::CPngHSliderBar& slider, bool withDisabledLook = true) {
        const skin::SkinImageSet images =
            skin::SkinImageSet::Of(&normal, &over, &down, withDisabledLook ? &disable : nullptr);
        skin::CreateSkinSlider(slider, &page, images, u"LED", u"SLIDER_R", kColourSliderId, thumbFile, {},
                               hoverFile, false, 0, 255);
        page.show();
    }

    static QColor Shown(QWidget& slider, int x, int y) { return slider.grab().toImage().pixelColor(x, y); }
    QColor Shown(int x, int y) { return Shown(page.slider, x, y); }

    QTemporaryDir dir;
    QString thumbFile;
    QString hoverFile;
    QImage normal = PagePicture(kTrack);
    QImage over = PagePicture(Qt::gray);
    QImage down = PagePicture(kFill);
    QImage disable = PagePicture(kDisabled);
    SliderPage page;
};

TEST_F(ColourSlider, TakesItsPlaceAndThumbFromTheSkin) {
    Create(page.slider);
    EXPECT_EQ(page.slider.geometry(), QRect(40, 10, 200, 24));
    EXPECT_EQ(page.slider.ThumbSize(), QSize(20, 12));
    EXPECT_EQ(page.slider.Minimum(), 0);
    EXPECT_EQ(page.slider.Maximum(), 255);
}

TEST_F(ColourSlider, MissingRecordAndThumbGiveAnEmptySlider) {
    skin::CPngHSliderBar slider;
    skin::CreateSkinSlider(slider, &page, skin::SkinImageSet::Of(&normal, &over, &down, &disable), u"LED", u"NO_SUCH_SLIDER", 1,
                           dir.filePath("missing.png"), {}, {}, false, 0, 4);
    EXPECT_EQ(slider.geometry().size(), QSize(0, 0));
    EXPECT_EQ(slider.ThumbSize(), QSize(0, 0));
    EXPECT_EQ(slider.Maximum(), 4);
}

TEST_F(ColourSlider, FillsUpToTheThumbCentreAndBlendsTheThumb) {
    Create(page.slider);
    page.slider.SetPosition(128);
    EXPECT_EQ(page.slider.ThumbRect(), QRect(90, 12, 20, 12));
    EXPECT_EQ(Shown(99, 2), kFill);
    EXPECT_EQ(Shown(100, 2), kTrack);
    // The thumb's transparent columns at 90 and 91 let the fill through.
    EXPECT_EQ(Shown(91, 18), kFill);
    EXPECT_EQ(Shown(92, 18), kThumb);
    EXPECT_EQ(Shown(109, 18), kThumb);
    EXPECT_EQ(Shown(110, 18), kTrack);
}

TEST_F(ColourSlider, DisabledLooks) {
    struct Case {
        bool withDisabledLook;
        QColor beforeThumb;
        QColor underThumb;
    };
    const Case cases[] = {
        {true, kDisabled, kDisabled},  // only the disabled picture
        {false, kFill, kFill},         // track and fill, but no thumb
    };
    for (const auto& c : cases) {
        skin::CPngHSliderBar slider;
        Create(slider, c.withDisabledLook);
        slider.SetPosition(128);
        slider.setEnabled(false);
        EXPECT_EQ(Shown(slider, 50, 2), c.beforeThumb) << c.withDisabledLook;
        EXPECT_EQ(Shown(slider, 95, 18), c.underThumb) << c.withDisabledLook;
        EXPECT_EQ(Shown(slider, 150, 2), c.withDisabledLook ? kDisabled : kTrack) << c.withDisabledLook;
    }
}

TEST_F(ColourSlider, HoveredThumbShowsTheHoverPicture) {
    Create(page.slider);
    page.slider.SetPosition(128);
    QTest::mouseMove(&page.slider, QPoint(100, 18));
    EXPECT_TRUE(page.slider.ThumbHovered());
    EXPECT_EQ(Shown(100, 18), kHoverThumb);
    QTest::mouseMove(&page.slider, QPoint(20, 18));
    EXPECT_FALSE(page.slider.ThumbHovered());
    EXPECT_EQ(Shown(100, 18), kThumb);
}

TEST_F(ColourSlider, DraggingPostsOncePerChangeAndOnceOnRelease) {
    Create(page.slider);
    QTest::mousePress(&page.slider, Qt::LeftButton, {}, QPoint(5, 12));
    QApplication::processEvents();
    EXPECT_TRUE(page.notifications.empty());
    for (int x : {110, 111, 111, 112}) {
        QTest::mouseMove(&page.slider, QPoint(x, 12));
        QApplication::processEvents();
    }
    EXPECT_TRUE(page.slider.ThumbHovered());
    QTest::mouseRelease(&page.slider, Qt::LeftButton, {}, QPoint(112, 12));
    QApplication::processEvents();

    std::vector<int> values;
    for (const auto& n : page.notifications) {
        values.push_back(n.value);
        EXPECT_EQ(n.controlId, kColourSliderId);
    }
    EXPECT_EQ(values, (std::vector<int>{142, 143, 145, 145}));
    EXPECT_EQ(page.slider.Position(), 145);
}

// The release of a drag can be lost (the window hidden or the grab taken while the button is held):
// the first move that arrives with the button up ends the drag where the thumb stands, and the moves
// after it change nothing.
TEST_F(ColourSlider, MoveWithTheButtonUpEndsALostDrag) {
    Create(page.slider);
    QTest::mousePress(&page.slider, Qt::LeftButton, {}, QPoint(5, 12));
    QTest::mouseMove(&page.slider, QPoint(110, 12));
    QApplication::processEvents();
    ASSERT_EQ(page.slider.Position(), 142);
    for (int x : {195, 60, 150}) {
        const QPointF at(x, 12);
        QMouseEvent move(QEvent::MouseMove, at, page.slider.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&page.slider, &move);
        QApplication::processEvents();
    }
    std::vector<int> values;
    for (const auto& n : page.notifications) values.push_back(n.value);
    EXPECT_EQ(values, (std::vector<int>{142, 142}));
    EXPECT_EQ(page.slider.Position(), 142);
}

}  // namespace
