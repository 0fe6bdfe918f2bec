#include "LedCommands.h"

#include "CUSBDriver.h"
#include "EffectEntry.h"
#include "LedTargets.h"
#include "LightingCodes.h"
#include "LightingTransfer.h"

#include <algorithm>

namespace config {

namespace {
constexpr std::uint8_t kPreviewMode = 0x80;
constexpr std::uint8_t kSettingsMode = 3;
constexpr std::uint8_t kBaseLayer = 0;
}  // namespace

bool CLedCommands::ControllerOpen() const { return link_ != nullptr && link_->IsOpen(); }

LightingSection* CLedCommands::Section() const {
    return working_ != nullptr ? &working_->profiles[0].lighting : nullptr;
}

void CLedCommands::PreviewEffect(int effect) {
    LightingSection* section = Section();
    const std::uint8_t code = EffectCodeOfListIndex(effect);
    if (!ControllerOpen() || section == nullptr || code == effect_code::NONE) return;
    link_->SetMode(kPreviewMode);
    if (code == effect_code::CUSTOMIZE) {
        link_->SetColorMode(0);
        CLightingTransfer(*link_, *working_).SendCustomColors(section->baseLayer);
    }
    link_->SetActiveEffect(code);
}

void CLedCommands::SendEditedEffect(int effect, std::uint32_t currentColor) {
    LightingSection* section = Section();
    const std::uint8_t code = EffectCodeOfListIndex(effect);
    if (!ControllerOpen() || section == nullptr || code == effect_code::NONE) return;
    CLightingTransfer transfer(*link_, *working_);
    if (code == effect_code::MULTILAYER) {
        transfer.WriteLayerMap(0);
        return;
    }
    if (code == effect_code::OFF) return;
    if (code == effect_code::CUSTOMIZE) {
        link_->SetColorMode(0);
        transfer.SendCustomColors(section->baseLayer);
    }
    EffectEntries entries = BuildEffectEntries(code, section->baseLayer);
    if (code == effect_code::CUSTOMIZE) {
        // The per-LED colours carry the LEDs; the entry's first colour is the colour being picked.
        constexpr std::size_t kFirstColor = 6;
        for (std::size_t i = 0; i < 3; ++i) entries[kFirstColor + i] = static_cast<std::uint8_t>(currentColor >> (8 * i));
    }
    link_->SetEffectParams(kBaseLayer, entries);
    if (code == effect_code::STAR_EFFECT) link_->SetActiveEffect(effect_code::STAR_EFFECT);
}

void CLedCommands::SaveFrequencies(const std::array<int, 6>& hertz, FrequencyTableSender& tables) {
    if (working_ == nullptr) return;
    if (ControllerOpen()) {
        link_->SetMode(kSettingsMode);
        link_->SelectProfile(working_->ProfileIndex());
    }
    tables.ApplyFrequencies(hertz);
    FrequencyBlock& block = working_->profiles[0].lighting.frequency;
    block.MarkValid();
    if (!ControllerOpen()) return;
    std::array<std::uint8_t, CUSBDriver::kProfileBlockBufferSize> buffer{};
    std::copy(block.bytes.begin(), block.bytes.end(), buffer.begin());
    link_->SetProfileBlock(0, buffer);
    link_->StoreSettings();
}

}  // namespace config
