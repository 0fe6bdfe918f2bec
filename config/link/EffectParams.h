// The effect-parameter entries of the controller's effect commands and the conversion of their
// speed and brightness between the program's levels and the controller's raw values.
//
// An entry is 12 bytes: effect code (0xFF empty), speed, flags, an effect-specific byte, 0xFF,
// brightness, first colour (red, green, blue), second colour. The program holds speed levels 0-4
// (0 fastest) and brightness levels 0-2; the controller takes raw values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace config {

inline constexpr std::size_t kEffectParamEntrySize = 12;
inline constexpr std::size_t kEffectParamEntryCount = 5;
inline constexpr std::size_t kEffectParamBytes = kEffectParamEntrySize * kEffectParamEntryCount;  // 60

// Byte positions inside an entry.
inline constexpr std::size_t kEntryEffect = 0;
inline constexpr std::size_t kEntrySpeed = 1;
inline constexpr std::size_t kEntryFlags = 2;
inline constexpr std::size_t kEntryEffectByte = 3;
inline constexpr std::size_t kEntryFiller = 4;
inline constexpr std::size_t kEntryBrightness = 5;

using EffectParamEntry = std::span<std::uint8_t, kEffectParamEntrySize>;

// Raw speed of a level for an effect; a level outside 0-4, or an effect without speed, gives the value
// unchanged.
std::uint8_t RawSpeed(std::uint8_t effect, std::uint8_t level);
// Level of a raw speed: the first level 0-3 whose raw value is not above it, else 4. An effect without
// speed gives the value unchanged.
std::uint8_t SpeedLevel(std::uint8_t effect, std::uint8_t raw);
// Raw brightness of a level: level 1 and 2 their values, any other level the level-0 value. Effects
// other than 0-4 give the value unchanged.
std::uint8_t RawBrightness(std::uint8_t effect, std::uint8_t level);
// Level of a raw brightness (effects 0-4); other effects give the value unchanged.
std::uint8_t BrightnessLevel(std::uint8_t effect, std::uint8_t raw);

// Turns an entry of levels into the controller's form, in place: bytes 3 and 4 become 0xFF, then by
// effect code the speed and brightness are mapped, code 1 gets flag 0x20, code 3 byte 3 = 0x21 and
// code 9 byte 3 from its speed level. Unknown codes (0xFF, 223, ...) keep their other bytes.
void EncodeEffectParamEntry(EffectParamEntry entry);
// Turns a replied entry back into levels, in place; every other byte stays as it came.
void DecodeEffectParamEntry(EffectParamEntry entry);

}  // namespace config
