// The LED page's start-up: the widgets of the skin section "LED", the two frequency panels and the
// menus, the effect list, the table generator; painting and the window messages the page receives.
#include "LedDlg.h"

#include "ColorPickerFactories.h"
#include "FunctionText.h"
#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"
#include "LightingCodes.h"
#include "Rename.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinFont.h"
#include "SkinKeys.h"
#include "SkinSliderFactory.h"
#include "SkinTextFormat.h"
#include "WindowMessage.h"
#include "XmlDocument.h"

#include <QPainter>

namespace config {

namespace keys = skindocs::keys;

namespace {

// The labels' own font when the skin's records name none: "Noto Sans", 29 pixels (written as the skin
// writes a pixel size), white.
constexpr int kLabelHeight = -29;
constexpr std::uint32_t kLabelColor = 0xFFFFFF;
constexpr int kRgbMaximum = 255;
constexpr int kSpeedMaximum = 4;
constexpr int kBrightnessMaximum = 2;

// The effect buttons in the order of the effect list (codes 0, 4, 3, 2, 1, 224, 254).
constexpr std::array<std::u16string_view, 7> kEffectKeys = {
    keys::kButtonStatic,    keys::kButtonCustomize,  keys::kButtonStars,  keys::kButtonColorCycle,
    keys::kButtonBreathing, keys::kButtonMultiLayer, keys::kButtonTurnOff};
constexpr std::array<std::u16string_view, 3> kChannelSliderKeys = {keys::kSliderR, keys::kSliderG, keys::kSliderB};
constexpr std::array<std::u16string_view, 3> kValueKeys = {keys::kEditR, keys::kEditG, keys::kEditB};
constexpr std::array<std::u16string_view, 5> kLedLabels = {keys::kStrNew, keys::kStrPresent, keys::kStrHue,
                                                           keys::kStrSpeed, keys::kStrBrightness};
constexpr unsigned kLabelFormat = skin::DT_LEFT | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_END_ELLIPSIS;
constexpr unsigned kRightLabelFormat = skin::DT_RIGHT | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_END_ELLIPSIS;

QString ObjectName(std::u16string_view section, std::u16string_view key) {
    return section == keys::kLed ? skin::ToQString(key) : skin::ToQString(section) + u'/' + skin::ToQString(key);
}

std::u16string_view SectionOf(FrequencyScheme scheme) {
    return scheme == FrequencyScheme::Single ? keys::kLedSync1 : keys::kLedSync2;
}

}  // namespace

CLedDlg::CLedDlg(QWidget* parent)
    : skin::CBaseDlg(parent), effectSend_([this] { SendEditedEffect(); }, this) {
    SetSectionName(skin::ToQString(keys::kLed));
    animationTimer_.setInterval(kTimerIntervalMs);
    frequencyTimer_.setInterval(kTimerIntervalMs);
    frequencyTimer_.setSingleShot(true);
    connect(&animationTimer_, &QTimer::timeout, this, &CLedDlg::OnAnimationTick);
    connect(&frequencyTimer_, &QTimer::timeout, this, &CLedDlg::OnFrequencyTick);
}

CLedDlg::~CLedDlg() = default;

void CLedDlg::SetSettings(CUSBDriver* link, SettingsBlock* working, SettingsBlock* saved) {
    link_ = link;
    working_ = working;
    saved_ = saved;
    commands_.SetTargets(link, working);
}

QWidget* CLedDlg::FirstLedButton() const {
    return ledButtons_[0].parentWidget() != nullptr ? const_cast<skin::CColorBtn*>(&ledButtons_[0]) : nullptr;
}

void CLedDlg::SetTableSender(std::unique_ptr<FrequencyTableSender> sender) {
    ownTables_ = nullptr;
    tables_ = std::move(sender);
}

void CLedDlg::InitDialog() {
    skin::CBaseDlg::InitDialog();
    BuildEffectList();
    // The table generator's dialog stays hidden; the page uses it only to send PWM settings.
    if (!tables_) {
        auto generator = std::make_unique<DialogTableSender>(link_, this);
        ownTables_ = generator.get();
        tables_ = std::move(generator);
    }
}

CLEDConvDlg* CLedDlg::TableDialog() const { return ownTables_ != nullptr ? ownTables_->MadeDialog() : nullptr; }

void CLedDlg::BuildEffectList() {
    for (const EffectListEntry& entry : kEffectList) {
        const std::u16string caption = GetFunctionText(skindocs::StringDocument(), entry.functionId);
        effectList_.AddItem(caption, entry.functionId, entry.code, 0, true);
    }
}

skin::CBitmapBtn& CLedDlg::MakeButton(skin::CBitmapBtn& button, const skin::SkinImageSet& pictures,
                                      std::u16string_view section, std::u16string_view key, bool withText,
                                      int format) {
    skin::CreateSkinButton(button, this, pictures, section, key, withText, format, -1);
    button.setObjectName(ObjectName(section, key));
    SetSkinCaptionColors(button);
    return button;
}

void CLedDlg::LoadSkin() {
    skin::CBaseDlg::LoadSkin();
    syncRect_ = RecordRect(keys::kLed, keys::kRectSync);
    CreateEffectButtons();
    CreateColorButtons();
    CreatePicker();
    CreateSliders();
    CreateValueButtons();
    CreateMenus();
    CreateFrequencyPanel(FrequencyScheme::Single);
    CreateFrequencyPanel(FrequencyScheme::PerColour);
}

void CLedDlg::CreateEffectButtons() {
    for (std::size_t i = 0; i < effectButtons_.size(); ++i) {
        skin::CBitmapBtn& button =
            MakeButton(effectButtons_[i], ImageSet(), keys::kLed, kEffectKeys[i], true, skin::CBitmapBtn::kFormatLeft);
        button.SetCheckable(true);
        connect(&button, &skin::CBitmapBtn::command, this, [this, i](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kCheckedCode) OnEffectButton(static_cast<int>(i));
        });
    }
    MakeButton(frequencyButton_, ImageSet(), keys::kLed, keys::kButtonFrequence, true, skin::CBitmapBtn::kFormatLeft);
    frequencyButton_.SetCheckable(true);
    connect(&frequencyButton_, &skin::CBitmapBtn::command, this, [this](int code, skin::CBitmapBtn*) {
        if (code == skin::CBitmapBtn::kCheckedCode) SetFrequencyMode(true);
    });
    // The enable buttons mirror the enabled bytes of the seven effects and are never shown.
    for (std::size_t i = 0; i < enableButtons_.size(); ++i) {
        MakeButton(enableButtons_[i], ImageSet(), keys::kLed, keys::kButtonEffEnable[i], false,
                   skin::CBitmapBtn::kFormatCentred)
            .SetCheckable(true);
        enableButtons_[i].hide();
    }
}

