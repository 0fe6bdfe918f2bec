#include "EffectParams.h"

#include "effects/EffectTables.h"

namespace config {

using effects::BrightnessRowOf;
using effects::SpeedRowOf;

std::uint8_t RawSpeed(std::uint8_t effect, std::uint8_t level) {
    const auto* table = SpeedRowOf(effect);
    return table && level < table->size() ? (*table)[level] : level;
}

std::uint8_t SpeedLevel(std::uint8_t effect, std::uint8_t raw) {
    const auto* table = SpeedRowOf(effect);
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
    const auto* table = BrightnessRowOf(effect);
    if (!table) {
        return level;
    }
    return level == 1 || level == 2 ? (*table)[level] : (*table)[0];
}

std::uint8_t BrightnessLevel(std::uint8_t effect, std::uint8_t raw) {
    const auto* table = BrightnessRowOf(effect);
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
        entry[kEntryFlags] |= effects::kEffect1Flag;
    } else if (effect == 3) {
        entry[kEntryEffectByte] = effects::kEffect3Byte;
    } else if (effect == 9 && speedLevel < effects::kEffect9Byte.size()) {
        entry[kEntryEffectByte] = effects::kEffect9Byte[speedLevel];
    }
}

void DecodeEffectParamEntry(EffectParamEntry entry) {
    const std::uint8_t effect = entry[kEntryEffect];
    entry[kEntrySpeed] = SpeedLevel(effect, entry[kEntrySpeed]);
    entry[kEntryBrightness] = BrightnessLevel(effect, entry[kEntryBrightness]);
}

}  // namespace config
