// One EffectLayer: the 196-byte record of every effect's settings (enabled bytes, colours, speed and
// brightness levels, options). A profile holds two: BASE_LAYER for the effects themselves and
// MULTILAYER for the multi-layer effect. Fields are named by typed offsets: a ByteField is one byte,
// a ColorField a 32-bit little-endian 0x00BBGGRR colour.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace config {

struct ByteField {
    std::size_t offset;
};
struct ColorField {
    std::size_t offset;
};

namespace layer_field {
inline constexpr ByteField LAYER_ENABLED{0};
inline constexpr std::size_t RESERVED_CLEARED_FIRST = 2;  // bytes 2-9 are cleared when the map is read
inline constexpr std::size_t RESERVED_CLEARED_COUNT = 8;
inline constexpr std::size_t LAYER_TYPES = 10;  // layer type of LED 1-4, bytes 10-13
inline constexpr std::size_t LED_COUNT = 4;

inline constexpr ByteField STATIC_ENABLED{20};
inline constexpr ColorField STATIC_COLOR{24};
inline constexpr ByteField STATIC_BRIGHTNESS{28};

inline constexpr ByteField COLOR_WAVE_ENABLED{32};
inline constexpr ByteField COLOR_WAVE_LEFT_RIGHT{33};
inline constexpr ByteField COLOR_WAVE_RIGHT_LEFT{34};
inline constexpr ByteField COLOR_WAVE_TOP_BOTTOM{35};
inline constexpr ByteField COLOR_WAVE_BOTTOM_TOP{36};
inline constexpr ColorField COLOR_WAVE_COLOR{40};
inline constexpr ByteField COLOR_WAVE_SPEED{44};

inline constexpr ByteField CROSS_LINE_ENABLED{48};
inline constexpr ByteField CROSS_LINE_SUB_CROSS_MODE{49};
inline constexpr ByteField CROSS_LINE_BACKGROUND{50};
inline constexpr ByteField CROSS_LINE_SPEED{51};
inline constexpr ColorField CROSS_LINE_COLOR{52};
inline constexpr ColorField CROSS_LINE_SECOND_COLOR{56};

inline constexpr ByteField SINGLE_KEY_ENABLED{60};
inline constexpr ByteField SINGLE_KEY_KEY{61};
inline constexpr ByteField SINGLE_KEY_BACKGROUND{62};
inline constexpr ColorField SINGLE_KEY_COLOR{64};
inline constexpr ColorField SINGLE_KEY_SECOND_COLOR{68};
inline constexpr ByteField SINGLE_KEY_SPEED{72};

inline constexpr ByteField STAR_EFFECT_ENABLED{76};
inline constexpr ByteField STAR_EFFECT_STAR{77};
inline constexpr ByteField STAR_EFFECT_SKY{78};
inline constexpr ColorField STAR_EFFECT_STAR_COLOR{80};
inline constexpr ColorField STAR_EFFECT_SKY_COLOR{84};
inline constexpr ByteField STAR_EFFECT_SPEED{88};
inline constexpr ByteField STAR_EFFECT_BRIGHTNESS{89};

inline constexpr ByteField RAIN_DROP_ENABLED{92};
inline constexpr ByteField RAIN_DROP_RAIN{93};
inline constexpr ByteField RAIN_DROP_SKY{94};
inline constexpr ColorField RAIN_DROP_RAIN_COLOR{96};
inline constexpr ColorField RAIN_DROP_SKY_COLOR{100};
inline constexpr ByteField RAIN_DROP_SPEED{104};

inline constexpr ByteField COLOR_CYCLE_ENABLED{108};
inline constexpr ByteField COLOR_CYCLE_SPEED{109};
inline constexpr ByteField COLOR_CYCLE_BRIGHTNESS{110};

inline constexpr ByteField BREATH_ENABLED{112};
inline constexpr ColorField BREATH_COLOR{116};
inline constexpr ByteField BREATH_SPEED{120};
inline constexpr ByteField BREATH_BRIGHTNESS{121};

inline constexpr ByteField RIPPLE_ENABLED{124};
inline constexpr ColorField RIPPLE_COLOR{128};
inline constexpr ByteField RIPPLE_SPEED{132};
inline constexpr ByteField RIPPLE_SUB_RIPPLE{133};
inline constexpr ByteField RIPPLE_RANDOM{134};

inline constexpr ByteField CUSTOMIZE_ENABLED{136};
inline constexpr std::size_t CUSTOMIZE_COLORS = 140;     // ten 32-bit colours, LED slots 1-10
inline constexpr std::size_t CUSTOMIZE_COLOR_SET = 180;  // ten flags
inline constexpr std::size_t CUSTOMIZE_SLOT_COUNT = 10;
inline constexpr ByteField CUSTOMIZE_BRIGHTNESS{190};
inline constexpr std::size_t CUSTOMIZE_RECORD_FIRST = 136;  // the CUSTOMIZE record: bytes 136-191
inline constexpr std::size_t CUSTOMIZE_RECORD_SIZE = 56;

inline constexpr ByteField GAME_SNAKE_ENABLED{192};
inline constexpr ByteField GAME_SNAKE_SPEED{193};
inline constexpr ByteField UNNAMED_223_ENABLED{194};
inline constexpr ByteField OFF_ENABLED{195};
}  // namespace layer_field

struct EffectLayer {
    static constexpr std::size_t kSize = 196;
    std::array<std::uint8_t, kSize> bytes;

    std::uint8_t& operator[](ByteField field) { return bytes[field.offset]; }
    std::uint8_t operator[](ByteField field) const { return bytes[field.offset]; }
    std::uint32_t Color(ColorField field) const;
    void SetColor(ColorField field, std::uint32_t color);

    std::uint8_t LayerType(std::size_t led) const { return bytes[layer_field::LAYER_TYPES + led]; }
    void SetLayerType(std::size_t led, std::uint8_t type) { bytes[layer_field::LAYER_TYPES + led] = type; }
    // LED slots 0-9 of CUSTOMIZE (slots 0-3 are the controller's LEDs).
    static constexpr ColorField CustomizeColor(std::size_t slot) {
        return ColorField{layer_field::CUSTOMIZE_COLORS + 4 * slot};
    }
    static constexpr ByteField CustomizeColorSet(std::size_t slot) {
        return ByteField{layer_field::CUSTOMIZE_COLOR_SET + slot};
    }

    // The defaults of a new profile (both layers get the same).
    void Reset();

    bool operator==(const EffectLayer&) const = default;
};
static_assert(sizeof(EffectLayer) == EffectLayer::kSize);

}  // namespace config
