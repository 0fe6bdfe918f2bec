#include "PickerGradients.h"

#include "HsvColor.h"

#include <cstdint>

namespace colorpicker {

namespace {

constexpr int kFractionBits = 20;
constexpr std::int64_t kOne = std::int64_t{1} << kFractionBits;
constexpr int kSpectrumSegments = 6;

// The hue spectrum at saturation and value, one stop every 60 degrees, ending on red again.
std::vector<PickerColor> SpectrumStops(double saturation, double value) {
    std::vector<PickerColor> stops;
    for (int segment = 0; segment <= kSpectrumSegments; ++segment) {
        stops.push_back(HsvToRgb(60.0 * segment, saturation, value));
    }
    return stops;
}

int Mix(int from, int to, std::int64_t fraction) {
    // from * (1 - f) + to * f is never negative, so the shift rounds to nearest.
    return static_cast<int>((from * kOne + (to - from) * fraction + kOne / 2) >> kFractionBits);
}

}  // namespace

std::vector<PickerColor> FieldRowStops(int mode, int z, int y, int xMaximum, int yMaximum) {
    if (mode == 4 || mode == 5) {
        // x is the hue: one stop at each sixth of the full circle (x = 3600 counts as hue 0).
        std::vector<PickerColor> stops;
        for (int segment = 0; segment <= kSpectrumSegments; ++segment) {
            stops.push_back(ColorOfComponents(mode, {.z = z, .x = 600 * segment, .y = y}, xMaximum, yMaximum));
        }
        return stops;
    }
    return {ColorOfComponents(mode, {.z = z, .x = 0, .y = y}, xMaximum, yMaximum),
            ColorOfComponents(mode, {.z = z, .x = xMaximum, .y = y}, xMaximum, yMaximum)};
}

std::vector<PickerColor> BarGradientStops(int mode, int first, int second) {
    switch (mode) {
        case 0:
        case 1:
        case 2: {
            const PickerComponents maxima = ComponentMaxima(mode);
            return {ColorOfComponents(mode, {.z = 0, .x = second, .y = first}, maxima.x, maxima.y),
                    ColorOfComponents(mode, {.z = maxima.z, .x = second, .y = first}, maxima.x, maxima.y)};
        }
        case 3: return SpectrumStops(first / 1000.0, second / 1000.0);
        case 4: return {HsvToRgb(first / 10.0, 0, second / 1000.0), HsvToRgb(first / 10.0, 1, second / 1000.0)};
        case 5: return {HsvToRgb(first / 10.0, second / 1000.0, 0), HsvToRgb(first / 10.0, second / 1000.0, 1)};
        default: return {};
    }
}

std::vector<PickerColor> GradientThroughStops(const std::vector<PickerColor>& stops, int length) {
    if (stops.empty() || length <= 0) {
        return {};
    }
    if (stops.size() == 1 || length == 1) {
        return std::vector<PickerColor>(static_cast<std::size_t>(length), stops.front());
    }
    const std::int64_t segments = static_cast<std::int64_t>(stops.size()) - 1;
    std::vector<PickerColor> colors;
    colors.reserve(static_cast<std::size_t>(length));
    for (int pixel = 0; pixel < length; ++pixel) {
        // The pixel's place along the stops, in stop units with 20 fractional bits.
        const std::int64_t place = pixel * segments * kOne / (length - 1);
        const std::int64_t segment = std::min(place >> kFractionBits, segments - 1);
        const std::int64_t fraction = place - segment * kOne;
        const PickerColor from = stops[static_cast<std::size_t>(segment)];
        const PickerColor to = stops[static_cast<std::size_t>(segment + 1)];
        colors.push_back(MakeColor(Mix(RedOf(from), RedOf(to), fraction), Mix(GreenOf(from), GreenOf(to), fraction),
                                   Mix(BlueOf(from), BlueOf(to), fraction)));
    }
    return colors;
}

}  // namespace colorpicker
