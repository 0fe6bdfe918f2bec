// What the LED page's controls edit, without a window: the colour, speed and brightness targets of
// each effect and layer, the frequency panels' presets, values and reset, and the colour-cycle
// animation.
#include "ColourCycleAnimation.h"
#include "FrequencyPanel.h"
#include "LedTargets.h"
#include "LightingCodes.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using config::LayerFieldRef;
using config::LightingSection;
namespace ei = config::effect_index;

std::optional<std::size_t> Offset(const std::optional<LayerFieldRef>& field, bool multi) {
    if (!field) return std::nullopt;
    EXPECT_EQ(field->multiLayer, multi);
    return field->offset;
}

struct TargetRow {
    int effect;
    int layer;
    bool multi;
    std::optional<std::size_t> color;  // nullopt: no colour; 0: the page's current colour
    std::optional<std::size_t> speed;
    std::optional<std::size_t> brightness;
};

TEST(LedTargets, EachEffectAndLayerEditsItsFields) {
    LightingSection section{};
    section.Reset();  // STAR chosen in both layers
    const std::vector<TargetRow> rows = {
        {ei::STATIC, 1, false, 24, std::nullopt, 28},
        {ei::CUSTOMIZE, 1, false, 0, std::nullopt, 190},
        {ei::STAR_EFFECT, 1, false, 80, 88, 89},
        {ei::COLOR_CYCLE, 1, false, std::nullopt, 109, 110},
        {ei::BREATH, 1, false, 116, 120, 121},
        {ei::OFF, 1, false, std::nullopt, std::nullopt, std::nullopt},
        {ei::MULTILAYER, 1, true, 24, std::nullopt, 28},
        {ei::MULTILAYER, 3, true, 80, 88, 89},
        {ei::MULTILAYER, 4, true, std::nullopt, 109, 110},
        {ei::MULTILAYER, 5, true, 116, 120, 121},
        {ei::MULTILAYER, 0, true, std::nullopt, std::nullopt, std::nullopt},
        {-1, 1, false, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const TargetRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "effect " << row.effect << " layer " << row.layer);
        const config::ColorTarget color = config::ColorTargetOf(section, row.effect, row.layer);
        if (!row.color) {
            EXPECT_FALSE(color.HasColor());
        } else if (*row.color == 0) {
            EXPECT_EQ(color.kind, config::ColorTarget::Kind::CurrentColor);
        } else {
            ASSERT_EQ(color.kind, config::ColorTarget::Kind::Field);
            EXPECT_EQ(color.field, (LayerFieldRef{row.multi, *row.color}));
        }
        EXPECT_EQ(Offset(config::SpeedTargetOf(row.effect, row.layer), row.multi), row.speed);
        EXPECT_EQ(Offset(config::BrightnessTargetOf(row.effect, row.layer), row.multi), row.brightness);
    }
}

TEST(LedTargets, SkyChosenMovesTheStarColourTargetInItsOwnLayer) {
    LightingSection section{};
    section.Reset();
    section.baseLayer[config::layer_field::STAR_EFFECT_STAR] = 0;
    EXPECT_EQ(config::ColorTargetOf(section, ei::STAR_EFFECT, 1).field.offset, 84u);
    EXPECT_EQ(config::ColorTargetOf(section, ei::MULTILAYER, 3).field.offset, 80u);
    section.multiLayer[config::layer_field::STAR_EFFECT_STAR] = 0;
    EXPECT_EQ(config::ColorTargetOf(section, ei::MULTILAYER, 3).field.offset, 84u);
}

TEST(LedTargets, ColourStoresGoToTheFieldOrTheCurrentColour) {
    LightingSection section{};
    section.Reset();
    std::uint32_t current = 0xFF0000;
    config::StoreColorInTarget(config::ColorTargetOf(section, ei::BREATH, 1), section, current, 0x123456);
    EXPECT_EQ(section.baseLayer.Color(config::layer_field::BREATH_COLOR), 0x123456u);
    config::StoreColorInTarget(config::ColorTargetOf(section, ei::CUSTOMIZE, 1), section, current, 0x654321);
    EXPECT_EQ(current, 0x654321u);
    const LightingSection before = section;
    config::StoreColorInTarget(config::ColorTargetOf(section, ei::OFF, 1), section, current, 0x111111);
    EXPECT_EQ(section, before);
    EXPECT_EQ(current, 0x654321u);
}

