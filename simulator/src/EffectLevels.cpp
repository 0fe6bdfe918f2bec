#include "simulator/EffectLevels.h"

#include "effects/EffectTables.h"

#include <algorithm>

namespace simulator {

static_assert(kSpeedLevels == static_cast<int>(effects::kSpeedLevels));
static_assert(kBrightnessLevels == static_cast<int>(effects::kBrightnessLevels));

std::optional<std::uint8_t> rawSpeed(std::uint8_t code, int level) {
    const auto* row = effects::SpeedRowOf(code);
    if (!row || level < 0 || level >= kSpeedLevels) return std::nullopt;
    return (*row)[static_cast<std::size_t>(level)];
}

std::optional<int> speedLevel(std::uint8_t code, std::uint8_t raw) {
    const auto* row = effects::SpeedRowOf(code);
    if (!row) return std::nullopt;
    for (int level = 0; level < kSpeedLevels - 1; ++level)
        if ((*row)[static_cast<std::size_t>(level)] <= raw) return level;
    return kSpeedLevels - 1;
}

std::optional<std::uint8_t> rawBrightness(std::uint8_t code, int level) {
    const auto* row = effects::BrightnessRowOf(code);
    if (!row || level < 0 || level >= kBrightnessLevels) return std::nullopt;
    return (*row)[static_cast<std::size_t>(level)];
}

// The brightest level's raw value is the effect's full scale; values above it show at full.
double brightnessFraction(std::uint8_t code, std::uint8_t raw) {
    const auto* row = effects::BrightnessRowOf(code);
    if (!row) return 1.0;
    const double full = row->back();
    return std::min(1.0, raw / full);
}

}  // namespace simulator
