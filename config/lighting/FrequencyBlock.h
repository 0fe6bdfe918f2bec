// The 32-byte LED PWM frequency settings of a profile and the six output frequencies they give.
//
// Byte 0: bits 0-1 the "valid" mark (3 whenever the block is written to the controller; a block read
// back is taken only when they are 3), bit 2 the scheme (0 one frequency for all outputs, 1 per-colour
// frequencies), bits 3-5 the preset of the single scheme. Byte 1: bits 0-2 the preset of the
// per-colour scheme. Then five rows of three 16-bit little-endian frequencies (presets 0-2): single,
// per-colour main, red, green, blue. Preset 3 (and above) stores nothing and stands for 1000 Hz.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace config {

struct FrequencyBlock {
    static constexpr std::size_t kSize = 32;
    static constexpr std::uint8_t kValidMask = 0x03;
    static constexpr std::uint8_t kPerColourSchemeBit = 0x04;
    static constexpr int kPresetCount = 3;
    static constexpr std::uint16_t kFixedFrequency = 1000;

    enum class Row : std::size_t { Single = 0, Main = 1, Red = 2, Green = 3, Blue = 4 };

    std::array<std::uint8_t, kSize> bytes;

    bool IsValid() const { return (bytes[0] & kValidMask) == kValidMask; }
    void MarkValid() { bytes[0] |= kValidMask; }
    bool PerColourScheme() const { return (bytes[0] & kPerColourSchemeBit) != 0; }
    int SinglePreset() const { return (bytes[0] >> 3) & 0x07; }
    int PerColourPreset() const { return bytes[1] & 0x07; }

    // Frequency of preset 0-2 in a row; kFixedFrequency for a preset above 2.
    std::uint16_t Frequency(Row row, int preset) const;
    void SetFrequency(Row row, int preset, std::uint16_t hertz);

    // The six output frequencies: six times the single frequency, or main, main, main, red, green, blue.
    std::array<int, 6> OutputFrequencies() const;

    void Reset();

    bool operator==(const FrequencyBlock&) const = default;
};
static_assert(sizeof(FrequencyBlock) == FrequencyBlock::kSize);

}  // namespace config
