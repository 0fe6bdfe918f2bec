// The lighting model: defaults, effect list look-ups, layer types, effect-parameter entries both
// ways, and the output frequencies.
#include "EffectEntry.h"
#include "LightingCodes.h"
#include "ProfileRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace config;
using namespace config::layer_field;

LightingSection DefaultSection() {
    LightingSection section{};
    section.Reset();
    return section;
}

TEST(LightingModelTest, ANewProfileShowsWhiteStaticWithEveryListedEffectEnabled) {
    const LightingSection section = DefaultSection();
    EXPECT_EQ(section.SelectEffect(), 0);
    EXPECT_EQ(EffectCodeOfListIndex(section.SelectEffect()), effect_code::STATIC);
    for (const EffectLayer& layer : {section.baseLayer, section.multiLayer}) {
        EXPECT_EQ(layer.Color(STATIC_COLOR), 0xFFFFFFu);
        EXPECT_EQ(layer[STATIC_BRIGHTNESS], 2);
        for (const ByteField enabled : {LAYER_ENABLED, STATIC_ENABLED, COLOR_WAVE_ENABLED, CROSS_LINE_ENABLED,
                                        SINGLE_KEY_ENABLED, STAR_EFFECT_ENABLED, RAIN_DROP_ENABLED, COLOR_CYCLE_ENABLED,
                                        BREATH_ENABLED, RIPPLE_ENABLED, CUSTOMIZE_ENABLED, GAME_SNAKE_ENABLED, OFF_ENABLED}) {
            EXPECT_EQ(layer[enabled], 1) << enabled.offset;
        }
        EXPECT_EQ(layer[UNNAMED_223_ENABLED], 0);
        for (std::size_t slot = 0; slot < CUSTOMIZE_SLOT_COUNT; ++slot) {
            EXPECT_EQ(layer.Color(EffectLayer::CustomizeColor(slot)), 0u);
            EXPECT_EQ(layer[EffectLayer::CustomizeColorSet(slot)], 1);
        }
    }
    EXPECT_EQ(section.systemStatus, (std::array<std::uint8_t, 3>{1, 1, 0}));
    EXPECT_EQ(section.frequency.bytes[0], 0x18);
    EXPECT_EQ(section.frequency.bytes[1], 3);
}

TEST(LightingModelTest, RecordLayoutPutsTheLightingSectionAt11256) {
    ProfileRecord record{};
    record.Reset();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    std::int32_t select = 0;
    record.lighting.SetSelectEffect(-2);
    std::memcpy(&select, bytes + 11256, 4);
    EXPECT_EQ(select, -2);
    EXPECT_EQ(bytes[11260 + 24], 0xFF) << "BASE_LAYER static colour";
    EXPECT_EQ(bytes[11652], 1) << "SYSTEM_STATUS";
    EXPECT_EQ(bytes[11656], 0x18) << "FrequencyBlock";
    EXPECT_EQ(bytes[11688], 3) << "BASE[0]";
    EXPECT_EQ(bytes[11688 + 526], 10);
    EXPECT_EQ(bytes[520], 0x11) << "first button block";
    EXPECT_EQ(bytes[521], 0x20);
    EXPECT_EQ(bytes[5880], 0x90) << "second set";
    EXPECT_EQ(bytes[11241 + 3 * 3 + 2], 0x4F) << "last 3-byte entry";
}

TEST(LightingModelTest, EffectListLookUps) {
    EXPECT_EQ(EffectListIndexOfCode(effect_code::MULTILAYER), 5);
    EXPECT_EQ(EffectListIndexOfCode(effect_code::OFF), 6);
    EXPECT_EQ(EffectListIndexOfCode(effect_code::CUSTOMIZE), 1);
    EXPECT_EQ(EffectListIndexOfCode(effect_code::SINGLE_KEY), kNotInEffectList);
    // 217 finds the first entry of 216; the list has none, so both are absent.
    EXPECT_EQ(EffectListIndexOfCode(effect_code::SYSTEM_STATUS_ALT), EffectListIndexOfCode(effect_code::SYSTEM_STATUS));
    EXPECT_EQ(EffectListIndexOfCode(effect_code::SYSTEM_STATUS_ALT), kNotInEffectList);
    EXPECT_EQ(EffectCodeOfListIndex(4), effect_code::BREATH);
    EXPECT_EQ(EffectCodeOfListIndex(7), effect_code::NONE);
    EXPECT_EQ(EffectCodeOfListIndex(-1), effect_code::NONE);
    EXPECT_EQ(EffectCodeOfFunction(function_id::SYSTEM_STATUS), 216);
    EXPECT_EQ(EffectCodeOfFunction(function_id::COLOR_WAVE), effect_code::OFF);
    EXPECT_EQ(EffectCodeOfFunction(function_id::UNNAMED_223), 223);
}

