// The application firmware's settings: what a controller keeps per profile (lighting) and for itself
// (output tables), in the raw form in which the commands carry them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>

namespace simulator {

inline constexpr std::size_t kProfileCount = 2;
inline constexpr std::size_t kLayerCount = 2;              // 0 base layer, 1 multi-layer
inline constexpr std::size_t kEffectEntryBytes = 12;
inline constexpr std::size_t kEntriesPerCommand = 5;
inline constexpr std::size_t kEffectListBytes = 18;
inline constexpr std::size_t kActiveEffectBytes = 11;
inline constexpr std::size_t kProfileBlockBytes = 32;      // the block length the device reports
inline constexpr std::size_t kTableBytes = 60;
inline constexpr std::size_t kLedColorPages = 4;           // sixteen colour triples per page
inline constexpr std::size_t kLedColorBytes = 48;
inline constexpr std::size_t kLedCount = 4;
inline constexpr std::size_t kConversionBlocksPerTable = 5;

// Effect codes the controller knows.
inline constexpr std::uint8_t kEffectStatic = 0;
inline constexpr std::uint8_t kEffectBreath = 1;
inline constexpr std::uint8_t kEffectColorCycle = 2;
inline constexpr std::uint8_t kEffectStars = 3;
inline constexpr std::uint8_t kEffectCustomize = 4;
inline constexpr std::uint8_t kEffectSingleKey = 5;
inline constexpr std::uint8_t kEffectColorWave = 6;
inline constexpr std::uint8_t kEffectRipple = 7;
inline constexpr std::uint8_t kEffectCrossLine = 8;
inline constexpr std::uint8_t kEffectRainDrop = 9;
inline constexpr std::uint8_t kEffectGameSnake = 10;
inline constexpr std::uint8_t kEffectMultiLayer = 224;
inline constexpr std::uint8_t kEffectOff = 254;
inline constexpr std::uint8_t kNoEffect = 0xFF;

using EffectEntry = std::array<std::uint8_t, kEffectEntryBytes>;
using Table = std::array<std::uint8_t, kTableBytes>;

// Offsets inside an effect entry.
inline constexpr std::size_t kEntryCode = 0;
inline constexpr std::size_t kEntrySpeed = 1;
inline constexpr std::size_t kEntryFlags = 2;
inline constexpr std::size_t kEntryExtra = 3;
inline constexpr std::size_t kEntryBrightness = 5;
inline constexpr std::size_t kEntryColor1 = 6;
inline constexpr std::size_t kEntryColor2 = 9;

struct ProfileLighting {
    std::array<std::uint8_t, kProfileBlockBytes> block{};          // all 0xFF until written
    std::array<std::uint8_t, kActiveEffectBytes> activeEffect{};   // byte 0 is the effect code
    std::array<std::uint8_t, kEffectListBytes> effectList{};       // 0xFF marks an empty place
    // Raw entries as the host sent them, per layer and effect code.
    std::array<std::array<EffectEntry, 256>, kLayerCount> effectParams{};
    std::uint8_t colorMode = 0;                                    // 0 per-LED colours, 1 multi-layer
    Table layerMap{};                                              // byte 4 + j: effect code of LED j
    std::array<std::array<std::uint8_t, kLedColorBytes>, kLedColorPages> ledColors{};

    bool operator==(const ProfileLighting&) const = default;
};

struct ControllerSettings {
    std::uint8_t currentProfile = 0;
    std::array<ProfileLighting, kProfileCount> profiles{};
    // Conversion tables by index (table number in the high byte, block 0-4 in the low byte).
    std::map<std::uint16_t, Table> conversionTables;
    Table pwmConfig{};

    ProfileLighting& current() { return profiles[currentProfile]; }
    const ProfileLighting& current() const { return profiles[currentProfile]; }
    bool operator==(const ControllerSettings&) const = default;
};

// A profile as the controller comes from the factory (and after a profile reset).
ProfileLighting defaultProfileLighting();
ControllerSettings defaultControllerSettings();
// The factory entry of an effect code: speed and brightness at their middle and full levels, white.
EffectEntry defaultEffectEntry(std::uint8_t code);

}  // namespace simulator
