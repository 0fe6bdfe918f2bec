// The LED page's effects: SelectEffect, Apply with its refresh of the controls, and the controls that
// edit colours, levels, per-LED colours and layers.
#include "LedDlg.h"

#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"
#include "LightingCodes.h"
#include "PopupWindows.h"
#include "Rename.h"
#include "SkinAttributes.h"
#include "SkinKeys.h"
#include "XmlDocument.h"
#include "SkinDocuments.h"

namespace config {

namespace keys = skindocs::keys;

namespace {

int Channel(std::uint32_t color, int channel) { return static_cast<int>((color >> (8 * channel)) & 0xFF); }

std::uint32_t WithChannel(std::uint32_t color, int channel, int value) {
    const int shift = 8 * channel;
    return (color & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(value & 0xFF) << shift);
}

bool InEffectList(int effect) { return effect >= 0 && effect < static_cast<int>(kEffectListLength); }

}  // namespace

ColorTarget CLedDlg::CurrentColorTarget() const {
    const LightingSection* section = Section();
    return section != nullptr ? ColorTargetOf(*section, currentEffect_, currentLayer_) : ColorTarget{};
}

void CLedDlg::SelectEffect(int index) {
    SetFrequencyMode(false);
    currentEffect_ = index;
    LightingSection* section = Section();
    if (section != nullptr) section->SetSelectEffect(index);
    const std::uint8_t code = EffectCodeOfListIndex(index);
    for (std::size_t i = 0; i < effectButtons_.size(); ++i) {
        effectButtons_[i].SetChecked(InEffectList(index) && kEffectList[i].code == code);
    }
    // The preview makes the effect active; the pending send of the previous edit is superseded by
    // Apply's, which follows it.
    effectSend_.Cancel();
    if (InEffectList(index)) commands_.PreviewEffect(index);
    if (section != nullptr && index == effect_index::CUSTOMIZE && !ledColorChosen_) {
        if (const std::optional<std::uint32_t> lit = FirstLitLedColor(section->baseLayer)) currentColor_ = *lit;
    }
    if (section != nullptr) {
        for (std::size_t i = 0; i < enableButtons_.size(); ++i) {
            const std::optional<LayerFieldRef> enabled = EnabledFieldOfListIndex(static_cast<int>(i));
            enableButtons_[i].SetChecked(enabled && enabled->Byte(*section) != 0);
        }
    }
    Apply(Send::Now);
}

void CLedDlg::Apply(Send send) {
    UpdateMenus();
    animationTimer_.stop();
    if (currentEffect_ == effect_index::COLOR_CYCLE) animation_.Reset();
    if (send == Send::Now) {
        effectSend_.SendNow();
    } else {
        effectSend_.Request();
    }
    RefreshControls();
    if (currentEffect_ == effect_index::MULTILAYER && currentLayer_ == layer_type::COLOR_CYCLE) {
        animationTimer_.start();
    }
}

void CLedDlg::SendEditedEffect() {
    if (InEffectList(currentEffect_)) commands_.SendEditedEffect(currentEffect_, currentColor_);
}

void CLedDlg::UpdateMenus() {
    const LightingSection* section = Section();
    const bool effects = !frequencyMode_ && section != nullptr;
    const bool star = effects && currentEffect_ == effect_index::STAR_EFFECT;
    starMenu_.setVisible(star);
    if (star) starMenu_.SetCheckedItem(section->baseLayer[layer_field::STAR_EFFECT_STAR] == 1 ? 0 : 1);

    const bool multi = effects && currentEffect_ == effect_index::MULTILAYER;
    multiMenu_.setVisible(multi);
    if (multi) {
        const auto found = std::find(kMenuLayers.begin(), kMenuLayers.end(), currentLayer_);
        multiMenu_.SetCheckedItem(found != kMenuLayers.end() ? static_cast<int>(found - kMenuLayers.begin()) : -1);
    }
    const bool multiStar = multi && currentLayer_ == layer_type::STAR_EFFECT;
    multiStarMenu_.setVisible(multiStar);
    if (multiStar) multiStarMenu_.SetCheckedItem(section->multiLayer[layer_field::STAR_EFFECT_STAR] == 1 ? 0 : 1);
}

void CLedDlg::ShowLedColor(skin::CColorBtn& button, std::uint32_t color, bool showSwatch) {
    button.SetShowSwatch(showSwatch);
    button.SetColor(Channel(color, 0), Channel(color, 1), Channel(color, 2));
    button.ShowTooltip(QStringLiteral("R:%1,G:%2,B:%3").arg(Channel(color, 0)).arg(Channel(color, 1)).arg(Channel(color, 2)));
    button.update();
}

void CLedDlg::ShowColorInControls(std::uint32_t color, bool movePicker) {
    for (int channel = 0; channel < 3; ++channel) {
        const auto i = static_cast<std::size_t>(channel);
        valueButtons_[i].SetCaption(QString::number(Channel(color, channel)), true, 0);
        channelSliders_[i].SetPosition(Channel(color, channel));
    }
    if (movePicker && field_ != nullptr) {
        // The picker hands its new colour to the well and so back to the page; it is not a pick.
        const bool handling = handlingPickedColor_;
        handlingPickedColor_ = true;
        field_->SetColor(color);
        handlingPickedColor_ = handling;
    }
}

bool CLedDlg::LedButtonsShown() const {
    // Hidden for effects without a colour, and while the frequency panels are shown.
    return InEffectList(currentEffect_) && !frequencyMode_ && currentEffect_ != effect_index::COLOR_CYCLE &&
           currentEffect_ != effect_index::OFF;
}

void CLedDlg::ShowFirstLedButton() {
    if (QWidget* button = FirstLedButton(); button != nullptr && LedButtonsShown()) button->show();
}

void CLedDlg::RefreshControls() {
    const LightingSection* section = Section();
    if (section == nullptr) return;
    const ColorTarget target = CurrentColorTarget();
    const std::uint32_t color = ColorOfTarget(target, *section, currentColor_);
    const bool effectShown = InEffectList(currentEffect_) && !frequencyMode_;

    const bool ledsShown = LedButtonsShown();
    for (std::size_t led = 0; led < ledButtons_.size(); ++led) {
        skin::CColorBtn& button = ledButtons_[led];
        button.setVisible(ledsShown);
        if (!ledsShown) continue;
        if (currentEffect_ == effect_index::CUSTOMIZE) {
            const EffectLayer& base = section->baseLayer;
            ShowLedColor(button, base.Color(EffectLayer::CustomizeColor(led)),
                         base[EffectLayer::CustomizeColorSet(led)] == 1);
        } else if (currentEffect_ == effect_index::MULTILAYER) {
            // The LEDs of the layer being edited show its colour; the colour-cycle layer the animation.
            const bool inLayer = section->multiLayer.LayerType(led) == currentLayer_;
            const std::uint32_t shown = currentLayer_ == layer_type::COLOR_CYCLE ? animation_.Color() : color;
            ShowLedColor(button, inLayer ? shown : 0, inLayer);
        } else {
            ShowLedColor(button, color, true);
        }
    }

    // Colour controls: only with a colour target.
    const bool hasColor = effectShown && target.HasColor();
    for (std::size_t i = 0; i < 3; ++i) {
        valueButtons_[i].setEnabled(hasColor);
        channelSliders_[i].setEnabled(hasColor);
    }
    for (QWidget* picker : {static_cast<QWidget*>(field_), static_cast<QWidget*>(bar_), static_cast<QWidget*>(well_)}) {
        if (picker != nullptr) picker->setEnabled(hasColor);
    }
    ShowColorInControls(color, !handlingPickedColor_);

    // Speed and brightness: their targets' levels, or 0 and disabled.
    const std::optional<LayerFieldRef> speed = effectShown ? SpeedTargetOf(currentEffect_, currentLayer_) : std::nullopt;
    const std::optional<LayerFieldRef> brightness =
        effectShown ? BrightnessTargetOf(currentEffect_, currentLayer_) : std::nullopt;
    speedSlider_.setEnabled(speed.has_value());
    speedSlider_.SetPosition(speed ? speed->Byte(*section) : 0);
    brightnessSlider_.setEnabled(brightness.has_value());
    brightnessSlider_.SetPosition(brightness ? brightness->Byte(*section) : 0);

    // The applied colour: the same field in the saved copy.
    const LightingSection* saved = SavedSection();
    const std::uint32_t oldColor =
        target.kind == ColorTarget::Kind::Field && saved != nullptr ? target.field.Color(*saved) : 0;
    ShowLedColor(oldColorButton_, oldColor, true);
}

void CLedDlg::OnEffectButton(int index) { SelectEffect(index); }

void CLedDlg::OnLedButton(int led, int code) {
    LightingSection* section = Section();
    if (section == nullptr) return;
    const auto slot = static_cast<std::size_t>(led);
    EffectLayer& base = section->baseLayer;
    const bool customize = currentEffect_ == effect_index::CUSTOMIZE;
    const bool multi = currentEffect_ == effect_index::MULTILAYER;
    switch (code) {
    case skin::CBitmapBtn::kClickCode:
        if (customize) {
            base.SetColor(EffectLayer::CustomizeColor(slot), currentColor_);
            base[EffectLayer::CustomizeColorSet(slot)] = 1;
        } else if (multi) {
            section->multiLayer.SetLayerType(slot, static_cast<std::uint8_t>(currentLayer_));
        }
        break;
    case skin::CBitmapBtn::kRightPressCode:
        if (customize) base.SetColor(EffectLayer::CustomizeColor(slot), 0);
        if (multi) section->multiLayer.SetLayerType(slot, layer_type::OFF);
        break;
    case skin::CBitmapBtn::kMiddlePressCode:
        if (customize) {
            currentColor_ = base.Color(EffectLayer::CustomizeColor(slot));
            ledColorChosen_ = true;
        }
        if (multi) section->multiLayer.SetLayerType(slot, layer_type::OFF);
        break;
    default:
        return;
    }
    Apply(Send::Now);
}

void CLedDlg::OnOldColor() {
    LightingSection* section = Section();
    const LightingSection* saved = SavedSection();
    const ColorTarget target = CurrentColorTarget();
    if (section != nullptr && saved != nullptr && target.kind == ColorTarget::Kind::Field) {
        target.field.SetColor(*section, target.field.Color(*saved));
    }
    Apply(Send::Now);
}

void CLedDlg::OnStarMenu(int item, bool multiLayer) {
    LightingSection* section = Section();
    if (section == nullptr) return;
    EffectLayer& layer = multiLayer ? section->multiLayer : section->baseLayer;
    layer[layer_field::STAR_EFFECT_STAR] = item == 0 ? 1 : 0;
    layer[layer_field::STAR_EFFECT_SKY] = item == 0 ? 0 : 1;
    SelectEffect(currentEffect_);
}

void CLedDlg::OnMultiMenu(int item) {
    if (item < 0 || item >= static_cast<int>(kMenuLayers.size())) return;
    currentLayer_ = kMenuLayers[static_cast<std::size_t>(item)];
    SelectEffect(currentEffect_);
}

void CLedDlg::OnColorPicked(colorpicker::PickerColor color) {
    LightingSection* section = Section();
    if (handlingPickedColor_ || section == nullptr) return;
    handlingPickedColor_ = true;
    ShowColorInControls(color, false);
    StoreColorInTarget(CurrentColorTarget(), *section, currentColor_, color);
    NoteLedColorChoice();
    // A drag of the picker hands over a colour per mouse move: the send is coalesced.
    if (currentEffect_ != effect_index::CUSTOMIZE) {
        Apply(Send::Coalesced);
    } else {
        RefreshControls();
    }
    handlingPickedColor_ = false;
}

void CLedDlg::OnSlider(int id, int value) {
    if (id >= kRedSliderId && id < kRedSliderId + 3) {
        OnChannelSlider(id - kRedSliderId, value);
    } else if (id == kSpeedSliderId) {
        OnLevelSlider(SpeedTargetOf(currentEffect_, currentLayer_), speedSlider_, value);
    } else if (id == kBrightnessSliderId) {
        OnLevelSlider(BrightnessTargetOf(currentEffect_, currentLayer_), brightnessSlider_, value);
    } else if (id >= kSingleHzSliderId && id < kMainHzSliderId + 4) {
        OnFrequencyValue(id - kSingleHzSliderId, value);
    }
}

void CLedDlg::OnChannelSlider(int channel, int value) {
    LightingSection* section = Section();
    const ColorTarget target = CurrentColorTarget();
    if (section == nullptr || !target.HasColor() || frequencyMode_) return;
    const std::uint32_t color = WithChannel(ColorOfTarget(target, *section, currentColor_), channel, value);
    StoreColorInTarget(target, *section, currentColor_, color);
    NoteLedColorChoice();
    // Stored, not sent: the next Apply (or the main window's apply) takes it to the controller.
    RefreshControls();
}

void CLedDlg::OnLevelSlider(const std::optional<LayerFieldRef>& target, skin::CPngHSliderBar& slider, int value) {
    LightingSection* section = Section();
    if (section == nullptr || !target || frequencyMode_ || !InEffectList(currentEffect_)) return;
    const int level = std::clamp(value, slider.Minimum(), slider.Maximum());
    target->SetByte(*section, static_cast<std::uint8_t>(level));
    slider.SetPosition(level);
    Apply(Send::Coalesced);
}

void CLedDlg::OnAnimationTick() {
    const LightingSection* section = Section();
    if (section == nullptr) return;
    const int steps = speedSlider_.Position() + 1;
    for (int i = 0; i < steps; ++i) animation_.Step();
    if (g_popupOpen) return;
    for (std::size_t led = 0; led < ledButtons_.size(); ++led) {
        if (section->multiLayer.LayerType(led) == currentLayer_) ShowLedColor(ledButtons_[led], animation_.Color(), true);
    }
}

void CLedDlg::OpenEditor(skin::CBitmapBtn& button, EditedValue edited, int minimum, int maximum, int frequencyRow) {
    const std::u16string_view editKey = keys::kEditR;
    editor_ = std::make_unique<skin::CRename>();
    editor_->SetNumeric(true);
    editor_->SetRange(minimum, maximum);
    editor_->SetLengthLimit(3);
    editor_->SetTarget(this);
    // On the dark skin the value is light text on the raised surface (#262A33, #E7E9EE).
    editor_->SetBackgroundColor(0x00332A26);
    editor_->SetTextColor(0x00EEE9E7);
    const QString face =
        skin::ToQString(xml::LookupAttribute(skindocs::ButtonDocument(), keys::kLed, editKey, keys::kFont));
    if (!face.isEmpty()) editor_->SetFaceName(face);
    const int size = LedAttribute(editKey, keys::kSize);
    if (size != 0) editor_->SetFontHeight(size);
    editor_->SetPlacement(button.geometry());
    editor_->SetValueText(button.GetCaption());
    editor_->Create(this);
    edited_ = edited;
    editedRow_ = frequencyRow;
    editor_->BeginEdit(LedAttribute(editKey, keys::kMenuX), LedAttribute(editKey, keys::kMenuY));
}

void CLedDlg::OnEditorDone(std::intptr_t result) {
    const EditedValue edited = edited_;
    const int row = editedRow_;
    const QString text = editor_->GetValueText();
    editor_.release()->deleteLater();
    edited_ = EditedValue::None;
    editedRow_ = -1;
    if (result != skin::kRenameCommitted) return;
    if (edited == EditedValue::Frequency) {
        OnFrequencyValue(row, text.toInt());
        return;
    }
    LightingSection* section = Section();
    if (section == nullptr || edited == EditedValue::None) return;
    const auto channel = static_cast<std::size_t>(edited == EditedValue::Red ? 0 : edited == EditedValue::Green ? 1 : 2);
    valueButtons_[channel].SetCaption(text, true, 0);
    const std::uint32_t color = static_cast<std::uint32_t>(std::clamp(valueButtons_[0].GetCaption().toInt(), 0, 255)) |
                                static_cast<std::uint32_t>(std::clamp(valueButtons_[1].GetCaption().toInt(), 0, 255)) << 8 |
                                static_cast<std::uint32_t>(std::clamp(valueButtons_[2].GetCaption().toInt(), 0, 255)) << 16;
    StoreColorInTarget(CurrentColorTarget(), *section, currentColor_, color);
    NoteLedColorChoice();
    SelectEffect(currentEffect_);
}

void CLedDlg::NoteLedColorChoice() {
    if (currentEffect_ == effect_index::CUSTOMIZE) ledColorChosen_ = true;
}

}  // namespace config