TEST(LightingModelTest, LayerTypesToMapCodesAndBack) {
    const std::uint8_t types[] = {1, 2, 2, 0};
    const std::uint8_t codes[] = {0, 5, 5, 254};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(LayerMapCodeOfType(types[i]), codes[i]);
    EXPECT_EQ(LayerMapCodeOfType(12), 254);
    EXPECT_EQ(LayerMapCodeOfType(200), 254);
    EXPECT_EQ(ParameterCodeOfType(2), effect_code::CUSTOMIZE);
    EXPECT_EQ(ParameterCodeOfType(0), effect_code::NONE);
    EXPECT_EQ(ParameterCodeOfType(6), effect_code::OFF);
    EXPECT_EQ(ParameterCodeOfType(99), effect_code::OFF);
    // Reverse table: code -> type.
    const std::uint8_t reverse[][2] = {{0, 1}, {1, 5}, {2, 4}, {3, 3}, {4, 2}, {5, 2}, {6, 8},
                                       {7, 11}, {8, 9}, {9, 10}, {10, 0}, {224, 0}, {254, 0}};
    for (const auto& [code, type] : reverse) EXPECT_EQ(LayerTypeOfMapCode(code), type) << int(code);
}

struct EntryCase {
    std::uint8_t code;
    std::array<std::uint8_t, 12> entry;
};

TEST(LightingModelTest, EntriesCarryTheFieldsOfTheirCode) {
    EffectLayer layer{};
    for (std::size_t i = 0; i < layer.bytes.size(); ++i) layer.bytes[i] = static_cast<std::uint8_t>(i);
    layer[COLOR_WAVE_LEFT_RIGHT] = 0;
    layer[COLOR_WAVE_RIGHT_LEFT] = 0;
    layer[COLOR_WAVE_TOP_BOTTOM] = 1;  // the first chosen direction gives flags 2
    layer[COLOR_WAVE_BOTTOM_TOP] = 1;
    layer[RIPPLE_RANDOM] = 1;
    // Entry bytes: code, speed, flags, 3, 4, brightness, first colour, second colour (layer offsets).
    const EntryCase cases[] = {
        {0, {0, 0, 0, 0xFF, 0xFF, 28, 24, 25, 26, 0, 0, 0}},
        {1, {1, 120, 0, 0xFF, 0xFF, 121, 116, 117, 118, 0, 0, 0}},
        {2, {2, 109, 0, 0xFF, 0xFF, 110, 0, 0, 0, 0, 0, 0}},
        {3, {3, 88, 0, 0xFF, 0xFF, 89, 80, 81, 82, 84, 85, 86}},
        {4, {4, 0, 0, 0xFF, 0xFF, 190, 0, 0, 0, 0, 0, 0}},
        {5, {5, 72, 0, 0xFF, 0xFF, 0xFF, 64, 65, 66, 68, 69, 70}},
        {6, {6, 44, 2, 0xFF, 0xFF, 0xFF, 40, 41, 42, 0, 0, 0}},
        {7, {7, 132, 0x80, 0xFF, 0xFF, 0xFF, 128, 129, 130, 0, 0, 0}},
        {8, {8, 51, 0, 0xFF, 0xFF, 0xFF, 52, 53, 54, 56, 57, 58}},
        {9, {9, 104, 0, 0xFF, 0xFF, 0xFF, 96, 97, 98, 100, 101, 102}},
        {10, {10, 193, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}},
        {224, {224, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}},
    };
    for (const EntryCase& c : cases) {
        const EffectEntries entries = BuildEffectEntries(c.code, layer);
        EXPECT_TRUE(std::equal(c.entry.begin(), c.entry.end(), entries.begin())) << int(c.code);
        EXPECT_TRUE(std::all_of(entries.begin() + 12, entries.end(), [](std::uint8_t b) { return b == 0xFF; }));
    }
    EXPECT_EQ(BuildEffectEntries(2, layer, 0xFF)[1], 109) << "a code with speed takes its field";
    EXPECT_EQ(BuildEffectEntries(0, layer, 0xFF)[1], 0xFF) << "a code without keeps the initial speed";
    layer[COLOR_WAVE_TOP_BOTTOM] = 0;
    layer[COLOR_WAVE_BOTTOM_TOP] = 0;
    EXPECT_EQ(BuildEffectEntries(6, layer)[2], 0) << "no direction chosen";
}