void CLedDlg::CreateColorButtons() {
    // One tint template for the five colour buttons, taken whole at each button's origin.
    // At the page's density (its twice-density twin on a dense screen), placed in logical pixels.
    skin::LoadPictureFile(skin::PageImageFolder(ImageFolderName()) + skin::ToQString(keys::kLedTintTemplate),
                          tintTemplate_, nullptr, skin::PictureRatio(this));
    const QRect wholeTemplate(QPoint(0, 0), skin::LogicalSize(tintTemplate_));
    auto makeColorButton = [this, wholeTemplate](skin::CColorBtn& button, std::u16string_view key) {
        MakeButton(button, ImageSet(), keys::kLed, key, false, skin::CBitmapBtn::kFormatCentred);
        button.SetSwatchPicture(&tintTemplate_, wholeTemplate, 0, 0);
        button.SetShowSwatch(true);
    };
    for (std::size_t i = 0; i < ledButtons_.size(); ++i) {
        makeColorButton(ledButtons_[i], keys::kButtonLed[i]);
        connect(&ledButtons_[i], &skin::CBitmapBtn::command, this,
                [this, i](int code, skin::CBitmapBtn*) { OnLedButton(static_cast<int>(i), code); });
    }
    makeColorButton(oldColorButton_, keys::kButtonOldColor);
    connect(&oldColorButton_, &skin::CBitmapBtn::command, this, [this](int code, skin::CBitmapBtn*) {
        if (code == skin::CBitmapBtn::kClickCode) OnOldColor();
    });
}

