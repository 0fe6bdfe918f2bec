// The settings record of the configuration program, byte for byte as the profile file and the
// controller transfer see it (multi-byte values little-endian, no padding beyond the named bytes):
//
//   SettingsBlock (12744 bytes): 4-byte header (byte 1 the profile index), one ProfileRecord, and the
//   profile's picture name (260 UTF-16 characters).
//   ProfileRecord (12220 bytes): name, two sets of ten button blocks, one byte, four 3-byte entries,
//   the lighting section at 11256, the base settings block at 11688.
//   LightingSection (432 bytes): SELECT_EFFECT, BASE_LAYER, MULTILAYER, SYSTEM_STATUS, FrequencyBlock.
#pragma once

#include "EffectLayer.h"
#include "FrequencyBlock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace config {

struct LightingSection {
    std::array<std::uint8_t, 4> selectEffect;  // 32-bit signed: index into the effect list
    EffectLayer baseLayer;
    EffectLayer multiLayer;
    std::array<std::uint8_t, 3> systemStatus;  // enabled; EQUALIZER chosen; CPU_LOADING chosen
    std::uint8_t padding;
    FrequencyBlock frequency;

    std::int32_t SelectEffect() const;
    void SetSelectEffect(std::int32_t index);

    // The defaults of a new profile: STATIC selected, both layers and the frequencies at their defaults,
    // system status enabled with the equalizer chosen.
    void Reset();

    bool operator==(const LightingSection&) const = default;
};

using ButtonBlock = std::array<std::uint8_t, 536>;
using DpiEntry = std::array<std::uint8_t, 3>;
inline constexpr std::size_t kButtonCount = 10;
inline constexpr std::size_t kDpiEntryCount = 4;
inline constexpr std::size_t kNameCharacters = 260;  // a UTF-16 text field with its terminator
using TextField = std::array<std::uint8_t, 2 * kNameCharacters>;

struct ProfileRecord {
    TextField name;
    std::array<ButtonBlock, kButtonCount> buttons;
    std::array<ButtonBlock, kButtonCount> buttonsEx;
    std::uint8_t reserved11240;
    std::array<DpiEntry, kDpiEntryCount> dpi;
    std::array<std::uint8_t, 3> alignment;  // the 32-bit alignment of SELECT_EFFECT
    LightingSection lighting;
    std::array<std::uint8_t, 532> base;

    // The defaults of a new or reset profile (the lighting section's included).
    void Reset();

    bool operator==(const ProfileRecord&) const = default;
};

struct SettingsBlock {
    static constexpr std::size_t kProfileCount = 1;
    std::array<std::uint8_t, 4> header;  // byte 1: the profile index
    std::array<ProfileRecord, kProfileCount> profiles;
    std::array<TextField, kProfileCount> pictureNames;

    std::uint8_t ProfileIndex() const { return header[1]; }
    void SetProfileIndex(std::uint8_t index) { header[1] = index; }

    bool operator==(const SettingsBlock&) const = default;
};

// Offsets inside the record, fixed by the profile file and checked here.
static_assert(sizeof(LightingSection) == 432);
static_assert(offsetof(LightingSection, baseLayer) == 4);
static_assert(offsetof(LightingSection, multiLayer) == 200);
static_assert(offsetof(LightingSection, systemStatus) == 396);
static_assert(offsetof(LightingSection, frequency) == 400);
static_assert(sizeof(ProfileRecord) == 12220);
static_assert(offsetof(ProfileRecord, buttons) == 520);
static_assert(offsetof(ProfileRecord, buttonsEx) == 5880);
static_assert(offsetof(ProfileRecord, reserved11240) == 11240);
static_assert(offsetof(ProfileRecord, dpi) == 11241);
static_assert(offsetof(ProfileRecord, lighting) == 11256);
static_assert(offsetof(ProfileRecord, lighting) + offsetof(LightingSection, baseLayer) == 11260);
static_assert(offsetof(ProfileRecord, lighting) + offsetof(LightingSection, multiLayer) == 11456);
static_assert(offsetof(ProfileRecord, lighting) + offsetof(LightingSection, systemStatus) == 11652);
static_assert(offsetof(ProfileRecord, lighting) + offsetof(LightingSection, frequency) == 11656);
static_assert(offsetof(ProfileRecord, base) == 11688);
static_assert(sizeof(SettingsBlock) == 4 + 12220 + 520);
static_assert(offsetof(SettingsBlock, profiles) == 4);

// Button defaults by position (n = 1-10 at index n - 1): the first 16-bit value of the blocks of the
// first and the second set.
inline constexpr std::array<std::uint16_t, kButtonCount> kButtonDefaults{
    0x2011, 0x2012, 0x2013, 0x2014, 0x2015, 0x2000, 0x2000, 0x2067, 0x2016, 0x2017};
inline constexpr std::array<std::uint16_t, kButtonCount> kButtonExDefaults{
    0x2090, 0x2000, 0x2000, 0x2000, 0x2000, 0x2000, 0x2000, 0x2000, 0x2016, 0x2017};
// A button block holding a default: all zero but the 16-bit value and its last byte 1.
ButtonBlock DefaultButtonBlock(std::uint16_t value);
std::uint16_t ButtonValue(const ButtonBlock& block);

// A UTF-16 text field: the text up to its first zero character (all 260 characters when none).
std::u16string TextFieldValue(const TextField& field);
// Zero-fills the field and copies at most 259 characters of the text into it.
void SetTextField(TextField& field, std::u16string_view text);

}  // namespace config
