#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "DeferredWindowIcon.h"
#include "PngHSliderBar.h"
#include "SkinErrorMessage.h"
#include "SkinFactory.h"
#include "SkinFolderFixture.h"
#include "SkinSliderFactory.h"

#include <QApplication>
#include <QBuffer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <utility>

namespace {

using skintest::FilledPicture;
using skintest::SkinFolder;

// Counts the "error" message boxes a page would show.
class ErrorMessages {
public:
    ErrorMessages() {
        previous_ = skin::SetErrorMessageHook([this](QWidget*, const QString& text) { texts.push_back(text); });
    }
    ~ErrorMessages() { skin::SetErrorMessageHook(previous_); }
    std::vector<QString> texts;

private:
    skin::ErrorMessageHook previous_;
};

// A page with buttons made from the keys BUTTON_1 ... BUTTON_4 of its section, captioned.
template <typename Button>
class ButtonsPageOf : public skin::CBaseDlg {
public:
    ButtonsPageOf() {
        SetSectionName(QStringLiteral("PAGE"));
        SetImageFolderName(QStringLiteral("Pop"));
    }
    void LoadSkin() override {
        CBaseDlg::LoadSkin();
        const char16_t* keys[] = {u"BUTTON_1", u"BUTTON_2", u"BUTTON_3", u"BUTTON_4"};
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            skin::CreateSkinButton(buttons[i], this, ImageSet(), u"PAGE", keys[i], true, 1, -1);
        }
    }
    std::array<Button, 4> buttons;
};
using ButtonsPage = ButtonsPageOf<skin::CBitmapBtn>;

const std::u16string kSkinDocument =
    u"<SKIN><PAGE><MASK>mask.bmp</MASK><NORMAL>normal.bmp</NORMAL><OVER>over.bmp</OVER>"
    u"<DOWN>down.bmp</DOWN><DISABLE>disable.bmp</DISABLE></PAGE></SKIN>";

TEST(BaseDlg, BrokenSkinFilesAndRecordsOpenWithDefaults) {
    QByteArray validBmp;
    {
        QBuffer buffer(&validBmp);
        buffer.open(QIODevice::WriteOnly);
        FilledPicture(64, 32, Qt::darkGray).save(&buffer, "BMP");
    }
    SkinFolder folder;
    folder.SetSkinDocument(kSkinDocument);
    // mask.bmp is missing; the others are empty, cut short, not a picture, or a picture of a lie.
    folder.WriteFile("Pop", "normal.bmp", QByteArray());
    folder.WriteFile("Pop", "over.bmp", validBmp.left(40));
    folder.WriteFile("Pop", "down.bmp", "this is no picture");
    QByteArray hugeHeader = validBmp.left(54);
    hugeHeader[18] = hugeHeader[19] = hugeHeader[20] = '\x7F';  // width ~ 8 million
    hugeHeader[22] = hugeHeader[23] = hugeHeader[24] = '\x7F';
    folder.WriteFile("Pop", "disable.bmp", hugeHeader);
    folder.SetButtonDocument(
        u"<B><PAGE>"
        u"<BUTTON_1 SIZE=\"99999999999\" OFFSETX=\"-99999999999\">garbage</BUTTON_1>"
        u"<BUTTON_2 FONT=\"\" SIZE=\"-2147483648\">,99999999999,5,-20,-30,,x</BUTTON_2>"
        u"<BUTTON_3 SIZE=\"abc\">,-2147483648,-2147483648,2147483647,2147483647,,0</BUTTON_3>"
        u"<BUTTON_4 OFFSETX=\"7\">,,,,,,,,,,</BUTTON_4>"
        u"</PAGE></B>");
    folder.SetStringDocument(u"<S><PAGE><BUTTON_1>One \\r\\n two</BUTTON_1><BUTTON_3>Three</BUTTON_3></PAGE></S>");

    ErrorMessages errors;
    ButtonsPage page;
    const QSize templateSize = page.size();
    page.show();
    const QImage shown = page.grab().toImage();
    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(errors.texts, std::vector<QString>{QStringLiteral("error")});
    EXPECT_EQ(page.size(), templateSize);
    EXPECT_TRUE(page.BackgroundPicture().isNull());
    EXPECT_EQ(page.buttons[0].geometry(), QRect());
    EXPECT_TRUE(page.buttons[1].geometry().isEmpty());
    for (auto& button : page.buttons) QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(page.grab().isNull());
}

