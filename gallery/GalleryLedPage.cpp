#include "GalleryLedPage.h"

#include "ColorPickerFactories.h"
#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"
#include "Rename.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinKeys.h"
#include "SkinSliderFactory.h"
#include "SkinTextFormat.h"
#include "WindowMessage.h"

#include <QPainter>

namespace gallery {

namespace keys = skindocs::keys;

namespace {

constexpr int kRedSliderId = 1000;     // 1001 green, 1002 blue
constexpr int kSpeedSliderId = 1003;
constexpr int kBrightnessSliderId = 1004;

// An integer attribute of a key of the LED page's records; 0 when absent.
int Attribute(std::u16string_view key, std::u16string_view attribute) {
    return skin::SkinInteger(xml::LookupAttribute(skindocs::ButtonDocument(), skindocs::keys::kLed, key, attribute));
}

int ChannelOf(colorpicker::PickerColor color, int channel) { return static_cast<int>((color >> (8 * channel)) & 0xFF); }

}  // namespace

GalleryLedPage::GalleryLedPage(const QString& resolutionFolder) {
    SetSectionName(skin::ToQString(keys::kLed));
    SetImageFolderName(resolutionFolder);
}

GalleryLedPage::~GalleryLedPage() = default;

void GalleryLedPage::LoadSkin() {
    CBaseDlg::LoadSkin();
    CreateEffectButtons();
    CreateColorButtons();
    CreatePicker();
    CreateSliders();
    CreateValueButtons();
    SelectLed(0);
}

void GalleryLedPage::CreateEffectButtons() {
    const std::array<std::u16string_view, 8> effectKeys = {
        keys::kButtonStatic,    keys::kButtonCustomize,  keys::kButtonStars,   keys::kButtonColorCycle,
        keys::kButtonBreathing, keys::kButtonMultiLayer, keys::kButtonTurnOff, keys::kButtonFrequence};
    for (std::size_t i = 0; i < effectButtons_.size(); ++i) {
        skin::CBitmapBtn& button = effectButtons_[i];
        skin::CreateSkinButton(button, this, ImageSet(), keys::kLed, effectKeys[i], true, skin::CBitmapBtn::kFormatLeft,
                               -1);
        button.SetCheckable(true);
        // The effects behave as one group: the clicked one stays checked, the others clear.
        connect(&button, &skin::CBitmapBtn::command, this, [this, i](int code, skin::CBitmapBtn*) {
            if (code != skin::CBitmapBtn::kCheckedCode) return;
            for (std::size_t other = 0; other < effectButtons_.size(); ++other) {
                effectButtons_[other].SetChecked(other == i);
            }
        });
    }
    effectButtons_[0].SetChecked(true);
}

void GalleryLedPage::CreateColorButtons() {
    // The tint template is the same for every colour button: taken whole, at the button's origin.
    QImage tintTemplate;
    skin::LoadPictureFile(skin::PageImageFolder(ImageFolderName()) + QStringLiteral("LEDCpas.bmp"), tintTemplate, nullptr,
                          skin::PictureRatio(this));
    const QRect wholeTemplate(QPoint(0, 0), skin::LogicalSize(tintTemplate));
    for (std::size_t i = 0; i < ledButtons_.size(); ++i) {
        skin::CColorBtn& button = ledButtons_[i];
        skin::CreateSkinButton(button, this, ImageSet(), keys::kLed, keys::kButtonLed[i], false,
                               skin::CBitmapBtn::kFormatCentred, -1);
        button.SetSwatchPicture(&tintTemplate, wholeTemplate, 0, 0);
        button.SetShowSwatch(true);
        button.SetColor(ChannelOf(ledColors_[i], 0), ChannelOf(ledColors_[i], 1), ChannelOf(ledColors_[i], 2));
        connect(&button, &skin::CBitmapBtn::command, this, [this, i](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kClickCode) SelectLed(static_cast<int>(i));
        });
    }
    skin::CreateSkinButton(oldColorButton_, this, ImageSet(), keys::kLed, keys::kButtonOldColor, false,
                           skin::CBitmapBtn::kFormatCentred, -1);
    oldColorButton_.SetSwatchPicture(&tintTemplate, wholeTemplate, 0, 0);
    oldColorButton_.SetShowSwatch(true);
}

