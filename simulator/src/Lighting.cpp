#include "simulator/Lighting.h"

#include "simulator/EffectLevels.h"

#include "effects/EffectTables.h"

namespace simulator {

EffectEntry defaultEffectEntry(std::uint8_t code) {
    EffectEntry entry;
    entry.fill(0xFF);
    entry[kEntryCode] = code;
    if (code > kEffectGameSnake) return entry;
    entry[kEntryFlags] = code == kEffectBreath ? effects::kEffect1Flag : 0;
    if (auto speed = rawSpeed(code, 2)) entry[kEntrySpeed] = *speed;
    if (auto brightness = rawBrightness(code, 2)) entry[kEntryBrightness] = *brightness;
    if (code == kEffectStars) entry[kEntryExtra] = effects::kEffect3Byte;
    if (code == kEffectRainDrop) entry[kEntryExtra] = effects::kEffect9Byte[2];  // the middle speed's
    for (std::size_t i = 0; i < 3; ++i) {
        entry[kEntryColor1 + i] = 0xFF;  // white
        entry[kEntryColor2 + i] = 0x00;  // black
    }
    return entry;
}

ProfileLighting defaultProfileLighting() {
    ProfileLighting profile;
    profile.block.fill(0xFF);
    profile.activeEffect.fill(0);
    profile.activeEffect[0] = kEffectStatic;
    profile.effectList.fill(kNoEffect);
    const std::uint8_t list[] = {kEffectStatic, kEffectCustomize, kEffectStars, kEffectColorCycle,
                                 kEffectBreath, kEffectMultiLayer, kEffectOff};
    for (std::size_t i = 0; i < std::size(list); ++i) profile.effectList[i] = list[i];
    for (auto& layer : profile.effectParams)
        for (std::size_t code = 0; code < layer.size(); ++code)
            layer[code] = defaultEffectEntry(static_cast<std::uint8_t>(code));
    profile.colorMode = 0;
    profile.layerMap.fill(0);
    profile.layerMap[1] = 1;
    for (std::size_t j = 0; j < kLedCount; ++j) profile.layerMap[4 + j] = kEffectOff;
    for (auto& page : profile.ledColors) page.fill(0);
    return profile;
}

ControllerSettings defaultControllerSettings() {
    ControllerSettings settings;
    for (auto& profile : settings.profiles) profile = defaultProfileLighting();
    settings.pwmConfig.fill(0);
    return settings;
}

}  // namespace simulator
