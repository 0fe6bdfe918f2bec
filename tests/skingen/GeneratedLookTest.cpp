// What a person tells apart on the generated pictures: the page's primary buttons carry their white
// caption with enough contrast in every state they are pressed in, and a hovered button never looks
// like the selected one.
#include "GeneratedSkin.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <map>

#include <gtest/gtest.h>

namespace {

using namespace skindocs;
using skintest::ToQString;

// The colour most pixels of `rect` in the state picture `state` of `section` have: the button's fill,
// whatever its outline and rounded corners.
QRgb FillOf(skintest::SkinSet& set, std::u16string_view section, std::u16string_view key, std::u16string_view state) {
    const QString path = set.PicturePath(SkinFolder::Resolution, set.Value(set.skin, section, state));
    const QImage cut = QImage(path).copy(set.Record(section, key)).convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(cut.isNull()) << path.toStdString();
    std::map<QRgb, int> counts;
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x) ++counts[cut.pixel(x, y) & 0xFFFFFF];
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? 0 : most->first;
}

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb c) { return 0.2126 * Linear(qRed(c)) + 0.7152 * Linear(qGreen(c)) + 0.0722 * Linear(qBlue(c)); }

double Contrast(QRgb a, QRgb b) {
    // By value: std::minmax of two temporaries would hand back references to them.
    const double la = Luminance(a), lb = Luminance(b);
    const double dark = std::min(la, lb), light = std::max(la, lb);
    return (light + 0.05) / (dark + 0.05);
}

// Plain distance in sRGB: 0 for one colour, 441 from black to white. Two close blues (the old hover
// and selected fills) were 41 apart.
double Distance(QRgb a, QRgb b) {
    return std::hypot(qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b));
}

struct Button {
    std::u16string_view section;
    std::u16string_view key;
};

class GeneratedLook : public ::testing::TestWithParam<const char*> {
protected:
    std::unique_ptr<skintest::SkinSet> set_ = skintest::LoadSkinSet(GetParam());
};

TEST_P(GeneratedLook, PrimaryButtonsCarryAWhiteCaptionWithContrastInEveryEnabledState) {
    constexpr QRgb kCaption = 0xFFFFFF;  // the programs draw the primary buttons' captions white
    for (const Button& button : {Button{keys::kMain, keys::kButtonApply}, Button{keys::kLedSync1, keys::kButtonSave},
                                 Button{keys::kLedSync2, keys::kButtonSave}}) {
        for (const std::u16string_view state : {keys::kNormal, keys::kOver, keys::kDown}) {
            SCOPED_TRACE(ToQString(button.section).toStdString() + "/" + ToQString(button.key).toStdString() + " " +
                         ToQString(state).toStdString());
            const QRgb fill = FillOf(*set_, button.section, button.key, state);
            EXPECT_GE(Contrast(fill, kCaption), 4.5) << std::hex << fill;
        }
    }
}

TEST_P(GeneratedLook, HoverIsClearlyApartFromSelected) {
    // Checked buttons show the DOWN picture, hovered ones the OVER picture.
    constexpr double kLeastDistance = 80;
    for (const Button& button : {Button{keys::kLed, keys::kButtonStatic}, Button{keys::kMain, keys::kButtonMainControl},
                                 Button{keys::kLedSync1, keys::kButtonPreset[0]}}) {
        SCOPED_TRACE(ToQString(button.section).toStdString() + "/" + ToQString(button.key).toStdString());
        const QRgb hover = FillOf(*set_, button.section, button.key, keys::kOver);
        const QRgb selected = FillOf(*set_, button.section, button.key, keys::kDown);
        EXPECT_GE(Distance(hover, selected), kLeastDistance) << std::hex << hover << " " << selected;
    }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, GeneratedLook, ::testing::Values("1920x1080", "1366x768", "960x540"));

}  // namespace