void GalleryLedPage::CreatePicker() {
    auto rectOf = [](std::u16string_view key) {
        return skin::ToQRect(skin::ParseSkinRecord(xml::LookupValue(skindocs::ButtonDocument(), keys::kLed, key)).rect);
    };
    field_ = colorpicker::CreateColorField(this, rectOf(keys::kButtonSelBrightness));
    auto* bar = colorpicker::CreateColorBar(this, rectOf(keys::kSliderRgb));
    auto* well = colorpicker::CreateColorWell(this, rectOf(keys::kButtonColor), field_);
    field_->SetPickerMode(3);
    field_->LinkBar(bar);
    field_->LinkWell(well);
    bar->LinkField(field_);
    well->SetColorHandler(this);
}

void GalleryLedPage::CreateSliders() {
    const QString folder = skin::PageImageFolder(ImageFolderName());
    const QString rgbThumb = folder + QStringLiteral("LED_RGB_Slider.png");
    const QString rgbThumbOver = folder + QStringLiteral("LED_RGB_Slider_Over.png");
    const std::array<std::u16string_view, 3> channelKeys = {keys::kSliderR, keys::kSliderG, keys::kSliderB};
    for (std::size_t i = 0; i < channelSliders_.size(); ++i) {
        skin::CreateSkinSlider(channelSliders_[i], this, ImageSet(), keys::kLed, channelKeys[i],
                               kRedSliderId + static_cast<int>(i), rgbThumb, QString(), rgbThumbOver, false, 0, 255);
    }
    const QString thumb = folder + QStringLiteral("LED_Slider.png");
    const QString thumbOver = folder + QStringLiteral("LED_Slider_Over.png");
    skin::CreateSkinSlider(speedSlider_, this, ImageSet(), keys::kLed, keys::kSliderS, kSpeedSliderId, thumb,
                           QString(), thumbOver, false, 0, 4);
    skin::CreateSkinSlider(brightnessSlider_, this, ImageSet(), keys::kLed, keys::kSliderL, kBrightnessSliderId,
                           thumb, QString(), thumbOver, false, 0, 2);
    speedSlider_.SetPosition(2);
    brightnessSlider_.SetPosition(2);
}

void GalleryLedPage::CreateValueButtons() {
    const std::array<std::u16string_view, 3> valueKeys = {keys::kEditR, keys::kEditG, keys::kEditB};
    for (std::size_t i = 0; i < valueButtons_.size(); ++i) {
        skin::CreateSkinButton(valueButtons_[i], this, ImageSet(), keys::kLed, valueKeys[i], true,
                               skin::CBitmapBtn::kFormatCentred, -1);
        connect(&valueButtons_[i], &skin::CBitmapBtn::command, this, [this, i](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kClickCode) OpenEditor(static_cast<int>(i));
        });
    }
}

void GalleryLedPage::SelectLed(int index) {
    selectedLed_ = index;
    const colorpicker::PickerColor color = ledColors_[static_cast<std::size_t>(index)];
    oldColorButton_.SetColor(ChannelOf(color, 0), ChannelOf(color, 1), ChannelOf(color, 2));
    if (field_) field_->SetColor(color);
    ShowChannels(ChannelOf(color, 0), ChannelOf(color, 1), ChannelOf(color, 2));
}

void GalleryLedPage::ShowChannels(int red, int green, int blue) {
    const std::array<int, 3> channels = {red, green, blue};
    for (std::size_t i = 0; i < 3; ++i) {
        channelSliders_[i].SetPosition(channels[i]);
        valueButtons_[i].SetCaption(QString::number(channels[i]), true, 0);
    }
}