TEST(BaseDlg, PageTakesItsBackgroundSizeAndMaskOutline) {
    SkinFolder folder;
    folder.SetSkinDocument(kSkinDocument);
    folder.WritePicture("Pop", "normal.bmp", FilledPicture(120, 60, Qt::darkBlue));
    QImage mask = FilledPicture(120, 60, Qt::black);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    folder.WritePicture("Pop", "mask.bmp", mask);

    ErrorMessages errors;
    skin::CBaseDlg page;
    page.SetSectionName(QStringLiteral("PAGE"));
    page.SetImageFolderName(QStringLiteral("Pop/"));
    ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
    EXPECT_TRUE(errors.texts.empty());
    EXPECT_EQ(page.size(), QSize(120, 60));
    EXPECT_FALSE(page.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(page.mask().contains(QPoint(1, 0)));
    // The page holds no hover, pressed or disabled picture once it is initialised.
    EXPECT_EQ(page.ImageSet().over, nullptr);
    EXPECT_EQ(page.ImageSet().deferredOver, nullptr);
    EXPECT_EQ(page.ImageSet().deferredDown, nullptr);
    EXPECT_EQ(page.ImageSet().deferredDisable, nullptr);
}

// A page of four state pictures with one button, BUTTON_1 at (10, 10) 40x20; only its normal picture
// (dark blue) is written.
void WriteOneButtonPage(SkinFolder& folder) {
    folder.SetSkinDocument(
        u"<SKIN><PAGE><NORMAL>normal.bmp</NORMAL><OVER>over.bmp</OVER><DOWN>down.bmp</DOWN>"
        u"<DISABLE>disable.bmp</DISABLE></PAGE></SKIN>");
    folder.SetButtonDocument(u"<B><PAGE><BUTTON_1>BUTTON_1,10,10,40,20,,0</BUTTON_1></PAGE></B>");
    folder.WritePicture("Pop", "normal.bmp", FilledPicture(80, 60, Qt::darkBlue));
}

// The hover, pressed and disabled pictures are read when a button first shows them, not when the page
// is made: written only after the page exists, each state still shows its own picture.
TEST(BaseDlg, EachLookIsReadFromItsPagePictureWhenFirstShown) {
    SkinFolder folder;
    WriteOneButtonPage(folder);
    ButtonsPage page;
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    QApplication::setActiveWindow(&page);
    skin::CBitmapBtn& button = page.buttons[0];
    ASSERT_EQ(button.geometry(), QRect(10, 10, 40, 20));

    folder.WritePicture("Pop", "over.bmp", FilledPicture(80, 60, Qt::yellow));
    folder.WritePicture("Pop", "down.bmp", FilledPicture(80, 60, Qt::darkGreen));
    folder.WritePicture("Pop", "disable.bmp", FilledPicture(80, 60, Qt::gray));
    struct Case {
        const char* state;
        std::function<void()> enter;
        std::function<void()> leave;
        QColor shown;
    };
    const Case cases[] = {
        {"normal", [] {}, [] {}, Qt::darkBlue},
        {"hovered",
         [&] {
             QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(button.mapToGlobal(QPoint(5, 5))));
             QApplication::sendEvent(&button, &enter);
         },
         [&] {
             QEvent leave(QEvent::Leave);
             QApplication::sendEvent(&button, &leave);
         },
         Qt::yellow},
        {"pressed", [&] { button.setDown(true); }, [&] { button.setDown(false); }, Qt::darkGreen},
        {"disabled", [&] { button.setEnabled(false); }, [&] { button.setEnabled(true); }, Qt::gray},
    };
    for (const Case& c : cases) {
        c.enter();
        EXPECT_EQ(button.grab().toImage().pixelColor(20, 10), c.shown) << c.state;
        c.leave();
    }
    QApplication::setActiveWindow(nullptr);
}

