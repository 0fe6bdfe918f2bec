// The LED page's frequency mode: the two panels (one frequency for all outputs, or per colour),
// their presets, sliders, value buttons, reset and save, and the frequency preview (timer 65539).
#include "LedDlg.h"

#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"

namespace config {

void CLedDlg::SetFrequencyMode(bool on) {
    LightingSection* section = Section();
    const FrequencyScheme scheme = section != nullptr ? SchemeOf(section->frequency) : FrequencyScheme::Single;
    frequencyMode_ = on;
    frequencyButton_.SetChecked(on);
    schemeMenu_.setVisible(on);
    if (on) schemeMenu_.SetCheckedItem(scheme == FrequencyScheme::Single ? 0 : 1);

    if (on) {
        SetColorControlsVisible(false);
        for (skin::CColorBtn& led : ledButtons_) led.hide();
        for (skin::CBitmapBtn& effect : effectButtons_) effect.SetChecked(false);
        starMenu_.hide();
        multiMenu_.hide();
        multiStarMenu_.hide();
        animationTimer_.stop();
        ShowPanels(true, scheme);
        RefreshPanels();
    } else {
        ShowPanels(false, scheme);
        SetColorControlsVisible(true);
    }
    if (on != shownFrequencyMode_ || (on && scheme != shownScheme_)) update(syncRect_);
    shownFrequencyMode_ = on;
    shownScheme_ = scheme;
}

void CLedDlg::SetColorControlsVisible(bool visible) {
    for (std::size_t i = 0; i < 3; ++i) {
        valueButtons_[i].setVisible(visible);
        channelSliders_[i].setVisible(visible);
    }
    for (QWidget* picker : {static_cast<QWidget*>(field_), static_cast<QWidget*>(bar_), static_cast<QWidget*>(well_)}) {
        if (picker != nullptr) picker->setVisible(visible);
    }
    speedSlider_.setVisible(visible);
    brightnessSlider_.setVisible(visible);
    oldColorButton_.setVisible(visible);
}

void CLedDlg::ShowPanels(bool on, FrequencyScheme scheme) {
    for (const FrequencyScheme each : {FrequencyScheme::Single, FrequencyScheme::PerColour}) {
        FrequencyPanel& panel = PanelOf(each);
        const bool visible = on && each == scheme;
        for (skin::CBitmapBtn& preset : panel.presets) preset.setVisible(visible);
        panel.reset.setVisible(visible);
        panel.save.setVisible(visible);
        for (int r = 0; r < panel.rowCount; ++r) {
            panel.values[static_cast<std::size_t>(r)].setVisible(visible);
            panel.sliders[static_cast<std::size_t>(r)].setVisible(visible);
        }
    }
}

void CLedDlg::RefreshPanels() {
    LightingSection* section = Section();
    if (section == nullptr) return;
    const FrequencyBlock& block = section->frequency;
    for (const FrequencyScheme scheme : {FrequencyScheme::Single, FrequencyScheme::PerColour}) {
        FrequencyPanel& panel = PanelOf(scheme);
        const FrequencyPanelView view = PanelView(block, scheme);
        for (std::size_t i = 0; i < panel.presets.size(); ++i) {
            panel.presets[i].SetChecked(static_cast<int>(i) == view.preset);
        }
        for (int r = 0; r < panel.rowCount; ++r) {
            const auto i = static_cast<std::size_t>(r);
            const std::optional<int>& value = view.values[i];
            panel.values[i].SetCaption(value ? QString::number(*value) : QString(), true, 0);
            panel.values[i].setEnabled(value.has_value());
            panel.sliders[i].setEnabled(value.has_value());
            if (value) panel.sliders[i].SetPosition(*value);
        }
    }
    frequencyCopy_ = block;
    frequencyTimer_.start();
}

void CLedDlg::OnSchemeMenu(int item) {
    LightingSection* section = Section();
    if (section == nullptr) return;
    SetScheme(section->frequency, item == 0 ? FrequencyScheme::Single : FrequencyScheme::PerColour);
    SetFrequencyMode(true);
}

void CLedDlg::OnPreset(FrequencyScheme scheme, int preset) {
    LightingSection* section = Section();
    if (section == nullptr) return;
    SetPreset(section->frequency, scheme, preset);
    RefreshPanels();
}

void CLedDlg::OnFrequencyValue(int row, int value) {
    LightingSection* section = Section();
    if (section == nullptr || !frequencyMode_ || row < 0 || row > static_cast<int>(FrequencyBlock::Row::Blue)) return;
    StorePresetFrequency(section->frequency, static_cast<FrequencyBlock::Row>(row), value);
    RefreshPanels();
}

void CLedDlg::OnFrequencyReset(FrequencyScheme scheme) {
    LightingSection* section = Section();
    if (section == nullptr) return;
    ResetScheme(section->frequency, scheme);
    RefreshPanels();
}

void CLedDlg::OnFrequencySave() {
    LightingSection* section = Section();
    if (section == nullptr) return;
    frequencyTimer_.stop();
    if (saved_ != nullptr) saved_->profiles[0].lighting.frequency = section->frequency;
    if (tables_) commands_.SaveFrequencies(section->frequency.OutputFrequencies(), *tables_);
}

void CLedDlg::OnFrequencyTick() {
    // The controller runs the frequencies while they are being chosen.
    frequencyTimer_.stop();
    if (tables_) tables_->ApplyFrequencies(frequencyCopy_.OutputFrequencies());
}

}  // namespace config
