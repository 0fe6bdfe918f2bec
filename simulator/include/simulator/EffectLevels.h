// The device's view of the raw speed and brightness values it stores for each effect: which level a
// raw value stands for and how bright it shows the LEDs. The host converts its levels to these values;
// the device keeps them raw. The numbers come from the shared effect tables.
#pragma once

#include <cstdint>
#include <optional>

namespace simulator {

inline constexpr int kSpeedLevels = 5;      // 0 fastest
inline constexpr int kBrightnessLevels = 3; // 2 brightest

// Raw speed of a level, or nothing for an effect without a speed.
std::optional<std::uint8_t> rawSpeed(std::uint8_t code, int level);
// The level a raw speed stands for (the first level whose value is not above it; else the slowest).
std::optional<int> speedLevel(std::uint8_t code, std::uint8_t raw);
// Raw brightness of a level, or nothing for an effect whose brightness passes unchanged.
std::optional<std::uint8_t> rawBrightness(std::uint8_t code, int level);
// Brightness as a fraction 0-1 of the effect's full scale (1 for effects without a brightness).
double brightnessFraction(std::uint8_t code, std::uint8_t raw);

}  // namespace simulator