// A page lets go of the part of its background that a child page always covers; the rest paints exactly
// as the whole picture did. A cover that misses the page keeps the picture whole.
TEST(BaseDlg, ABackgroundCutDownToWhatIsSeenPaintsAsTheWholeDid) {
    QImage picture(120, 60, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 2, y * 4, (x * y) % 256));
    }
    struct Case {
        const char* name;
        QRect covered;
        bool kept;
    };
    const Case cases[] = {
        {"rows", QRect(0, 10, 120, 30), false},
        {"a block inside", QRect(30, 15, 50, 20), false},
        {"past the corner", QRect(100, 40, 90, 90), false},
        {"outside", QRect(130, 0, 20, 20), true},
    };
    for (const Case& c : cases) {
        SkinFolder folder;
        folder.SetSkinDocument(u"<SKIN><PAGE><NORMAL>normal.bmp</NORMAL></PAGE></SKIN>");
        folder.WritePicture("Pop", "normal.bmp", picture);
        skin::CBaseDlg page;
        page.SetSectionName(QStringLiteral("PAGE"));
        page.SetImageFolderName(QStringLiteral("Pop"));
        ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
        const QImage before = page.grab().toImage().convertToFormat(QImage::Format_RGB32);

        page.DropBackgroundUnder(c.covered);
        EXPECT_EQ(page.BackgroundPicture().isNull(), !c.kept) << c.name;
        const QImage after = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(after.size(), before.size()) << c.name;
        int differing = 0;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (!c.covered.contains(x, y) && after.pixel(x, y) != before.pixel(x, y)) ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << c.name;
    }
}

