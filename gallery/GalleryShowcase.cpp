#include "GalleryShowcase.h"

#include "ButtonLook.h"
#include "FunctionText.h"
#include "LightingCodes.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinFont.h"
#include "SkinKeys.h"
#include "SkinPictures.h"
#include "UpdaterTitleFont.h"

#include <QPainter>

#include <algorithm>

namespace gallery {

namespace keys = skindocs::keys;

namespace {

// The panel's own chrome follows the skin's palette.
const QColor kPanel(0x1D, 0x20, 0x27);
const QColor kText(0xE7, 0xE9, 0xEE);
const QColor kSecondaryText(0x9A, 0xA1, 0xAD);
constexpr int kMargin = 24;
constexpr int kGap = 12;

// A button frozen in one state, so every look shows at once.
class StateSample : public skin::CBitmapBtn {
public:
    StateSample(const skin::ButtonState& state, bool checkable) : state_(state), checkable_(checkable) {}
    skin::ButtonLook CurrentLook() const override {
        return checkable_ ? skin::CheckableButtonLook(state_) : skin::PushButtonLook(state_);
    }

private:
    skin::ButtonState state_;
    bool checkable_;
};

struct SampleState {
    const char* name;
    skin::ButtonState state;
    bool checkable;
};

constexpr std::array<SampleState, 5> kSampleStates = {{
    {"idle", {}, false},
    {"hovered", {false, true, false, false}, false},
    {"pressed", {false, false, true, false}, false},
    {"disabled", {false, false, false, true}, false},
    {"checked", {true, false, false, false}, true},
}};

struct FaceSample {
    QString face;
    int height;
    int weight;
    QString text;
};

}  // namespace

GalleryShowcase::GalleryShowcase(const QString& resolutionFolder, QWidget* parent) : QWidget(parent) {
    LoadPagePictures(resolutionFolder);
    const skin::SkinImageSet pictures =
        skin::SkinImageSet::Of(&pagePictures_[0], &pagePictures_[1], &pagePictures_[2], &pagePictures_[3]);

    // The samples are the static-effect button, cut at its record's rectangle from each page picture.
    const std::u16string record = xml::LookupValue(skindocs::ButtonDocument(), keys::kLed, keys::kButtonStatic);
    const QRect cut = skin::ToQRect(skin::ParseSkinRecord(record).rect);
    const QString caption = skin::ToQString(xml::LookupValue(skindocs::StringDocument(), keys::kLed, keys::kButtonStatic));
    const QString face = skin::ToQString(xml::LookupAttribute(skindocs::ButtonDocument(), keys::kLed, keys::kButtonStatic, keys::kFont));
    const int size = skin::SkinInteger(xml::LookupAttribute(skindocs::ButtonDocument(), keys::kLed, keys::kButtonStatic, keys::kSize));
    const int margin = skin::SkinInteger(xml::LookupAttribute(skindocs::ButtonDocument(), keys::kLed, keys::kButtonStatic, keys::kOffsetX));

    samplesTop_ = kMargin + 32;
    sampleHeight_ = cut.height();
    int y = samplesTop_;
    for (std::size_t i = 0; i < samples_.size(); ++i) {
        auto sample = std::make_unique<StateSample>(kSampleStates[i].state, kSampleStates[i].checkable);
        sample->Create(this, QRect(kMargin + 96, y, cut.width(), cut.height()));
        sample->SetStatePictures(pictures, cut);
        if (!face.isEmpty()) sample->SetFaceName(face);
        if (size != 0) sample->SetFontHeight(size);
        sample->SetTextFormat(skin::CBitmapBtn::kFormatLeft);
        sample->SetCaption(caption, true, margin);
        samples_[i] = std::move(sample);
        y += cut.height() + kGap;
    }

    // The LED page keeps its effects as a menu item list (no window): identifier = function code.
    for (const config::EffectListEntry& entry : config::kEffectList) {
        effectMenu_.AddItem(config::GetFunctionText(skindocs::StringDocument(), entry.functionId), entry.functionId, 0,
                            1, true);
    }
    menuTop_ = y + 16;
    fontsTop_ = menuTop_ + 32 + effectMenu_.ItemCount() * 22 + 16;
    // Wide enough for the face samples at their fixed sizes, whatever the resolution folder.
    setMinimumSize(std::max(kMargin * 2 + 96 + cut.width(), 560), fontsTop_ + 32 + 4 * 40 + kMargin);
}

GalleryShowcase::~GalleryShowcase() = default;

void GalleryShowcase::LoadPagePictures(const QString& resolutionFolder) {
    const QString folder = skin::PageImageFolder(resolutionFolder);
    const std::array<std::u16string_view, 4> stateKeys = {keys::kNormal, keys::kOver, keys::kDown, keys::kDisable};
    for (std::size_t i = 0; i < stateKeys.size(); ++i) {
        const QString file = skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), keys::kLed, stateKeys[i]));
        if (!file.isEmpty()) skin::LoadPictureFile(folder + file, pagePictures_[i], nullptr, skin::PictureRatio(this));
    }
}