TEST(LightingModelTest, StoringAReadEntryTakesOnlyWhatItsCodeCarries) {
    const std::array<std::uint8_t, 12> reply{0, 3, 0x20, 0xFF, 0xFF, 1, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    const auto storeAs = [&](std::uint8_t code) {
        EffectLayer layer{};
        EffectEntries entries;
        entries.fill(0xFF);
        std::copy(reply.begin(), reply.end(), entries.begin());
        entries[0] = code;
        StoreEffectEntry(entries, layer);
        return layer;
    };
    const auto changed = [](const EffectLayer& layer) {
        std::vector<std::size_t> offsets;
        for (std::size_t i = 0; i < layer.bytes.size(); ++i)
            if (layer.bytes[i] != 0) offsets.push_back(i);
        return offsets;
    };
    EffectLayer l = storeAs(3);
    EXPECT_EQ(l[STAR_EFFECT_ENABLED], 1);
    EXPECT_EQ(l.Color(STAR_EFFECT_STAR_COLOR), 0x332211u);
    EXPECT_EQ(l.Color(STAR_EFFECT_SKY_COLOR), 0x665544u);
    EXPECT_EQ(l[STAR_EFFECT_SPEED], 3);
    EXPECT_EQ(l[STAR_EFFECT_BRIGHTNESS], 1);
    EXPECT_EQ(changed(storeAs(0)), (std::vector<std::size_t>{20, 24, 25, 26, 28}));
    EXPECT_EQ(changed(storeAs(1)), (std::vector<std::size_t>{112, 116, 117, 118, 120, 121}));
    EXPECT_EQ(changed(storeAs(2)), (std::vector<std::size_t>{108, 109, 110}));
    EXPECT_EQ(changed(storeAs(4)), (std::vector<std::size_t>{190}));
    EXPECT_EQ(changed(storeAs(9)), (std::vector<std::size_t>{92, 96, 97, 98, 100, 101, 102, 104}));
    for (const std::uint8_t code : {5, 6, 7, 8, 10}) {
        EXPECT_EQ(changed(storeAs(code)).size(), 1u) << int(code);
    }
    EXPECT_TRUE(changed(storeAs(224)).empty());
}

TEST(LightingModelTest, OutputFrequenciesFollowSchemeAndPreset) {
    FrequencyBlock block{};
    block.Reset();
    EXPECT_EQ(block.OutputFrequencies(), (std::array<int, 6>{1000, 1000, 1000, 1000, 1000, 1000}));
    block.bytes[0] = 0x1C;  // per-colour scheme
    block.bytes[1] = 1;
    EXPECT_EQ(block.OutputFrequencies(), (std::array<int, 6>{135, 135, 135, 135, 135, 135}));
    block.SetFrequency(FrequencyBlock::Row::Main, 2, 300);
    block.SetFrequency(FrequencyBlock::Row::Red, 2, 45);
    block.SetFrequency(FrequencyBlock::Row::Green, 2, 600);
    block.SetFrequency(FrequencyBlock::Row::Blue, 2, 0x1234);
    block.bytes[1] = 2;
    EXPECT_EQ(block.OutputFrequencies(), (std::array<int, 6>{300, 300, 300, 45, 600, 0x1234}));
    EXPECT_EQ(block.bytes[2 + 4 * 6 + 4], 0x34) << "little-endian at the blue row, preset 2";
    block.bytes[0] = 0x08;  // single scheme, preset 1
    EXPECT_EQ(block.OutputFrequencies(), (std::array<int, 6>{135, 135, 135, 135, 135, 135}));
    EXPECT_FALSE(block.IsValid());
    block.MarkValid();
    EXPECT_TRUE(block.IsValid());
    EXPECT_EQ(block.bytes[0], 0x0B);
}

}  // namespace