void CLedDlg::CreatePicker() {
    field_ = colorpicker::CreateColorField(this, RecordRect(keys::kLed, keys::kButtonSelBrightness));
    bar_ = colorpicker::CreateColorBar(this, RecordRect(keys::kLed, keys::kSliderRgb));
    well_ = colorpicker::CreateColorWell(this, RecordRect(keys::kLed, keys::kButtonColor), field_);
    field_->setObjectName(skin::ToQString(keys::kButtonSelBrightness));
    bar_->setObjectName(skin::ToQString(keys::kSliderRgb));
    well_->setObjectName(skin::ToQString(keys::kButtonColor));
    field_->SetPickerMode(3);
    field_->LinkBar(bar_);
    field_->LinkWell(well_);
    bar_->LinkField(field_);
    well_->SetColorHandler(this);
}

void CLedDlg::CreateSliders() {
    const QString folder = skin::PageImageFolder(ImageFolderName());
    const QString rgbThumb = folder + skin::ToQString(keys::kRgbThumb);
    const QString rgbThumbOver = folder + skin::ToQString(keys::kRgbThumbOver);
    for (std::size_t i = 0; i < channelSliders_.size(); ++i) {
        skin::CreateSkinSlider(channelSliders_[i], this, ImageSet(), keys::kLed, kChannelSliderKeys[i],
                               kRedSliderId + static_cast<int>(i), rgbThumb, QString(), rgbThumbOver, false, 0,
                               kRgbMaximum);
        channelSliders_[i].setObjectName(skin::ToQString(kChannelSliderKeys[i]));
    }
    const QString thumb = folder + skin::ToQString(keys::kLevelThumb);
    const QString thumbOver = folder + skin::ToQString(keys::kLevelThumbOver);
    skin::CreateSkinSlider(speedSlider_, this, ImageSet(), keys::kLed, keys::kSliderS, kSpeedSliderId, thumb, QString(),
                           thumbOver, false, 0, kSpeedMaximum);
    skin::CreateSkinSlider(brightnessSlider_, this, ImageSet(), keys::kLed, keys::kSliderL, kBrightnessSliderId, thumb,
                           QString(), thumbOver, false, 0, kBrightnessMaximum);
    speedSlider_.setObjectName(skin::ToQString(keys::kSliderS));
    brightnessSlider_.setObjectName(skin::ToQString(keys::kSliderL));
}

void CLedDlg::CreateValueButtons() {
    const std::array<EditedValue, 3> channels = {EditedValue::Red, EditedValue::Green, EditedValue::Blue};
    for (std::size_t i = 0; i < valueButtons_.size(); ++i) {
        MakeButton(valueButtons_[i], ImageSet(), keys::kLed, kValueKeys[i], true, skin::CBitmapBtn::kFormatCentred);
        // The record gives the face and size; the caption is the channel's number.
        valueButtons_[i].SetCaption(QString(), true, 0);
        connect(&valueButtons_[i], &skin::CBitmapBtn::command, this,
                [this, i, edited = channels[i]](int code, skin::CBitmapBtn*) {
                    if (code == skin::CBitmapBtn::kClickCode) OpenEditor(valueButtons_[i], edited, 0, kRgbMaximum, -1);
                });
    }
}

