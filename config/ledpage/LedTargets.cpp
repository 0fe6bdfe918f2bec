#include "LedTargets.h"

#include "LightingCodes.h"

namespace config {

namespace {

using namespace layer_field;

LayerFieldRef Base(std::size_t offset) { return {false, offset}; }
LayerFieldRef Multi(std::size_t offset) { return {true, offset}; }

// The star effect's colour is the star colour while STAR is chosen, else the sky colour.
std::size_t StarColorOffset(const EffectLayer& layer) {
    return layer[STAR_EFFECT_STAR] == 1 ? STAR_EFFECT_STAR_COLOR.offset : STAR_EFFECT_SKY_COLOR.offset;
}

}  // namespace

ColorTarget ColorTargetOf(const LightingSection& section, int effect, int layer) {
    using Kind = ColorTarget::Kind;
    switch (effect) {
    case effect_index::STATIC:
        return {Kind::Field, Base(STATIC_COLOR.offset)};
    case effect_index::STAR_EFFECT:
        return {Kind::Field, Base(StarColorOffset(section.baseLayer))};
    case effect_index::BREATH:
        return {Kind::Field, Base(BREATH_COLOR.offset)};
    case effect_index::CUSTOMIZE:
        return {Kind::CurrentColor, {}};
    case effect_index::MULTILAYER:
        switch (layer) {
        case layer_type::STATIC:
            return {Kind::Field, Multi(STATIC_COLOR.offset)};
        case layer_type::STAR_EFFECT:
            return {Kind::Field, Multi(StarColorOffset(section.multiLayer))};
        case layer_type::BREATH:
            return {Kind::Field, Multi(BREATH_COLOR.offset)};
        default:
            return {};
        }
    default:
        return {};
    }
}

std::optional<LayerFieldRef> SpeedTargetOf(int effect, int layer) {
    switch (effect) {
    case effect_index::STAR_EFFECT:
        return Base(STAR_EFFECT_SPEED.offset);
    case effect_index::COLOR_CYCLE:
        return Base(COLOR_CYCLE_SPEED.offset);
    case effect_index::BREATH:
        return Base(BREATH_SPEED.offset);
    case effect_index::MULTILAYER:
        switch (layer) {
        case layer_type::STAR_EFFECT:
            return Multi(STAR_EFFECT_SPEED.offset);
        case layer_type::COLOR_CYCLE:
            return Multi(COLOR_CYCLE_SPEED.offset);
        case layer_type::BREATH:
            return Multi(BREATH_SPEED.offset);
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

std::optional<LayerFieldRef> BrightnessTargetOf(int effect, int layer) {
    switch (effect) {
    case effect_index::STATIC:
        return Base(STATIC_BRIGHTNESS.offset);
    case effect_index::CUSTOMIZE:
        return Base(CUSTOMIZE_BRIGHTNESS.offset);
    case effect_index::STAR_EFFECT:
        return Base(STAR_EFFECT_BRIGHTNESS.offset);
    case effect_index::COLOR_CYCLE:
        return Base(COLOR_CYCLE_BRIGHTNESS.offset);
    case effect_index::BREATH:
        return Base(BREATH_BRIGHTNESS.offset);
    case effect_index::MULTILAYER:
        switch (layer) {
        case layer_type::STATIC:
            return Multi(STATIC_BRIGHTNESS.offset);
        case layer_type::STAR_EFFECT:
            return Multi(STAR_EFFECT_BRIGHTNESS.offset);
        case layer_type::COLOR_CYCLE:
            return Multi(COLOR_CYCLE_BRIGHTNESS.offset);
        case layer_type::BREATH:
            return Multi(BREATH_BRIGHTNESS.offset);
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

std::optional<LayerFieldRef> EnabledFieldOfListIndex(int effect) {
    switch (effect) {
    case effect_index::STATIC:
        return Base(STATIC_ENABLED.offset);
    case effect_index::CUSTOMIZE:
        return Base(CUSTOMIZE_ENABLED.offset);
    case effect_index::STAR_EFFECT:
        return Base(STAR_EFFECT_ENABLED.offset);
    case effect_index::COLOR_CYCLE:
        return Base(COLOR_CYCLE_ENABLED.offset);
    case effect_index::BREATH:
        return Base(BREATH_ENABLED.offset);
    case effect_index::MULTILAYER:
        return Multi(LAYER_ENABLED.offset);
    case effect_index::OFF:
        return Base(OFF_ENABLED.offset);
    default:
        return std::nullopt;
    }
}

std::uint32_t ColorOfTarget(const ColorTarget& target, const LightingSection& section, std::uint32_t currentColor) {
    switch (target.kind) {
    case ColorTarget::Kind::Field:
        return target.field.Color(section);
    case ColorTarget::Kind::CurrentColor:
        return currentColor;
    default:
        return 0;
    }
}

void StoreColorInTarget(const ColorTarget& target, LightingSection& section, std::uint32_t& currentColor,
                        std::uint32_t color) {
    if (target.kind == ColorTarget::Kind::Field) {
        target.field.SetColor(section, color);
    } else if (target.kind == ColorTarget::Kind::CurrentColor) {
        currentColor = color;
    }
}

std::optional<std::uint32_t> FirstLitLedColor(const EffectLayer& layer) {
    for (std::size_t led = 0; led < LED_COUNT; ++led) {
        const std::uint32_t color = layer.Color(EffectLayer::CustomizeColor(led));
        if (layer[EffectLayer::CustomizeColorSet(led)] == 1 && color != 0) return color;
    }
    return std::nullopt;
}

}  // namespace config
