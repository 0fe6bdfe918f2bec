#include "effects/EffectTables.h"

namespace effects {

namespace {

// Raw speed per level 0-4 for effect codes 0-10; codes 0 and 4 have no speed.
constexpr std::array<SpeedRow, 11> kSpeed = {{
    {},
    {60, 55, 49, 44, 38},
    {150, 140, 128, 110, 104},
    {70, 65, 60, 55, 50},
    {},
    {70, 65, 56, 45, 39},
    {72, 66, 60, 51, 42},
    {150, 120, 108, 102, 98},
    {65, 57, 50, 42, 35},
    {107, 104, 101, 98, 96},
    {123, 115, 108, 104, 100},
}};

// Codes 0, 1, 3 and 4 share one brightness scale; the colour cycle (2) has a dimmer one.
constexpr BrightnessRow kBrightness = {76, 153, 255};
constexpr BrightnessRow kCycleBrightness = {16, 64, 127};

}  // namespace

const SpeedRow* SpeedRowOf(std::uint8_t effect) {
    if (effect >= kSpeed.size() || kSpeed[effect][0] == 0) {
        return nullptr;
    }
    return &kSpeed[effect];
}

const BrightnessRow* BrightnessRowOf(std::uint8_t effect) {
    switch (effect) {
        case 0:
        case 1:
        case 3:
        case 4: return &kBrightness;
        case 2: return &kCycleBrightness;
        default: return nullptr;
    }
}

}  // namespace effects