void CLedDlg::CreateMenus() {
    const QString folder = ImageFolderName();
    starMenu_.Create(this, folder, keys::kLedStarMenu, 2, [this](int item) { OnStarMenu(item, false); });
    multiMenu_.Create(this, folder, keys::kLedMultiMenu, static_cast<int>(kMenuLayers.size()),
                      [this](int item) { OnMultiMenu(item); });
    multiStarMenu_.Create(this, folder, keys::kLedMultiStarMenu, 2, [this](int item) { OnStarMenu(item, true); });
    schemeMenu_.Create(this, folder, keys::kLedMultiMirageMenu, 2, [this](int item) { OnSchemeMenu(item); });
    for (auto [menu, section] : {std::pair{&starMenu_, keys::kLedStarMenu}, std::pair{&multiMenu_, keys::kLedMultiMenu},
                                 std::pair{&multiStarMenu_, keys::kLedMultiStarMenu},
                                 std::pair{&schemeMenu_, keys::kLedMultiMirageMenu}}) {
        menu->setObjectName(skin::ToQString(section));
        for (int i = 0; i < menu->ItemCount(); ++i) {
            menu->Item(i).setObjectName(ObjectName(section, keys::kButtonMenuItem[static_cast<std::size_t>(i)]));
        }
    }
}

void CLedDlg::CreateFrequencyPanel(FrequencyScheme scheme) {
    FrequencyPanel& panel = PanelOf(scheme);
    const std::u16string_view section = SectionOf(scheme);
    panel.pictures.Load(skin::PageImageFolder(ImageFolderName()), section, skin::PictureRatio(this));
    const skin::SkinImageSet pictures = panel.pictures.Set();
    for (std::size_t i = 0; i < panel.presets.size(); ++i) {
        MakeButton(panel.presets[i], pictures, section, keys::kButtonPreset[i], true, skin::CBitmapBtn::kFormatCentred)
            .SetCheckable(true);
        connect(&panel.presets[i], &skin::CBitmapBtn::command, this, [this, scheme, i](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kCheckedCode) OnPreset(scheme, static_cast<int>(i));
        });
    }
    MakeButton(panel.reset, pictures, section, keys::kButtonReset, true, skin::CBitmapBtn::kFormatCentred);
    MakeButton(panel.save, pictures, section, keys::kButtonSave, true, skin::CBitmapBtn::kFormatCentred);
    SetPrimaryCaptionColors(panel.save);
    connect(&panel.reset, &skin::CBitmapBtn::command, this, [this, scheme](int code, skin::CBitmapBtn*) {
        if (code == skin::CBitmapBtn::kClickCode) OnFrequencyReset(scheme);
    });
    connect(&panel.save, &skin::CBitmapBtn::command, this, [this](int code, skin::CBitmapBtn*) {
        if (code == skin::CBitmapBtn::kClickCode) OnFrequencySave();
    });

    const bool single = scheme == FrequencyScheme::Single;
    const std::array<std::u16string_view, 4> valueKeys = {keys::kEditHz, keys::kEditHzR, keys::kEditHzG,
                                                          keys::kEditHzB};
    const std::array<std::u16string_view, 4> sliderKeys = {keys::kSliderHz, keys::kSliderHzR, keys::kSliderHzG,
                                                           keys::kSliderHzB};
    panel.rowCount = single ? 1 : 4;
    const int firstRow = single ? 0 : 1;  // rows of the block: single, main, red, green, blue
    const int firstId = single ? kSingleHzSliderId : kMainHzSliderId;
    const QString folder = skin::PageImageFolder(ImageFolderName());
    const QString thumb = folder + skin::ToQString(keys::kLevelThumb);
    const QString thumbOver = folder + skin::ToQString(keys::kLevelThumbOver);
    for (int r = 0; r < panel.rowCount; ++r) {
        const auto i = static_cast<std::size_t>(r);
        skin::CBitmapBtn& value =
            MakeButton(panel.values[i], pictures, section, valueKeys[i], true, skin::CBitmapBtn::kFormatCentred);
        value.SetCaption(QString(), true, 0);
        const int row = firstRow + r;
        connect(&value, &skin::CBitmapBtn::command, this, [this, &value, row](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kClickCode) {
                OpenEditor(value, EditedValue::Frequency, kMinimumFrequency, kMaximumFrequency, row);
            }
        });
        skin::CreateSkinSlider(panel.sliders[i], this, pictures, section, sliderKeys[i], firstId + r, thumb, QString(),
                               thumbOver, false, kMinimumFrequency, kMaximumFrequency);
        panel.sliders[i].setObjectName(ObjectName(section, sliderKeys[i]));
    }
    panel.pictures.FreeStates();
    ShowPanels(false, scheme);
}