// A page whose background rows were left undecoded for a child page has them decoded when it needs them
// after all; a picture that can no longer be read by then leaves them black, never what their memory held.
TEST(BaseDlg, BackgroundRowsLeftUndecodedAreDecodedLaterOrBlack) {
    class HiddenRowsPage : public skin::CBaseDlg {
    public:
        using CBaseDlg::DecodeWholeBackground;
        using CBaseDlg::HideBackgroundRows;
        using CBaseDlg::UndecodedBackgroundRows;
    };
    QImage picture(120, 60, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 2, y * 4, 200));
    }
    const QByteArray jpeg = skintest::JpegBytes(picture);
    ASSERT_FALSE(jpeg.isEmpty());
    const QImage decoded = QImage::fromData(jpeg).convertToFormat(QImage::Format_RGB32);
    const QRect hidden(0, 16, 120, 32);
    struct Case {
        const char* name;
        QByteArray laterFile;
        bool rowsDecoded;
    };
    const Case cases[] = {
        {"the picture is still there", jpeg, true},
        {"the picture is no longer a picture", QByteArray("not a picture"), false},
    };
    for (const Case& c : cases) {
        SkinFolder folder;
        folder.SetSkinDocument(u"<SKIN><PAGE><NORMAL>normal.jpg</NORMAL></PAGE></SKIN>");
        folder.WriteFile(QStringLiteral("Pop"), QStringLiteral("normal.jpg"), jpeg);
        HiddenRowsPage page;
        page.SetSectionName(QStringLiteral("PAGE"));
        page.SetImageFolderName(QStringLiteral("Pop"));
        page.HideBackgroundRows(hidden);
        ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate)) << c.name;
        ASSERT_EQ(page.UndecodedBackgroundRows(), hidden) << c.name;

        folder.WriteFile(QStringLiteral("Pop"), QStringLiteral("normal.jpg"), c.laterFile);
        page.DecodeWholeBackground();
        EXPECT_TRUE(page.UndecodedBackgroundRows().isEmpty()) << c.name;
        const QImage background = page.BackgroundPicture().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(background.size(), decoded.size()) << c.name;
        int wrong = 0;
        for (int y = 0; y < background.height(); ++y) {
            for (int x = 0; x < background.width(); ++x) {
                const QRgb expected = hidden.contains(x, y) && !c.rowsDecoded ? qRgb(0, 0, 0) : decoded.pixel(x, y);
                if (background.pixel(x, y) != expected) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

// A window draws what lies under a child page only where the page's own paint may leave it seen: each
// case is a page that paints its whole rectangle opaquely, or one that may not.
TEST(BaseDlg, APageSaysWhetherItsPaintCoversItsWholeRectangle) {
    QImage translucent = FilledPicture(120, 60, Qt::darkBlue).convertToFormat(QImage::Format_ARGB32);
    translucent.setPixel(3, 3, qRgba(0, 0, 0, 0));
    QImage outline = FilledPicture(120, 60, Qt::black);
    outline.setPixel(0, 0, qRgb(255, 255, 255));
    struct Case {
        const char* name;
        QString picture;  // the page's background file ("" none)
        QImage pixels;
        bool masked;
        QSize resized;  // the page's size after creation (invalid: as its picture gives)
        QRect dropped;  // the background dropped under a child (invalid: kept whole)
        bool covers;
    };
    const QImage opaque = FilledPicture(120, 60, Qt::darkBlue);
    const Case cases[] = {
        {"opaque picture of the page's size", "normal.bmp", opaque, false, QSize(), QRect(), true},
        {"page smaller than its picture", "normal.bmp", opaque, false, QSize(100, 50), QRect(), false},
        {"page larger than its picture", "normal.bmp", opaque, false, QSize(121, 60), QRect(), false},
        {"picture with see-through pixels", "normal.png", translucent, false, QSize(), QRect(), false},
        {"no picture", "", QImage(), false, QSize(120, 60), QRect(), false},
        {"outline", "normal.bmp", opaque, true, QSize(), QRect(), false},
        {"background cut down to what is seen", "normal.bmp", opaque, false, QSize(), QRect(0, 10, 120, 30), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkinFolder folder;
        const std::u16string mask = c.masked ? u"<MASK>mask.bmp</MASK>" : u"";
        folder.SetSkinDocument(u"<SKIN><PAGE>" + mask + u"<NORMAL>" + c.picture.toStdU16String() +
                               u"</NORMAL></PAGE></SKIN>");
        if (c.picture.endsWith(QLatin1String(".png"))) {
            // Stored with its alpha channel, which the fixture's BMP files drop.
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            ASSERT_TRUE(c.pixels.save(&buffer, "PNG"));
            folder.WriteFile("Pop", c.picture, png);
        } else if (!c.picture.isEmpty()) {
            folder.WritePicture("Pop", c.picture, c.pixels);
        }
        folder.WritePicture("Pop", "mask.bmp", outline);
        QWidget window;
        window.resize(200, 100);
        skin::CBaseDlg page;
        page.SetSectionName(QStringLiteral("PAGE"));
        page.SetImageFolderName(QStringLiteral("Pop"));
        ASSERT_TRUE(page.CreateSkinPage(&window, skin::CBaseDlg::kChildTemplate));
        if (c.resized.isValid()) page.resize(c.resized);
        if (c.dropped.isValid()) page.DropBackgroundUnder(c.dropped);
        EXPECT_EQ(page.PaintsWholeRectOpaque(), c.covers);
    }
}

// A button that runs `beforeFirstPaint` as its first paint begins.
class FirstPaintButton : public skin::CBitmapBtn {
public:
    std::function<void()> beforeFirstPaint;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (beforeFirstPaint) std::exchange(beforeFirstPaint, nullptr)();
        skin::CBitmapBtn::paintEvent(event);
    }
};

// The looks a window's widgets show when it is first painted are decoded before that paint, which makes
// the window buffer, so no page picture is decoded while that buffer is held; the state they show is
// the one the window has then, not when it was shown. Looks not shown (hover) still wait for their
// first use. The page pictures are overwritten as the first paint begins: a look decoded in that paint
// would show the new picture.
TEST(BaseDlg, TheLooksShownAtFirstAreDecodedBeforeTheFirstPaint) {
    struct Case {
        const char* name;
        std::function<void(skin::CBitmapBtn&)> setAfterShowing;
        std::function<void(skin::CBitmapBtn&)> afterPainting;
        QColor shown;
    };
    const auto nothing = [](skin::CBitmapBtn&) {};
    const Case cases[] = {
        {"checked", [](skin::CBitmapBtn& b) { b.SetCheckable(true), b.SetChecked(true); }, nothing, Qt::darkGreen},
        {"disabled", [](skin::CBitmapBtn& b) { b.setEnabled(false); }, nothing, Qt::gray},
        {"hovered later", nothing,
         [](skin::CBitmapBtn& b) {
             QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(b.mapToGlobal(QPoint(5, 5))));
             QApplication::sendEvent(&b, &enter);
         },
         Qt::cyan},
    };
    for (const Case& c : cases) {
        SkinFolder folder;
        WriteOneButtonPage(folder);
        folder.WritePicture("Pop", "over.bmp", FilledPicture(80, 60, Qt::yellow));
        folder.WritePicture("Pop", "down.bmp", FilledPicture(80, 60, Qt::darkGreen));
        folder.WritePicture("Pop", "disable.bmp", FilledPicture(80, 60, Qt::gray));
        ButtonsPageOf<FirstPaintButton> page;
        ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
        FirstPaintButton& button = page.buttons[0];
        button.beforeFirstPaint = [&folder] {
            for (const char* name : {"over.bmp", "down.bmp", "disable.bmp"}) {
                folder.WritePicture("Pop", name, FilledPicture(80, 60, Qt::cyan));
            }
        };
        page.show();
        c.setAfterShowing(button);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        ASSERT_FALSE(button.beforeFirstPaint) << c.name;
        QApplication::setActiveWindow(&page);
        c.afterPainting(button);
        EXPECT_EQ(button.grab().toImage().pixelColor(20, 10), c.shown) << c.name;
        QApplication::setActiveWindow(nullptr);
    }
}

// As the window is exposed, the looks its buttons show are cut from one decode per page picture, of the
// part that holds them all: a look lying inside that part is cut from it too, one outside it waits for
// a decode of its own when it is first shown (which here finds the picture changed).
TEST(BaseDlg, TheLooksShownAtFirstShareOneDecodeOfTheirPart) {
    SkinFolder folder;
    folder.SetSkinDocument(u"<SKIN><PAGE><NORMAL>normal.bmp</NORMAL><DOWN>down.bmp</DOWN></PAGE></SKIN>");
    folder.SetButtonDocument(
        u"<B><PAGE><BUTTON_1>BUTTON_1,0,0,20,10,,0</BUTTON_1><BUTTON_2>BUTTON_2,60,20,20,10,,0</BUTTON_2>"
        u"<BUTTON_3>BUTTON_3,30,10,20,10,,0</BUTTON_3><BUTTON_4>BUTTON_4,90,40,20,10,,0</BUTTON_4></PAGE></B>");
    folder.WritePicture("Pop", "normal.bmp", FilledPicture(120, 60, Qt::darkBlue));
    folder.WritePicture("Pop", "down.bmp", FilledPicture(120, 60, Qt::darkGreen));
    ButtonsPage page;
    ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
    for (skin::CBitmapBtn* shown : {&page.buttons[0], &page.buttons[1]}) {
        shown->SetCheckable(true);
        shown->SetChecked(true);
    }
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    folder.WritePicture("Pop", "down.bmp", FilledPicture(120, 60, Qt::cyan));
    page.buttons[2].setDown(true);
    page.buttons[3].setDown(true);

    const std::pair<const char*, QColor> cases[] = {
        {"shown checked", Qt::darkGreen},
        {"shown checked, the other end", Qt::darkGreen},
        {"pressed later, between them", Qt::darkGreen},
        {"pressed later, outside them", Qt::cyan},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(page.buttons[i].grab().toImage().pixelColor(5, 5), cases[i].second) << cases[i].first;
    }
}

// A page with a button (BUTTON_1) and two sliders (SLIDER_1, SLIDER_2) of its section.
class SlidersPage : public skin::CBaseDlg {
public:
    SlidersPage() {
        SetSectionName(QStringLiteral("PAGE"));
        SetImageFolderName(QStringLiteral("Pop"));
    }
    void LoadSkin() override {
        CBaseDlg::LoadSkin();
        skin::CreateSkinButton(button, this, ImageSet(), u"PAGE", u"BUTTON_1", true, 1, -1);
        const char16_t* keys[] = {u"SLIDER_1", u"SLIDER_2"};
        for (std::size_t i = 0; i < sliders.size(); ++i) {
            skin::CreateSkinSlider(sliders[i], this, ImageSet(), u"PAGE", keys[i], 2, {}, {}, {}, false, 0, 10);
        }
    }
    skin::CBitmapBtn button;
    std::array<skin::CPngHSliderBar, 2> sliders;
};

// Disabled sliders shown as the window is exposed have their disabled tracks cut from the same decode
// of their picture as the other looks shown from it: a look lying between them is cut from that decode
// too (it shows the picture as it was, not as it is later changed).
TEST(BaseDlg, DisabledSlidersShownAtFirstShareTheDecodeOfTheirPicture) {
    SkinFolder folder;
    folder.SetSkinDocument(u"<SKIN><PAGE><NORMAL>normal.bmp</NORMAL><DISABLE>disable.bmp</DISABLE></PAGE></SKIN>");
    folder.SetButtonDocument(
        u"<B><PAGE><SLIDER_1>SLIDER_1,0,0,50,10,,0</SLIDER_1><BUTTON_1>BUTTON_1,40,20,20,10,,0</BUTTON_1>"
        u"<SLIDER_2>SLIDER_2,60,40,50,10,,0</SLIDER_2></PAGE></B>");
    folder.WritePicture("Pop", "normal.bmp", FilledPicture(120, 60, Qt::darkBlue));
    folder.WritePicture("Pop", "disable.bmp", FilledPicture(120, 60, Qt::gray));
    SlidersPage page;
    ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
    for (skin::CPngHSliderBar& slider : page.sliders) slider.setEnabled(false);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    folder.WritePicture("Pop", "disable.bmp", FilledPicture(120, 60, Qt::cyan));
    page.button.setEnabled(false);

    const std::pair<QWidget*, const char*> shown[] = {
        {&page.sliders[0], "disabled slider"},
        {&page.sliders[1], "disabled slider, the other end"},
        {&page.button, "disabled later, between them"},
    };
    for (const auto& [widget, name] : shown) {
        EXPECT_EQ(widget->grab().toImage().pixelColor(5, 5), QColor(Qt::gray)) << name;
    }
}

// Where a mask only limits input (Wayland) a shaped page is drawn translucent and clipped to its
// outline; where the windowing system cuts windows (X11, and the test platform) the mask does it alone.
TEST(BaseDlg, OnlyPlatformsThatCannotShapeWindowsGetTheTranslucentOutline) {
    const std::pair<const char*, bool> cases[] = {
        {"xcb", true}, {"offscreen", true}, {"wayland", false}, {"wayland-egl", false}, {"wayland-brcm", false},
    };
    for (const auto& [name, shapes] : cases) EXPECT_EQ(skin::PlatformShapesWindows(QString::fromLatin1(name)), shapes) << name;

    SkinFolder folder;
    folder.SetSkinDocument(kSkinDocument);
    folder.WritePicture("Pop", "normal.bmp", FilledPicture(40, 30, Qt::darkBlue));
    QImage mask = FilledPicture(40, 30, Qt::black);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    folder.WritePicture("Pop", "mask.bmp", mask);
    skin::CBaseDlg page;
    page.SetSectionName(QStringLiteral("PAGE"));
    page.SetImageFolderName(QStringLiteral("Pop/"));
    ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
    EXPECT_FALSE(page.mask().isEmpty());
    EXPECT_FALSE(page.testAttribute(Qt::WA_TranslucentBackground));
}

TEST(BaseDlg, PageWithoutMaskStaysRectangularAndSilent) {
    SkinFolder folder;
    folder.SetSkinDocument(u"<SKIN><MAIN><NORMAL>normal.bmp</NORMAL></MAIN></SKIN>");
    folder.WritePicture("", "normal.bmp", FilledPicture(30, 20, Qt::gray));
    ErrorMessages errors;
    skin::CBaseDlg page;
    page.show();
    EXPECT_TRUE(errors.texts.empty());
    EXPECT_TRUE(page.mask().isEmpty());
    EXPECT_EQ(page.size(), QSize(30, 20));
}

// A page that knows whether it is painting.
class PaintWatchedPage : public skin::CBaseDlg {
public:
    bool painting = false;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        painting = true;
        skin::CBaseDlg::paintEvent(event);
        painting = false;
        ++paints;
    }
};

