#include "EffectLayer.h"

namespace config {

std::uint32_t EffectLayer::Color(ColorField field) const {
    const std::size_t o = field.offset;
    return static_cast<std::uint32_t>(bytes[o]) | static_cast<std::uint32_t>(bytes[o + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[o + 2]) << 16 | static_cast<std::uint32_t>(bytes[o + 3]) << 24;
}

void EffectLayer::SetColor(ColorField field, std::uint32_t color) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[field.offset + i] = static_cast<std::uint8_t>(color >> (8 * i));
    }
}

void EffectLayer::Reset() {
    using namespace layer_field;
    constexpr std::uint32_t kWhite = 0xFFFFFF;
    constexpr std::uint8_t kMiddleSpeed = 2;
    constexpr std::uint8_t kFullBrightness = 2;
    bytes.fill(0);

    (*this)[LAYER_ENABLED] = 1;

    (*this)[STATIC_ENABLED] = 1;
    SetColor(STATIC_COLOR, kWhite);
    (*this)[STATIC_BRIGHTNESS] = kFullBrightness;

    (*this)[COLOR_WAVE_ENABLED] = 1;
    (*this)[COLOR_WAVE_LEFT_RIGHT] = 1;
    SetColor(COLOR_WAVE_COLOR, kWhite);
    (*this)[COLOR_WAVE_SPEED] = kMiddleSpeed;

    (*this)[CROSS_LINE_ENABLED] = 1;
    (*this)[CROSS_LINE_SUB_CROSS_MODE] = 1;
    (*this)[CROSS_LINE_SPEED] = kMiddleSpeed;
    SetColor(CROSS_LINE_COLOR, kWhite);

    (*this)[SINGLE_KEY_ENABLED] = 1;
    (*this)[SINGLE_KEY_KEY] = 1;
    SetColor(SINGLE_KEY_COLOR, kWhite);
    (*this)[SINGLE_KEY_SPEED] = kMiddleSpeed;

    (*this)[STAR_EFFECT_ENABLED] = 1;
    (*this)[STAR_EFFECT_STAR] = 1;
    SetColor(STAR_EFFECT_STAR_COLOR, kWhite);
    (*this)[STAR_EFFECT_SPEED] = kMiddleSpeed;
    (*this)[STAR_EFFECT_BRIGHTNESS] = kFullBrightness;

    (*this)[RAIN_DROP_ENABLED] = 1;
    (*this)[RAIN_DROP_RAIN] = 1;
    SetColor(RAIN_DROP_RAIN_COLOR, kWhite);
    (*this)[RAIN_DROP_SPEED] = kMiddleSpeed;

    (*this)[COLOR_CYCLE_ENABLED] = 1;
    (*this)[COLOR_CYCLE_SPEED] = kMiddleSpeed;
    (*this)[COLOR_CYCLE_BRIGHTNESS] = kFullBrightness;

    (*this)[BREATH_ENABLED] = 1;
    SetColor(BREATH_COLOR, kWhite);
    (*this)[BREATH_SPEED] = kMiddleSpeed;
    (*this)[BREATH_BRIGHTNESS] = kFullBrightness;

    (*this)[RIPPLE_ENABLED] = 1;
    SetColor(RIPPLE_COLOR, kWhite);
    (*this)[RIPPLE_SPEED] = kMiddleSpeed;
    (*this)[RIPPLE_SUB_RIPPLE] = 1;

    (*this)[CUSTOMIZE_ENABLED] = 1;
    for (std::size_t slot = 0; slot < CUSTOMIZE_SLOT_COUNT; ++slot) {
        (*this)[CustomizeColorSet(slot)] = 1;
    }
    (*this)[CUSTOMIZE_BRIGHTNESS] = kFullBrightness;

    (*this)[GAME_SNAKE_ENABLED] = 1;
    (*this)[GAME_SNAKE_SPEED] = kMiddleSpeed;
    (*this)[OFF_ENABLED] = 1;
}

}  // namespace config
