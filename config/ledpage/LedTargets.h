// Which bytes of the lighting section the LED page's controls edit: the colour, speed and brightness
// targets of the effect being edited, the enabled byte of each effect-list entry, and the page's
// effect-list indices. No Qt: the page and its tests share these tables.
#pragma once

#include "EffectLayer.h"
#include "ProfileRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace config {

// Effect-list indices of the LED page (the order of kEffectList).
namespace effect_index {
inline constexpr int STATIC = 0;
inline constexpr int CUSTOMIZE = 1;
inline constexpr int STAR_EFFECT = 2;
inline constexpr int COLOR_CYCLE = 3;
inline constexpr int BREATH = 4;
inline constexpr int MULTILAYER = 5;
inline constexpr int OFF = 6;
}  // namespace effect_index

// A byte or colour of one of the two layers of a lighting section.
struct LayerFieldRef {
    bool multiLayer = false;
    std::size_t offset = 0;

    EffectLayer& Layer(LightingSection& section) const { return multiLayer ? section.multiLayer : section.baseLayer; }
    const EffectLayer& Layer(const LightingSection& section) const {
        return multiLayer ? section.multiLayer : section.baseLayer;
    }
    std::uint32_t Color(const LightingSection& section) const { return Layer(section).Color(ColorField{offset}); }
    void SetColor(LightingSection& section, std::uint32_t color) const {
        Layer(section).SetColor(ColorField{offset}, color);
    }
    std::uint8_t Byte(const LightingSection& section) const { return Layer(section).bytes[offset]; }
    void SetByte(LightingSection& section, std::uint8_t value) const { Layer(section).bytes[offset] = value; }
    bool operator==(const LayerFieldRef&) const = default;
};

// What the colour controls edit for an effect: nothing, a colour of the section, or (CUSTOMIZE) the
// page's current colour, which is not part of the section.
struct ColorTarget {
    enum class Kind { None, Field, CurrentColor };
    Kind kind = Kind::None;
    LayerFieldRef field;

    bool HasColor() const { return kind != Kind::None; }
    bool operator==(const ColorTarget&) const = default;
};

// `effect` is an effect-list index, `layer` the layer type being edited in MULTILAYER.
ColorTarget ColorTargetOf(const LightingSection& section, int effect, int layer);
std::optional<LayerFieldRef> SpeedTargetOf(int effect, int layer);
std::optional<LayerFieldRef> BrightnessTargetOf(int effect, int layer);

// The enabled byte of effect-list entry `effect` (MULTILAYER: the multi-layer's own enabled byte).
std::optional<LayerFieldRef> EnabledFieldOfListIndex(int effect);

// The colour value of a target: the section's field, the current colour, or 0 without a colour.
std::uint32_t ColorOfTarget(const ColorTarget& target, const LightingSection& section, std::uint32_t currentColor);
// Stores a colour in its target (the section's field or the current colour); nothing without a colour.
void StoreColorInTarget(const ColorTarget& target, LightingSection& section, std::uint32_t& currentColor,
                        std::uint32_t color);

// The per-LED colour of the first of LEDs 1-4 whose colour is set and lit (not black) in `layer`'s
// CUSTOMIZE record; none when every LED is unset or dark.
std::optional<std::uint32_t> FirstLitLedColor(const EffectLayer& layer);

}  // namespace config
