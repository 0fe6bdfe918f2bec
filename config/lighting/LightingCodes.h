// The names of lighting functions and the controller's effect codes: function identifiers, the
// seven-entry effect list of the LED page with its two look-ups, and the layer types of the
// multi-layer effect with the codes they write to the layer map and the reverse table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace config {

// Function identifiers (their names come from the function-name table of the string document).
namespace function_id {
inline constexpr std::uint16_t STATIC = 0x1000;
inline constexpr std::uint16_t COLOR_WAVE = 0x1001;
inline constexpr std::uint16_t CROSS_LINE = 0x1002;
inline constexpr std::uint16_t SINGLE_KEY = 0x1003;
inline constexpr std::uint16_t CUSTOMIZE = 0x1004;
inline constexpr std::uint16_t STAR_EFFECT = 0x1005;
inline constexpr std::uint16_t RAIN_DROP = 0x1006;
inline constexpr std::uint16_t COLOR_CYCLE = 0x1007;
inline constexpr std::uint16_t BREATH = 0x1008;
inline constexpr std::uint16_t RIPPLE = 0x1009;
inline constexpr std::uint16_t MULTILAYER = 0x100A;
inline constexpr std::uint16_t UNNAMED_223 = 0x100B;  // no name, no list entry; only its enabled byte exists
inline constexpr std::uint16_t GAME_SNAKE = 0x100C;
inline constexpr std::uint16_t SYSTEM_STATUS = 0x100D;
inline constexpr std::uint16_t OFF = 0x100E;
// Sub-items: options inside an effect.
inline constexpr std::uint16_t LEFT_RIGHT = 0x1100;
inline constexpr std::uint16_t RIGHT_LEFT = 0x1101;
inline constexpr std::uint16_t TOP_BOTTOM = 0x1102;
inline constexpr std::uint16_t BOTTOM_TOP = 0x1103;
inline constexpr std::uint16_t SUB_CROSS_MODE = 0x1106;
inline constexpr std::uint16_t BACKGROUND = 0x1107;
inline constexpr std::uint16_t STAR = 0x1108;
inline constexpr std::uint16_t RAIN = 0x1109;
inline constexpr std::uint16_t SKY = 0x110A;
inline constexpr std::uint16_t SUB_RIPPLE = 0x110B;
inline constexpr std::uint16_t RANDOM = 0x110C;
inline constexpr std::uint16_t EQUALIZER = 0x110D;
inline constexpr std::uint16_t CPU_LOADING = 0x110E;
inline constexpr std::uint16_t KEY = 0x110F;
}  // namespace function_id

// Effect codes of the controller.
namespace effect_code {
inline constexpr std::uint8_t STATIC = 0;
inline constexpr std::uint8_t BREATH = 1;
inline constexpr std::uint8_t COLOR_CYCLE = 2;
inline constexpr std::uint8_t STAR_EFFECT = 3;
inline constexpr std::uint8_t CUSTOMIZE = 4;
inline constexpr std::uint8_t SINGLE_KEY = 5;
inline constexpr std::uint8_t COLOR_WAVE = 6;
inline constexpr std::uint8_t RIPPLE = 7;
inline constexpr std::uint8_t CROSS_LINE = 8;
inline constexpr std::uint8_t RAIN_DROP = 9;
inline constexpr std::uint8_t GAME_SNAKE = 10;
inline constexpr std::uint8_t SYSTEM_STATUS = 216;
inline constexpr std::uint8_t SYSTEM_STATUS_ALT = 217;  // also found as the list entry of code 216
inline constexpr std::uint8_t UNNAMED_223 = 223;
inline constexpr std::uint8_t MULTILAYER = 224;
inline constexpr std::uint8_t OFF = 254;
inline constexpr std::uint8_t NONE = 0xFF;  // an empty place in the effect list
}  // namespace effect_code

// The effect code a function identifier selects directly: the plain numbers of the identifier table,
// 254 for every other identifier (codes 6-10 are reached only through layer types).
std::uint8_t EffectCodeOfFunction(std::uint16_t functionId);

struct EffectListEntry {
    std::uint16_t functionId;
    std::uint8_t code;
};

// The LED page's effect list, in its fixed order.
inline constexpr std::array<EffectListEntry, 7> kEffectList{{
    {function_id::STATIC, effect_code::STATIC},
    {function_id::CUSTOMIZE, effect_code::CUSTOMIZE},
    {function_id::STAR_EFFECT, effect_code::STAR_EFFECT},
    {function_id::COLOR_CYCLE, effect_code::COLOR_CYCLE},
    {function_id::BREATH, effect_code::BREATH},
    {function_id::MULTILAYER, effect_code::MULTILAYER},
    {function_id::OFF, effect_code::OFF},
}};
inline constexpr std::size_t kEffectListLength = kEffectList.size();
inline constexpr std::uint8_t kNotInEffectList = 255;

// Effect code of a list index; effect_code::NONE for an index outside the list.
std::uint8_t EffectCodeOfListIndex(std::int32_t index);
// Index of the first list entry with that code; 217 also matches 216; kNotInEffectList when absent.
std::uint8_t EffectListIndexOfCode(std::uint8_t code);

// Layer types: what each LED shows in the multi-layer effect (bytes 10-13 of the MULTILAYER layer).
namespace layer_type {
inline constexpr std::uint8_t OFF = 0;
inline constexpr std::uint8_t STATIC = 1;
inline constexpr std::uint8_t CUSTOMIZE = 2;
inline constexpr std::uint8_t STAR_EFFECT = 3;
inline constexpr std::uint8_t COLOR_CYCLE = 4;
inline constexpr std::uint8_t BREATH = 5;
inline constexpr std::uint8_t OFF_SENT = 6;  // off, with its code sent as parameters
inline constexpr std::uint8_t SINGLE_KEY = 7;
inline constexpr std::uint8_t COLOR_WAVE = 8;
inline constexpr std::uint8_t CROSS_LINE = 9;
inline constexpr std::uint8_t RAIN_DROP = 10;
inline constexpr std::uint8_t RIPPLE = 11;
inline constexpr std::uint8_t SYSTEM_STATUS = 12;
inline constexpr std::uint8_t COUNT = 13;
}  // namespace layer_type

// The effect code a layer type writes to the layer map (254 for a type outside the table).
std::uint8_t LayerMapCodeOfType(std::uint8_t type);
// The effect code whose parameters a layer type sends: effect_code::NONE for type 0,
// which sends nothing; 254 for types 6, 12 and any type outside the table.
std::uint8_t ParameterCodeOfType(std::uint8_t type);
// The layer type of an effect code read back from the layer map (0 for codes without one).
std::uint8_t LayerTypeOfMapCode(std::uint8_t code);

}  // namespace config
