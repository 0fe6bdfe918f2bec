#include "HsvColor.h"

#include <algorithm>
#include <cmath>

namespace colorpicker {

namespace {

bool InRange(double number, double low, double high) {
    // Written so that a NaN is out of range too.
    return number >= low && number <= high;
}

int ChannelByte(double channel) {
    return static_cast<int>(std::ceil(255.0 * channel - 0.5));
}

}  // namespace

PickerColor HsvToRgb(double hueDegrees, double saturation, double value) {
    if (!InRange(hueDegrees, 0, 360) || !InRange(saturation, 0, 1) || !InRange(value, 0, 1)) {
        return 0;
    }
    if (saturation == 0) {
        const int grey = ChannelByte(value);
        return MakeColor(grey, grey, grey);
    }
    const double hue = hueDegrees == 360 ? 0 : hueDegrees;
    const double sixths = hue / 60;
    const int sector = static_cast<int>(sixths);
    const double fraction = sixths - sector;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * fraction);
    const double t = value * (1 - saturation * (1 - fraction));
    double red = 0;
    double green = 0;
    double blue = 0;
    switch (sector) {
        case 0: red = value; green = t; blue = p; break;
        case 1: red = q; green = value; blue = p; break;
        case 2: red = p; green = value; blue = t; break;
        case 3: red = p; green = q; blue = value; break;
        case 4: red = t; green = p; blue = value; break;
        default: red = value; green = p; blue = q; break;
    }
    return MakeColor(ChannelByte(red), ChannelByte(green), ChannelByte(blue));
}

Hsv RgbToHsv(PickerColor color) {
    const double red = RedOf(color) / 255.0;
    const double green = GreenOf(color) / 255.0;
    const double blue = BlueOf(color) / 255.0;
    const double maximum = std::max({red, green, blue});
    const double minimum = std::min({red, green, blue});
    Hsv hsv;
    hsv.value = maximum;
    if (maximum == 0) {
        return hsv;
    }
    const double range = maximum - minimum;
    hsv.saturation = range / maximum;
    if (hsv.saturation == 0) {
        return hsv;
    }
    if (red == maximum) {
        hsv.hueDegrees = 60 * ((green - blue) / range);
    } else if (green == maximum) {
        hsv.hueDegrees = 60 * (2 + (blue - red) / range);
    } else {
        hsv.hueDegrees = 60 * (4 + (red - green) / range);
    }
    if (hsv.hueDegrees < 0) {
        hsv.hueDegrees += 360;
    }
    return hsv;
}

}  // namespace colorpicker
