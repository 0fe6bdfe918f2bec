// A page with a button in each state, rendered as a person would see it. Set HALCYRA_RENDER_DIR to
// keep the picture as "skin_page_states.png" for a look.
#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "ColorBtn.h"
#include "SkinFactory.h"
#include "SkinFolderFixture.h"
#include "SkinTextFormat.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace {

const QColor kBackground(0x14, 0x16, 0x1B);
// The fill of every button in the NORMAL, OVER, DOWN and DISABLE page pictures.
const std::array<QColor, 4> kStateFills = {QColor(0x26, 0x2A, 0x33), QColor(0x3A, 0x44, 0x55),
                                           QColor(0x3F, 0xB6, 0xFF), QColor(0x1D, 0x20, 0x27)};
const std::array<QRect, 6> kButtonRects = {QRect(16, 40, 96, 28),  QRect(128, 40, 96, 28), QRect(240, 40, 96, 28),
                                           QRect(352, 40, 96, 28), QRect(464, 40, 96, 28), QRect(576, 32, 44, 44)};

QImage PagePicture(const QColor& buttonFill) {
    QImage picture(640, 96, QImage::Format_RGB32);
    picture.fill(kBackground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x32, 0x37, 0x43));
    painter.setBrush(buttonFill);
    for (const QRect& rect : kButtonRects) painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    return picture;
}

// The grey-level swatch template: a disc whose red byte is its coverage.
QImage SwatchTemplate() {
    QImage swatch(32, 32, QImage::Format_RGB32);
    swatch.fill(Qt::black);
    QPainter painter(&swatch);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    return swatch;
}

class StatesPage : public skin::CBaseDlg {
public:
    StatesPage() { SetImageFolderName(QStringLiteral("1920x1080/")); }
    void LoadSkin() override {
        CBaseDlg::LoadSkin();
        const char16_t* keys[] = {u"BUTTON_NORMAL", u"BUTTON_HOVER", u"BUTTON_DOWN", u"BUTTON_DISABLED",
                                  u"BUTTON_CHECKED"};
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            skin::CreateSkinButton(buttons[i], this, ImageSet(), u"MAIN", keys[i], true, 1, -1);
        }
        skin::CreateSkinButton(led, this, ImageSet(), u"MAIN", u"BUTTON_LED", false, 1, -1);
        const QImage swatch = SwatchTemplate();
        led.SetSwatchPicture(&swatch, swatch.rect(), 6, 6);
        led.SetColor(255, 120, 0);
    }
    void DrawSkinContent(QPainter& painter) override {
        painter.setPen(QColor(0xE7, 0xE9, 0xEE));
        skin::DrawSkinString(painter, u"MAIN", u"STR_TITLE", skin::DT_LEFT | skin::DT_VCENTER | skin::DT_SINGLELINE);
    }
    std::array<skin::CBitmapBtn, 5> buttons;
    skin::CColorBtn led;
};

TEST(SkinPageRender, EachButtonShowsItsStatePicture) {
    skintest::SkinFolder folder;
    folder.SetSkinDocument(
        u"<SKIN><MAIN><NORMAL>n.bmp</NORMAL><OVER>o.bmp</OVER><DOWN>d.bmp</DOWN><DISABLE>x.bmp</DISABLE></MAIN></SKIN>");
    const char* names[] = {"n.bmp", "o.bmp", "d.bmp", "x.bmp"};
    for (std::size_t state = 0; state < kStateFills.size(); ++state) {
        folder.WritePicture("1920x1080", names[state], PagePicture(kStateFills[state]));
    }
    folder.SetButtonDocument(
        u"<B><MAIN>"
        u"<STR_TITLE FONT=\"Noto Sans\" SIZE=\"-16\" WEIGHT=\"600\">,16,6,400,24,,0</STR_TITLE>"
        u"<BUTTON_NORMAL>,16,40,96,28,,0</BUTTON_NORMAL>"
        u"<BUTTON_HOVER>,128,40,96,28,,0</BUTTON_HOVER>"
        u"<BUTTON_DOWN>,240,40,96,28,,0</BUTTON_DOWN>"
        u"<BUTTON_DISABLED>,352,40,96,28,,0</BUTTON_DISABLED>"
        u"<BUTTON_CHECKED SIZE=\"-13\">,464,40,96,28,,0</BUTTON_CHECKED>"
        u"<BUTTON_LED>,576,32,44,44,,0</BUTTON_LED>"
        u"</MAIN></B>");
    folder.SetStringDocument(
        u"<S><GLOBAL><FONT>Noto Sans</FONT><FONT_SIZE>-13</FONT_SIZE></GLOBAL><MAIN>"
        u"<STR_TITLE>Button states</STR_TITLE>"
        u"<BUTTON_NORMAL>NORMAL</BUTTON_NORMAL><BUTTON_HOVER>HOVER</BUTTON_HOVER><BUTTON_DOWN>PRESSED</BUTTON_DOWN>"
        u"<BUTTON_DISABLED>DISABLED</BUTTON_DISABLED><BUTTON_CHECKED>Checked and a long caption</BUTTON_CHECKED>"
        u"</MAIN></S>");

    StatesPage page;
    page.show();
    QApplication::setActiveWindow(&page);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(page.buttons[1].mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(&page.buttons[1], &enter);
    page.buttons[2].setDown(true);
    page.buttons[3].setEnabled(false);
    page.buttons[4].SetCheckable(true);
    page.buttons[4].SetChecked(true);

    const QImage shown = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QApplication::setActiveWindow(nullptr);
    if (const char* dir = std::getenv("HALCYRA_RENDER_DIR")) shown.save(QString::fromLocal8Bit(dir) + "/skin_page_states.png");

    ASSERT_EQ(shown.size(), QSize(640, 96));
    const int expectedFill[] = {0, 1, 2, 3, 2};
    for (std::size_t i = 0; i < page.buttons.size(); ++i) {
        const QPoint probe = kButtonRects[i].topLeft() + QPoint(8, 4);
        EXPECT_EQ(shown.pixelColor(probe), kStateFills[expectedFill[i]]) << "button " << i;
    }
    // The LED swatch: orange in its middle, the button's own picture around it.
    EXPECT_EQ(shown.pixelColor(kButtonRects[5].topLeft() + QPoint(22, 22)), QColor(255, 120, 0));
    EXPECT_EQ(shown.pixelColor(kButtonRects[5].topLeft() + QPoint(3, 22)), kStateFills[0]);
    EXPECT_EQ(shown.pixelColor(4, 4), kBackground);
}

}  // namespace
