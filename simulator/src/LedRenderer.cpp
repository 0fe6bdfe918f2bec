#include "simulator/LedRenderer.h"

#include "simulator/EffectLevels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace simulator {

namespace {

// Seconds per cycle at speed levels 0 (fastest) to 4.
constexpr double kBreathPeriod[kSpeedLevels] = {1.5, 2.5, 3.5, 5.0, 7.0};
constexpr double kCyclePeriod[kSpeedLevels] = {2.0, 4.0, 6.0, 9.0, 12.0};
constexpr double kStepPeriod[kSpeedLevels] = {0.15, 0.25, 0.4, 0.6, 0.9};

double periodOf(const double (&table)[kSpeedLevels], std::uint8_t code, std::uint8_t raw) {
    return table[speedLevel(code, raw).value_or(2)];
}

Rgb colorAt(const EffectEntry& entry, std::size_t at) { return {entry[at], entry[at + 1], entry[at + 2]}; }

Rgb scaled(Rgb c, double f) {
    auto s = [f](std::uint8_t v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v * f, 0.0, 255.0))); };
    return {s(c.r), s(c.g), s(c.b)};
}

Rgb hue(double turns) {
    const double h = (turns - std::floor(turns)) * 6.0;
    const double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0: r = 1, g = x; break;
    case 1: r = x, g = 1; break;
    case 2: g = 1, b = x; break;
    case 3: g = x, b = 1; break;
    case 4: r = x, b = 1; break;
    default: r = 1, b = x; break;
    }
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255)); };
    return {byte(r), byte(g), byte(b)};
}

// A cheap, repeatable hash: the same LED twinkles the same way in every run.
std::uint32_t mix(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    return x ^ (x >> 16);
}

// One LED showing effect `code` with `entry`; `perLed` is the LED's own colour (per-LED effects).
Rgb renderOne(std::uint8_t code, const EffectEntry& entry, Rgb perLed, std::size_t led, double t) {
    const std::uint8_t speed = entry[kEntrySpeed];
    const double bright = brightnessFraction(code, entry[kEntryBrightness]);
    switch (code) {
    case kEffectStatic:
        return scaled(colorAt(entry, kEntryColor1), bright);
    case kEffectCustomize:
        return scaled(perLed, bright);
    case kEffectSingleKey:
        return perLed;
    case kEffectBreath: {
        const double phase = t / periodOf(kBreathPeriod, code, speed);
        return scaled(colorAt(entry, kEntryColor1), bright * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * phase)));
    }
    case kEffectColorCycle:
        return scaled(hue(t / periodOf(kCyclePeriod, code, speed)), bright);
    case kEffectStars: {
        // Each LED lights up as a star in some time slots and shows the sky colour otherwise.
        const double slot = t / (periodOf(kStepPeriod, code, speed) * 3);
        const auto n = static_cast<std::uint32_t>(slot);
        const bool star = mix(n * 4 + static_cast<std::uint32_t>(led) + 1) % 3 == 0;
        const double fade = std::sin(std::numbers::pi * (slot - n));
        const Rgb sky = colorAt(entry, kEntryColor2);
        return star ? scaled(colorAt(entry, kEntryColor1), bright * fade) : scaled(sky, bright);
    }
    case kEffectColorWave:
        return hue(t / periodOf(kCyclePeriod, code, speed) + static_cast<double>(led) / kLedCount);
    case kEffectRipple:
    case kEffectCrossLine:
    case kEffectRainDrop:
    case kEffectGameSnake: {
        // A light running across the four LEDs over the second colour.
        const auto step = static_cast<std::size_t>(t / periodOf(kStepPeriod, code, speed));
        return step % kLedCount == led ? colorAt(entry, kEntryColor1) : colorAt(entry, kEntryColor2);
    }
    default:
        return {};
    }
}

Rgb ledColor(const ProfileLighting& profile, std::size_t led) {
    const auto& page = profile.ledColors[0];
    return {page[3 * led], page[3 * led + 1], page[3 * led + 2]};
}

}  // namespace

LedColors renderLeds(const ProfileLighting& profile, double seconds) {
    LedColors leds{};
    const std::uint8_t active = profile.activeEffect[0];
    for (std::size_t led = 0; led < kLedCount; ++led) {
        if (active == kEffectMultiLayer) {
            // Map code 5 stands for the per-LED colours in a layer; their parameters come as code 4.
            const std::uint8_t code = profile.layerMap[4 + led];
            const std::uint8_t shown = code == kEffectSingleKey ? kEffectCustomize : code;
            leds[led] = renderOne(shown, profile.effectParams[1][shown], ledColor(profile, led), led, seconds);
        } else {
            leds[led] = renderOne(active, profile.effectParams[0][active], ledColor(profile, led), led, seconds);
        }
    }
    return leds;
}

std::string effectName(std::uint8_t code) {
    switch (code) {
    case kEffectStatic: return "static";
    case kEffectBreath: return "breathing";
    case kEffectColorCycle: return "colour cycle";
    case kEffectStars: return "stars";
    case kEffectCustomize: return "per-LED colours";
    case kEffectSingleKey: return "single key";
    case kEffectColorWave: return "colour wave";
    case kEffectRipple: return "ripple";
    case kEffectCrossLine: return "cross line";
    case kEffectRainDrop: return "rain drop";
    case kEffectGameSnake: return "snake";
    case kEffectMultiLayer: return "multi-layer";
    case kEffectOff: return "off";
    default: return "effect " + std::to_string(code);
    }
}

}  // namespace simulator
