#include "LightingCodes.h"

namespace config {

std::uint8_t EffectCodeOfFunction(std::uint16_t functionId) {
    switch (functionId) {
    case function_id::STATIC: return effect_code::STATIC;
    case function_id::SINGLE_KEY: return effect_code::SINGLE_KEY;
    case function_id::CUSTOMIZE: return effect_code::CUSTOMIZE;
    case function_id::STAR_EFFECT: return effect_code::STAR_EFFECT;
    case function_id::COLOR_CYCLE: return effect_code::COLOR_CYCLE;
    case function_id::BREATH: return effect_code::BREATH;
    case function_id::MULTILAYER: return effect_code::MULTILAYER;
    case function_id::UNNAMED_223: return effect_code::UNNAMED_223;
    case function_id::SYSTEM_STATUS: return effect_code::SYSTEM_STATUS;
    default: return effect_code::OFF;
    }
}

std::uint8_t EffectCodeOfListIndex(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(kEffectListLength)) {
        return effect_code::NONE;
    }
    return kEffectList[static_cast<std::size_t>(index)].code;
}

std::uint8_t EffectListIndexOfCode(std::uint8_t code) {
    for (std::size_t i = 0; i < kEffectListLength; ++i) {
        const std::uint8_t listed = kEffectList[i].code;
        if (listed == code ||
            (code == effect_code::SYSTEM_STATUS_ALT && listed == effect_code::SYSTEM_STATUS)) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return kNotInEffectList;
}

namespace {

struct LayerTypeCodes {
    std::uint8_t mapCode;
    std::uint8_t parameterCode;
};

// Indexed by layer type.
constexpr LayerTypeCodes kLayerTypeCodes[layer_type::COUNT] = {
    {effect_code::OFF, effect_code::NONE},             // 0 off: nothing sent
    {effect_code::STATIC, effect_code::STATIC},        // 1
    {effect_code::SINGLE_KEY, effect_code::CUSTOMIZE}, // 2 per-LED colours, shown through code 5
    {effect_code::STAR_EFFECT, effect_code::STAR_EFFECT},
    {effect_code::COLOR_CYCLE, effect_code::COLOR_CYCLE},
    {effect_code::BREATH, effect_code::BREATH},
    {effect_code::OFF, effect_code::OFF},              // 6
    {effect_code::SINGLE_KEY, effect_code::SINGLE_KEY},
    {effect_code::COLOR_WAVE, effect_code::COLOR_WAVE},
    {effect_code::CROSS_LINE, effect_code::CROSS_LINE},
    {effect_code::RAIN_DROP, effect_code::RAIN_DROP},
    {effect_code::RIPPLE, effect_code::RIPPLE},
    {effect_code::OFF, effect_code::OFF},              // 12 system status
};

}  // namespace

std::uint8_t LayerMapCodeOfType(std::uint8_t type) {
    return type < layer_type::COUNT ? kLayerTypeCodes[type].mapCode : effect_code::OFF;
}

std::uint8_t ParameterCodeOfType(std::uint8_t type) {
    return type < layer_type::COUNT ? kLayerTypeCodes[type].parameterCode : effect_code::OFF;
}

std::uint8_t LayerTypeOfMapCode(std::uint8_t code) {
    switch (code) {
    case effect_code::STATIC: return layer_type::STATIC;
    case effect_code::BREATH: return layer_type::BREATH;
    case effect_code::COLOR_CYCLE: return layer_type::COLOR_CYCLE;
    case effect_code::STAR_EFFECT: return layer_type::STAR_EFFECT;
    case effect_code::CUSTOMIZE: return layer_type::CUSTOMIZE;
    case effect_code::SINGLE_KEY: return layer_type::CUSTOMIZE;
    case effect_code::COLOR_WAVE: return layer_type::COLOR_WAVE;
    case effect_code::RIPPLE: return layer_type::RIPPLE;
    case effect_code::CROSS_LINE: return layer_type::CROSS_LINE;
    case effect_code::RAIN_DROP: return layer_type::RAIN_DROP;
    default: return layer_type::OFF;
    }
}

}  // namespace config
