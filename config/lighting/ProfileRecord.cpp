#include "ProfileRecord.h"

#include <algorithm>

namespace config {

std::int32_t LightingSection::SelectEffect() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(selectEffect[0]) |
                                     static_cast<std::uint32_t>(selectEffect[1]) << 8 |
                                     static_cast<std::uint32_t>(selectEffect[2]) << 16 |
                                     static_cast<std::uint32_t>(selectEffect[3]) << 24);
}

void LightingSection::SetSelectEffect(std::int32_t index) {
    const auto value = static_cast<std::uint32_t>(index);
    for (std::size_t i = 0; i < 4; ++i) {
        selectEffect[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void LightingSection::Reset() {
    SetSelectEffect(0);
    baseLayer.Reset();
    multiLayer.Reset();
    systemStatus = {1, 1, 0};
    padding = 0;
    frequency.Reset();
}

ButtonBlock DefaultButtonBlock(std::uint16_t value) {
    ButtonBlock block{};
    block[0] = static_cast<std::uint8_t>(value & 0xFF);
    block[1] = static_cast<std::uint8_t>(value >> 8);
    block[block.size() - 1] = 1;
    return block;
}

std::uint16_t ButtonValue(const ButtonBlock& block) {
    return static_cast<std::uint16_t>(block[0] | block[1] << 8);
}

void ProfileRecord::Reset() {
    name.fill(0);
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        buttons[n] = DefaultButtonBlock(kButtonDefaults[n]);
        buttonsEx[n] = DefaultButtonBlock(kButtonExDefaults[n]);
    }
    reserved11240 = 0;
    constexpr std::uint8_t kDpiLevels[kDpiEntryCount] = {9, 0x13, 0x27, 0x4F};
    for (std::size_t n = 0; n < kDpiEntryCount; ++n) {
        dpi[n] = {0, kDpiLevels[n], kDpiLevels[n]};
    }
    alignment.fill(0);
    lighting.Reset();
    base.fill(0);
    base[0] = 3;
    base[526] = 10;
    base[528] = 7;
    base[529] = 6;
    base[530] = 6;
}

std::u16string TextFieldValue(const TextField& field) {
    std::u16string text;
    for (std::size_t i = 0; i < kNameCharacters; ++i) {
        const auto c = static_cast<char16_t>(field[2 * i] | field[2 * i + 1] << 8);
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

void SetTextField(TextField& field, std::u16string_view text) {
    field.fill(0);
    const std::size_t count = std::min(text.size(), kNameCharacters - 1);
    for (std::size_t i = 0; i < count; ++i) {
        field[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        field[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

}  // namespace config