// Work the first picture does not need waits for firstPainted: it comes once, and only after the
// paint has returned (so the picture is handed on first).
TEST(BaseDlg, FirstPaintedComesOnceAfterTheFirstPaint) {
    SkinFolder folder;
    WriteOneButtonPage(folder);
    PaintWatchedPage page;
    page.SetSectionName(QStringLiteral("PAGE"));
    page.SetImageFolderName(QStringLiteral("Pop/"));
    ASSERT_TRUE(page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate));
    std::vector<std::pair<int, bool>> reports;  // paints so far, and whether a paint was running
    QObject::connect(&page, &skin::CBaseDlg::firstPainted,
                     [&] { reports.emplace_back(page.paints, page.painting); });
    page.show();
    ASSERT_TRUE(QTest::qWaitFor([&reports] { return !reports.empty(); }, 2000));
    page.repaint();
    page.update();
    QTest::qWait(50);
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_GE(reports[0].first, 1) << "reported before any paint";
    EXPECT_FALSE(reports[0].second) << "reported while the paint was still running";
}

// A window that notes whether it had the application's window icon when it was shown (before it
// is mapped, when the desktop first reads its icon).
class IconWatchedWindow : public QDialog {
public:
    bool iconWhenShown = false;

protected:
    void showEvent(QShowEvent* event) override {
        iconWhenShown = !windowIcon().isNull();
        QDialog::showEvent(event);
    }
};

