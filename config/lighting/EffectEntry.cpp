#include "EffectEntry.h"

#include "LightingCodes.h"

#include <utility>

namespace config {

namespace {

constexpr std::size_t kSpeed = 1;
constexpr std::size_t kFlags = 2;
constexpr std::size_t kBrightness = 5;
constexpr std::size_t kFirstColor = 6;
constexpr std::size_t kSecondColor = 9;

// Which layer fields an effect code carries; an offset of kNone means the code has no such field.
constexpr std::size_t kNone = 0xFFFF;
struct EntryFields {
    std::size_t enabled;
    std::size_t speed;
    std::size_t brightness;
    std::size_t firstColor;
    std::size_t secondColor;
};

EntryFields FieldsOf(std::uint8_t code) {
    using namespace layer_field;
    switch (code) {
    case effect_code::STATIC:
        return {STATIC_ENABLED.offset, kNone, STATIC_BRIGHTNESS.offset, STATIC_COLOR.offset, kNone};
    case effect_code::BREATH:
        return {BREATH_ENABLED.offset, BREATH_SPEED.offset, BREATH_BRIGHTNESS.offset, BREATH_COLOR.offset, kNone};
    case effect_code::COLOR_CYCLE:
        return {COLOR_CYCLE_ENABLED.offset, COLOR_CYCLE_SPEED.offset, COLOR_CYCLE_BRIGHTNESS.offset, kNone, kNone};
    case effect_code::STAR_EFFECT:
        return {STAR_EFFECT_ENABLED.offset, STAR_EFFECT_SPEED.offset, STAR_EFFECT_BRIGHTNESS.offset,
                STAR_EFFECT_STAR_COLOR.offset, STAR_EFFECT_SKY_COLOR.offset};
    case effect_code::CUSTOMIZE:
        return {CUSTOMIZE_ENABLED.offset, kNone, CUSTOMIZE_BRIGHTNESS.offset, kNone, kNone};
    case effect_code::SINGLE_KEY:
        return {SINGLE_KEY_ENABLED.offset, SINGLE_KEY_SPEED.offset, kNone, SINGLE_KEY_COLOR.offset,
                SINGLE_KEY_SECOND_COLOR.offset};
    case effect_code::COLOR_WAVE:
        return {COLOR_WAVE_ENABLED.offset, COLOR_WAVE_SPEED.offset, kNone, COLOR_WAVE_COLOR.offset, kNone};
    case effect_code::RIPPLE:
        return {RIPPLE_ENABLED.offset, RIPPLE_SPEED.offset, kNone, RIPPLE_COLOR.offset, kNone};
    case effect_code::CROSS_LINE:
        return {CROSS_LINE_ENABLED.offset, CROSS_LINE_SPEED.offset, kNone, CROSS_LINE_COLOR.offset,
                CROSS_LINE_SECOND_COLOR.offset};
    case effect_code::RAIN_DROP:
        return {RAIN_DROP_ENABLED.offset, RAIN_DROP_SPEED.offset, kNone, RAIN_DROP_RAIN_COLOR.offset,
                RAIN_DROP_SKY_COLOR.offset};
    case effect_code::GAME_SNAKE:
        return {GAME_SNAKE_ENABLED.offset, GAME_SNAKE_SPEED.offset, kNone, kNone, kNone};
    default:
        return {kNone, kNone, kNone, kNone, kNone};
    }
}

std::uint8_t FlagsOf(std::uint8_t code, const EffectLayer& layer) {
    using namespace layer_field;
    if (code == effect_code::COLOR_WAVE) {
        // The first chosen direction: left-right 0, right-left 4, top-bottom 2, bottom-top 6.
        constexpr std::pair<ByteField, std::uint8_t> kDirections[] = {
            {COLOR_WAVE_LEFT_RIGHT, 0}, {COLOR_WAVE_RIGHT_LEFT, 4}, {COLOR_WAVE_TOP_BOTTOM, 2}, {COLOR_WAVE_BOTTOM_TOP, 6}};
        for (const auto& [field, flags] : kDirections) {
            if (layer[field] == 1) {
                return flags;
            }
        }
        return 0;
    }
    if (code == effect_code::RIPPLE) {
        return layer[RIPPLE_RANDOM] == 1 ? 0x80 : 0;
    }
    return 0;
}

}  // namespace

EffectEntries BuildEffectEntries(std::uint8_t code, const EffectLayer& layer, std::uint8_t initialSpeed) {
    EffectEntries entries;
    entries.fill(0xFF);
    std::uint8_t* entry = entries.data();
    entry[0] = code;
    entry[kSpeed] = initialSpeed;
    entry[kFlags] = 0;
    for (std::size_t i = kFirstColor; i < kEffectEntryBytes; ++i) {
        entry[i] = 0;
    }
    const EntryFields fields = FieldsOf(code);
    if (fields.enabled == kNone) {
        return entries;  // a code without parameters keeps the empty entry
    }
    if (fields.speed != kNone) entry[kSpeed] = layer.bytes[fields.speed];
    entry[kFlags] = FlagsOf(code, layer);
    if (fields.brightness != kNone) entry[kBrightness] = layer.bytes[fields.brightness];
    // A colour goes in as red, green, blue: the colour's bytes from the low one up.
    for (std::size_t i = 0; i < 3; ++i) {
        if (fields.firstColor != kNone) entry[kFirstColor + i] = layer.bytes[fields.firstColor + i];
        if (fields.secondColor != kNone) entry[kSecondColor + i] = layer.bytes[fields.secondColor + i];
    }
    return entries;
}

std::optional<ByteField> EnabledFieldOf(std::uint8_t code) {
    const EntryFields fields = FieldsOf(code);
    if (fields.enabled == kNone) return std::nullopt;
    return ByteField{fields.enabled};
}

EffectEntries EffectRequest(std::uint8_t code) {
    EffectEntries entries;
    entries.fill(0xFF);
    entries[0] = code;
    return entries;
}

std::uint32_t ColorFromBytes(const std::uint8_t* rgb) {
    return static_cast<std::uint32_t>(rgb[0]) | static_cast<std::uint32_t>(rgb[1]) << 8 |
           static_cast<std::uint32_t>(rgb[2]) << 16;
}

void StoreEffectEntry(std::span<const std::uint8_t, kEffectEntriesBytes> entries, EffectLayer& layer) {
    const std::uint8_t code = entries[0];
    const EntryFields fields = FieldsOf(code);
    if (fields.enabled == kNone) {
        return;
    }
    // CUSTOMIZE takes only its brightness; 5, 6, 7, 8 and 10 only their enabled byte.
    if (code == effect_code::CUSTOMIZE) {
        layer.bytes[fields.brightness] = entries[kBrightness];
        return;
    }
    layer.bytes[fields.enabled] = 1;
    const bool carriesValues = code <= effect_code::STAR_EFFECT || code == effect_code::RAIN_DROP;
    if (!carriesValues) {
        return;
    }
    if (fields.speed != kNone) layer.bytes[fields.speed] = entries[kSpeed];
    if (fields.brightness != kNone) layer.bytes[fields.brightness] = entries[kBrightness];
    if (fields.firstColor != kNone) layer.SetColor(ColorField{fields.firstColor}, ColorFromBytes(&entries[kFirstColor]));
    if (fields.secondColor != kNone) {
        layer.SetColor(ColorField{fields.secondColor}, ColorFromBytes(&entries[kSecondColor]));
    }
}

}  // namespace config
