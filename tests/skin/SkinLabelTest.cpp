#include "SkinFactory.h"
#include "SkinFolderFixture.h"
#include "SkinTextFormat.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

using namespace skin;

// What a label left on a white picture: its ink colour, how many separate bands of inked rows
// (lines) and the height from the first to the last inked row.
struct Ink {
    QColor color;
    int lines = 0;
    int top = -1;
    int height = 0;
};

Ink DrawLabel(std::u16string_view key, const QString& text, unsigned format) {
    QImage picture(300, 200, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        QFont font = painter.font();
        font.setPixelSize(30);
        painter.setFont(font);
        painter.setPen(Qt::black);
        DrawSkinLabel(painter, u"PAGE", key, text, format);
    }
    Ink ink;
    int first = -1;
    int last = -1;
    bool previousInked = false;
    int darkest = 255 * 3;
    for (int y = 0; y < picture.height(); ++y) {
        bool inked = false;
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            const int lightness = pixel.red() + pixel.green() + pixel.blue();
            if (lightness == 255 * 3) continue;
            inked = true;
            if (lightness < darkest) {
                darkest = lightness;
                ink.color = pixel;
            }
        }
        if (inked && !previousInked) ++ink.lines;
        if (inked) {
            if (first < 0) first = y;
            last = y;
        }
        previousInked = inked;
    }
    ink.top = first;
    ink.height = first < 0 ? 0 : last - first + 1;
    return ink;
}

class SkinLabel : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.SetButtonDocument(
            u"<B><PAGE>"
            u"<PLAIN>,0,0,300,200,,0</PLAIN>"
            u"<RED COLOR=\"255\">,0,0,300,200,,0</RED>"
            u"<BLUE COLOR=\"16711680\">,0,0,300,200,,0</BLUE>"
            u"<FACE_ONLY FONT=\"Noto Sans\">,0,0,300,200,,0</FACE_ONLY>"
            u"<SMALL FONT=\"Noto Sans\" SIZE=\"-10\">,0,0,300,200,,0</SMALL>"
            u"<CORNER>,20,20,0,0,,0</CORNER>"
            u"</PAGE></B>");
    }
    skintest::SkinFolder folder_;
};

TEST_F(SkinLabel, ColourFontAndLineBreaksComeFromTheRecord) {
    const unsigned centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    const unsigned wrapped = DT_CENTER | DT_VCENTER | DT_WORDBREAK;
    const Ink plain = DrawLabel(u"PLAIN", "HH", centred);
    ASSERT_EQ(plain.lines, 1);
    EXPECT_EQ(plain.color, QColor(Qt::black));

    struct ColourCase {
        std::u16string_view key;
        QColor color;
    };
    for (const ColourCase& c : {ColourCase{u"RED", QColor(255, 0, 0)}, ColourCase{u"BLUE", QColor(0, 0, 255)}}) {
        const Ink ink = DrawLabel(c.key, "HH", centred);
        EXPECT_EQ(ink.color, c.color);
    }

    // A face without a size keeps the painter's font; with a size it replaces it.
    EXPECT_EQ(DrawLabel(u"FACE_ONLY", "HH", centred).height, plain.height);
    EXPECT_LT(DrawLabel(u"SMALL", "HH", centred).height, plain.height * 2 / 3);

    // "\r\n" written out breaks the line where lines may wrap.
    EXPECT_EQ(DrawLabel(u"PLAIN", "HH\\r\\nHH", wrapped).lines, 2);
    EXPECT_EQ(DrawLabel(u"PLAIN", "HH\\r\\nHH", centred).lines, 1);
}

TEST_F(SkinLabel, WrappedTextIsCentredVertically) {
    const Ink ink = DrawLabel(u"PLAIN", "HH\\r\\nHH", DT_CENTER | DT_WORDBREAK);
    ASSERT_EQ(ink.lines, 2);
    // Two 30-pixel lines in the middle of the 200-pixel rectangle, not at its top.
    EXPECT_GT(ink.top, 50);
    EXPECT_LT(ink.top, 100);
}

TEST_F(SkinLabel, AnEmptyRectangleShowsItsTextOnlyWithoutClipping) {
    // A record that gives only a corner (width and height 0) is drawn from there when clipping is off.
    EXPECT_EQ(DrawLabel(u"CORNER", "HH", DT_LEFT | DT_SINGLELINE).lines, 0);
    EXPECT_EQ(DrawLabel(u"CORNER", "HH", DT_LEFT | DT_SINGLELINE | DT_NOCLIP).lines, 1);
}

}  // namespace