void GalleryShowcase::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanel);
    painter.setRenderHint(QPainter::TextAntialiasing);

    auto heading = [&](int top, const QString& text) {
        painter.setPen(kSecondaryText);
        painter.setFont(skin::SkinFont(QStringLiteral("Heroic Condensed Medium"), -15, 500));
        painter.drawText(QRect(kMargin, top, width() - 2 * kMargin, 24), Qt::AlignLeft | Qt::AlignVCenter,
                         text.toUpper());
    };

    heading(kMargin, QStringLiteral("Button looks"));
    painter.setFont(skin::SkinFont(QStringLiteral("Noto Sans"), -14, 400));
    painter.setPen(kText);
    for (std::size_t i = 0; i < kSampleStates.size(); ++i) {
        const int top = samplesTop_ + static_cast<int>(i) * (sampleHeight_ + kGap);
        painter.drawText(QRect(kMargin, top, 88, sampleHeight_), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromLatin1(kSampleStates[i].name));
    }

    heading(menuTop_, QStringLiteral("Effect list (menu items)"));
    painter.setFont(skin::SkinFont(QStringLiteral("Noto Sans"), -14, 400));
    for (int i = 0; i < effectMenu_.ItemCount(); ++i) {
        const skin::MenuItem* item = effectMenu_.ItemAt(i);
        const QString line = QStringLiteral("0x%1  %2")
                                 .arg(item->identifier, 4, 16, QLatin1Char('0'))
                                 .arg(QString::fromStdU16String(item->caption));
        painter.setPen(i % 2 ? kSecondaryText : kText);
        painter.drawText(QRect(kMargin, menuTop_ + 32 + i * 22, width() - 2 * kMargin, 22),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
    }

    heading(fontsTop_, QStringLiteral("Faces"));
    const std::array<FaceSample, 4> faces = {{
        {QStringLiteral("Noto Sans"), -16, 400, QStringLiteral("Noto Sans - body text 0123")},
        {QStringLiteral("Heroic Condensed Medium"), -20, 500, QStringLiteral("HEROIC CONDENSED MEDIUM - CAPTIONS")},
        {QStringLiteral("Heroic Condensed Book"), -20, 400, QStringLiteral("Heroic Condensed Book - tab labels")},
        {QString::fromLatin1(fonts::kUpdaterTitleFamily), -26, 400, QStringLiteral("Xolonium - updater title")},
    }};
    painter.setPen(kText);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        painter.setFont(skin::SkinFont(faces[i].face, faces[i].height, faces[i].weight));
        painter.drawText(QRect(kMargin, fontsTop_ + 32 + static_cast<int>(i) * 40, width() - 2 * kMargin, 40),
                         Qt::AlignLeft | Qt::AlignVCenter, faces[i].text);
    }
}

}  // namespace gallery
