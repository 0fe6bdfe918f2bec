#include "LightingTransfer.h"

#include "DebugLog.h"
#include "EffectEntry.h"
#include "LightingCodes.h"

#include <array>

namespace config {

namespace {

constexpr std::size_t kEffectListBytes = 18;
constexpr std::size_t kLedColorBytes = 48;
constexpr std::uint8_t kLayerBase = 0;
constexpr std::uint8_t kLayerMulti = 1;
constexpr double kReadStart = 10.0;
constexpr double kReadSpan = 80.0;

using namespace layer_field;

}  // namespace

CLightingTransfer::CLightingTransfer(CUSBDriver& link, SettingsBlock& working, TransferObserver* observer)
    : link_(link), working_(working), observer_(observer) {}

LightingSection* CLightingTransfer::Section(int profile) {
    if (profile < 0 || profile >= static_cast<int>(SettingsBlock::kProfileCount)) return nullptr;
    return &working_.profiles[static_cast<std::size_t>(profile)].lighting;
}

void CLightingTransfer::SetProgress(double percent) {
    progress_ = percent;
    const int shown = static_cast<int>(percent);
    if (shown != shownPercent_) {
        shownPercent_ = shown;
        if (observer_) observer_->ProgressChanged(shown);
    }
}

int CLightingTransfer::SendCustomColors(const EffectLayer& layer) {
    if (!link_.IsOpen()) return 1;
    std::array<std::uint8_t, kLedColorBytes> colors{};
    for (std::size_t led = 0; led < LED_COUNT; ++led) {
        const std::uint32_t color = layer.Color(EffectLayer::CustomizeColor(led));
        for (std::size_t i = 0; i < 3; ++i) colors[3 * led + i] = static_cast<std::uint8_t>(color >> (8 * i));
    }
    return link_.SetLedColors(0, colors) != 0 ? 1 : 0;
}

int CLightingTransfer::WriteProfileLighting(int profile, double start, double span) {
    LightingSection* section = Section(profile);
    if (!section) return 1;
    int failed = 0;
    const auto note = [&failed](int result) { failed |= result != 0 ? 1 : 0; };
    const EffectLayer& base = section->baseLayer;
    // An index outside the list (a damaged file) selects the first effect.
    std::int32_t selected = section->SelectEffect();
    if (EffectCodeOfListIndex(selected) == effect_code::NONE) selected = 0;
    const std::uint8_t selectedCode = EffectCodeOfListIndex(selected);

    std::array<std::uint8_t, kEffectListBytes> enabled;
    enabled.fill(effect_code::NONE);
    std::size_t count = 0;
    std::size_t selectedPosition = 0;
    progress_ = start;
    for (const EffectListEntry& entry : kEffectList) {
        SetProgress(progress_ + span / (kEffectListLength + 1));
        const std::uint8_t code = entry.code;
        if (code == selectedCode) selectedPosition = count;
        if (const auto enabledField = EnabledFieldOf(code)) {
            const EffectEntries params = BuildEffectEntries(code, base);
            if (code == effect_code::CUSTOMIZE) {
                note(link_.SetColorMode(0));
                if (link_.IsOpen()) {
                    note(link_.SetActiveEffect(effect_code::CUSTOMIZE));
                    note(SendCustomColors(base));
                }
            }
            if (base[*enabledField] != 0) enabled[count++] = code;
            note(link_.SetEffectParams(kLayerBase, params));
        } else if (entry.functionId == function_id::OFF) {
            if (base[OFF_ENABLED] != 0) enabled[count++] = effect_code::OFF;
        } else if (entry.functionId == function_id::MULTILAYER) {
            note(WriteLayerMap(profile));
            if (section->multiLayer[LAYER_ENABLED] != 0) enabled[count++] = effect_code::MULTILAYER;
        }
    }
    note(link_.SetEffectList(enabled));
    // The selected effect when enabled; else the next enabled one; else the last enabled one; and with
    // no effect enabled at all, the selected effect's own code.
    std::uint8_t active = enabled[selectedPosition];
    if (active == effect_code::NONE) {
        active = selectedPosition > 0 ? enabled[selectedPosition - 1] : selectedCode;
    }
    note(link_.SetActiveEffect(active));
    return failed;
}

int CLightingTransfer::WriteLayerMap(int profile) {
    LightingSection* section = Section(profile);
    if (!section) return 1;
    const EffectLayer& multi = section->multiLayer;
    int failed = link_.SetColorMode(1) != 0 ? 1 : 0;
    std::array<std::uint8_t, kReportDataSize> map{};
    map[1] = 1;
    for (std::size_t led = 0; led < LED_COUNT; ++led) map[4 + led] = LayerMapCodeOfType(multi.LayerType(led));

    std::array<bool, 256> handled{};
    constexpr std::uint8_t kNoSpeed = 0xFF;
    for (std::size_t led = 0; led < LED_COUNT; ++led) {
        const std::uint8_t type = multi.LayerType(led);
        if (handled[type]) continue;
        handled[type] = true;
        if (type == layer_type::OFF) continue;
        EffectEntries params;
        if (type == layer_type::CUSTOMIZE) {
            failed |= SendCustomColors(multi);
            params = BuildEffectEntries(effect_code::CUSTOMIZE, multi, kNoSpeed);
            params[5] = 0xFF;  // the per-LED colours carry it all: no brightness either
        } else {
            params = BuildEffectEntries(ParameterCodeOfType(type), multi, kNoSpeed);
        }
        failed |= link_.SetEffectParams(kLayerMulti, params) != 0 ? 1 : 0;
    }
    failed |= link_.SetLayerMap(map) != 0 ? 1 : 0;
    failed |= link_.SetActiveEffect(effect_code::MULTILAYER) != 0 ? 1 : 0;
    return failed;
}

void CLightingTransfer::ReadLayerMap(int profile) {
    LightingSection* section = Section(profile);
    if (!section) return;
    std::array<std::uint8_t, kReportDataSize> map{};
    map[1] = 1;
    const int result = link_.GetLayerMap(map);
    EffectLayer& multi = section->multiLayer;
    std::fill_n(multi.bytes.begin() + RESERVED_CLEARED_FIRST, RESERVED_CLEARED_COUNT, 0);
    // A map that did not arrive leaves the layer types as they were.
    if (result != 0) return;
    for (std::size_t led = 0; led < LED_COUNT; ++led) multi.SetLayerType(led, LayerTypeOfMapCode(map[4 + led]));
}

void CLightingTransfer::FetchLedColors(EffectLayer& layer) {
    std::array<std::uint8_t, kLedColorBytes> colors{};
    if (link_.GetLedColors(0, colors) != 0) return;
    for (std::size_t led = 0; led < LED_COUNT; ++led) {
        layer.SetColor(EffectLayer::CustomizeColor(led), ColorFromBytes(&colors[3 * led]));
    }
}

int CLightingTransfer::FetchEffect(std::uint8_t layerNumber, std::uint8_t code, EffectLayer& layer) {
    EffectEntries entries = EffectRequest(code);
    const int result = link_.GetEffectParams(layerNumber, entries);
    if (result == 0) StoreEffectEntry(entries, layer);
    return result;
}

int CLightingTransfer::ReadProfileLighting(int profile) {
    SetProgress(kReadStart);
    int result = 0;
    if (profile == -1) {
        std::uint8_t reported = 0;
        const int got = link_.GetProfile(reported);
        result |= got;
        if (got == 0 && observer_) observer_->CurrentProfileReported(reported);
        profile = 0;  // the block holds one record, whatever the controller reports
    }
    LightingSection* section = Section(profile);
    if (!section) {  // no record to read into: nothing is sent
        SetProgress(100.0);
        return 1;
    }
    link_.SetMode(3);

    const auto profileNumber = static_cast<std::uint8_t>(profile);
    result |= link_.SelectProfile(profileNumber);
    std::array<std::uint8_t, CUSBDriver::kProfileBlockBufferSize> block{};
    result |= link_.GetProfileBlock(profileNumber, block);
    if ((block[0] & FrequencyBlock::kValidMask) == FrequencyBlock::kValidMask) {
        std::copy_n(block.begin(), FrequencyBlock::kSize, section->frequency.bytes.begin());
    }
    SetProgress(kReadStart + profile * kReadSpan);

    std::array<std::uint8_t, 11> active{};
    if (link_.GetActiveEffect(active) == 0) {
        std::uint8_t index = EffectListIndexOfCode(active[0]);
        if (index == kNotInEffectList) {
            if (g_debugLog) WriteDebugLog(u"Error Get Effect Mode:%d, %d", profile, 255);
            index = 0;
        }
        section->SetSelectEffect(index);
    }
    std::array<std::uint8_t, kEffectListBytes> list{};
    link_.GetEffectList(list);

    EffectLayer& base = section->baseLayer;
    EffectLayer& multi = section->multiLayer;
    for (const EffectListEntry& entry : kEffectList) {
        SetProgress(progress_ + kReadSpan / (kEffectListLength + 1));
        const std::uint8_t code = entry.code;
        if (code == effect_code::OFF) {
            base[OFF_ENABLED] = 1;
            continue;
        }
        result |= link_.SetActiveEffect(code);
        if (code == effect_code::MULTILAYER) {
            multi[LAYER_ENABLED] = 1;
            for (const EffectListEntry& layerEntry : kEffectList) {
                const std::uint8_t layerCode = layerEntry.code;
                if (layerCode == effect_code::MULTILAYER || layerCode == effect_code::OFF) continue;
                FetchEffect(kLayerMulti, layerCode, multi);
                if (layerCode == effect_code::CUSTOMIZE) FetchLedColors(multi);
            }
            ReadLayerMap(profile);
            continue;
        }
        result |= FetchEffect(kLayerBase, code, base);
        if (code == effect_code::CUSTOMIZE) {
            base[CUSTOMIZE_ENABLED] = 1;
            FetchLedColors(base);
        }
    }
    if (observer_) observer_->DispatchPendingMessage();
    SetProgress(100.0);
    return result;
}

}  // namespace config
