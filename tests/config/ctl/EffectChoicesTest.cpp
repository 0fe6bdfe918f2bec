// halcyractl's names of the effects agree with the effect list, and its edits of a profile's lighting
// land in the fields the controller transfer sends.
#include "EffectChoices.h"
#include "NearestWord.h"

#include "LightingCodes.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

namespace f = config::layer_field;

TEST(EffectChoices, NamesAndCaptionsFindTheEffectOfTheList) {
    struct Row {
        const char* name;
        std::uint8_t code;
    };
    const Row rows[] = {
        {"STATIC", config::effect_code::STATIC},        {"static", config::effect_code::STATIC},
        {"Per LED", config::effect_code::CUSTOMIZE},    {"per-led", config::effect_code::CUSTOMIZE},
        {"customize", config::effect_code::CUSTOMIZE},  {"star_effect", config::effect_code::STAR_EFFECT},
        {"Stars", config::effect_code::STAR_EFFECT},    {"colour cycle", config::effect_code::COLOR_CYCLE},
        {"COLOR-CYCLE", config::effect_code::COLOR_CYCLE}, {"Breathing", config::effect_code::BREATH},
        {"breath", config::effect_code::BREATH},        {"layers", config::effect_code::MULTILAYER},
        {"MultiLayer", config::effect_code::MULTILAYER}, {"off", config::effect_code::OFF},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ctl::EffectDescription* effect = ctl::FindEffect(row.name);
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(config::EffectCodeOfListIndex(static_cast<std::int32_t>(effect->listIndex)), row.code);
        EXPECT_EQ(ctl::EffectAt(effect->listIndex), effect);
    }
    for (const char* unknown : {"", "sparkle", "STATIC2", "RIPPLE", "star effect x"}) EXPECT_EQ(ctl::FindEffect(unknown), nullptr) << unknown;
}

TEST(EffectChoices, ColoursAreSixHexDigitsKeptRedLow) {
    EXPECT_EQ(ctl::ParseColor("FF8000"), 0x0080FFu);
    EXPECT_EQ(ctl::ParseColor("#0a0B0c"), 0x0C0B0Au);
    for (const char* bad : {"", "FF800", "FF80000", "GG0000", "0x1234", "red", "#", "12 456"}) EXPECT_FALSE(ctl::ParseColor(bad)) << bad;
    EXPECT_EQ(ctl::ColorText(0x0C0B0A), "0A0B0C");
}

TEST(EffectChoices, AChoiceSelectsEnablesAndSetsTheEffectsFields) {
    config::LightingSection lighting;
    lighting.Reset();
    lighting.baseLayer[f::BREATH_ENABLED] = 0;
    ctl::EffectChoice choice{ctl::FindEffect("breath"), 0x112233u, 4, 0};
    ASSERT_EQ(ctl::CheckEffectChoice(choice), "");
    ctl::ApplyEffectChoice(lighting, choice);
    EXPECT_EQ(lighting.SelectEffect(), 4);
    EXPECT_EQ(lighting.baseLayer[f::BREATH_ENABLED], 1) << "a disabled effect would not be the one shown";
    EXPECT_EQ(lighting.baseLayer.Color(f::BREATH_COLOR), 0x112233u);
    EXPECT_EQ(lighting.baseLayer[f::BREATH_SPEED], 4);
    EXPECT_EQ(lighting.baseLayer[f::BREATH_BRIGHTNESS], 0);

    lighting.multiLayer[f::LAYER_ENABLED] = 0;
    ctl::ApplyEffectChoice(lighting, {ctl::FindEffect("layers"), std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(lighting.SelectEffect(), 5);
    EXPECT_EQ(lighting.multiLayer[f::LAYER_ENABLED], 1);

    ctl::SetLedColor(lighting, 4, 0xABCDEF);
    EXPECT_EQ(lighting.SelectEffect(), 1);
    EXPECT_EQ(lighting.baseLayer.Color(config::EffectLayer::CustomizeColor(3)), 0xABCDEFu);
    EXPECT_EQ(lighting.baseLayer.Color(config::EffectLayer::CustomizeColor(0)), 0u) << "the other LEDs stay";

    EXPECT_EQ(ctl::CheckEffectChoice({ctl::FindEffect("color cycle"), 0xFFu, std::nullopt, std::nullopt}), "COLOR_CYCLE has no colour");
    EXPECT_EQ(ctl::CheckEffectChoice({ctl::FindEffect("multilayer"), std::nullopt, std::nullopt, 1}), "MULTILAYER has no brightness");
    EXPECT_EQ(ctl::CheckEffectChoice({ctl::FindEffect("per led"), 0xFFu, std::nullopt, 2}), "");
}

TEST(NearestWord, SuggestsOnlyASlipAway) {
    const std::vector<std::string_view> commands = {"list", "status", "effect", "led", "apply", "save"};
    const struct {
        const char* typed;
        const char* nearest;
    } rows[] = {
        {"lst", "list"}, {"stauts", "status"}, {"efect", "effect"}, {"savee", "save"}, {"aply", "apply"},
        {"lead", "led"},  // one edit from "led", two from "list"
        // Two neighbouring letters swapped, the commonest slip, is one edit.
        {"lsit", "list"}, {"lde", "led"}, {"svae", "save"}, {"aplpy", "apply"},
        {"frobnicate", ""}, {"x", ""}, {"", ""}, {"statistics", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ctl::NearestWord(row.typed, commands), row.nearest) << row.typed;
    }
    EXPECT_EQ(ctl::EditDistance("kitten", "sitting"), 3u);
    EXPECT_EQ(ctl::EditDistance("", "abc"), 3u);
    EXPECT_EQ(ctl::EditDistance("effect", "effect"), 0u);
    EXPECT_EQ(ctl::EditDistance("ab", "ba"), 1u);
    EXPECT_EQ(ctl::EditDistance("ca", "abc"), 3u);  // a swapped pair is not edited again
}

}  // namespace
