// Every caption and label fits its box at every resolution in both shipped languages, measured in the
// font the toolkit draws it with: SkinFont of the face, size and weight its record's attributes name.
// And that font is one a person reads comfortably.
#include "GeneratedSkin.h"
#include "SkinAttributes.h"
#include "SkinFont.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

using namespace skindocs;
using skintest::ToU16;

// A version number as long as any the prompt appends to its labels.
const QString kVersionSample = " V10.10.100";

QFont FontOf(skintest::SkinSet& set, const std::u16string& section, const std::u16string& key, int defaultWeight) {
    const QString weight = set.Attribute(section, key, keys::kWeight);
    return skin::SkinFont(set.Attribute(section, key, keys::kFont),
                          skin::SkinInteger(ToU16(set.Attribute(section, key, keys::kSize))),
                          weight.isEmpty() ? defaultWeight : weight.toInt());
}

// The keys whose texts a program draws in the box of label `key`: its own, and for the apply notice
// the failure text it shows in the same place.
QStringList TextsDrawnIn(const QString& section, const QString& key) {
    QStringList texts{key};
    if (section == skintest::ToQString(keys::kMain) && key == skintest::ToQString(keys::kStrApplied))
        texts << skintest::ToQString(keys::kStrApplyFailed);
    return texts;
}

// The smallest text a person reads comfortably at each resolution, in pixels as drawn.
int SmallestReadablePixels(const QString& resolution) { return resolution == "960x540" ? 11 : 12; }

class GeneratedTextFit : public ::testing::TestWithParam<std::tuple<const char*, const char*>> {
protected:
    std::unique_ptr<skintest::SkinSet> set_ =
        skintest::LoadSkinSet(std::get<0>(GetParam()), std::get<1>(GetParam()));

    QString Text(const QString& section, const QString& key) {
        return set_->Value(set_->strings, ToU16(section), ToU16(key));
    }
};

TEST_P(GeneratedTextFit, CaptionsFitTheirButtonsOnOneLine) {
    for (const skingen::Page& page : skintest::SkinDescription().pages) {
        const std::u16string section = ToU16(page.section);
        for (const skingen::Widget& widget : page.widgets) {
            const QRect rect = set_->Record(section, ToU16(widget.key));
            QString text = Text(page.section, widget.key);
            if (!widget.caption.IsSet() || text.isEmpty() || rect.isEmpty()) continue;
            if (widget.key.startsWith("STR_VER_")) text += kVersionSample;
            SCOPED_TRACE((page.section + "/" + widget.key + " \"" + text + "\"").toStdString());
            const QFont font = FontOf(*set_, section, ToU16(widget.key), 500);  // the buttons' caption weight
            ASSERT_EQ(QFontInfo(font).family(), font.family()) << "face not installed";
            const QFontMetrics metrics(font);
            const int room = rect.width() - set_->Attribute(section, ToU16(widget.key), keys::kOffsetX).toInt();
            EXPECT_LE(metrics.horizontalAdvance(text), room - 4);
            EXPECT_LE(metrics.height(), rect.height());
        }
    }
}

TEST_P(GeneratedTextFit, LabelsFitTheirBoxes) {
    for (const skingen::Page& page : skintest::SkinDescription().pages) {
        for (const skingen::Label& label : page.labels) {
            for (const QString& section : label.sections.isEmpty() ? QStringList{page.section} : label.sections) {
                const std::u16string s = ToU16(section);
                const QRect rect = set_->Record(s, ToU16(label.key));
                const QFont font = FontOf(*set_, s, ToU16(label.key), 400);
                ASSERT_EQ(QFontInfo(font).family(), font.family()) << "face not installed";
                const QFontMetrics metrics(font);
                for (const QString& textKey : TextsDrawnIn(section, label.key)) {
                    const QString text = Text(section, textKey);
                    SCOPED_TRACE((section + "/" + textKey + " \"" + text + "\"").toStdString());
                    ASSERT_FALSE(text.isEmpty());
                    if (label.wrap) {
                        const QRect needed =
                            metrics.boundingRect(QRect(0, 0, rect.width(), 100000), Qt::TextWordWrap, text);
                        EXPECT_LE(needed.width(), rect.width());
                        EXPECT_LE(needed.height(), rect.height());
                    } else {
                        EXPECT_LE(metrics.horizontalAdvance(text), rect.width());
                        EXPECT_LE(metrics.height(), rect.height());
                    }
                }
            }
        }
    }
}