// The program's icon waits for the main window's first paint; a window shown before then (a message
// box while the main window loads its skin) has it from the start all the same, and so does one shown
// after. The icon is made once.
TEST(DeferredWindowIcon, WaitsForTheMainWindowsFirstPaintUnlessAnotherWindowComesFirst) {
    for (const bool popupFirst : {false, true}) {
        const char* name = popupFirst ? "a pop-up before the main window" : "the main window first";
        QApplication::setWindowIcon(QIcon());
        SkinFolder folder;
        WriteOneButtonPage(folder);
        int made = 0;
        skin::DeferredWindowIcon icon([&made] {
            ++made;
            return QIcon(QPixmap::fromImage(FilledPicture(16, 16, Qt::red)));
        });
        IconWatchedWindow popup;
        if (popupFirst) {
            popup.show();
            EXPECT_TRUE(popup.iconWhenShown) << name;
            popup.hide();
        }
        PaintWatchedPage page;
        page.SetSectionName(QStringLiteral("PAGE"));
        page.SetImageFolderName(QStringLiteral("Pop/"));
        icon.SetAfterFirstPaintOf(page);
        page.show();
        if (!popupFirst) {
            EXPECT_EQ(made, 0) << name << ": made before the main window painted";
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return page.paints > 0 && icon.IsSet(); }, 2000)) << name;
        IconWatchedWindow later;
        later.show();
        EXPECT_TRUE(later.iconWhenShown) << name;
        EXPECT_EQ(made, 1) << name;
    }
    QApplication::setWindowIcon(QIcon());
}