void CLedDlg::paintEvent(QPaintEvent* event) {
    if (!frequencyMode_) {
        skin::CBaseDlg::paintEvent(event);
        return;
    }
    // In frequency mode the scheme's panel picture is the page's background.
    QPainter painter(this);
    const QImage& background = PanelOf(SchemeOf(Section() ? Section()->frequency : frequencyCopy_)).pictures.normal.Picture();
    painter.drawImage(0, 0, background.isNull() ? BackgroundPicture() : background);
    DrawSkinContent(painter);
}

bool CLedDlg::PaintsWholeRectOpaque() const {
    // A frequency panel's picture is the background there: what it covers is not known before it is read.
    return !frequencyMode_ && skin::CBaseDlg::PaintsWholeRectOpaque();
}

void CLedDlg::DrawSkinContent(QPainter& painter) {
    const std::u16string face = xml::LookupValue(skindocs::StringDocument(), keys::kGlobal, keys::kFont);
    painter.setFont(skin::SkinFont(face.empty() ? QStringLiteral("Noto Sans") : skin::ToQString(face), kLabelHeight, 0));
    painter.setPen(skin::ColorFromColorRef(kLabelColor));
    if (!frequencyMode_) {
        for (const std::u16string_view key : kLedLabels) skin::DrawSkinString(painter, keys::kLed, key, kLabelFormat);
        // The speed slider's ends say which way is faster: level 0, on the left, is the fastest.
        skin::DrawSkinString(painter, keys::kLed, keys::kStrSpeedFast, kLabelFormat);
        skin::DrawSkinString(painter, keys::kLed, keys::kStrSpeedSlow, kRightLabelFormat);
        return;
    }
    // The frequency panels have no colour: the applied and new colour are not shown there.
    if (Section() != nullptr && SchemeOf(Section()->frequency) == FrequencyScheme::PerColour) {
        skin::DrawSkinString(painter, keys::kLedSync2, keys::kStrPort2, kLabelFormat);
        skin::DrawSkinString(painter, keys::kLedSync2, keys::kStrAllChannels, kLabelFormat);
    } else {
        skin::DrawSkinString(painter, keys::kLedSync1, keys::kStrPort, kLabelFormat);
        skin::DrawSkinString(painter, keys::kLedSync1, keys::kStrRgb, kLabelFormat);
        skin::DrawSkinString(painter, keys::kLedSync1, keys::kStrAllChannels, kLabelFormat);
    }
}

bool CLedDlg::event(QEvent* event) {
    if (auto* message = platform::AsWindowMessage(event)) {
        if (message->Message() == skin::kSliderValueMessage) {
            OnSlider(static_cast<int>(message->LParam()), static_cast<int>(message->WParam()));
            return true;
        }
        if (message->Message() == skin::kRenameDoneMessage) {
            if (editor_ && message->WParam() == reinterpret_cast<std::uintptr_t>(editor_.get())) {
                OnEditorDone(message->LParam());
            }
            return true;
        }
        if (message->Message() == skin::kCommandMessage) return true;  // the editor's text changes
    }
    return skin::CBaseDlg::event(event);
}

LightingSection* CLedDlg::Section() const {
    return working_ != nullptr ? &working_->profiles[0].lighting : nullptr;
}

const LightingSection* CLedDlg::SavedSection() const {
    return saved_ != nullptr ? &saved_->profiles[0].lighting : nullptr;
}

}  // namespace config