// Every run-time text of the skin (captions and labels) is drawn at a readable size; the body text,
// 16 px at 1920x1080, at 13 or 14 px at 1366x768.
TEST_P(GeneratedTextFit, RunTimeTextsAreDrawnAtAReadableSize) {
    const QString resolution = std::get<0>(GetParam());
    const auto check = [&](const skingen::Page& page, const QString& section, const QString& key,
                           const skingen::TextStyle& style, int defaultWeight) {
        if (!style.IsSet() || set_->Attribute(ToU16(section), ToU16(key), keys::kSize).isEmpty()) return;
        SCOPED_TRACE((section + "/" + key).toStdString());
        const int drawn = QFontInfo(FontOf(*set_, ToU16(section), ToU16(key), defaultWeight)).pixelSize();
        EXPECT_GE(drawn, SmallestReadablePixels(resolution));
        // Pop-ups keep their 1920x1080 size at every resolution, and their text with it.
        if (resolution == "1366x768" && page.scaled && style.size == 16) {
            EXPECT_GE(drawn, 13);
            EXPECT_LE(drawn, 14);
        }
    };
    for (const skingen::Page& page : skintest::SkinDescription().pages) {
        for (const skingen::Widget& widget : page.widgets) check(page, page.section, widget.key, widget.caption, 500);
        for (const skingen::Label& label : page.labels)
            for (const QString& section : label.sections.isEmpty() ? QStringList{page.section} : label.sections)
                check(page, section, label.key, label.style, 400);
    }
}

// The programs draw a text in a font of their own only when its record names no FONT and SIZE, and give a
// caption whose record names no SIZE the string document's GLOBAL/FONT_SIZE: every shipped text names
// its font, so the checks above measure what is drawn, and every size is a pixel size.
TEST_P(GeneratedTextFit, EveryRunTimeTextNamesItsFontAtAPixelSize) {
    const QString defaultSize = Text("GLOBAL", "FONT_SIZE");
    EXPECT_LT(skin::SkinInteger(ToU16(defaultSize)), 0) << "GLOBAL/FONT_SIZE " << defaultSize.toStdString();
    const auto check = [&](const QString& section, const QString& key) {
        const std::u16string s = ToU16(section);
        const std::u16string k = ToU16(key);
        if (Text(section, key).isEmpty() || set_->Record(s, k).isEmpty()) return;
        SCOPED_TRACE((section + "/" + key).toStdString());
        EXPECT_FALSE(set_->Attribute(s, k, keys::kFont).isEmpty());
        EXPECT_LT(skin::SkinInteger(ToU16(set_->Attribute(s, k, keys::kSize))), 0);
    };
    for (const skingen::Page& page : skintest::SkinDescription().pages) {
        for (const skingen::Widget& widget : page.widgets)
            if (widget.caption.IsSet()) check(page.section, widget.key);
        for (const skingen::Label& label : page.labels)
            for (const QString& section : label.sections.isEmpty() ? QStringList{page.section} : label.sections)
                check(section, label.key);
    }
}

INSTANTIATE_TEST_SUITE_P(ResolutionsAndLanguages, GeneratedTextFit,
                         ::testing::Combine(::testing::Values("1920x1080", "1366x768", "960x540"),
                                            ::testing::Values("en", "de")));

}  // namespace