TEST(BaseDlg, EnterAndEscapeDoNotCloseThePage) {
    SkinFolder folder;
    skin::CBaseDlg page;
    page.show();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&page, key);
        EXPECT_TRUE(page.isVisible()) << key;
    }
    EXPECT_EQ(page.result(), 0);
}

TEST(BaseDlg, DraggingAnEmbeddedPageMovesItsWindow) {
    SkinFolder folder;
    QWidget mainWindow;
    mainWindow.setGeometry(50, 60, 300, 200);
    mainWindow.show();
    skin::CBaseDlg page;
    ASSERT_TRUE(page.CreateSkinPage(&mainWindow, skin::CBaseDlg::kChildTemplate));
    page.setGeometry(20, 20, 100, 80);
    page.show();
    const QPoint start = mainWindow.pos();

    const QPoint grip(10, 10);
    const QPoint global = page.mapToGlobal(grip);
    QMouseEvent press(QEvent::MouseButtonPress, grip, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &press);
    QMouseEvent move(QEvent::MouseMove, grip + QPoint(30, 20), global + QPoint(30, 20), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, grip + QPoint(30, 20), global + QPoint(30, 20), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &release);

    EXPECT_EQ(mainWindow.pos(), start + QPoint(30, 20));
    EXPECT_EQ(page.pos(), QPoint(20, 20));
}

}  // namespace
