// The raw speed and brightness values that the controller's application firmware takes for each
// effect code, and the effect-specific bytes that go with them. This is protocol knowledge shared by
// both ends: the configuration program converts its levels into these values, and the virtual
// controller reads them back to show the LEDs. Each side keeps its own conversion; the numbers live
// only here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace effects {

inline constexpr std::size_t kSpeedLevels = 5;       // level 0 is the fastest
inline constexpr std::size_t kBrightnessLevels = 3;  // level 2 is the brightest

using SpeedRow = std::array<std::uint8_t, kSpeedLevels>;
using BrightnessRow = std::array<std::uint8_t, kBrightnessLevels>;

// The raw speed per level of an effect code, or nullptr for a code without a speed.
const SpeedRow* SpeedRowOf(std::uint8_t effect);
// The raw brightness per level of an effect code, or nullptr for a code whose brightness byte passes
// unchanged.
const BrightnessRow* BrightnessRowOf(std::uint8_t effect);

// Byte 2 (flags) of an effect-1 entry carries this bit.
inline constexpr std::uint8_t kEffect1Flag = 0x20;
// Byte 3 of an effect-3 entry, whatever its speed.
inline constexpr std::uint8_t kEffect3Byte = 0x21;
// Byte 3 of an effect-9 entry per speed level.
inline constexpr SpeedRow kEffect9Byte = {8, 24, 48, 56, 64};

}  // namespace effects
