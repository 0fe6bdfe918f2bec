// Colours as the picker exchanges them with the LED page: 32-bit 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

namespace colorpicker {

using PickerColor = std::uint32_t;

constexpr PickerColor MakeColor(int red, int green, int blue) {
    return static_cast<PickerColor>(red & 0xFF) | (static_cast<PickerColor>(green & 0xFF) << 8) |
           (static_cast<PickerColor>(blue & 0xFF) << 16);
}

constexpr int RedOf(PickerColor color) { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(PickerColor color) { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int BlueOf(PickerColor color) { return static_cast<int>((color >> 16) & 0xFF); }

}  // namespace colorpicker
