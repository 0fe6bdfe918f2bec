#include "EffectParams.h"

#include <array>
#include <optional>

namespace config {

namespace {

using LevelTable = std::array<std::uint8_t, 5>;

// Raw speed per level (0 fastest) of the effects that have a speed.
std::optional<LevelTable> SpeedTable(std::uint8_t effect) {
    switch (effect) {
        case 1: return LevelTable{60, 55, 49, 44, 38};
        case 2: return LevelTable{150, 140, 128, 110, 104};
        case 3: return LevelTable{70, 65, 60, 55, 50};
        case 5: return LevelTable{70, 65, 56, 45, 39};
        case 6: return LevelTable{72, 66, 60, 51, 42};
        case 7: return LevelTable{150, 120, 108, 102, 98};
        case 8: return LevelTable{65, 57, 50, 42, 35};
        case 9: return LevelTable{107, 104, 101, 98, 96};
        case 10: return LevelTable{123, 115, 108, 104, 100};
        default: return std::nullopt;
    }
}

// Raw brightness per level 0-2 of the effects that have a brightness.
std::optional<std::array<std::uint8_t, 3>> BrightnessTable(std::uint8_t effect) {
    switch (effect) {
        case 0:
        case 1:
        case 3:
        case 4: return std::array<std::uint8_t, 3>{76, 153, 255};
        case 2: return std::array<std::uint8_t, 3>{16, 64, 127};
        default: return std::nullopt;
    }
}

// The effect-specific byte of effect 9 per speed level.
constexpr LevelTable kEffect9Byte = {8, 24, 48, 56, 64};
constexpr std::uint8_t kEffect1Flag = 0x20;
constexpr std::uint8_t kEffect3Byte = 0x21;

}  // namespace

std::uint8_t RawSpeed(std::uint8_t effect, std::uint8_t level) {
    const auto table = SpeedTable(effect);
    return table && level < table->size() ? (*table)[level] : level;
}

std::uint8_t SpeedLevel(std::uint8_t effect, std::uint8_t raw) {
    const auto table = SpeedTable(effect);
    if (!table) {
        return raw;
    }
    for (std::uint8_t level = 0; level < 4; ++level) {
        if ((*table)[level] <= raw) {
            return level;
        }
    }
    return 4;
}

std::uint8_t RawBrightness(std::uint8_t effect, std::uint8_t level) {
    const auto table = BrightnessTable(effect);
    if (!table) {
        return level;
    }
    return level == 1 || level == 2 ? (*table)[level] : (*table)[0];
}

std::uint8_t BrightnessLevel(std::uint8_t effect, std::uint8_t raw) {
    const auto table = BrightnessTable(effect);
    if (!table) {
        return raw;
    }
    if (raw >= (*table)[2]) {
        return 2;
    }
    return raw >= (*table)[1] ? 1 : 0;
}

void EncodeEffectParamEntry(EffectParamEntry entry) {
    entry[kEntryEffectByte] = 0xFF;
    entry[kEntryFiller] = 0xFF;
    const std::uint8_t effect = entry[kEntryEffect];
    const std::uint8_t speedLevel = entry[kEntrySpeed];
    // Effects 0 and 4 have no speed (RawSpeed leaves it), effects 5-10 no brightness (RawBrightness
    // leaves it), so mapping both is right for every code; unknown codes keep both bytes.
    entry[kEntrySpeed] = RawSpeed(effect, speedLevel);
    entry[kEntryBrightness] = RawBrightness(effect, entry[kEntryBrightness]);
    if (effect == 1) {
        entry[kEntryFlags] |= kEffect1Flag;
    } else if (effect == 3) {
        entry[kEntryEffectByte] = kEffect3Byte;
    } else if (effect == 9 && speedLevel < kEffect9Byte.size()) {
        entry[kEntryEffectByte] = kEffect9Byte[speedLevel];
    }
}

void DecodeEffectParamEntry(EffectParamEntry entry) {
    const std::uint8_t effect = entry[kEntryEffect];
    entry[kEntrySpeed] = SpeedLevel(effect, entry[kEntrySpeed]);
    entry[kEntryBrightness] = BrightnessLevel(effect, entry[kEntryBrightness]);
}

}  // namespace config