TEST(LedTargets, EnabledBytesOfTheList) {
    const std::vector<std::pair<bool, std::size_t>> expected = {{false, 20}, {false, 136}, {false, 76}, {false, 108},
                                                                {false, 112}, {true, 0},    {false, 195}};
    for (int i = 0; i < 7; ++i) {
        const auto field = config::EnabledFieldOfListIndex(i);
        ASSERT_TRUE(field) << i;
        EXPECT_EQ(std::pair(field->multiLayer, field->offset), expected[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(config::EnabledFieldOfListIndex(7));
}

TEST(FrequencyPanel, PresetsValuesAndResetOfBothSchemes) {
    using config::FrequencyScheme;
    using Row = config::FrequencyBlock::Row;
    config::FrequencyBlock block{};
    block.Reset();
    EXPECT_EQ(config::PanelView(block, FrequencyScheme::Single).preset, 3);
    EXPECT_FALSE(config::PanelView(block, FrequencyScheme::Single).values[0]);

    config::SetPreset(block, FrequencyScheme::Single, 1);
    EXPECT_EQ(block.bytes[0], 0x08);
    config::StorePresetFrequency(block, Row::Single, 20);  // below the range: 45
    EXPECT_EQ(config::PanelView(block, FrequencyScheme::Single).values[0], 45);
    config::StorePresetFrequency(block, Row::Single, 700);
    EXPECT_EQ(block.OutputFrequencies(), (std::array<int, 6>{600, 600, 600, 600, 600, 600}));

    config::SetScheme(block, FrequencyScheme::PerColour);
    config::SetPreset(block, FrequencyScheme::PerColour, 2);
    config::StorePresetFrequency(block, Row::Green, 333);
    const config::FrequencyPanelView perColour = config::PanelView(block, FrequencyScheme::PerColour);
    EXPECT_EQ(perColour.preset, 2);
    EXPECT_EQ(perColour.values, (std::array<std::optional<int>, 4>{220, 220, 333, 220}));
    EXPECT_EQ(block.OutputFrequencies(), (std::array<int, 6>{220, 220, 220, 220, 333, 220}));

    config::ResetScheme(block, FrequencyScheme::PerColour);
    EXPECT_EQ(block.bytes[1] & 7, 3);
    EXPECT_EQ(block.Frequency(Row::Green, 2), 220);
    EXPECT_EQ(block.Frequency(Row::Single, 1), 600);  // the other scheme keeps its values
    config::ResetScheme(block, FrequencyScheme::Single);
    EXPECT_EQ(block.bytes[0], 0x1C);
    EXPECT_EQ(block.Frequency(Row::Single, 1), 135);
    config::SetPreset(block, FrequencyScheme::Single, 4);  // no such preset
    EXPECT_EQ(block.bytes[0], 0x1C);
}

TEST(ColourCycleAnimation, RedRampsFirstThenGreenThenBlue) {
    config::ColourCycleAnimation animation;
    EXPECT_EQ(animation.Step(), 0x0000FFu);  // red starts at 254 and reaches the top; green starts at 0
    EXPECT_EQ(animation.Step(), 0x0001FFu);  // red falls from the top
    EXPECT_EQ(animation.Step(), 0x0002FEu);
    for (int i = 0; i < 126; ++i) animation.Step();
    EXPECT_EQ(animation.Color(), 0x008080u);  // step 129: green's phase reached 128, blue starts at 0
    EXPECT_EQ(animation.Step(), 0x01817Fu);
    EXPECT_EQ(animation.Step(), 0x02827Eu);
    for (int i = 0; i < 200; ++i) animation.Step();  // red reached 0 at step 256 and rises again
    EXPECT_EQ(animation.Color() & 0xFF, 74u);
    animation.Reset();
    EXPECT_EQ(animation.Color(), 0u);
    EXPECT_EQ(animation.Step(), 0x0000FFu);
}

}  // namespace
