#include "FrequencyBlock.h"

namespace config {

namespace {
constexpr std::size_t kFirstRow = 2;
constexpr std::size_t kRowBytes = 6;
constexpr std::uint16_t kDefaultPresets[FrequencyBlock::kPresetCount] = {90, 135, 220};

std::size_t FrequencyOffset(FrequencyBlock::Row row, int preset) {
    return kFirstRow + static_cast<std::size_t>(row) * kRowBytes + static_cast<std::size_t>(preset) * 2;
}
}  // namespace

std::uint16_t FrequencyBlock::Frequency(Row row, int preset) const {
    if (preset < 0 || preset >= kPresetCount) {
        return kFixedFrequency;
    }
    const std::size_t o = FrequencyOffset(row, preset);
    return static_cast<std::uint16_t>(bytes[o] | bytes[o + 1] << 8);
}

void FrequencyBlock::SetFrequency(Row row, int preset, std::uint16_t hertz) {
    if (preset < 0 || preset >= kPresetCount) {
        return;  // presets above 2 store nothing
    }
    const std::size_t o = FrequencyOffset(row, preset);
    bytes[o] = static_cast<std::uint8_t>(hertz & 0xFF);
    bytes[o + 1] = static_cast<std::uint8_t>(hertz >> 8);
}

std::array<int, 6> FrequencyBlock::OutputFrequencies() const {
    if (!PerColourScheme()) {
        const int single = Frequency(Row::Single, SinglePreset());
        return {single, single, single, single, single, single};
    }
    const int preset = PerColourPreset();
    const int main = Frequency(Row::Main, preset);
    return {main, main, main, Frequency(Row::Red, preset), Frequency(Row::Green, preset),
            Frequency(Row::Blue, preset)};
}

void FrequencyBlock::Reset() {
    bytes.fill(0);
    bytes[0] = 0x18;  // single scheme, preset 3 (1000 Hz)
    bytes[1] = 3;
    for (const Row row : {Row::Single, Row::Main, Row::Red, Row::Green, Row::Blue}) {
        for (int preset = 0; preset < kPresetCount; ++preset) {
            SetFrequency(row, preset, kDefaultPresets[preset]);
        }
    }
}

}  // namespace config
