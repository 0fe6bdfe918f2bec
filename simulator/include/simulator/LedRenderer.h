// What the four LEDs show at a moment, computed from the live settings of the current profile: the
// active effect with its raw parameters, or, for the multi-layer effect, each LED's own effect from the
// layer map with the multi-layer parameters.
#pragma once

#include "simulator/Lighting.h"

#include <array>
#include <cstdint>
#include <string>

namespace simulator {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
using LedColors = std::array<Rgb, kLedCount>;

LedColors renderLeds(const ProfileLighting& profile, double seconds);

// A short name for an effect code, for displays ("static", "breathing", ...).
std::string effectName(std::uint8_t code);

}  // namespace simulator
