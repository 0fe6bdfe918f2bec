#include "EffectChoices.h"

#include "LightingCodes.h"
#include "NearestWord.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace ctl {

namespace {

namespace f = config::layer_field;

// In the order of the effect list (config::kEffectList).
const std::array<EffectDescription, config::kEffectListLength> kEffects{{
    {"STATIC", "Static", 0, f::STATIC_COLOR, false, std::nullopt, f::STATIC_BRIGHTNESS},
    {"CUSTOMIZE", "Per LED", 1, std::nullopt, true, std::nullopt, f::CUSTOMIZE_BRIGHTNESS},
    {"STAR_EFFECT", "Stars", 2, f::STAR_EFFECT_STAR_COLOR, false, f::STAR_EFFECT_SPEED, f::STAR_EFFECT_BRIGHTNESS},
    {"COLOR_CYCLE", "Colour cycle", 3, std::nullopt, false, f::COLOR_CYCLE_SPEED, f::COLOR_CYCLE_BRIGHTNESS},
    {"BREATH", "Breathing", 4, f::BREATH_COLOR, false, f::BREATH_SPEED, f::BREATH_BRIGHTNESS},
    {"MULTILAYER", "Layers", 5, std::nullopt, false, std::nullopt, std::nullopt},
    {"OFF", "Off", 6, std::nullopt, false, std::nullopt, std::nullopt},
}};

// Upper case, with blanks and '-' written as '_'.
std::string Normalised(std::string_view text) {
    std::string out;
    for (const char c : text)
        out += (c == ' ' || c == '-') ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The byte that puts an effect into the controller's button list.
std::uint8_t& EnabledByte(config::LightingSection& lighting, const EffectDescription& effect) {
    switch (config::EffectCodeOfListIndex(static_cast<std::int32_t>(effect.listIndex))) {
    case config::effect_code::STATIC: return lighting.baseLayer[f::STATIC_ENABLED];
    case config::effect_code::CUSTOMIZE: return lighting.baseLayer[f::CUSTOMIZE_ENABLED];
    case config::effect_code::STAR_EFFECT: return lighting.baseLayer[f::STAR_EFFECT_ENABLED];
    case config::effect_code::COLOR_CYCLE: return lighting.baseLayer[f::COLOR_CYCLE_ENABLED];
    case config::effect_code::BREATH: return lighting.baseLayer[f::BREATH_ENABLED];
    case config::effect_code::MULTILAYER: return lighting.multiLayer[f::LAYER_ENABLED];
    default: return lighting.baseLayer[f::OFF_ENABLED];
    }
}

}  // namespace

const EffectDescription* FindEffect(std::string_view name) {
    const std::string wanted = Normalised(name);
    for (const EffectDescription& effect : kEffects)
        if (wanted == Normalised(effect.name) || wanted == Normalised(effect.caption)) return &effect;
    return nullptr;
}

const EffectDescription* EffectAt(std::size_t listIndex) {
    return listIndex < kEffects.size() ? &kEffects[listIndex] : nullptr;
}

const EffectDescription* NearestEffect(std::string_view name) {
    std::vector<std::string> words;
    for (const EffectDescription& effect : kEffects) {
        words.push_back(Normalised(effect.name));
        words.push_back(Normalised(effect.caption));
    }
    const std::vector<std::string_view> candidates(words.begin(), words.end());
    const std::string_view nearest = NearestWord(Normalised(name), candidates);
    if (nearest.empty()) return nullptr;
    const auto at = static_cast<std::size_t>(std::find(candidates.begin(), candidates.end(), nearest) - candidates.begin());
    return &kEffects[at / 2];
}

std::string QuotedCaption(const EffectDescription& effect) {
    const std::string caption(effect.caption);
    return caption.find(' ') == std::string::npos ? caption : "\"" + caption + "\"";
}

std::string EffectNames() {
    std::string names;
    for (const EffectDescription& effect : kEffects) {
        if (!names.empty()) names += ", ";
        names += QuotedCaption(effect);
    }
    return names;
}

std::string CheckEffectChoice(const EffectChoice& choice) {
    const EffectDescription& effect = *choice.effect;
    const std::string name(effect.name);
    if (choice.color && !effect.color && !effect.colorPerLed) return name + " has no colour";
    if (choice.speed && !effect.speed) return name + " has no speed";
    if (choice.brightness && !effect.brightness) return name + " has no brightness";
    return {};
}

void ApplyEffectChoice(config::LightingSection& lighting, const EffectChoice& choice) {
    const EffectDescription& effect = *choice.effect;
    lighting.SetSelectEffect(static_cast<std::int32_t>(effect.listIndex));
    EnabledByte(lighting, effect) = 1;
    if (choice.color) {
        if (effect.color) lighting.baseLayer.SetColor(*effect.color, *choice.color);
        if (effect.colorPerLed)
            for (int led = 1; led <= kLedCount; ++led) SetLedColor(lighting, led, *choice.color);
    }
    if (choice.speed) lighting.baseLayer[*effect.speed] = static_cast<std::uint8_t>(*choice.speed);
    if (choice.brightness) lighting.baseLayer[*effect.brightness] = static_cast<std::uint8_t>(*choice.brightness);
}

void SetLedColor(config::LightingSection& lighting, int led, std::uint32_t color) {
    const auto slot = static_cast<std::size_t>(led - 1);
    lighting.baseLayer.SetColor(config::EffectLayer::CustomizeColor(slot), color);
    lighting.baseLayer[config::EffectLayer::CustomizeColorSet(slot)] = 1;
    const EffectDescription& customize = *EffectAt(1);
    lighting.SetSelectEffect(static_cast<std::int32_t>(customize.listIndex));
    EnabledByte(lighting, customize) = 1;
}

std::optional<std::uint32_t> ParseColor(std::string_view text) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    std::uint32_t rgb = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
    }
    // RRGGBB as written, red in the low byte as the settings keep it.
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

std::string ColorText(std::uint32_t color) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const unsigned shift : {0u, 8u, 16u}) {
        const unsigned byte = color >> shift & 0xFF;
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

}  // namespace ctl
