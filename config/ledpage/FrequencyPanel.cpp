#include "FrequencyPanel.h"

#include <algorithm>

namespace config {

namespace {
using Row = FrequencyBlock::Row;
constexpr std::array<Row, 4> kPerColourRows = {Row::Main, Row::Red, Row::Green, Row::Blue};
constexpr std::uint16_t kDefaults[FrequencyBlock::kPresetCount] = {90, 135, 220};
constexpr std::uint8_t kSinglePresetMask = 0x38;  // bits 3-5 of byte 0
constexpr std::uint8_t kPerColourPresetMask = 0x07;  // bits 0-2 of byte 1
}  // namespace

FrequencyScheme SchemeOf(const FrequencyBlock& block) {
    return block.PerColourScheme() ? FrequencyScheme::PerColour : FrequencyScheme::Single;
}

void SetScheme(FrequencyBlock& block, FrequencyScheme scheme) {
    if (scheme == FrequencyScheme::PerColour) {
        block.bytes[0] |= FrequencyBlock::kPerColourSchemeBit;
    } else {
        block.bytes[0] &= static_cast<std::uint8_t>(~FrequencyBlock::kPerColourSchemeBit);
    }
}

int PresetOf(const FrequencyBlock& block, FrequencyScheme scheme) {
    return scheme == FrequencyScheme::Single ? block.SinglePreset() : block.PerColourPreset();
}

void SetPreset(FrequencyBlock& block, FrequencyScheme scheme, int preset) {
    if (preset < 0 || preset > kFixedPreset) return;
    const auto value = static_cast<std::uint8_t>(preset);
    if (scheme == FrequencyScheme::Single) {
        block.bytes[0] = static_cast<std::uint8_t>((block.bytes[0] & ~kSinglePresetMask) | value << 3);
    } else {
        block.bytes[1] = static_cast<std::uint8_t>((block.bytes[1] & ~kPerColourPresetMask) | value);
    }
}

void StorePresetFrequency(FrequencyBlock& block, Row row, int hertz) {
    const FrequencyScheme scheme = row == Row::Single ? FrequencyScheme::Single : FrequencyScheme::PerColour;
    const int clamped = std::clamp(hertz, kMinimumFrequency, kMaximumFrequency);
    block.SetFrequency(row, PresetOf(block, scheme), static_cast<std::uint16_t>(clamped));
}

void ResetScheme(FrequencyBlock& block, FrequencyScheme scheme) {
    SetPreset(block, scheme, kFixedPreset);
    for (int preset = 0; preset < FrequencyBlock::kPresetCount; ++preset) {
        if (scheme == FrequencyScheme::Single) {
            block.SetFrequency(Row::Single, preset, kDefaults[preset]);
        } else {
            for (const Row row : kPerColourRows) block.SetFrequency(row, preset, kDefaults[preset]);
        }
    }
}

FrequencyPanelView PanelView(const FrequencyBlock& block, FrequencyScheme scheme) {
    FrequencyPanelView view;
    view.preset = PresetOf(block, scheme);
    if (view.preset >= FrequencyBlock::kPresetCount) return view;
    if (scheme == FrequencyScheme::Single) {
        view.values[0] = block.Frequency(Row::Single, view.preset);
    } else {
        for (std::size_t i = 0; i < kPerColourRows.size(); ++i) {
            view.values[i] = block.Frequency(kPerColourRows[i], view.preset);
        }
    }
    return view;
}

}  // namespace config