void GalleryLedPage::OnColorPicked(colorpicker::PickerColor color) {
    ledColors_[static_cast<std::size_t>(selectedLed_)] = color;
    ledButtons_[static_cast<std::size_t>(selectedLed_)].SetColor(ChannelOf(color, 0), ChannelOf(color, 1),
                                                                 ChannelOf(color, 2));
    ShowChannels(ChannelOf(color, 0), ChannelOf(color, 1), ChannelOf(color, 2));
}

void GalleryLedPage::OpenRedEditor() { OpenEditor(0); }

void GalleryLedPage::OpenEditor(int channel) {
    const std::u16string_view editKey = keys::kEditR;
    editor_ = std::make_unique<skin::CRename>();
    editor_->SetNumeric(true);
    editor_->SetRange(0, 255);
    editor_->SetLengthLimit(3);
    editor_->SetTarget(this);
    // The editor's own defaults (button face, black text) are the platform's; on the dark skin the
    // value is shown light on the raised surface.
    editor_->SetBackgroundColor(0x00332A26);
    editor_->SetTextColor(0x00EEE9E7);
    const QString face = skin::ToQString(xml::LookupAttribute(skindocs::ButtonDocument(), keys::kLed, editKey, keys::kFont));
    if (!face.isEmpty()) editor_->SetFaceName(face);
    const int size = Attribute(editKey, keys::kSize);
    if (size != 0) editor_->SetFontHeight(size);
    editor_->SetPlacement(valueButtons_[static_cast<std::size_t>(channel)].geometry());
    editor_->SetValueText(valueButtons_[static_cast<std::size_t>(channel)].GetCaption());
    editor_->Create(this);
    editedChannel_ = channel;
    editor_->BeginEdit(Attribute(editKey, keys::kMenuX), Attribute(editKey, keys::kMenuY));
}

bool GalleryLedPage::event(QEvent* event) {
    if (auto* message = platform::AsWindowMessage(event)) {
        if (message->Message() == skin::kSliderValueMessage) {
            const int id = static_cast<int>(message->LParam());
            const int value = static_cast<int>(message->WParam());
            if (id >= kRedSliderId && id < kRedSliderId + 3) {
                colorpicker::PickerColor color = ledColors_[static_cast<std::size_t>(selectedLed_)];
                const int shift = 8 * (id - kRedSliderId);
                color = (color & ~(0xFFu << shift)) | (static_cast<colorpicker::PickerColor>(value) << shift);
                field_->SetColor(color);  // the picker hands the colour back through OnColorPicked
            } else if (id == kSpeedSliderId) {
                speedSlider_.SetPosition(value);
            } else if (id == kBrightnessSliderId) {
                brightnessSlider_.SetPosition(value);
            }
            return true;
        }
        if (message->Message() == skin::kRenameDoneMessage && editor_ && editedChannel_ >= 0) {
            if (message->LParam() == 0) {
                valueButtons_[static_cast<std::size_t>(editedChannel_)].SetCaption(editor_->GetValueText(), true, 0);
                field_->SetColor(colorpicker::MakeColor(valueButtons_[0].GetCaption().toInt(),
                                                        valueButtons_[1].GetCaption().toInt(),
                                                        valueButtons_[2].GetCaption().toInt()));
            }
            editor_.release()->deleteLater();
            editedChannel_ = -1;
            return true;
        }
    }
    return CBaseDlg::event(event);
}

void GalleryLedPage::DrawSkinContent(QPainter& painter) {
    // Every label the skin places on this page, in the string document's language.
    for (const skindocs::SkinKeyEntry& entry : skindocs::SkinKeyTable()) {
        if (entry.document == skindocs::SkinDocumentId::Buttons && entry.section == keys::kLed &&
            entry.kind == skindocs::SkinKeyKind::Record && entry.key.starts_with(u"STR_")) {
            skin::DrawSkinString(painter, entry.section, entry.key,
                                 skin::DT_LEFT | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_END_ELLIPSIS);
        }
    }
}

}  // namespace gallery
