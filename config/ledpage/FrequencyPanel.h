// What the LED page's two frequency panels do to the FrequencyBlock: the chosen preset of each
// scheme, the frequencies of a preset, reset, and what the panel shows. No Qt.
#pragma once

#include "FrequencyBlock.h"

#include <array>
#include <optional>

namespace config {

inline constexpr int kMinimumFrequency = 45;
inline constexpr int kMaximumFrequency = 600;
// The preset that stores nothing and runs every output at 1000 Hz.
inline constexpr int kFixedPreset = 3;

enum class FrequencyScheme { Single, PerColour };

FrequencyScheme SchemeOf(const FrequencyBlock& block);
void SetScheme(FrequencyBlock& block, FrequencyScheme scheme);

// The chosen preset of a scheme (0-3; bits 3-5 of byte 0 or bits 0-2 of byte 1).
int PresetOf(const FrequencyBlock& block, FrequencyScheme scheme);
// Chooses preset 0-3 of a scheme; other numbers are ignored.
void SetPreset(FrequencyBlock& block, FrequencyScheme scheme, int preset);

// Stores `hertz` (clamped to 45-600) as the row's frequency of the chosen preset of the row's scheme
// (the single row: the single scheme; main, red, green, blue: the per-colour scheme). Nothing is
// stored while that preset is the fixed one.
void StorePresetFrequency(FrequencyBlock& block, FrequencyBlock::Row row, int hertz);

// Reset of one panel: the fixed preset chosen and the scheme's rows back to 90, 135, 220 Hz.
void ResetScheme(FrequencyBlock& block, FrequencyScheme scheme);

// What a panel shows: its chosen preset and the value of each of its rows (single: one row; per
// colour: main, red, green, blue), empty for the fixed preset.
struct FrequencyPanelView {
    int preset = kFixedPreset;
    std::array<std::optional<int>, 4> values;
};
FrequencyPanelView PanelView(const FrequencyBlock& block, FrequencyScheme scheme);

}  // namespace config
