// Every caption and label fits its box at every resolution in both shipped languages, measured in the
// face, size and weight that its record's attributes name.
#include "GeneratedSkin.h"

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
    QFont font(set.Attribute(section, key, keys::kFont));
    font.setPixelSize(set.Attribute(section, key, keys::kSize).toInt());
    const QString weight = set.Attribute(section, key, keys::kWeight);
    font.setWeight(QFont::Weight(weight.isEmpty() ? defaultWeight : weight.toInt()));
    return font;
}

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
                const QString text = Text(section, label.key);
                SCOPED_TRACE((section + "/" + label.key + " \"" + text + "\"").toStdString());
                ASSERT_FALSE(text.isEmpty());
                const QRect rect = set_->Record(s, ToU16(label.key));
                const QFont font = FontOf(*set_, s, ToU16(label.key), 400);
                ASSERT_EQ(QFontInfo(font).family(), font.family()) << "face not installed";
                const QFontMetrics metrics(font);
                if (label.wrap) {
                    const QRect needed = metrics.boundingRect(QRect(0, 0, rect.width(), 100000), Qt::TextWordWrap, text);
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

INSTANTIATE_TEST_SUITE_P(ResolutionsAndLanguages, GeneratedTextFit,
                         ::testing::Combine(::testing::Values("1920x1080", "1366x768", "960x540"),
                                            ::testing::Values("en", "de")));

}  // namespace
