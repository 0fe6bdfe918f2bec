#include "simulator/EffectTables.h"

#include <array>

namespace simulator {

namespace {

// Raw speed per level 0-4 for effect codes 0-10; a zero row has no speed.
constexpr std::array<std::array<std::uint8_t, kSpeedLevels>, 11> kSpeedTable = {{
    {0, 0, 0, 0, 0},
    {60, 55, 49, 44, 38},
    {150, 140, 128, 110, 104},
    {70, 65, 60, 55, 50},
    {0, 0, 0, 0, 0},
    {70, 65, 56, 45, 39},
    {72, 66, 60, 51, 42},
    {150, 120, 108, 102, 98},
    {65, 57, 50, 42, 35},
    {107, 104, 101, 98, 96},
    {123, 115, 108, 104, 100},
}};

constexpr std::array<std::uint8_t, kBrightnessLevels> kBrightness = {76, 153, 255};
constexpr std::array<std::uint8_t, kBrightnessLevels> kCycleBrightness = {16, 64, 127};

bool hasSpeed(std::uint8_t code) { return code < kSpeedTable.size() && kSpeedTable[code][0] != 0; }

}  // namespace

std::optional<std::uint8_t> rawSpeed(std::uint8_t code, int level) {
    if (!hasSpeed(code) || level < 0 || level >= kSpeedLevels) return std::nullopt;
    return kSpeedTable[code][static_cast<std::size_t>(level)];
}

std::optional<int> speedLevel(std::uint8_t code, std::uint8_t raw) {
    if (!hasSpeed(code)) return std::nullopt;
    for (int level = 0; level < kSpeedLevels - 1; ++level)
        if (kSpeedTable[code][static_cast<std::size_t>(level)] <= raw) return level;
    return kSpeedLevels - 1;
}

std::optional<std::uint8_t> rawBrightness(std::uint8_t code, int level) {
    if (level < 0 || level >= kBrightnessLevels) return std::nullopt;
    switch (code) {
    case 0: case 1: case 3: case 4: return kBrightness[static_cast<std::size_t>(level)];
    case 2: return kCycleBrightness[static_cast<std::size_t>(level)];
    default: return std::nullopt;
    }
}

double brightnessFraction(std::uint8_t code, std::uint8_t raw) {
    switch (code) {
    case 0: case 1: case 3: case 4: return raw / 255.0;
    case 2: return raw >= 127 ? 1.0 : raw / 127.0;
    default: return 1.0;
    }
}

}  // namespace simulator
