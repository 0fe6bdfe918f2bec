#include "PickerModes.h"

#include "HsvColor.h"

#include <algorithm>
#include <cmath>

namespace colorpicker {

namespace {

constexpr int kByteMaximum = 255;
constexpr int kHueMaximum = 3599;
constexpr int kFractionMaximum = 1000;

int Ceil(double number) { return static_cast<int>(std::ceil(number)); }

int Byte(int component) { return std::clamp(component, 0, kByteMaximum); }

// A share of `maximum`; a zero maximum leaves the share undefined, which HsvToRgb turns into black.
double Share(int component, int maximum) {
    return maximum == 0 ? -1.0 : static_cast<double>(component) / maximum;
}

}  // namespace

bool IsPickerMode(int mode) { return mode >= 0 && mode < kPickerModeCount; }

PickerComponents ComponentMaxima(int mode) {
    switch (mode) {
        case 0:
        case 1:
        case 2: return {kByteMaximum, kByteMaximum, kByteMaximum};
        case 3: return {kHueMaximum, kFractionMaximum, kFractionMaximum};
        case 4:
        case 5: return {kFractionMaximum, kHueMaximum, kFractionMaximum};
        default: return {};
    }
}

PickerComponents ComponentsOfColor(int mode, PickerColor color) {
    const int red = RedOf(color);
    const int green = GreenOf(color);
    const int blue = BlueOf(color);
    const Hsv hsv = mode >= 3 ? RgbToHsv(color) : Hsv{};
    const int hue = Ceil(10 * hsv.hueDegrees);
    const int saturation = Ceil(1000 * hsv.saturation);
    const int value = Ceil(1000 * hsv.value);
    switch (mode) {
        case 0: return {.z = red, .x = blue, .y = green};
        case 1: return {.z = green, .x = blue, .y = red};
        case 2: return {.z = blue, .x = red, .y = green};
        case 3: return {.z = hue, .x = saturation, .y = value};
        case 4: return {.z = saturation, .x = hue, .y = value};
        case 5: return {.z = value, .x = hue, .y = saturation};
        default: return {};
    }
}

PickerColor ColorOfComponents(int mode, PickerComponents c, int xMaximum, int yMaximum) {
    switch (mode) {
        case 0: return MakeColor(Byte(c.z), Byte(c.y), Byte(c.x));
        case 1: return MakeColor(Byte(c.y), Byte(c.z), Byte(c.x));
        case 2: return MakeColor(Byte(c.x), Byte(c.y), Byte(c.z));
        case 3: return HsvToRgb(c.z / 10.0, Share(c.x, xMaximum), Share(c.y, yMaximum));
        case 4: return HsvToRgb(c.x / 10.0, c.z / 1000.0, Share(c.y, yMaximum));
        case 5: return HsvToRgb(c.x / 10.0, Share(c.y, yMaximum), c.z / 1000.0);
        default: return 0;
    }
}

BarScale BarScaleOfMode(int mode) {
    switch (mode) {
        case 0:
        case 1:
        case 2: return {kByteMaximum, 1, 10};
        case 3: return {kHueMaximum, 10, 100};
        case 4:
        case 5: return {kFractionMaximum, 10, 100};
        default: return {};
    }
}

}  // namespace colorpicker
